// Package variants (tests/packages): payload lists with gaps and missing
// parts, no install folder name, names too long to join, pages that cannot
// be shown. Each installs a small setup description and cabinet.
#include "scenario.h"

namespace e2e {
namespace {

// The variants' long names, as their resource scripts spell them.
std::string Digits(int times)
{
    std::string digits;
    for (int i = 0; i < times; ++i)
        digits += "0123456789";
    return digits;
}
const std::string LONG_FOLDER_NAME = "ZTL_" + Digits(7) + "abcde";  // 79 characters
const std::string LONG_FILE_NAME = "setup_" + Digits(19) + ".ini";   // 200 characters

bool Registered(Case &c, const std::string &folder)
{
    c.tokens = {{"{folder-name}", LONG_FOLDER_NAME}, {"{file-name}", LONG_FILE_NAME}};
    return c.StandinIn(folder) && c.registry->SetText(c.app + "CEAPPMGR.EXE");
}

bool AppManagerIn(Case &c) { return Registered(c, c.root + "\\X"); }

// The stand-in in a folder of exactly n characters with its trailing backslash.
template <size_t n>
bool AppManagerInFolderOfLength(Case &c)
{
    std::string folder = PathOfLength(c.root, n, true);
    return folder.size() == n && Registered(c, folder.substr(0, n - 1));
}

Expected Expect(std::vector<Written> written, const char *commandLine = nullptr, int message = 0,
                const char *caption = nullptr)
{
    Expected expected;
    expected.written = written;
    expected.commandLine = commandLine;
    expected.message = message;
    expected.caption = caption;
    return expected;
}

Expected NothingDone()
{
    Expected expected;
    expected.exitCode = static_cast<DWORD>(-1);
    return expected;
}

const Written FOLDER = {"{app}ZTL", Content::FOLDER};
const Written INI = {"{app}ZTL\\small.ini", Content::SMALL_INI};
const Written CAB = {"{app}ZTL\\small.CAB", Content::SMALL_CAB};
const Written RECORD = {"{app}standin-record.txt", Content::RECORD};
const char LAUNCHED[] = "{app}CEAPPMGR.EXE \"{app}ZTL\\small.ini\"";
const Written LONG_NAMED_INI = {"{app}ZTL\\{file-name}", Content::SMALL_INI};

const Scenario VARIANT_SCENARIOS[] = {
    // The install folder is {app} itself: its path keeps the trailing
    // backslash, so two backslashes stand in a row in each payload's path and
    // in the argument.
    {"NoFolderName", AppManagerIn,
     Expect({{"{app}small.ini", Content::SMALL_INI}, {"{app}small.CAB", Content::SMALL_CAB}, RECORD},
            "{app}CEAPPMGR.EXE \"{app}\\small.ini\""),
     "no_folder_name"},
    {"PayloadIds1And2And4", AppManagerIn, Expect({FOLDER, INI, CAB, RECORD}, LAUNCHED), "ids_1_2_4"},
    {"NameWithoutPayload", AppManagerIn, Expect({FOLDER, INI, CAB, RECORD}, LAUNCHED), "name_without_payload"},
    // The Application Manager is handed a setup description that was never written.
    {"NoPayload1WithName1", AppManagerIn,
     [] {
         Expected e = Expect({FOLDER, RECORD}, LAUNCHED);
         e.verdict = "the setup description {app}ZTL\\small.ini does not exist";
         return e;
     }(),
     "no_payload1_with_name1"},
    {"NoPayload1NoName1", AppManagerIn, Expect({FOLDER}, nullptr, 5), "no_payload1_no_name1"},
    {"Payload2WithoutName", AppManagerIn, Expect({FOLDER, INI}, nullptr, 4, "{app}ZTL"), "payload2_without_name"},
    {"EmptyPayload", AppManagerIn, Expect({FOLDER, INI, CAB, {"{app}ZTL\\empty.dat", Content::EMPTY}, RECORD}, LAUNCHED),
     "empty_payload"},
    {"NoPageTexts", AppManagerIn, Expect({FOLDER, INI, CAB, RECORD}, LAUNCHED), "no_page_texts"},

    // Names too long to join: nothing truncated is created or started.
    {"LongFolderNameFits", AppManagerIn,
     Expect({{"{app}{folder-name}", Content::FOLDER},
             {"{app}{folder-name}\\small.ini", Content::SMALL_INI},
             {"{app}{folder-name}\\small.CAB", Content::SMALL_CAB},
             RECORD},
            "{app}CEAPPMGR.EXE \"{app}{folder-name}\\small.ini\""),
     "long_folder_name"},
    // 181 + 79 characters leave no byte for the NUL.
    {"LongFolderNameTooLong", AppManagerInFolderOfLength<181>, Expect({}, nullptr, 3, "{app}"), "long_folder_name"},
    // In a folder of 7 characters, C:\lpn\, the command line has 233.
    {"LongFileNameFits", [](Case &c) { return Registered(c, c.root); },
     Expect({FOLDER, LONG_NAMED_INI, CAB, RECORD}, "{app}CEAPPMGR.EXE \"{app}ZTL\\{file-name}\""), "long_payload_name",
     Pages::Both, [] { return std::string("C:\\lpn"); }},
    // The file path needs 258 characters and fits; the argument needs 260,
    // its closing quote the 260th byte, and does not.
    {"LongFileNameArgumentTooLong", AppManagerInFolderOfLength<54>, Expect({FOLDER, LONG_NAMED_INI, CAB}, nullptr, 5),
     "long_payload_name"},
    // The file path itself needs 260 characters: no file is created.
    {"LongFileNamePathTooLong", AppManagerInFolderOfLength<56>, Expect({FOLDER}, nullptr, 4, "{app}ZTL"),
     "long_payload_name"},

    // A page that cannot be shown is not accepted: nothing is installed.
    {"MissingReadmePage", AppManagerIn, NothingDone(), "missing_readme_page", Pages::None},
    {"MissingAgreementPage", AppManagerIn, NothingDone(), "missing_agreement_page", Pages::ReadmeOnly},
};

class Variant : public ScenarioTest {};

TEST_P(Variant, Package)
{
    std::string skip = RunScenario(GetParam());
    if (!skip.empty())
        GTEST_SKIP() << skip;
}

INSTANTIATE_TEST_SUITE_P(Scenario, Variant, ::testing::ValuesIn(VARIANT_SCENARIOS), ScenarioName);

}  // namespace
}  // namespace e2e
