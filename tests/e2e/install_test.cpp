// The shipped package installed from end to end, from the Application
// Manager's registry value to its start, through every stage's failures.
#include "scenario.h"
#include "driver.h"

namespace e2e {
namespace {

// The stand-in in folder, registered by its path as REG_SZ.
bool Registered(Case &c, const std::string &folder)
{
    return c.StandinIn(folder) && c.registry->SetText(c.app + "CEAPPMGR.EXE");
}

// Makes an Application Manager's folder of exactly n characters with its
// trailing backslash, below {case}; it becomes {app}.
bool FolderOfLength(Case &c, size_t n)
{
    c.app = PathOfLength(c.root, n, true);
    return c.app.size() == n && MakeFolders(c.app.substr(0, n - 1));
}

// Everything a complete installation writes under {case}.
const std::vector<Written> INSTALLED = {
    {"{app}ZTL", Content::FOLDER},
    {"{app}ZTL\\ztl_arm.ini", Content::SHIPPED_INI},
    {"{app}ZTL\\ztl.arm.CAB", Content::SHIPPED_CAB},
    {"{app}standin-record.txt", Content::RECORD},
};
const std::vector<Written> PAYLOADS_WRITTEN(INSTALLED.begin(), INSTALLED.end() - 1);
const char LAUNCHED[] = "{app}CEAPPMGR.EXE \"{app}ZTL\\ztl_arm.ini\"";

Expected Installed(const char *commandLine = LAUNCHED, std::vector<Written> written = INSTALLED)
{
    Expected expected;
    expected.written = written;
    expected.commandLine = commandLine;
    return expected;
}

Expected Message(int message, const char *caption = nullptr, std::vector<Written> written = {})
{
    Expected expected;
    expected.message = message;
    expected.caption = caption;
    expected.written = written;
    return expected;
}

// No launch, and no message either.
Expected Silent(std::vector<Written> written)
{
    Expected expected;
    expected.written = written;
    return expected;
}

const Scenario INSTALL_SCENARIOS[] = {
    // Locating the Application Manager.
    {"AppManagerInCX", [](Case &c) { return Registered(c, "C:\\X"); },
     Installed("C:\\X\\CEAPPMGR.EXE \"C:\\X\\ZTL\\ztl_arm.ini\""), nullptr, Pages::Both,
     [] { return std::string("C:\\X"); }},
    // Unquoted on the command line. The decoys that a search along the
    // spaces would start first stay untouched: their records would land in {case}.
    {"PathWithSpaces",
     [](Case &c) {
         return PlaceStandin(c.root + "\\Windows.exe") && PlaceStandin(c.root + "\\Windows CE.exe")
             && Registered(c, c.root + "\\Windows CE Services");
     },
     Installed()},
    {"MissingKey", [](Case &c) { return c.registry->DeleteKey(); }, Message(1)},
    {"MissingDefaultValue",
     [](Case &c) { return c.StandinIn(c.root + "\\X") && c.registry->KeyWithoutDefaultValue(); }, Message(1)},
    {"EmptyValue", [](Case &c) { return c.registry->SetText(""); }, Message(1)},
    {"ValueWithoutData", [](Case &c) { return c.registry->Set(REG_SZ, ""); }, Message(1)},
    {"ValueWithoutBackslash", [](Case &c) { return c.StandinIn(c.root) && c.registry->SetText("CEAPPMGR.EXE"); },
     Message(1)},
    {"ForwardSlashesOnly",
     [](Case &c) {
         std::string slashed = c.root + "/X/CEAPPMGR.EXE";
         for (char &ch : slashed)
             if (ch == '\\')
                 ch = '/';
         return c.StandinIn(c.root + "\\X") && c.registry->SetText(slashed);
     },
     Message(1)},
    // 259 characters and the NUL fill the 260-byte buffer: the value is read
    // whole (the caption shows all of it), and only the install folder no longer fits.
    {"ValueOf259Characters", [](Case &c) { return FolderOfLength(c, 259) && c.registry->SetText(c.app); },
     Message(3, "{app}")},
    {"ValueOf260Characters", [](Case &c) { return FolderOfLength(c, 260) && c.registry->SetText(c.app); },
     Message(1)},
    {"ValueOf300Characters", [](Case &c) { return c.registry->SetText(PathOfLength(c.root, 300, false)); },
     Message(1)},
    // Data without a NUL: setup ends the text itself, within its buffer.
    {"BinaryValueWithoutNul",
     [](Case &c) { return c.StandinIn(c.root + "\\X") && c.registry->Set(REG_BINARY, c.app + "CEAPPMGR.EXE"); },
     Installed()},
    {"StringValueWithoutNul",
     [](Case &c) { return c.StandinIn(c.root + "\\X") && c.registry->Set(REG_SZ, c.app + "CEAPPMGR.EXE"); },
     Installed()},
    {"BinaryValueOf259BytesWithoutNul",
     [](Case &c) { return FolderOfLength(c, 259) && c.registry->Set(REG_BINARY, c.app); }, Message(3, "{app}")},
    {"BinaryValueOf260BytesWithoutNul",
     [](Case &c) { return FolderOfLength(c, 260) && c.registry->Set(REG_BINARY, c.app); }, Message(1)},
    // Not expanded: the folder named literally does not exist (relative to
    // setup's working folder, {case}), though the expanded one does.
    {"ExpandStringNotExpanded",
     [](Case &c) {
         std::string value = "%SystemDrive%" + c.root.substr(2) + "\\X\\CEAPPMGR.EXE";
         return c.StandinIn(c.root + "\\X") && c.registry->Set(REG_EXPAND_SZ, value + '\0');
     },
     Message(3, "%SystemDrive%\\e2e\\ExpandStringNotExpanded\\X\\ZTL")},

    // The install folder.
    // The whole value is the folder. The "program" it names is a folder, so
    // nothing starts, and that is not reported.
    {"ValueEndsInBackslash",
     [](Case &c) {
         c.app = c.root + "\\AppMgr\\";
         return MakeFolders(c.root + "\\AppMgr") && c.registry->SetText(c.app);
     },
     Silent(PAYLOADS_WRITTEN)},
    {"QuotedValue",
     [](Case &c) { return c.StandinIn(c.root + "\\X") && c.registry->SetText("\"" + c.app + "CEAPPMGR.EXE\""); },
     Message(3, "\"{app}ZTL")},
    {"FolderNoLongerExists",
     [](Case &c) {
         c.app = c.root + "\\Gone\\";
         return c.registry->SetText(c.app + "CEAPPMGR.EXE");
     },
     Message(3, "{app}ZTL")},
    {"FileInPlaceOfInstallFolder",
     [](Case &c) { return Registered(c, c.root + "\\X") && driver::WriteFileBytes(c.app + "ZTL", "a file, not a folder"); },
     Message(4, "{app}ZTL")},
    // Files with a payload's name are replaced (the old ones are longer);
    // anything else stays.
    {"ExistingFolderReused",
     [](Case &c) {
         std::string folder = c.root + "\\X\\ZTL\\";
         return Registered(c, c.root + "\\X") && MakeFolders(c.app + "ZTL")
             && driver::WriteFileBytes(folder + "keep.txt", "the user's own file")
             && driver::WriteFileBytes(folder + "ztl_arm.ini", std::string(5000, 'i'))
             && driver::WriteFileBytes(folder + "ztl.arm.CAB", std::string(9100000, 'c'));
     },
     Installed(LAUNCHED, {{"{app}ZTL\\ztl_arm.ini", Content::SHIPPED_INI},
                          {"{app}ZTL\\ztl.arm.CAB", Content::SHIPPED_CAB},
                          {"{app}standin-record.txt", Content::RECORD}})},

    // Writing the payloads. The first that fails stops the extraction.
    {"SetupDescriptionHeldOpen",
     [](Case &c) {
         return Registered(c, c.root + "\\X") && MakeFolders(c.app + "ZTL") && c.Hold(c.app + "ZTL\\ztl_arm.ini");
     },
     Message(4, "{app}ZTL")},
    {"CabinetHeldOpen",
     [](Case &c) {
         return Registered(c, c.root + "\\X") && MakeFolders(c.app + "ZTL") && c.Hold(c.app + "ZTL\\ztl.arm.CAB");
     },
     Message(4, "{app}ZTL", {{"{app}ZTL\\ztl_arm.ini", Content::SHIPPED_INI}})},
    // A disk of 1 MiB: the setup description fits, the cabinet does not.
    {"DiskFillsUp",
     [](Case &c) {
         std::string status = SmallDiskStatus();
         if (status != "mounted")
             c.skip = "no small disk: " + status;
         c.app = c.root + "\\";
         return c.skip.empty() && c.registry->SetText(c.app + "CEAPPMGR.EXE");
     },
     Message(4, "{app}ZTL",
             {{"{app}ZTL", Content::FOLDER},
              {"{app}ZTL\\ztl_arm.ini", Content::SHIPPED_INI},
              {"{app}ZTL\\ztl.arm.CAB", Content::PART_OF_SHIPPED_CAB}}),
     nullptr, Pages::Both, [] { return SmallDiskFolder() + "\\DiskFillsUp"; }},
    // The setup description's path would need 261 bytes: no file is created.
    {"PayloadPathTooLong", [](Case &c) { return FolderOfLength(c, 245) && c.registry->SetText(c.app); },
     Message(4, "{app}ZTL", {{"{app}ZTL", Content::FOLDER}})},

    // The launch. With the shipped names the command line has
    // 2 * (length of {app}) + 30 characters.
    {"CommandLineOf258Characters",
     [](Case &c) { return FolderOfLength(c, 114) && Registered(c, c.app.substr(0, 113)); }, Installed()},
    {"CommandLineOf260Characters",
     [](Case &c) { return FolderOfLength(c, 115) && Registered(c, c.app.substr(0, 114)); },
     Message(5, nullptr, PAYLOADS_WRITTEN)},
};

class Install : public ScenarioTest {};

TEST_P(Install, ShippedPackage)
{
    std::string skip = RunScenario(GetParam());
    if (!skip.empty())
        GTEST_SKIP() << skip;
}

INSTANTIATE_TEST_SUITE_P(Scenario, Install, ::testing::ValuesIn(INSTALL_SCENARIOS), ScenarioName);

}  // namespace
}  // namespace e2e
