// Drives the real setup program from another process, as a user would:
// finds its windows by caption, reads their controls, types keys, clicks.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

namespace driver {

// Converts a Unix path of this machine into the path Wine sees (drive Z:).
std::string WinePath(const std::string &unixPath);

// The exit code of a process, or STILL_ACTIVE when it did not end in time.
DWORD WaitForProcessExit(HANDLE process, DWORD timeoutMs);

// A started program; the destructor ends it if it is still running.
class Process {
public:
    Process() = default;
    Process(const Process &) = delete;
    Process &operator=(const Process &) = delete;
    ~Process();
    bool Start(const std::string &exePath, const std::string &arguments = "");
    // Starts it with this process's environment, where each "NAME=value" of
    // environment replaces or adds one variable.
    bool StartWithEnvironment(const std::string &exePath, const std::string &arguments,
                              const std::vector<std::string> &environment);
    // The exit code, or STILL_ACTIVE when the process did not end in time.
    DWORD WaitForExit(DWORD timeoutMs = 20000);
    DWORD Id() const { return info_.dwProcessId; }
    HANDLE Handle() const { return info_.hProcess; }
    bool Running() const;

private:
    PROCESS_INFORMATION info_ = {};
};

// A visible top-level window of process pid with this exact caption and
// class ("#32770" for dialogs and message boxes), or NULL after timeoutMs.
HWND WaitForWindow(DWORD pid, const std::string &caption, DWORD timeoutMs = 15000, const char *className = "#32770");
// One look, without waiting or settling: the window WaitForWindow would find
// now, or NULL. For callers that time a window's appearance themselves.
HWND FindVisibleWindow(DWORD pid, const std::string &caption, const char *className = "#32770");
// Any visible top-level dialog window of process pid (its caption unknown).
HWND WaitForAnyDialog(DWORD pid, DWORD timeoutMs = 15000);
bool WaitForWindowGone(HWND window, DWORD timeoutMs = 10000);

std::string WindowText(HWND window);
std::string ClassOf(HWND window);

// The control with the keyboard focus in window's thread.
HWND FocusOf(HWND window);

// Waits until the window's thread has handled everything sent so far.
void Settle(HWND window);

// Makes the window the foreground one and types keys into it through the
// system's input queue. A key is a virtual-key code; WithAlt presses it
// with Alt held.
void PressKey(HWND window, WORD vk);
void PressAltKey(HWND window, WORD vk);
void PressShiftKey(HWND window, WORD vk);
void PressCtrlKey(HWND window, WORD vk);
// The two halves of the key helpers, for callers that time a key: making the
// window the foreground one, then typing one key (with modifier held, unless
// it is 0) into whatever is foreground, returning as soon as it is queued.
void BringToForeground(HWND window);
void SendKeyNow(WORD modifier, WORD vk);
// Clicks the left mouse button at the centre of a control.
void Click(HWND control);

// The message box of pid with this caption: its text, read from the box.
struct MessageBoxSeen {
    HWND window = NULL;
    std::string caption;
    std::string text;
};
MessageBoxSeen WaitForMessageBox(DWORD pid, DWORD timeoutMs = 15000);

// A control's rectangle in its dialog's client coordinates, in pixels.
RECT ControlRect(HWND control);
// A control's template position and size in dialog units, converted to its
// rectangle in pixels for the given page template of the program at exePath.
// Measured on a hidden copy of that template made in this process; position
// and size convert separately, as the dialog manager does.
RECT DialogUnitsToPixels(const std::string &exePath, UINT templateId, int x, int y, int cx, int cy);

// Screen pixel at a point of the window's client area.
COLORREF ClientPixel(HWND window, int x, int y);

// Screen pixels of a rectangle of the window's client area, read in one go.
struct PixelBlock {
    RECT rect = {};                // in the window's client coordinates
    std::vector<COLORREF> pixels;  // row by row from the top left
    // The pixel at a point in the window's client coordinates (inside rect).
    COLORREF At(int x, int y) const { return pixels[(y - rect.top) * (rect.right - rect.left) + (x - rect.left)]; }
};
PixelBlock ClientPixels(HWND window, const RECT &rect);

// The default value of HKLM\...\App Paths\CEAPPMGR.EXE, for a test or a run:
// whatever was there before is put back when the object goes.
class AppPathsValue {
public:
    AppPathsValue();
    ~AppPathsValue();
    AppPathsValue(const AppPathsValue &) = delete;
    AppPathsValue &operator=(const AppPathsValue &) = delete;
    // Stores data (NUL included only if data holds it) with that type.
    bool Set(DWORD type, const std::string &data);
    bool SetText(const std::string &text) { return Set(REG_SZ, text + '\0'); }
    bool DeleteKey();
    bool KeyWithoutDefaultValue();

private:
    bool hadKey_ = false;
    bool hadValue_ = false;
    DWORD type_ = 0;
    std::string data_;
};

// Whole files.
bool ReadFileBytes(const std::string &path, std::string *bytes);
bool WriteFileBytes(const std::string &path, const std::string &bytes);

}  // namespace driver
