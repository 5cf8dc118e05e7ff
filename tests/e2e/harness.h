// What the end-to-end scenarios share: where this build's programs and
// package content are, the Application Manager's registry value, scratch
// folders, running setup through its pages to its end, and the stand-in
// Application Manager's record.
#pragma once
#include <windows.h>
#include "driver.h"
#include <map>
#include <string>
#include <vector>

namespace e2e {

// The pages' captions and the messages' texts, as the user sees them.
extern const char README_CAPTION[];
extern const char AGREEMENT_CAPTION[];
extern const char SETUP_CAPTION[];
// Message n (1 to 5) of the string table.
const char *MessageText(int n);

// Paths of this build, as Wine sees them.
std::string ShippedSetup();                           // the test build of the shipped package
std::string VariantSetup(const std::string &name);    // a package variant of tests/packages
std::string VariantContent(const std::string &file);  // a file the variants bind in
std::string PackageContent(const std::string &file);  // a generated file of the shipped package
std::string ShippedIni();
std::string StandinProgram();
std::string SmallDiskFolder();  // a tmpfs of 1 MiB, when the fixture could mount it
std::string SmallDiskStatus();  // "mounted", or why not

// Whole files: the bytes of path, or "" (and *exists false) when unreadable.
std::string FileBytes(const std::string &path, bool *exists = nullptr);

// Folders. Paths here never end in a backslash unless said so.
bool MakeFolders(const std::string &path);
void RemoveTree(const std::string &path);
bool PathExists(const std::string &path);
// Copies the stand-in Application Manager to path.
bool PlaceStandin(const std::string &path);

// Everything under root: relative paths of files with their bytes, and of
// folders with a trailing backslash and no bytes.
typedef std::map<std::string, std::string> Tree;
Tree Snapshot(const std::string &root);
// The entries of after that are new or changed against before, and those of
// before that are gone (listed as "-name").
std::vector<std::string> Changes(const Tree &before, const Tree &after);

// The Application Manager's registry value, put back when the object goes.
using driver::AppPathsValue;

// A started program and every process it starts in its turn, held in a job
// object so that none of them can go unseen. Ending the object ends them all.
class ProcessTree {
public:
    ProcessTree();
    ~ProcessTree();
    ProcessTree(const ProcessTree &) = delete;
    ProcessTree &operator=(const ProcessTree &) = delete;
    bool Start(const std::string &exePath, const std::string &workingFolder = "");
    DWORD Id() const { return info_.dwProcessId; }
    bool Ended() const;
    // The first process's exit code, or STILL_ACTIVE when it did not end in time.
    DWORD WaitForExit(DWORD timeoutMs);
    // True when every process of the tree has ended.
    bool WaitForAll(DWORD timeoutMs);
    // How many processes the tree has held, the first one included.
    DWORD ProcessCount() const;

private:
    HANDLE job_ = NULL;
    PROCESS_INFORMATION info_ = {};
};

// A message box as the user saw it.
struct MessageSeen {
    std::string caption;
    std::string text;
    std::vector<std::string> buttons;  // the visible buttons' texts
    bool iconShown = false;
    bool owned = false;  // it had an owner window
};

// Waits until a newly shown window is the foreground one, and a little
// longer: Wine's X11 driver resyncs its key state from the X server when the
// focus arrives there, and a modifier typed before that is lost (Alt+N then
// comes as a plain N). False when it never became foreground.
bool WaitUntilReadyForKeys(HWND window);

// Which pages a run goes through with Next (Alt+N).
enum class Pages { Both, ReadmeOnly, None };

struct Outcome {
    std::string failure;  // what went wrong with the run itself, "" if nothing
    DWORD exitCode = STILL_ACTIVE;
    std::vector<MessageSeen> messages;  // each dismissed with Enter
    DWORD processCount = 0;  // setup and everything it started
};

// Runs setup at exePath, accepts the pages with Next, reads and dismisses
// every message box and waits until setup and whatever it started have ended.
Outcome RunSetup(const std::string &exePath, Pages pages = Pages::Both, const std::string &workingFolder = "");
// Waits for setup's end after the pages, reading and dismissing message boxes.
void FinishRun(ProcessTree &setup, Outcome *outcome);

// The records of the stand-in Application Manager in folder, one per start.
struct StandinRecord {
    std::string started;
    std::string commandLine;
    std::string showWindow;  // the SW_ number it was started with, or "default"
    std::string verdict;
};
std::vector<StandinRecord> StandinRecords(const std::string &folder);
extern const char STANDIN_RECORD[];  // the record's file name

// A text of n characters, made of path components below base, so that
// base + the result is a path of exactly n characters; it ends in a
// backslash when endWithBackslash is set.
std::string PathOfLength(const std::string &base, size_t n, bool endWithBackslash);

}  // namespace e2e
