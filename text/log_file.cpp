#include "text/log_file.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <mutex>

#include "core/framework.h"
#include "core/process_state.h"
#include "krtlib.h"
#include "text/log_name.h"
#include "text/text_window_table.h"

namespace {

// Held only for file work, never across a call that sends messages to other windows (the
// clipboard's do): Exit takes each lock on the GUI thread while the user-program thread may be
// anywhere.
std::timed_mutex logLocks[kTextWindowSlots];
using LogLock = std::unique_lock<std::timed_mutex>;

// Text mode, so that every line feed is stored as CR LF; not shared while open.  The name is
// wide: the log folder may hold characters that the system code page cannot.
std::FILE* OpenLogStream(const wchar_t* name, const wchar_t* mode)
{
    std::FILE* stream = nullptr;
    if (_wfopen_s(&stream, name, mode) != 0)
        return nullptr;
    return stream;
}

// The slot's log file name; false when it cannot be formed whole (it is then never opened).
bool LogName(wchar_t (&name)[kLogNameUnits], int slot)
{
    return FormatLogName(name, kLogNameUnits, logFolderW, instanceNumber, slot);
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

// The log's bytes in a new block for CF_TEXT, terminated; the copy's result code (0, 2 the file
// cannot be read, 3 no memory), with `complaint` the text of the box the caller shows for a
// failure.
int ReadLogBlock(const wchar_t* name, HGLOBAL& block, const char*& complaint)
{
    block = nullptr;
    std::FILE* file = name ? OpenLogStream(name, L"rb") : nullptr;
    if (!file) {
        complaint = "Can't open LOG file!";
        return 2;
    }
    std::fseek(file, 0, SEEK_END);
    const long length = std::ftell(file);
    std::rewind(file);
    block = length >= 0 ? GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, static_cast<SIZE_T>(length) + 1) : nullptr;
    char* bytes = block ? static_cast<char*>(GlobalLock(block)) : nullptr;
    int result = 0;
    if (!bytes) {
        if (block)
            GlobalFree(block);
        block = nullptr;
        complaint = "No enough memory (copy log)";
        result = 3;
    } else {
        const size_t read = std::fread(bytes, 1, static_cast<size_t>(length), file);
        bytes[read] = '\0';
        GlobalUnlock(block);
    }
    std::fclose(file);
    return result;
}

}  // namespace

void WriteLog(int slot, const char* bytes, std::size_t length)
{
    if (slot < 0 || slot >= kTextWindowSlots)
        return;
    TextWindowRecord& record = TextWindowTable[slot];
    LogLock hold(logLocks[slot]);
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
    LogLock hold(logLocks[slot]);
    if (record.logState == 1)
        return 1;
    if (record.logState == 2) {
        record.logState = 1;  // the same file goes on
        return 0;
    }
    wchar_t name[kLogNameUnits];
    std::FILE* stream = LogName(name, slot) ? OpenLogStream(name, L"wt") : nullptr;
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
    LogLock hold(logLocks[slot]);
    if (record.logState == 0)
        return 1;
    record.logState = 2;  // the file stays open while paused
    return 0;
}

void KRT_CloseLog(int slot)
{
    if (slot < 0 || slot >= kTextWindowSlots)
        return;
    LogLock hold(logLocks[slot]);
    CloseLocked(TextWindowTable[slot]);
}

void KRT_CloseAllLogs(void)
{
    for (int slot = 0; slot < kTextWindowSlots; ++slot)
        KRT_CloseLog(slot);
}

void CloseAllLogsWithin(unsigned milliseconds)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (int slot = 0; slot < kTextWindowSlots; ++slot) {
        LogLock hold(logLocks[slot], deadline);
        if (hold.owns_lock())
            CloseLocked(TextWindowTable[slot]);
    }
}

int KRT_CopyLog(int slot)
{
    if (!IsOpenTextWindow(slot))
        return 4;
    if (!OpenClipboard(nullptr))
        return 1;
    TextWindowRecord& record = TextWindowTable[slot];
    wchar_t name[kLogNameUnits];
    const bool named = LogName(name, slot);
    const char* complaint = nullptr;
    bool lost = false;
    HGLOBAL block = nullptr;
    int result = 0;
    {
        // The file is read under the lock; the clipboard is filled after it, since emptying
        // the clipboard sends a message to its owner, which may be a window of a thread that
        // is waiting for this very lock (Exit's closing of the logs).
        LogLock hold(logLocks[slot]);
        if (record.logState != 0 && record.logFile) {
            std::fclose(record.logFile);  // flushes it, and lets it be read
            record.logFile = nullptr;
        }
        result = ReadLogBlock(named ? name : nullptr, block, complaint);
        // Logging (or the pause) goes on in the same file before any box is shown: a box waits
        // for the user while this program may go on printing.
        if (record.logState != 0) {
            record.logFile = named ? OpenLogStream(name, L"at") : nullptr;
            if (!record.logFile) {
                record.logState = 0;
                lost = true;
            }
        }
    }
    if (result != 2)  // the file was read, or at least opened
        EmptyClipboard();
    // The clipboard owns the block only once it has taken it.  When it refuses it, the block is
    // still ours to free, and the result is 1: the clipboard did not take it.
    if (block && !SetClipboardData(CF_TEXT, block)) {
        GlobalFree(block);
        result = 1;
    }
    CloseClipboard();  // given back before any box: other programs may want it
    if (complaint)
        KRT_Pause(complaint);
    if (lost)
        ShowCannotCreate();
    return result;
}
