#include "core/status_text.h"
#include <cstring>

void FormatStatusLine(const char* text, char out[kStatusLineSize])
{
    constexpr int last = kStatusLineSize - 1;  // 63 usable characters
    std::memset(out, ' ', last);
    out[last] = '\0';
    if (!text)
        text = "";
    const int length = static_cast<int>(std::strlen(text));
    int column = kStatusCentreColumn - length / 2;
    if (column < 0)
        column = 0;
    int room = last - column;
    const int copied = length < room ? length : room;
    std::memcpy(out + column, text, copied);
    out[column + copied] = '\0';  // only the leading blanks stay in front of the text
}
