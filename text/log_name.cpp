#include "text/log_name.h"
#include <cstdio>

bool FormatLogName(char* out, std::size_t size, const char* folder, int instance, int slot)
{
    const int n = std::snprintf(out, size, "%sKRTLIB%d%d.LOG", folder ? folder : "", instance, slot);
    return n >= 0 && static_cast<std::size_t>(n) < size;
}
