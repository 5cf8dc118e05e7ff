// One installation scenario: prepare the registry value and the folders,
// run setup through both pages, then compare what the user saw, what changed
// on disk and what was started with what was expected.
//
// Paths in expectations may hold {case} (the scenario's scratch folder),
// {app} (the Application Manager's folder, with its trailing backslash) and
// any token the scenario's preparation defines.
#pragma once
#include "harness.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace e2e {

// What a written file must hold.
enum class Content {
    FOLDER,       // a folder
    SHIPPED_INI,  // the shipped package's payloads
    SHIPPED_CAB,
    PART_OF_SHIPPED_CAB,  // a proper beginning of the shipped cabinet: a write cut short
    SMALL_INI,    // the package variants' payloads
    SMALL_CAB,
    EMPTY,
    RECORD,       // the stand-in's record (checked as the launch)
};

struct Written {
    const char *path;
    Content content;
};

struct Expected {
    int message = 0;                // 1 to 5, or 0 for none
    const char *caption = nullptr;  // messages 3 and 4: the install folder path
    std::vector<Written> written;   // everything created or changed under {case}
    const char *commandLine = nullptr;  // what the Application Manager received; nullptr: nothing started
    const char *verdict = "ok";
    DWORD exitCode = 0;
};

struct Case {
    std::string name;
    std::string root;  // {case}
    std::string app;   // {app}
    AppPathsValue *registry = nullptr;
    std::vector<std::string> held;  // files held open, without sharing, during the run
    std::string skip;          // set by a preparation: why the scenario cannot run here

    std::vector<std::pair<std::string, std::string>> tokens;  // further {name}s a scenario defines

    std::string Expand(const char *pattern) const;
    // Makes folder (a full path) and puts the stand-in there as CEAPPMGR.EXE; it becomes {app}.
    bool StandinIn(const std::string &folder);
    // Makes the file at path, to be held open without sharing while setup runs.
    bool Hold(const std::string &path);
};

struct Scenario {
    const char *name;
    // Sets up the registry value and the folders; false when it could not.
    bool (*prepare)(Case &c);
    Expected expected;
    const char *package = nullptr;  // a package variant, or nullptr for the shipped package
    Pages pages = Pages::Both;
    std::string (*root)() = nullptr;  // {case}, when not C:\e2e\<name>
};

std::ostream &operator<<(std::ostream &out, const Scenario &scenario);

// Runs a table's scenario; each table derives its own fixture from this.
class ScenarioTest : public ::testing::TestWithParam<Scenario> {
protected:
    void TearDown() override;
    // "" when the scenario ran (its failures reported), else the reason to skip.
    std::string RunScenario(const Scenario &scenario);
    // {case} of the scenario that ran; removed after the test.
    const std::string &CaseFolder() const { return root_; }

private:
    std::string root_;
};

std::string ScenarioName(const ::testing::TestParamInfo<Scenario> &info);

}  // namespace e2e
