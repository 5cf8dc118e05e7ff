#include "driver.h"

namespace driver {

std::string WinePath(const std::string &unixPath)
{
    std::string path = "Z:" + unixPath;
    for (char &c : path)
        if (c == '/')
            c = '\\';
    return path;
}

Process::~Process()
{
    if (!info_.hProcess)
        return;
    if (Running())
        TerminateProcess(info_.hProcess, 1);
    CloseHandle(info_.hProcess);
    CloseHandle(info_.hThread);
}

bool Process::Start(const std::string &exePath, const std::string &arguments)
{
    std::string commandLine = "\"" + exePath + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    return CreateProcessA(exePath.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info_) != 0;
}

bool Process::StartWithEnvironment(const std::string &exePath, const std::string &arguments,
                                   const std::vector<std::string> &environment)
{
    auto nameOf = [](const std::string &entry) {
        std::string name = entry.substr(0, entry.find('=', 1));
        for (char &c : name)
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
        return name;
    };
    std::string block;
    char *own = GetEnvironmentStringsA();
    for (const char *entry = own; *entry; entry += lstrlenA(entry) + 1) {
        bool replaced = false;
        for (const std::string &set : environment)
            replaced = replaced || nameOf(set) == nameOf(entry);
        if (!replaced)
            block.append(entry).push_back('\0');
    }
    FreeEnvironmentStringsA(own);
    for (const std::string &set : environment)
        block.append(set).push_back('\0');
    block.push_back('\0');

    std::string commandLine = "\"" + exePath + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    return CreateProcessA(exePath.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, &block[0], NULL, &startup, &info_) != 0;
}

DWORD WaitForProcessExit(HANDLE process, DWORD timeoutMs)
{
    if (WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0)
        return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process, &code);
    return code;
}

DWORD Process::WaitForExit(DWORD timeoutMs)
{
    return WaitForProcessExit(info_.hProcess, timeoutMs);
}

bool Process::Running() const
{
    return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

namespace {

struct WindowSearch {
    DWORD pid;
    const std::string *caption;  // null: any caption
    const char *className;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM lParam)
{
    WindowSearch *search = reinterpret_cast<WindowSearch *>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search->pid || !IsWindowVisible(window) || ClassOf(window) != search->className)
        return TRUE;
    if (search->caption && WindowText(window) != *search->caption)
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND Poll(WindowSearch search, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        search.found = NULL;
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            Settle(search.found);
            return search.found;
        }
        if (GetTickCount() - start > timeoutMs)
            return NULL;
        Sleep(20);
    }
}

void SendKeyEvents(const std::vector<INPUT> &events)
{
    SendInput(static_cast<UINT>(events.size()), const_cast<INPUT *>(events.data()), sizeof(INPUT));
}

INPUT KeyEvent(WORD vk, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

void Activate(HWND window)
{
    HWND top = GetAncestor(window, GA_ROOT);
    for (int i = 0; i < 50 && GetForegroundWindow() != top; ++i) {
        SetForegroundWindow(top);
        Sleep(20);
    }
}

void PressWith(HWND window, WORD modifier, WORD vk)
{
    Activate(window);
    SendKeyNow(modifier, vk);
    Sleep(50);
    if (IsWindow(window))
        Settle(window);
}

}  // namespace

HWND WaitForWindow(DWORD pid, const std::string &caption, DWORD timeoutMs, const char *className)
{
    return Poll({pid, &caption, className, NULL}, timeoutMs);
}

HWND FindVisibleWindow(DWORD pid, const std::string &caption, const char *className)
{
    WindowSearch search = {pid, &caption, className, NULL};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForAnyDialog(DWORD pid, DWORD timeoutMs)
{
    return Poll({pid, NULL, "#32770", NULL}, timeoutMs);
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (IsWindow(window) && IsWindowVisible(window)) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(20);
    }
    return true;
}

std::string WindowText(HWND window)
{
    char text[16384];
    text[0] = '\0';
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &copied);
    return std::string(text, copied);
}

std::string ClassOf(HWND window)
{
    char name[256];
    int length = GetClassNameA(window, name, sizeof name);
    return std::string(name, length > 0 ? length : 0);
}

HWND FocusOf(HWND window)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, NULL), &info))
        return NULL;
    return info.hwndFocus;
}

void Settle(HWND window)
{
    DWORD_PTR ignored;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
}

void PressKey(HWND window, WORD vk) { PressWith(window, 0, vk); }
void PressAltKey(HWND window, WORD vk) { PressWith(window, VK_MENU, vk); }
void PressShiftKey(HWND window, WORD vk) { PressWith(window, VK_SHIFT, vk); }
void PressCtrlKey(HWND window, WORD vk) { PressWith(window, VK_CONTROL, vk); }

void BringToForeground(HWND window) { Activate(window); }

void SendKeyNow(WORD modifier, WORD vk)
{
    std::vector<INPUT> events;
    if (modifier)
        events.push_back(KeyEvent(modifier, false));
    events.push_back(KeyEvent(vk, false));
    events.push_back(KeyEvent(vk, true));
    if (modifier)
        events.push_back(KeyEvent(modifier, true));
    SendKeyEvents(events);
}

void Click(HWND control)
{
    Activate(control);
    RECT rect;
    GetWindowRect(control, &rect);
    SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    INPUT events[2] = {};
    events[0].type = events[1].type = INPUT_MOUSE;
    events[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    events[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, events, sizeof(INPUT));
    Sleep(50);
    if (IsWindow(control))
        Settle(control);
}

MessageBoxSeen WaitForMessageBox(DWORD pid, DWORD timeoutMs)
{
    MessageBoxSeen seen;
    seen.window = WaitForAnyDialog(pid, timeoutMs);
    if (!seen.window)
        return seen;
    seen.caption = WindowText(seen.window);
    // A message box shows its text in the static control 0xFFFF.
    HWND text = GetDlgItem(seen.window, 0xFFFF);
    if (text)
        seen.text = WindowText(text);
    return seen;
}

RECT ControlRect(HWND control)
{
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(NULL, GetParent(control), reinterpret_cast<POINT *>(&rect), 2);
    return rect;
}

namespace {
INT_PTR CALLBACK InertDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
}  // namespace

RECT DialogUnitsToPixels(const std::string &exePath, UINT templateId, int x, int y, int cx, int cy)
{
    RECT position = {x, y, 0, 0};
    RECT size = {cx, cy, 0, 0};
    HMODULE module = LoadLibraryExA(exePath.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found = module ? FindResourceA(module, MAKEINTRESOURCEA(templateId), MAKEINTRESOURCEA(5)) : NULL;
    if (found) {
        const DLGTEMPLATE *dialogTemplate = static_cast<const DLGTEMPLATE *>(LockResource(LoadResource(module, found)));
        // Created hidden: WS_VISIBLE is not in the template.
        HWND copy = CreateDialogIndirectParamA(module, dialogTemplate, NULL, InertDialogProc, 0);
        if (copy) {
            MapDialogRect(copy, &position);
            MapDialogRect(copy, &size);
            DestroyWindow(copy);
        }
    }
    if (module)
        FreeLibrary(module);
    RECT pixels = {position.left, position.top, position.left + size.left, position.top + size.top};
    return pixels;
}

COLORREF ClientPixel(HWND window, int x, int y)
{
    POINT point = {x, y};
    ClientToScreen(window, &point);
    HDC screen = GetDC(NULL);
    COLORREF color = GetPixel(screen, point.x, point.y);
    ReleaseDC(NULL, screen);
    return color;
}

PixelBlock ClientPixels(HWND window, const RECT &rect)
{
    PixelBlock block;
    block.rect = rect;
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return block;
    POINT origin = {rect.left, rect.top};
    ClientToScreen(window, &origin);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = NULL;
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
        GdiFlush();
        const DWORD *quads = static_cast<const DWORD *>(bits);
        block.pixels.resize(static_cast<size_t>(width) * height);
        for (size_t i = 0; i < block.pixels.size(); ++i)  // 0x00RRGGBB to COLORREF
            block.pixels[i] = RGB((quads[i] >> 16) & 0xFF, (quads[i] >> 8) & 0xFF, quads[i] & 0xFF);
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
    return block;
}

bool ReadFileBytes(const std::string &path, std::string *bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    GetFileSizeEx(file, &size);
    bytes->resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    BOOL ok = bytes->empty() || ReadFile(file, &(*bytes)[0], static_cast<DWORD>(bytes->size()), &read, NULL);
    CloseHandle(file);
    return ok && read == bytes->size();
}

bool WriteFileBytes(const std::string &path, const std::string &bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, NULL);
    CloseHandle(file);
    return ok && written == bytes.size();
}

namespace {
const char APP_PATHS_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAPPMGR.EXE";
}

AppPathsValue::AppPathsValue()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, APP_PATHS_KEY, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return;
    hadKey_ = true;
    DWORD size = 0;
    if (RegQueryValueExA(key, "", NULL, &type_, NULL, &size) == ERROR_SUCCESS) {
        data_.resize(size);
        hadValue_ = RegQueryValueExA(key, "", NULL, &type_, size ? reinterpret_cast<BYTE *>(&data_[0]) : NULL,
                                     &size) == ERROR_SUCCESS;
        data_.resize(size);
    }
    RegCloseKey(key);
}

AppPathsValue::~AppPathsValue()
{
    if (!hadKey_)
        DeleteKey();
    else if (!hadValue_)
        KeyWithoutDefaultValue();
    else
        Set(type_, data_);
}

bool AppPathsValue::Set(DWORD type, const std::string &data)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, APP_PATHS_KEY, 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL) != ERROR_SUCCESS)
        return false;
    LONG status = RegSetValueExA(key, "", 0, type, reinterpret_cast<const BYTE *>(data.data()),
                                 static_cast<DWORD>(data.size()));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

bool AppPathsValue::DeleteKey()
{
    LONG status = RegDeleteKeyA(HKEY_LOCAL_MACHINE, APP_PATHS_KEY);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool AppPathsValue::KeyWithoutDefaultValue()
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, APP_PATHS_KEY, 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL) != ERROR_SUCCESS)
        return false;
    LONG status = RegDeleteValueA(key, "");
    // A named value, so that the key is not empty: only the default one is missing.
    const char path[] = "C:\\";
    RegSetValueExA(key, "Path", 0, REG_SZ, reinterpret_cast<const BYTE *>(path), sizeof path);
    RegCloseKey(key);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

}  // namespace driver
