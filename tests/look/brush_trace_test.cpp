// One background brush per page, seen in Wine's relay trace of the real
// program: every brush the program creates and deletes, every answer its
// page procedures give, and when each page's modal call returns.
//
// The trace goes to the Unix standard error that the program inherits from
// this test, which stderr_to_file.sh points at a file named in
// LOOK_STDERR_FILE. Only the started program runs with the relay channel on.
#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>
#include "driver.h"
#include "look_pages.h"

using namespace look;

namespace {

// The functions whose calls the trace lists, besides every window and dialog procedure call.
const char kRelayInclude[] = "gdi32.CreateSolidBrush;gdi32.DeleteObject;user32.DialogBoxParamA";
const char kDebugKey[] = "Software\\Wine\\Debug";

// Sets RelayInclude for the life of the object, then puts back what was there.
class RelayIncludeSetting {
public:
    explicit RelayIncludeSetting(const char *value)
    {
        DWORD disposition = 0;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, kDebugKey, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key_, &disposition) != ERROR_SUCCESS) {
            key_ = NULL;
            return;
        }
        createdKey_ = disposition == REG_CREATED_NEW_KEY;
        char previous[1024];
        DWORD size = sizeof previous, type = 0;
        if (RegQueryValueExA(key_, "RelayInclude", NULL, &type, reinterpret_cast<BYTE *>(previous), &size) == ERROR_SUCCESS &&
            type == REG_SZ) {
            hadValue_ = true;
            previous_.assign(previous, size && !previous[size - 1] ? size - 1 : size);
        }
        ok_ = RegSetValueExA(key_, "RelayInclude", 0, REG_SZ, reinterpret_cast<const BYTE *>(value), lstrlenA(value) + 1) ==
              ERROR_SUCCESS;
    }
    ~RelayIncludeSetting()
    {
        if (!key_)
            return;
        if (hadValue_)
            RegSetValueExA(key_, "RelayInclude", 0, REG_SZ, reinterpret_cast<const BYTE *>(previous_.c_str()),
                           static_cast<DWORD>(previous_.size() + 1));
        else
            RegDeleteValueA(key_, "RelayInclude");
        RegCloseKey(key_);
        if (createdKey_)
            RegDeleteKeyA(HKEY_CURRENT_USER, kDebugKey);
    }
    bool Ok() const { return ok_; }

private:
    HKEY key_ = NULL;
    bool createdKey_ = false, hadValue_ = false, ok_ = false;
    std::string previous_;
};

// The started program's image in its address space, to tell its own calls
// from those the system makes.
struct ImageRange {
    ULONG_PTR base = 0, end = 0;
    bool Holds(ULONG_PTR address) const { return address >= base && address < end; }
};

ImageRange ImageOf(HANDLE process)
{
    ImageRange range;
    HMODULE first = NULL;
    DWORD needed = 0;
    MODULEINFO info = {};
    if (EnumProcessModules(process, &first, sizeof first, &needed) && GetModuleInformation(process, first, &info, sizeof info)) {
        range.base = reinterpret_cast<ULONG_PTR>(info.lpBaseOfDll);
        range.end = range.base + info.SizeOfImage;
    }
    return range;
}

// What the trace says happened, in order.
struct Event {
    enum Kind { PageCalled, PageReturned, BrushCreated, BrushDeleted, ColourAnswer, ProcMessage } kind;
    ULONG_PTR value = 0;  // template id, brush handle, or answer
    ULONG_PTR argument = 0;  // colour of a created brush, result of a deletion
    ULONG_PTR window = 0;
    std::string message;  // ColourAnswer and ProcMessage
    size_t line = 0;
};

ULONG_PTR Hex(const std::string &text, size_t from) { return static_cast<ULONG_PTR>(strtoull(text.c_str() + from, NULL, 16)); }

// The hex number after "key=" in line, or 0.
ULONG_PTR Field(const std::string &line, const char *key)
{
    size_t at = line.find(key);
    return at == std::string::npos ? 0 : Hex(line, at + lstrlenA(key));
}

bool IsColourMessage(const std::string &message)
{
    return message == "WM_CTLCOLOREDIT" || message == "WM_CTLCOLORBTN" || message == "WM_CTLCOLORDLG" ||
           message == "WM_CTLCOLORSTATIC" || message == "WM_CTLCOLORLISTBOX" || message == "WM_CTLCOLORSCROLLBAR";
}

// A call of a window or dialog procedure, or its return. Wine lists a dialog
// procedure as a window procedure where it calls it straight, as for the
// colour messages.
bool IsProcedureLine(const std::string &rest)
{
    for (const char *prefix : {"Call window proc ", "Ret  window proc ", "Call dialog proc ", "Ret  dialog proc "})
        if (rest.rfind(prefix, 0) == 0)
            return true;
    return false;
}

// Wine's relay lines, e.g.
//   0024:Call gdi32.CreateSolidBrush(00be7f00) ret=14000179f
//   0024:Ret  gdi32.CreateSolidBrush() retval=0110006d ret=14000179f
//   0024:Ret  window proc 00000001400014B0 (hwnd=...,msg=WM_CTLCOLORSTATIC,wp=...,lp=...) retval=0110006d
std::vector<Event> ParseTrace(const std::string &trace, const ImageRange &program)
{
    std::vector<Event> events;
    bool deleting = false;
    size_t lineNumber = 0;
    for (size_t start = 0; start < trace.size();) {
        size_t end = trace.find('\n', start);
        if (end == std::string::npos)
            end = trace.size();
        std::string line = trace.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        size_t colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        std::string rest = line.substr(colon + 1);
        bool fromProgram = program.Holds(Field(rest, " ret="));
        Event event{};
        event.line = lineNumber;
        if (rest.rfind("Call user32.DialogBoxParamA(", 0) == 0 && fromProgram) {
            size_t comma = rest.find(',');
            event.kind = Event::PageCalled;
            event.value = Hex(rest, comma + 1);
        } else if (rest.rfind("Ret  user32.DialogBoxParamA()", 0) == 0 && fromProgram) {
            event.kind = Event::PageReturned;
            event.value = Field(rest, "retval=");
        } else if (rest.rfind("Call gdi32.CreateSolidBrush(", 0) == 0 && fromProgram) {
            event.kind = Event::BrushCreated;
            event.argument = Hex(rest, lstrlenA("Call gdi32.CreateSolidBrush("));
            events.push_back(event);  // the handle comes with the Ret line
            continue;
        } else if (rest.rfind("Ret  gdi32.CreateSolidBrush()", 0) == 0 && fromProgram) {
            if (!events.empty() && events.back().kind == Event::BrushCreated)
                events.back().value = Field(rest, "retval=");
            continue;
        } else if (rest.rfind("Call gdi32.DeleteObject(", 0) == 0 && fromProgram) {
            event.kind = Event::BrushDeleted;
            event.value = Hex(rest, lstrlenA("Call gdi32.DeleteObject("));
            deleting = true;
            events.push_back(event);
            continue;
        } else if (rest.rfind("Ret  gdi32.DeleteObject()", 0) == 0 && deleting) {
            events.back().argument = Field(rest, "retval=");
            deleting = false;
            continue;
        } else if (IsProcedureLine(rest)) {
            // Only the program's own procedures, the pages' ones, are of interest.
            size_t msg = rest.find("msg="), comma = rest.find(',', msg);
            if (!program.Holds(Hex(rest, rest.find(" proc ") + 6)) || msg == std::string::npos || comma == std::string::npos)
                continue;
            event.message = rest.substr(msg + 4, comma - msg - 4);
            event.window = Field(rest, "(hwnd=");
            bool returned = rest[0] == 'R';
            if (returned && IsColourMessage(event.message)) {
                event.kind = Event::ColourAnswer;
                event.value = Field(rest, ") retval=");
            } else if (!returned && (event.message == "WM_INITDIALOG" || event.message == "WM_NCDESTROY")) {
                event.kind = Event::ProcMessage;
            } else {
                continue;
            }
        } else {
            continue;
        }
        events.push_back(event);
    }
    return events;
}

// Scrolls the page's text back and forth with the keyboard and has the page
// repaint itself again and again; returns how many repaints it asked for.
int ScrollAndRepaint(HWND page)
{
    HWND box = GetDlgItem(page, 6);
    driver::Click(box);
    auto firstLine = [box] { return SendMessageA(box, EM_GETFIRSTVISIBLELINE, 0, 0); };
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 3; ++i)
            driver::PressKey(box, VK_NEXT);
        EXPECT_GT(firstLine(), 0) << "Page Down scrolled the text";
        for (int i = 0; i < 3; ++i)
            driver::PressKey(box, VK_PRIOR);
        driver::PressCtrlKey(box, VK_END);
        EXPECT_GT(firstLine(), 0) << "Ctrl+End scrolled to the end";
        driver::PressCtrlKey(box, VK_HOME);
        EXPECT_EQ(firstLine(), 0) << "Ctrl+Home scrolled back to the start";
    }
    const int repaints = 30;
    for (int i = 0; i < repaints; ++i) {
        InvalidateRect(page, NULL, TRUE);
        for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            InvalidateRect(child, NULL, TRUE);
        UpdateWindow(page);
        driver::Settle(page);
    }
    return repaints;
}

std::string HexText(ULONG_PTR value)
{
    char text[32];
    wsprintfA(text, "%I64x", static_cast<unsigned long long>(value));
    return text;
}

TEST(PageBrush, EachPageHoldsOneBrushFromItsFirstColourAnswerUntilItIsGone)
{
    const char *traceFile = getenv("LOOK_STDERR_FILE");
    ASSERT_TRUE(traceFile) << "run this test through ctest: tests/look/stderr_to_file.sh keeps the trace";
    std::string before;
    driver::ReadFileBytes(driver::WinePath(traceFile), &before);

    HWND pages[2] = {};
    ImageRange program;
    int repaints = 0;
    {
        RelayIncludeSetting relay(kRelayInclude);
        ASSERT_TRUE(relay.Ok());
        driver::Process setup;
        ASSERT_TRUE(setup.StartWithEnvironment(SetupExe(), "", {"WINEDEBUG=-all,+relay"}));
        pages[0] = driver::WaitForWindow(setup.Id(), kReadme.caption, 60000);
        ASSERT_TRUE(pages[0]);
        program = ImageOf(setup.Handle());
        ASSERT_NE(program.base, 0u);
        repaints = ScrollAndRepaint(pages[0]);
        PostMessageA(pages[0], WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(pages[0], IDOK)));
        pages[1] = driver::WaitForWindow(setup.Id(), kAgreement.caption, 60000);
        ASSERT_TRUE(pages[1]);
        ScrollAndRepaint(pages[1]);
        driver::PressKey(pages[1], VK_ESCAPE);
        EXPECT_EQ(setup.WaitForExit(60000), static_cast<DWORD>(-1)) << "Escape on the agreement page ends setup";
    }

    std::string all;
    ASSERT_TRUE(driver::ReadFileBytes(driver::WinePath(traceFile), &all));
    std::vector<Event> events = ParseTrace(all.substr(before.size()), program);

    // The two modal calls, in order.
    std::vector<size_t> called, returned;
    for (size_t i = 0; i < events.size(); ++i) {
        if (events[i].kind == Event::PageCalled)
            called.push_back(i);
        if (events[i].kind == Event::PageReturned)
            returned.push_back(i);
    }
    ASSERT_EQ(called.size(), 2u) << "the trace holds both pages' modal calls";
    ASSERT_EQ(returned.size(), 2u);
    EXPECT_EQ(events[called[0]].value, 1u) << "the readme template";
    EXPECT_EQ(events[called[1]].value, 2u) << "the agreement template";

    int created = 0, deleted = 0;
    for (const Event &e : events) {
        created += e.kind == Event::BrushCreated;
        deleted += e.kind == Event::BrushDeleted;
    }
    EXPECT_EQ(created, 2) << "one brush for each page, however often it repainted";
    EXPECT_EQ(deleted, 2);

    for (size_t page = 0; page < 2; ++page) {
        SCOPED_TRACE(page == 0 ? "readme page" : "agreement page");
        size_t from = called[page], to = returned[page];
        size_t next = page + 1 < called.size() ? called[page + 1] : events.size();
        ULONG_PTR window = reinterpret_cast<ULONG_PTR>(pages[page]);

        // One brush of the page colour, created while the page runs and
        // before its first colour answer.
        std::vector<size_t> brushes;
        for (size_t i = from; i < to; ++i)
            if (events[i].kind == Event::BrushCreated)
                brushes.push_back(i);
        ASSERT_EQ(brushes.size(), 1u);
        const Event &brush = events[brushes[0]];
        EXPECT_EQ(brush.argument, 0x00BE7F00u) << "RGB(0,127,190)";
        ASSERT_NE(brush.value, 0u);

        // Every colour answer of the page is that brush; the page's window
        // is the one this test saw, and it ends with WM_NCDESTROY.
        int answers = 0, others = 0;
        size_t firstAnswer = to, destroyed = events.size();
        for (size_t i = from; i < to; ++i) {
            const Event &e = events[i];
            if (e.kind == Event::ProcMessage && e.message == "WM_INITDIALOG")
                EXPECT_EQ(e.window, window) << "line " << e.line;
            if (e.kind == Event::ProcMessage && e.message == "WM_NCDESTROY" && e.window == window)
                destroyed = i;
            if (e.kind != Event::ColourAnswer || e.window != window)
                continue;
            firstAnswer = std::min(firstAnswer, i);
            if (e.message == "WM_CTLCOLORLISTBOX" || e.message == "WM_CTLCOLORSCROLLBAR") {
                EXPECT_EQ(e.value, 0u) << e.message << " at line " << e.line;
                continue;
            }
            ++answers;
            if (e.value != brush.value && ++others <= 5)
                ADD_FAILURE() << e.message << " answered " << HexText(e.value) << ", not the page's brush " << HexText(brush.value)
                              << " (trace line " << e.line << ")";
        }
        EXPECT_EQ(others, 0) << "colour answers that were not the page's brush";
        EXPECT_GE(answers, repaints) << "the page answered a colour message for each repaint at least";
        EXPECT_LT(brushes[0], firstAnswer) << "the brush exists by the first colour answer";
        EXPECT_LT(destroyed, to) << "the page's window was destroyed within its modal call";

        // Never deleted while the page can still ask for colours; deleted
        // exactly once, after its window is gone and before the next page.
        int early = 0, own = 0;
        for (size_t i = brushes[0]; i < next; ++i) {
            const Event &e = events[i];
            if (e.kind != Event::BrushDeleted || e.value != brush.value)
                continue;
            if (i < to) {
                ++early;
                ADD_FAILURE() << "deleted while the page ran (trace line " << e.line << ")";
                continue;
            }
            ++own;
            EXPECT_NE(e.argument, 0u) << "DeleteObject succeeded";
        }
        EXPECT_EQ(early, 0);
        EXPECT_EQ(own, 1) << "deleted once, after the modal call returned";
    }
}

}  // namespace
