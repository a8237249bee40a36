#include "text/log_file.h"

#include <windows.h>

#include <cstdio>
#include <mutex>

#include "core/process_state.h"
#include "krtlib.h"
#include "text/log_name.h"
#include "text/text_window_table.h"

namespace {

std::mutex logLocks[kTextWindowSlots];


// Text mode, so that every line feed is stored as CR LF; not shared while open.
std::FILE* OpenLogStream(const char* name, const char* mode)
{
    std::FILE* stream = nullptr;
    if (fopen_s(&stream, name, mode) != 0)
        return nullptr;
    return stream;
}

void ShowCannotCreate()
{
    MessageBoxW(nullptr, L"Can't create file for LOG!", L"Error", MB_OK);
}

// Closes the stream under its lock; state 0.
void CloseLocked(TextWindowRecord& record)
{
    if (record.logState != 0 && record.logFile)
        std::fclose(record.logFile);
    record.logFile = nullptr;
    record.logState = 0;
}

}  // namespace

void WriteLog(int slot, const char* bytes, std::size_t length)
{
    if (slot < 0 || slot >= kTextWindowSlots)
        return;
    TextWindowRecord& record = TextWindowTable[slot];
    std::lock_guard<std::mutex> hold(logLocks[slot]);
    if (record.logState == 1 && record.logFile) {
        std::fwrite(bytes, 1, length, record.logFile);
        std::fflush(record.logFile);  // on disk at once: a crash or a forced end loses nothing
    }
}

int KRT_StartLog(int slot)
{
    if (!IsOpenTextWindow(slot))
        return 3;
    TextWindowRecord& record = TextWindowTable[slot];
    std::unique_lock<std::mutex> hold(logLocks[slot]);
    if (record.logState == 1)
        return 1;
    if (record.logState == 2) {
        record.logState = 1;  // the same file goes on
        return 0;
    }
    char name[520];
    std::FILE* stream = FormatLogName(name, sizeof name, logFolder, instanceNumber, slot)
                            ? OpenLogStream(name, "wt")
                            : nullptr;
    if (!stream) {
        hold.unlock();  // the box dispatches messages, and they may print
        ShowCannotCreate();
        return 2;
    }
    record.logFile = stream;
    record.logState = 1;
    return 0;
}

int KRT_StopLog(int slot)
{
    if (!IsOpenTextWindow(slot))
        return 2;
    TextWindowRecord& record = TextWindowTable[slot];
    std::lock_guard<std::mutex> hold(logLocks[slot]);
    if (record.logState == 0)
        return 1;
    record.logState = 2;  // the file stays open while paused
    return 0;
}

void KRT_CloseLog(int slot)
{
    if (slot < 0 || slot >= kTextWindowSlots)
        return;
    std::lock_guard<std::mutex> hold(logLocks[slot]);
    CloseLocked(TextWindowTable[slot]);
}

void KRT_CloseAllLogs(void)
{
    for (int slot = 0; slot < kTextWindowSlots; ++slot)
        KRT_CloseLog(slot);
}

int KRT_CopyLog(int slot)
{
    if (!IsOpenTextWindow(slot))
        return 4;
    if (!OpenClipboard(nullptr))
        return 1;
    TextWindowRecord& record = TextWindowTable[slot];
    std::unique_lock<std::mutex> hold(logLocks[slot]);
    if (record.logState != 0 && record.logFile) {
        std::fclose(record.logFile);  // flushes it, and lets it be read
        record.logFile = nullptr;
    }
    int result = 0;
    char name[256] = "";
    std::FILE* file = FormatLogName(name, sizeof name, logFolder, instanceNumber, slot)
                          ? OpenLogStream(name, "rb")
                          : nullptr;
    if (!file) {
        hold.unlock();  // the box waits for the user; prints must not wait with it
        KRT_Pause("Can't open LOG file!");
        hold.lock();
        result = 2;
    } else {
        EmptyClipboard();
        std::fseek(file, 0, SEEK_END);
        const long length = std::ftell(file);
        std::rewind(file);
        HGLOBAL block = length >= 0 ? GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, length + 1) : nullptr;
        if (!block) {
            hold.unlock();
            KRT_Pause("No enough memory (copy log)");
            hold.lock();
            result = 3;
        } else {
            char* bytes = static_cast<char*>(GlobalLock(block));
            const size_t read = std::fread(bytes, 1, static_cast<size_t>(length), file);
            bytes[read] = '\0';
            GlobalUnlock(block);
            SetClipboardData(CF_TEXT, block);
        }
        std::fclose(file);
    }
    CloseClipboard();
    if (record.logState != 0) {
        // Reopened for appending; logging (or paused) goes on in the same file.
        record.logFile = OpenLogStream(name, "at");
        if (!record.logFile) {
            record.logState = 0;
            hold.unlock();
            ShowCannotCreate();
        }
    }
    return result;
}
