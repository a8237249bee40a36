// A small console program the end-to-end scripts run beside the program under test, in the
// same Wine session, to read what X cannot tell: system metrics, window rectangles and
// texts, the clipboard, a process's memory and handle counts, and to post commands.  Output is
// UTF-8, one value per line.
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::wstring Widen(const char* utf8)
{
    if (!utf8 || !std::strcmp(utf8, "-"))
        return L"";
    wchar_t buffer[1024];
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, buffer, 1024);
    return n > 0 ? std::wstring(buffer, n - 1) : std::wstring();
}

void PrintUtf8(const wchar_t* text)
{
    char buffer[4096];
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, sizeof buffer, nullptr, nullptr);
    std::printf("%s\n", n > 0 ? buffer : "");
}

// "-" for either part means any.
HWND Find(const char* className, const char* title)
{
    const std::wstring c = Widen(className), t = Widen(title);
    return FindWindowW(c.empty() ? nullptr : c.c_str(), t.empty() ? nullptr : t.c_str());
}

int Metrics()
{
    std::printf("%d %d %d %d %d %d %d\n", GetSystemMetrics(SM_CXFULLSCREEN),
                GetSystemMetrics(SM_CYFULLSCREEN), GetSystemMetrics(SM_CYCAPTION),
                GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYMENU));
    return 0;
}

int Rect(HWND window)
{
    RECT r;
    if (!window || !GetWindowRect(window, &r)) {
        std::printf("none\n");
        return 1;
    }
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    return 0;
}

int ClientRect(HWND window)
{
    RECT r;
    if (!window || !GetClientRect(window, &r)) {
        std::printf("none\n");
        return 1;
    }
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    std::printf("%ld %ld %ld %ld\n", origin.x, origin.y, origin.x + r.right, origin.y + r.bottom);
    return 0;
}

int Texts(HWND window)
{
    if (!window) {
        std::printf("none\n");
        return 1;
    }
    EnumChildWindows(
        window,
        [](HWND child, LPARAM) {
            wchar_t text[1024];
            GetWindowTextW(child, text, 1024);
            PrintUtf8(text);
            return TRUE;
        },
        0);
    return 0;
}

// Every child: its class and its rectangle in the parent's client area, "Class x y width height".
int ChildRects(HWND window)
{
    if (!window) {
        std::printf("none\n");
        return 1;
    }
    EnumChildWindows(
        window,
        [](HWND child, LPARAM) {
            wchar_t name[64];
            GetClassNameW(child, name, 64);
            RECT r;
            GetWindowRect(child, &r);
            MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
            char narrow[64];
            WideCharToMultiByte(CP_UTF8, 0, name, -1, narrow, sizeof narrow, nullptr, nullptr);
            std::printf("%s %ld %ld %ld %ld\n", narrow, r.left, r.top, r.right - r.left, r.bottom - r.top);
            return TRUE;
        },
        0);
    return 0;
}

int Title(HWND window)
{
    if (!window) {
        std::printf("none\n");
        return 1;
    }
    wchar_t text[512];
    GetWindowTextW(window, text, 512);
    PrintUtf8(text);
    return 0;
}

// Every visible top-level popup menu window.
int Menus()
{
    int found = 0;
    EnumWindows(
        [](HWND window, LPARAM count) {
            wchar_t name[32];
            GetClassNameW(window, name, 32);
            RECT r;
            if (!std::wcscmp(name, L"#32768") && IsWindowVisible(window) && GetWindowRect(window, &r)) {
                std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
                ++*reinterpret_cast<int*>(count);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    if (!found)
        std::printf("none\n");
    return found ? 0 : 1;
}

int ClipboardText()
{
    if (!OpenClipboard(nullptr))
        return 1;
    HANDLE data = GetClipboardData(CF_TEXT);
    int result = 1;
    if (data) {
        const char* text = static_cast<const char*>(GlobalLock(data));
        if (text) {
            // Raw bytes, so that line ends and code page 932 text can be compared exactly.
            std::fflush(stdout);
            _setmode(_fileno(stdout), _O_BINARY);
            std::fwrite(text, 1, std::strlen(text), stdout);
            GlobalUnlock(data);
            result = 0;
        }
    }
    CloseClipboard();
    return result;
}

// Posts WM_COMMAND 1002 (Exit) to every running instance's main window.
int ExitAll()
{
    EnumWindows(
        [](HWND window, LPARAM) {
            wchar_t name[32];
            GetClassNameW(window, name, 32);
            if (!std::wcsncmp(name, L"krtlib_mw", 9))
                PostMessageW(window, WM_COMMAND, 1002, 0);
            return TRUE;
        },
        0);
    return 0;
}

int Count(const char* className, const char* title)
{
    struct Query { std::wstring c, t; int n; } q{Widen(className), Widen(title), 0};
    EnumWindows(
        [](HWND window, LPARAM data) {
            Query& query = *reinterpret_cast<Query*>(data);
            wchar_t name[256], text[256];
            GetClassNameW(window, name, 256);
            GetWindowTextW(window, text, 256);
            if ((query.c.empty() || query.c == name) && (query.t.empty() || query.t == text) &&
                IsWindowVisible(window))
                ++query.n;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&q));
    std::printf("%d\n", q.n);
    return 0;
}

// What a console of this client size shows when these were its last lines, each ending in a line
// feed: as many of them as fit above the cursor's empty line, white on black in the console font,
// one per text row from the top.  Drawn with plain GDI calls and written as a 24-bit BMP, the
// reference a screenshot of the console is compared with.
int RenderConsole(int width, int height, const char* file, int count, char** lines)
{
    if (width <= 0 || height <= 0)
        return 2;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as the file stores it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP drawn = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    HGDIOBJ oldBitmap = SelectObject(dc, drawn);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(OEM_FIXED_FONT));
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    PatBlt(dc, 0, 0, width, height, BLACKNESS);
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkColor(dc, RGB(0, 0, 0));
    const int rows = (height - 1) / metrics.tmHeight - 1;  // the last row holds the cursor
    const int first = count > rows ? count - rows : 0;
    for (int i = first; i < count; ++i) {
        const std::wstring line = Widen(lines[i]);
        TextOutW(dc, 0, (i - first) * metrics.tmHeight, line.c_str(), static_cast<int>(line.size()));
    }
    HDC copy = CreateCompatibleDC(nullptr);
    HBITMAP dib = CreateDIBSection(copy, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ oldDib = SelectObject(copy, dib);
    BitBlt(copy, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    GdiFlush();
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    BITMAPFILEHEADER header = {};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof header + sizeof info.bmiHeader;
    header.bfSize = header.bfOffBits + stride * height;
    FILE* out = std::fopen(file, "wb");
    int result = 1;
    if (out) {
        std::fwrite(&header, sizeof header, 1, out);
        std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
        std::fwrite(bits, stride, height, out);
        result = std::fclose(out) == 0 ? 0 : 1;
    }
    SelectObject(copy, oldDib);
    DeleteObject(dib);
    DeleteDC(copy);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(drawn);
    DeleteDC(dc);
    return result;
}

// The process id of the first process whose image name is this one (case ignored), or 0.
DWORD FindProcess(const char* imageName)
{
    const std::wstring wanted = Widen(imageName);
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    DWORD found = 0;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry))
        if (!_wcsicmp(entry.szExeFile, wanted.c_str()))
            found = entry.th32ProcessID;
    CloseHandle(snapshot);
    return found;
}

// GDI objects of another process from its handle table, for systems whose GetGuiResources
// answers 0 (Wine): the table the process's block points to holds one entry per live object,
// with a non-zero type.  Layout of an entry: object pointer, owner word, unique word, type
// byte, flags byte, user pointer (24 bytes); 65536 entries.
long CountGdiEntries(HANDLE process)
{
    PROCESS_BASIC_INFORMATION basic = {};
    ULONG length = 0;
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, &length) != 0 ||
        !basic.PebBaseAddress)
        return -1;
    constexpr SIZE_T kTableOffset = sizeof(void*) == 8 ? 0xF8 : 0x94;  // GdiSharedHandleTable
    UINT_PTR table = 0;
    SIZE_T read = 0;
    if (!ReadProcessMemory(process, reinterpret_cast<const char*>(basic.PebBaseAddress) + kTableOffset, &table,
                           sizeof table, &read) ||
        !table)
        return -1;
    constexpr size_t kEntrySize = 24, kEntries = 0x10000, kTypeOffset = 14;
    std::vector<unsigned char> entries(kEntrySize * kEntries);
    if (!ReadProcessMemory(process, reinterpret_cast<const void*>(table), entries.data(), entries.size(), &read))
        return -1;
    long count = 0;
    for (size_t i = 0; i < read / kEntrySize; ++i)
        count += entries[i * kEntrySize + kTypeOffset] != 0;
    return count;
}

// USER objects of another process, for systems whose GetGuiResources answers 0: its windows
// (top-level, message-only and every descendant) and the menu bars they hold.  Menus, cursors
// and icons that no window holds are not visible from outside.
struct UserCount { DWORD pid; long n; };

BOOL CALLBACK CountChild(HWND window, LPARAM data)
{
    UserCount& count = *reinterpret_cast<UserCount*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    count.n += pid == count.pid;
    return TRUE;
}

void CountWindowTree(HWND window, UserCount& count)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == count.pid) {
        ++count.n;
        if (!(GetWindowLongW(window, GWL_STYLE) & WS_CHILD) && GetMenu(window))
            ++count.n;
    }
    EnumChildWindows(window, CountChild, reinterpret_cast<LPARAM>(&count));  // all descendants
}

long CountUserObjects(DWORD pid)
{
    UserCount count = {pid, 0};
    EnumWindows([](HWND window, LPARAM data) {
        CountWindowTree(window, *reinterpret_cast<UserCount*>(data));
        return TRUE;
    }, reinterpret_cast<LPARAM>(&count));
    for (HWND window = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); window;
         window = FindWindowExW(HWND_MESSAGE, window, nullptr, nullptr))
        CountWindowTree(window, count);
    return count.n;
}

// "private-bytes gdi-objects user-objects how": the process's private bytes and its GDI and USER
// object counts, `how` telling whether the counts came from GetGuiResources ("system") or from
// the fallbacks above ("table"/"windows").  The process is a PID or an image name.
int ProcessStats(const char* which)
{
    const DWORD pid = std::strspn(which, "0123456789") == std::strlen(which) ? std::strtoul(which, nullptr, 10)
                                                                              : FindProcess(which);
    HANDLE process = pid ? OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid) : nullptr;
    if (!process) {
        std::printf("none\n");
        return 1;
    }
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    const bool haveMemory =
        GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
    long gdi = GetGuiResources(process, GR_GDIOBJECTS);
    long user = GetGuiResources(process, GR_USEROBJECTS);
    const char* gdiHow = "system";
    const char* userHow = "system";
    if (gdi == 0) {
        gdi = CountGdiEntries(process);
        gdiHow = "table";
    }
    if (user == 0) {
        user = CountUserObjects(pid);
        userHow = "windows";
    }
    CloseHandle(process);
    if (!haveMemory || gdi < 0) {
        std::printf("none\n");
        return 1;
    }
    // Wine fills only the basic counters (and says so in cb); there the commit charge is
    // PagefileUsage, which is what PrivateUsage reports on Windows as well.
    const SIZE_T privateBytes = memory.cb >= sizeof memory ? memory.PrivateUsage : memory.PagefileUsage;
    std::printf("%llu %ld %ld %s/%s\n", static_cast<unsigned long long>(privateBytes), gdi, user, gdiHow, userHow);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr,
                     "usage: probe metrics | rect C T | client C T | title C T | texts C T | child-rects C T"
                     " | count C T"
                     " | menus | clipboard-text | post C T MSG WPARAM LPARAM | exit-all"
                     " | render-console W H FILE LINE... | process-stats PID|IMAGE\n");
        return 2;
    }
    const std::string command = argv[1];
    if (command == "metrics")
        return Metrics();
    if (command == "menus")
        return Menus();
    if (command == "clipboard-text")
        return ClipboardText();
    if (command == "exit-all")
        return ExitAll();
    if (command == "process-stats" && argc >= 3)
        return ProcessStats(argv[2]);
    if (argc < 4)
        return 2;
    if (command == "render-console" && argc >= 5)
        return RenderConsole(std::atoi(argv[2]), std::atoi(argv[3]), argv[4], argc - 5, argv + 5);
    if (command == "rect")
        return Rect(Find(argv[2], argv[3]));
    if (command == "client")
        return ClientRect(Find(argv[2], argv[3]));
    if (command == "title")
        return Title(Find(argv[2], argv[3]));
    if (command == "texts")
        return Texts(Find(argv[2], argv[3]));
    if (command == "child-rects")
        return ChildRects(Find(argv[2], argv[3]));
    if (command == "count")
        return Count(argv[2], argv[3]);
    if (command == "post" && argc >= 7) {
        HWND window = Find(argv[2], argv[3]);
        return window && PostMessageW(window, std::strtoul(argv[4], nullptr, 0),
                                      std::strtoul(argv[5], nullptr, 0), std::strtol(argv[6], nullptr, 0))
                   ? 0
                   : 1;
    }
    return 2;
}
