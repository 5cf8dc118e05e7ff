// A file with the cabinet's name that the system does not let setup replace:
// read-only, hidden or a system file. Setup does nothing to it beforehand,
// so its write fails with message 4 and the file stays as it was.
//
// Whether the system refuses is the platform's business: Wine lets root
// replace a read-only file and anyone replace a hidden or system one. Each
// case first asks the system the very question setup will ask (CREATE_ALWAYS
// with normal attributes) and skips where the answer is yes.
#include "scenario.h"
#include "driver.h"

namespace e2e {
namespace {

const char OLD_CABINET[] = "the cabinet of an earlier installation";

// "" when the system refuses to replace a file with these attributes.
std::string ReplaceableBecause(const std::string &folder, DWORD attributes, const char *what)
{
    std::string probe = folder + "\\probe";
    driver::WriteFileBytes(probe, "probe");
    SetFileAttributesA(probe.c_str(), attributes);
    HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    bool replaced = file != INVALID_HANDLE_VALUE;
    if (replaced)
        CloseHandle(file);
    SetFileAttributesA(probe.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(probe.c_str());
    return replaced ? std::string("this system lets CREATE_ALWAYS replace a ") + what
            + " file (Wine does for root, and for hidden and system files), so it cannot show the case"
                    : std::string();
}

const char *AttributeName(DWORD attributes)
{
    return attributes == FILE_ATTRIBUTE_READONLY ? "read-only" : attributes == FILE_ATTRIBUTE_HIDDEN ? "hidden" : "system";
}

template <DWORD attributes>
bool CabinetWithAttributes(Case &c)
{
    c.skip = ReplaceableBecause(c.root, attributes, AttributeName(attributes));
    if (!c.skip.empty())
        return false;
    std::string cabinet = c.root + "\\X\\ZTL\\ztl.arm.CAB";
    return c.StandinIn(c.root + "\\X") && c.registry->SetText(c.app + "CEAPPMGR.EXE") && MakeFolders(c.app + "ZTL")
        && driver::WriteFileBytes(cabinet, OLD_CABINET) && SetFileAttributesA(cabinet.c_str(), attributes);
}

Expected NotReplaced()
{
    Expected expected;
    expected.message = 4;
    expected.caption = "{app}ZTL";
    expected.written = {{"{app}ZTL\\ztl_arm.ini", Content::SHIPPED_INI}};
    return expected;
}

const Scenario TARGET_FILE_SCENARIOS[] = {
    {"ReadOnlyCabinet", CabinetWithAttributes<FILE_ATTRIBUTE_READONLY>, NotReplaced()},
    {"HiddenCabinet", CabinetWithAttributes<FILE_ATTRIBUTE_HIDDEN>, NotReplaced()},
    {"SystemCabinet", CabinetWithAttributes<FILE_ATTRIBUTE_SYSTEM>, NotReplaced()},
};
const DWORD TARGET_FILE_ATTRIBUTES[] = {FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM};

class TargetFile : public ScenarioTest {};

TEST_P(TargetFile, NotReplaced)
{
    std::string skip = RunScenario(GetParam());
    if (!skip.empty())
        GTEST_SKIP() << skip;
    // Its bytes are unchanged (the scenario's check); so is its attribute.
    DWORD wanted = 0;
    for (size_t i = 0; i < sizeof TARGET_FILE_ATTRIBUTES / sizeof TARGET_FILE_ATTRIBUTES[0]; ++i)
        if (std::string(TARGET_FILE_SCENARIOS[i].name) == GetParam().name)
            wanted = TARGET_FILE_ATTRIBUTES[i];
    DWORD attributes = GetFileAttributesA((CaseFolder() + "\\X\\ZTL\\ztl.arm.CAB").c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & wanted) << AttributeName(wanted);
}

INSTANTIATE_TEST_SUITE_P(Scenario, TargetFile, ::testing::ValuesIn(TARGET_FILE_SCENARIOS), ScenarioName);

}  // namespace
}  // namespace e2e
