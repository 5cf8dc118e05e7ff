#include "harness.h"
#include "driver.h"

namespace e2e {

const char README_CAPTION[] = "Zentrobel FULL VERSION - Welcome";
const char AGREEMENT_CAPTION[] = "Zentrobel FULL VERSION - End User License Agreement";
const char SETUP_CAPTION[] = "Setup";
const char STANDIN_RECORD[] = "standin-record.txt";

const char *MessageText(int n)
{
    static const char *const texts[] = {
        "",
        "Windows CE Services not found on this computer. Setup cannot continue and will now exit.",
        "Setup",
        "Could not create install directory. Setup cannot continue and will exit.",
        "An error occured writing your Windows CE application to disk. Setup cannot continue and will exit.",
        "The setup files are missing information. Setup cannot continue and will exit.",
    };
    return n >= 1 && n <= 5 ? texts[n] : "";
}

std::string ShippedSetup() { return driver::WinePath(E2E_SETUP_EXE); }
std::string VariantSetup(const std::string &name) { return driver::WinePath(E2E_VARIANTS_DIR "/" + name + "/setup.exe"); }
std::string VariantContent(const std::string &file) { return driver::WinePath(E2E_VARIANTS_DIR "/content/" + file); }
std::string PackageContent(const std::string &file) { return driver::WinePath(E2E_PACKAGE_CONTENT_DIR "/" + file); }
std::string ShippedIni() { return driver::WinePath(E2E_SHIPPED_INI); }
std::string StandinProgram() { return driver::WinePath(E2E_STANDIN_EXE); }
std::string SmallDiskFolder() { return driver::WinePath(E2E_SMALL_DISK); }

std::string SmallDiskStatus()
{
    bool exists = false;
    std::string status = FileBytes(driver::WinePath(E2E_SMALL_DISK ".status"), &exists);
    while (!status.empty() && (status.back() == '\n' || status.back() == '\r'))
        status.pop_back();
    return exists ? status : "the small-disk fixture did not run";
}

std::string FileBytes(const std::string &path, bool *exists)
{
    std::string bytes;
    bool read = driver::ReadFileBytes(path, &bytes);
    if (exists)
        *exists = read;
    return read ? bytes : std::string();
}

bool MakeFolders(const std::string &path)
{
    if (PathExists(path))
        return true;
    std::string::size_type cut = path.find_last_of('\\');
    if (cut != std::string::npos && cut > 2 && !MakeFolders(path.substr(0, cut)))
        return false;
    return CreateDirectoryA(path.c_str(), NULL) || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool PathExists(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveTree(const std::string &path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileA(path.c_str());
        return;
    }
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name != "." && name != "..")
                RemoveTree(path + "\\" + name);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

bool PlaceStandin(const std::string &path)
{
    return CopyFileA(StandinProgram().c_str(), path.c_str(), FALSE) != 0;
}

namespace {

void SnapshotInto(const std::string &root, const std::string &relative, Tree *tree)
{
    WIN32_FIND_DATAA found;
    std::string folder = relative.empty() ? root : root + "\\" + relative;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        std::string entry = relative.empty() ? name : relative + "\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            (*tree)[entry + "\\"] = std::string();
            SnapshotInto(root, entry, tree);
        } else {
            bool exists = false;
            std::string bytes = FileBytes(root + "\\" + entry, &exists);
            (*tree)[entry] = exists ? bytes : std::string("<unreadable>");
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

}  // namespace

Tree Snapshot(const std::string &root)
{
    Tree tree;
    SnapshotInto(root, "", &tree);
    return tree;
}

std::vector<std::string> Changes(const Tree &before, const Tree &after)
{
    std::vector<std::string> changes;
    for (const auto &entry : after) {
        auto old = before.find(entry.first);
        if (old == before.end() || old->second != entry.second)
            changes.push_back(entry.first);
    }
    for (const auto &entry : before)
        if (!after.count(entry.first))
            changes.push_back("-" + entry.first);
    return changes;
}

ProcessTree::ProcessTree()
{
    job_ = CreateJobObjectA(NULL, NULL);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (job_)
        SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &limits, sizeof limits);
}

ProcessTree::~ProcessTree()
{
    if (job_) {
        TerminateJobObject(job_, 1);
        CloseHandle(job_);
    }
    if (info_.hProcess) {
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
    }
}

bool ProcessTree::Start(const std::string &exePath, const std::string &workingFolder)
{
    // Wine starts its desktop process (explorer.exe) for the first window of
    // a session: let that be ours, not one that would join setup's tree.
    GetDesktopWindow();
    std::string commandLine = "\"" + exePath + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    // Suspended until it is in the job, so that nothing it starts escapes.
    if (!job_ || !CreateProcessA(exePath.c_str(), &commandLine[0], NULL, NULL, FALSE, CREATE_SUSPENDED, NULL,
                                 workingFolder.empty() ? NULL : workingFolder.c_str(), &startup, &info_))
        return false;
    if (!AssignProcessToJobObject(job_, info_.hProcess)) {
        TerminateProcess(info_.hProcess, 1);
        return false;
    }
    ResumeThread(info_.hThread);
    return true;
}

bool ProcessTree::Ended() const
{
    return WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0;
}

DWORD ProcessTree::WaitForExit(DWORD timeoutMs)
{
    return driver::WaitForProcessExit(info_.hProcess, timeoutMs);
}

bool ProcessTree::WaitForAll(DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting = {};
        if (!QueryInformationJobObject(job_, JobObjectBasicAccountingInformation, &accounting, sizeof accounting, NULL))
            return false;
        if (accounting.ActiveProcesses == 0)
            return true;
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(10);
    }
}

DWORD ProcessTree::ProcessCount() const
{
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting = {};
    QueryInformationJobObject(job_, JobObjectBasicAccountingInformation, &accounting, sizeof accounting, NULL);
    return accounting.TotalProcesses;
}

namespace {

const DWORD PAGE_TIMEOUT_MS = 15000;
const DWORD END_TIMEOUT_MS = 20000;

MessageSeen ReadMessageBox(HWND box)
{
    MessageSeen seen;
    seen.caption = driver::WindowText(box);
    // A message box shows its text in the static control 0xFFFF.
    HWND text = GetDlgItem(box, 0xFFFF);
    if (text)
        seen.text = driver::WindowText(text);
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child))
            continue;
        std::string className = driver::ClassOf(child);
        LONG style = GetWindowLongA(child, GWL_STYLE);
        if (className == "Button")
            seen.buttons.push_back(driver::WindowText(child));
        else if (className == "Static" && (style & SS_TYPEMASK) == SS_ICON
                 && SendMessageA(child, STM_GETICON, 0, 0))
            seen.iconShown = true;  // the box keeps an empty icon control when it shows none
    }
    seen.owned = GetWindow(box, GW_OWNER) != NULL;
    return seen;
}

bool AcceptPage(ProcessTree &setup, const char *caption, Outcome *outcome)
{
    HWND page = driver::WaitForWindow(setup.Id(), caption, PAGE_TIMEOUT_MS);
    if (!page || !WaitUntilReadyForKeys(page)) {
        outcome->failure = std::string("the page \"") + caption + "\" did not appear";
        return false;
    }
    driver::PressAltKey(page, 'N');
    if (!driver::WaitForWindowGone(page)) {
        outcome->failure = std::string("the page \"") + caption + "\" stayed after Alt+N";
        return false;
    }
    return true;
}

}  // namespace

bool WaitUntilReadyForKeys(HWND window)
{
    DWORD start = GetTickCount();
    while (GetForegroundWindow() != window) {
        if (!IsWindow(window) || GetTickCount() - start > PAGE_TIMEOUT_MS)
            return false;
        Sleep(10);
    }
    Sleep(100);
    driver::Settle(window);
    return true;
}

void FinishRun(ProcessTree &setup, Outcome *outcome)
{
    DWORD start = GetTickCount();
    while (!setup.Ended()) {
        if (GetTickCount() - start > END_TIMEOUT_MS) {
            outcome->failure = "setup did not end";
            return;
        }
        HWND box = driver::WaitForAnyDialog(setup.Id(), 0);
        if (!box)
            continue;
        outcome->messages.push_back(ReadMessageBox(box));
        WaitUntilReadyForKeys(box);
        driver::PressKey(box, VK_RETURN);
        if (!driver::WaitForWindowGone(box)) {
            outcome->failure = "a message box stayed after Enter";
            return;
        }
    }
    outcome->exitCode = setup.WaitForExit(0);
    if (!setup.WaitForAll(END_TIMEOUT_MS))
        outcome->failure = "a program that setup started did not end";
    outcome->processCount = setup.ProcessCount();
}

Outcome RunSetup(const std::string &exePath, Pages pages, const std::string &workingFolder)
{
    Outcome outcome;
    ProcessTree setup;
    if (!setup.Start(exePath, workingFolder)) {
        outcome.failure = "setup did not start: " + exePath;
        return outcome;
    }
    if (pages != Pages::None && !AcceptPage(setup, README_CAPTION, &outcome))
        return outcome;
    if (pages == Pages::Both && !AcceptPage(setup, AGREEMENT_CAPTION, &outcome))
        return outcome;
    FinishRun(setup, &outcome);
    return outcome;
}

std::vector<StandinRecord> StandinRecords(const std::string &folder)
{
    std::vector<StandinRecord> records;
    std::string text = FileBytes(folder + "\\" + STANDIN_RECORD);
    std::string::size_type at = 0;
    while (at < text.size()) {
        std::string::size_type end = text.find("\r\n", at);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(at, end - at);
        at = end + 2;
        auto field = [&line](const char *name, std::string *value) {
            std::string prefix = std::string(name) + ": ";
            if (line.compare(0, prefix.size(), prefix) != 0)
                return false;
            *value = line.substr(prefix.size());
            return true;
        };
        std::string value;
        if (field("started", &value)) {
            records.push_back(StandinRecord());
            records.back().started = value;
        } else if (!records.empty() && field("command line", &value)) {
            records.back().commandLine = value;
        } else if (!records.empty() && field("show window", &value)) {
            records.back().showWindow = value;
        } else if (!records.empty() && field("verdict", &value)) {
            records.back().verdict = value;
        }
    }
    return records;
}

std::string PathOfLength(const std::string &base, size_t n, bool endWithBackslash)
{
    size_t room = n - base.size() - (endWithBackslash ? 1 : 0);
    if (n < base.size() + 2 + (endWithBackslash ? 1 : 0))
        return std::string();
    // Components of at most 100 characters, each after its backslash.
    size_t components = (room + 100) / 101;
    size_t letters = room - components;
    std::string path = base;
    for (size_t i = 0; i < components; ++i) {
        size_t count = letters / (components - i);
        letters -= count;
        path += "\\" + std::string(count, static_cast<char>('a' + i % 26));
    }
    if (endWithBackslash)
        path += "\\";
    return path;
}

}  // namespace e2e
