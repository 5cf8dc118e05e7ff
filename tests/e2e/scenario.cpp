#include "scenario.h"
#include "driver.h"
#include <algorithm>
#include <set>

namespace e2e {

std::string Case::Expand(const char *pattern) const
{
    std::vector<std::pair<std::string, std::string>> all = tokens;
    all.push_back({"{case}", root});
    all.push_back({"{app}", app});
    std::string text = pattern;
    for (const auto &token : all)
        for (std::string::size_type at; (at = text.find(token.first)) != std::string::npos;)
            text.replace(at, token.first.size(), token.second);
    return text;
}

bool Case::StandinIn(const std::string &folder)
{
    app = folder + "\\";
    return MakeFolders(folder) && PlaceStandin(app + "CEAPPMGR.EXE");
}

bool Case::Hold(const std::string &path)
{
    held.push_back(path);
    return driver::WriteFileBytes(path, "held open by another program");
}

std::ostream &operator<<(std::ostream &out, const Scenario &scenario)
{
    return out << scenario.name;
}

std::string ScenarioName(const ::testing::TestParamInfo<Scenario> &info)
{
    return info.param.name;
}

namespace {

std::string ExpectedBytes(Content content)
{
    switch (content) {
    case Content::SHIPPED_INI: return FileBytes(ShippedIni());
    case Content::SHIPPED_CAB: return FileBytes(PackageContent("ztl.arm.CAB"));
    case Content::SMALL_INI: return FileBytes(VariantContent("small.ini"));
    case Content::SMALL_CAB: return FileBytes(VariantContent("small.CAB"));
    default: return std::string();
    }
}

// The path relative to root, as Changes() lists it.
std::string Relative(const std::string &root, const std::string &path)
{
    std::string prefix = root + "\\";
    return path.compare(0, prefix.size(), prefix) == 0 ? path.substr(prefix.size()) : path;
}

std::string Listing(const std::vector<std::string> &entries)
{
    std::string text;
    for (const std::string &entry : entries)
        text += "\n  " + entry;
    return text.empty() ? "\n  (nothing)" : text;
}

}  // namespace

void ScenarioTest::TearDown()
{
    if (!root_.empty())
        RemoveTree(root_);
}

std::string ScenarioTest::RunScenario(const Scenario &scenario)
{
    Case c;
    c.name = scenario.name;
    c.root = scenario.root ? scenario.root() : std::string("C:\\e2e\\") + scenario.name;
    root_ = c.root;
    RemoveTree(c.root);
    if (!MakeFolders(c.root))
        return "cannot make the scratch folder " + c.root;
    AppPathsValue registry;
    c.registry = &registry;
    bool prepared = scenario.prepare(c);
    if (!c.skip.empty())
        return c.skip;
    if (!prepared) {
        ADD_FAILURE() << "cannot prepare the scenario";
        return std::string();
    }
    const Expected &expected = scenario.expected;
    std::string exe = scenario.package ? VariantSetup(scenario.package) : ShippedSetup();

    Tree before = Snapshot(c.root);
    std::vector<HANDLE> held;
    for (const std::string &path : c.held) {
        held.push_back(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL));
        EXPECT_NE(held.back(), INVALID_HANDLE_VALUE) << path;
    }
    Outcome outcome = RunSetup(exe, scenario.pages, c.root);
    for (HANDLE file : held)
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
    Tree after = Snapshot(c.root);

    EXPECT_EQ(outcome.failure, "");
    EXPECT_EQ(outcome.exitCode, expected.exitCode);

    // The one message box, as the user saw it: text, caption, an OK button, no icon, no owner.
    if (expected.message) {
        EXPECT_EQ(outcome.messages.size(), 1u);
        if (!outcome.messages.empty()) {
            const MessageSeen &seen = outcome.messages[0];
            EXPECT_EQ(seen.text, MessageText(expected.message));
            EXPECT_EQ(seen.caption, expected.caption ? c.Expand(expected.caption) : std::string(SETUP_CAPTION));
            EXPECT_EQ(seen.buttons, std::vector<std::string>{"OK"});
            EXPECT_FALSE(seen.iconShown);
            EXPECT_FALSE(seen.owned);
        }
    } else {
        for (const MessageSeen &seen : outcome.messages)
            ADD_FAILURE() << "unexpected message \"" << seen.caption << "\": " << seen.text;
    }

    // Everything written, and nothing else, under the scratch folder.
    std::vector<std::string> changes = Changes(before, after);
    std::vector<std::string> wanted;
    for (const Written &written : expected.written) {
        std::string relative = Relative(c.root, c.Expand(written.path));
        if (written.content == Content::FOLDER && relative.back() != '\\')
            relative += "\\";
        wanted.push_back(relative);
        auto found = after.find(relative);
        if (found == after.end())
            continue;  // reported below with the listing
        const std::string &bytes = found->second;
        switch (written.content) {
        case Content::FOLDER:
        case Content::RECORD:
            break;
        case Content::EMPTY:
            EXPECT_EQ(bytes.size(), 0u) << relative;
            break;
        case Content::PART_OF_SHIPPED_CAB: {
            std::string cabinet = ExpectedBytes(Content::SHIPPED_CAB);
            EXPECT_LT(bytes.size(), cabinet.size()) << relative;
            EXPECT_TRUE(cabinet.compare(0, bytes.size(), bytes) == 0) << relative << " is not the cabinet's beginning";
            break;
        }
        default: {
            std::string want = ExpectedBytes(written.content);
            EXPECT_FALSE(want.empty());
            EXPECT_TRUE(bytes == want) << relative << " (" << bytes.size() << " bytes) differs from the package's "
                                       << want.size() << " bytes";
        }
        }
    }
    std::sort(changes.begin(), changes.end());
    std::sort(wanted.begin(), wanted.end());
    EXPECT_EQ(changes, wanted) << "changed under " << c.root << ":" << Listing(changes) << "\nexpected:" << Listing(wanted);

    // The launch: exactly the named program, once, with exactly this command line.
    std::vector<StandinRecord> records;
    if (!c.app.empty())
        records = StandinRecords(c.app.substr(0, c.app.size() - 1));
    if (expected.commandLine) {
        EXPECT_EQ(outcome.processCount, 2u) << "setup and the Application Manager";
        EXPECT_EQ(records.size(), 1u);
        if (!records.empty()) {
            EXPECT_EQ(records[0].commandLine, c.Expand(expected.commandLine));
            EXPECT_EQ(records[0].verdict, c.Expand(expected.verdict));
            EXPECT_EQ(records[0].showWindow, std::to_string(SW_SHOW)) << "shown normally";
            EXPECT_NE(records[0].started, "");
        }
    } else {
        EXPECT_EQ(outcome.processCount, 1u) << "setup alone, nothing started";
        EXPECT_EQ(records.size(), 0u);
    }
    return std::string();
}

}  // namespace e2e
