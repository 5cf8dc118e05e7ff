// The pages as they appear on the screen: black on the blue page colour,
// system-coloured buttons and scroll bar, and the three pictures shown 1:1 at
// their template positions. Read from the screen while the real program runs.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include <vector>
#include "driver.h"
#include "look_pages.h"

using namespace look;

namespace {

// Template order of the controls on both pages.
const size_t kTextBox = 0, kExit = 1, kNext = 2, kFirstStatic = 3, kSecondStatic = 4, kFirstPicture = 5;

bool Inside(const RECT &rect, int x, int y) { return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom; }

std::string Where(int x, int y) { return "(" + std::to_string(x) + "," + std::to_string(y) + ")"; }

// Every pixel of area (page client coordinates) is one of the allowed
// colours, except inside skip. Names the first few that are not.
testing::AssertionResult OnlyColours(const driver::PixelBlock &block, const RECT &area, const std::vector<COLORREF> &allowed,
                                     const RECT &skip = RECT{})
{
    int strays = 0;
    std::string examples;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            if (Inside(skip, x, y))
                continue;
            COLORREF colour = block.At(x, y);
            bool ok = false;
            for (COLORREF a : allowed)
                ok = ok || colour == a;
            if (!ok && ++strays <= 5)
                examples += " " + Where(x, y) + "=" + ColourText(colour);
        }
    if (strays == 0)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << strays << " pixels of another colour, e.g." << examples;
}

int CountColour(const driver::PixelBlock &block, const RECT &area, COLORREF colour)
{
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            count += block.At(x, y) == colour;
    return count;
}

// The colour most of the area's pixels have.
COLORREF MostCommonColour(const driver::PixelBlock &block, const RECT &area)
{
    std::vector<std::pair<COLORREF, int>> counts;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            COLORREF colour = block.At(x, y);
            size_t i = 0;
            while (i < counts.size() && counts[i].first != colour)
                ++i;
            if (i == counts.size())
                counts.push_back({colour, 0});
            ++counts[i].second;
        }
    std::pair<COLORREF, int> best = {CLR_INVALID, 0};
    for (auto &c : counts)
        if (c.second > best.second)
            best = c;
    return best.first;
}

// A page of the running program and what it shows on the screen. Setup is
// ended with Escape when the test is done with the page.
struct PageOnScreen {
    ~PageOnScreen()
    {
        if (page && IsWindow(page))
            driver::PressKey(page, VK_ESCAPE);
        setup.WaitForExit(10000);
    }
    testing::AssertionResult Open(const Page &which)
    {
        page = OpenPage(setup, which);
        if (!page)
            return testing::AssertionFailure() << which.caption << " did not appear";
        controls = ControlsInTemplateOrder(page);
        if (controls.size() != 8)
            return testing::AssertionFailure() << controls.size() << " controls, not five and three pictures";
        GetClientRect(page, &client);
        screen = SettledClientPixels(page);
        return testing::AssertionSuccess();
    }

    driver::Process setup;
    HWND page = NULL;
    std::vector<HWND> controls;  // in template order
    RECT client = {};
    driver::PixelBlock screen;  // the client area
};

class PageLook : public testing::TestWithParam<Page> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(shown_.Open(GetParam()));
    }

    PageOnScreen shown_;
    HWND &page_ = shown_.page;
    std::vector<HWND> &controls_ = shown_.controls;
    RECT &client_ = shown_.client;
    driver::PixelBlock &screen_ = shown_.screen;
};

TEST_P(PageLook, SurfaceOutsideTheControlsIsPageColour)
{
    std::vector<RECT> controlRects;
    for (HWND control : controls_)
        controlRects.push_back(driver::ControlRect(control));
    int surface = 0, strays = 0;
    std::string examples;
    for (int y = client_.top; y < client_.bottom; ++y)
        for (int x = client_.left; x < client_.right; ++x) {
            bool onControl = false;
            for (const RECT &rect : controlRects)
                onControl = onControl || Inside(rect, x, y);
            if (onControl)
                continue;
            ++surface;
            if (screen_.At(x, y) != kPageColour && ++strays <= 5)
                examples += " " + Where(x, y) + "=" + ColourText(screen_.At(x, y));
        }
    // The gaps between the controls, the margins and the areas around the pictures.
    EXPECT_GT(surface, (client_.right * client_.bottom) / 10);
    EXPECT_EQ(strays, 0) << "of " << surface << " surface pixels, e.g." << examples;
}

TEST_P(PageLook, StaticTextsAreBlackOnPageColour)
{
    for (size_t index : {kFirstStatic, kSecondStatic}) {
        HWND text = controls_[index];
        SCOPED_TRACE("static text: " + driver::WindowText(text));
        ASSERT_EQ(driver::ClassOf(text), "Static");
        RECT area = driver::ControlRect(text);
        // Where a picture reaches into the text's rectangle it shows the picture.
        std::vector<RECT> covered;
        for (size_t other = 0; other < controls_.size(); ++other)
            if (other != index)
                covered.push_back(driver::ControlRect(controls_[other]));
        int shown = 0, black = 0, strays = 0;
        std::string examples;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x) {
                bool hidden = false;
                for (const RECT &rect : covered)
                    hidden = hidden || Inside(rect, x, y);
                if (hidden)
                    continue;
                ++shown;
                COLORREF colour = screen_.At(x, y);
                black += colour == kBlack;
                if (colour != kBlack && colour != kPageColour && ++strays <= 5)
                    examples += " " + Where(x, y) + "=" + ColourText(colour);
            }
        EXPECT_EQ(strays, 0) << "pixels neither black nor the page colour, e.g." << examples;
        // The text is there, and the background is most of the area.
        EXPECT_GT(shown, (area.right - area.left) * (area.bottom - area.top) / 2);
        EXPECT_GT(black, shown / 50);
        EXPECT_LT(black, shown / 2);
    }
}

TEST_P(PageLook, TextBoxIsBlackOnPageColour)
{
    HWND box = controls_[kTextBox];
    ASSERT_EQ(GetDlgCtrlID(box), 6);
    RECT area = ClientAreaInPage(box);
    int area_pixels = (area.right - area.left) * (area.bottom - area.top);
    ASSERT_GT(area_pixels, 0);
    EXPECT_TRUE(OnlyColours(screen_, area, {kPageColour, kBlack}, CaretIn(page_)));
    EXPECT_GT(CountColour(screen_, area, kBlack), area_pixels / 100) << "the page text is shown";
}

// The page's template shown by this process with no colour handling at all,
// so the system draws every control in its own colours; the text box holds
// the page's text, so its scroll bar has the same thumb.
class SystemDrawnCopy {
public:
    SystemDrawnCopy(UINT templateId, const std::string &text)
    {
        module_ = LoadLibraryExA(SetupExe().c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
        HRSRC found = module_ ? FindResourceA(module_, MAKEINTRESOURCEA(templateId), MAKEINTRESOURCEA(5)) : NULL;
        if (!found)
            return;
        const DLGTEMPLATE *dialog = static_cast<const DLGTEMPLATE *>(LockResource(LoadResource(module_, found)));
        window_ = CreateDialogIndirectParamA(module_, dialog, NULL, NoColours, 0);
        if (!window_)
            return;
        SetDlgItemTextA(window_, 6, text.c_str());
        ShowWindow(window_, SW_SHOWNOACTIVATE);
        UpdateWindow(window_);
    }
    ~SystemDrawnCopy()
    {
        if (window_)
            DestroyWindow(window_);
        if (module_)
            FreeLibrary(module_);
    }
    HWND Window() const { return window_; }
    HWND Control(size_t index) const { return ControlsInTemplateOrder(window_).at(index); }

private:
    static INT_PTR CALLBACK NoColours(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
    HMODULE module_ = NULL;
    HWND window_ = NULL;
};

// Whether two captured areas of one size hold the same pixels; names the
// first few that differ.
testing::AssertionResult SamePixels(const driver::PixelBlock &page, const RECT &pageArea, const driver::PixelBlock &copy,
                                    const RECT &copyArea)
{
    int width = pageArea.right - pageArea.left, height = pageArea.bottom - pageArea.top;
    if (width != copyArea.right - copyArea.left || height != copyArea.bottom - copyArea.top)
        return testing::AssertionFailure() << "the areas differ in size";
    int differing = 0;
    std::string examples;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            COLORREF shown = page.At(pageArea.left + x, pageArea.top + y), system = copy.At(copyArea.left + x, copyArea.top + y);
            if (shown != system && ++differing <= 5)
                examples += " " + Where(x, y) + " is " + ColourText(shown) + " for " + ColourText(system);
        }
    if (differing == 0)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << differing << " of " << width * height << " pixels unlike the system's, e.g." << examples;
}

// The text box's vertical scroll bar, in page client coordinates: the space
// between its client area and its right border.
RECT ScrollBarInPage(HWND box)
{
    RECT window = driver::ControlRect(box), client = ClientAreaInPage(box);
    int border = client.left - window.left;
    return RECT{client.right, client.top, window.right - border, client.bottom};
}

TEST_P(PageLook, ButtonsAndScrollBarKeepTheSystemColours)
{
    SystemDrawnCopy copy(GetParam().templateId, driver::WindowText(controls_[kTextBox]));
    ASSERT_TRUE(copy.Window());
    driver::PixelBlock system = SettledClientPixels(copy.Window());

    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    ASSERT_NE(face, kPageColour);
    for (size_t index : {kExit, kNext}) {
        HWND button = controls_[index];
        SCOPED_TRACE("button: " + driver::WindowText(button));
        RECT area = driver::ControlRect(button);
        EXPECT_EQ(MostCommonColour(screen_, area), face) << "the face";
        EXPECT_EQ(CountColour(screen_, area, kPageColour), 0);
        EXPECT_TRUE(SamePixels(screen_, area, system, driver::ControlRect(copy.Control(index))));
    }

    SCOPED_TRACE("the text box's scroll bar");
    RECT bar = ScrollBarInPage(controls_[kTextBox]);
    ASSERT_EQ(bar.right - bar.left, GetSystemMetrics(SM_CXVSCROLL));
    ASSERT_EQ(bar.bottom - bar.top, ClientAreaInPage(controls_[kTextBox]).bottom - ClientAreaInPage(controls_[kTextBox]).top);
    EXPECT_EQ(CountColour(screen_, bar, kPageColour), 0);
    EXPECT_TRUE(SamePixels(screen_, bar, system, ScrollBarInPage(copy.Control(kTextBox))));
}

INSTANTIATE_TEST_SUITE_P(BothPages, PageLook, testing::Values(kReadme, kAgreement), PageName);

// A bitmap of the program's resources, read from the executable file.
class ExeBitmap {
public:
    ExeBitmap(const std::string &exe, UINT id)
    {
        HMODULE module = LoadLibraryExA(exe.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
        if (!module)
            return;
        HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        BITMAP info = {};
        if (bitmap && GetObjectA(bitmap, sizeof info, &info)) {
            width = info.bmWidth;
            height = info.bmHeight;
            bitsPerPixel = info.bmBitsPixel;
            BITMAPINFO request = {};
            request.bmiHeader.biSize = sizeof request.bmiHeader;
            request.bmiHeader.biWidth = width;
            request.bmiHeader.biHeight = -height;
            request.bmiHeader.biPlanes = 1;
            request.bmiHeader.biBitCount = 32;
            request.bmiHeader.biCompression = BI_RGB;
            std::vector<DWORD> quads(static_cast<size_t>(width) * height);
            HDC screen = GetDC(NULL);
            if (GetDIBits(screen, bitmap, 0, height, quads.data(), &request, DIB_RGB_COLORS) == height)
                for (DWORD q : quads)
                    pixels.push_back(RGB((q >> 16) & 0xFF, (q >> 8) & 0xFF, q & 0xFF));
            ReleaseDC(NULL, screen);
        }
        if (bitmap)
            DeleteObject(bitmap);
        FreeLibrary(module);
    }
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }

    int width = 0, height = 0, bitsPerPixel = 0;
    std::vector<COLORREF> pixels;  // row by row from the top left
};

struct Picture {
    const char *name;
    UINT bitmapId;
    int imageWidth, imageHeight;    // the picture the package ships
    int x, y, cx, cy;               // template position and size, dialog units
    bool merges;                    // drawn on the page colour, without a frame
};

const Picture kPictures[] = {
    {"application picture", 149, 150, 200, 5, 74, 101, 124, false},
    {"logo", 150, 140, 75, 5, 12, 93, 46, true},
    {"banner", 151, 300, 100, 165, 5, 200, 62, true},
};

bool RunningOnWine() { return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != NULL; }

struct PictureOnPage {
    Page page;
    size_t picture;  // index in kPictures
};

void PrintTo(const PictureOnPage &c, std::ostream *out) { *out << kPictures[c.picture].name << " on the " << c.page.name << " page"; }

std::string PictureCaseName(const testing::TestParamInfo<PictureOnPage> &info)
{
    static const char *const names[] = {"ApplicationPicture", "Logo", "Banner"};
    return std::string(info.param.page.name) + "_" + names[info.param.picture];
}

class PagePicture : public testing::TestWithParam<PictureOnPage> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(shown_.Open(GetParam().page));
        control_ = shown_.controls[kFirstPicture + GetParam().picture];
    }

    PageOnScreen shown_;
    HWND control_ = NULL;
    RECT &client_ = shown_.client;
    driver::PixelBlock &screen_ = shown_.screen;
};

TEST_P(PagePicture, ShowsItsBitmapOneToOneAtItsTemplatePosition)
{
    const Picture &picture = kPictures[GetParam().picture];
    ASSERT_EQ(driver::ClassOf(control_), "Static");
    ASSERT_EQ(GetWindowLongA(control_, GWL_STYLE) & SS_TYPEMASK, SS_BITMAP);

    ExeBitmap bitmap(SetupExe(), picture.bitmapId);
    ASSERT_EQ(bitmap.pixels.size(), static_cast<size_t>(bitmap.width) * bitmap.height) << "bitmap " << picture.bitmapId;
    EXPECT_EQ(bitmap.width, picture.imageWidth);
    EXPECT_EQ(bitmap.height, picture.imageHeight);
    EXPECT_EQ(bitmap.bitsPerPixel, 24);

    RECT expected = driver::DialogUnitsToPixels(SetupExe(), GetParam().page.templateId, picture.x, picture.y, picture.cx, picture.cy);
    RECT placed = driver::ControlRect(control_);
    EXPECT_EQ(placed.left, expected.left);
    EXPECT_EQ(placed.top, expected.top);

    // The control takes the bitmap's size.
    RECT client;
    GetClientRect(control_, &client);
    if ((client.right != bitmap.width || client.bottom != bitmap.height) && RunningOnWine() &&
        placed.right - placed.left == bitmap.width && placed.bottom - placed.top == bitmap.height)
        GTEST_SKIP() << "Wine sizes a framed bitmap control's window, not its client area, to the bitmap and then "
                        "stretches the bitmap into the smaller client area ("
                     << bitmap.width << "x" << bitmap.height << " shown in " << client.right << "x" << client.bottom << ")";
    EXPECT_EQ(client.right, bitmap.width);
    EXPECT_EQ(client.bottom, bitmap.height);

    // Unstretched: every pixel of the client area is the bitmap's own.
    RECT shown = ClientAreaInPage(control_);
    ASSERT_TRUE(Inside(client_, shown.left, shown.top) && Inside(client_, shown.right - 1, shown.bottom - 1));
    int differing = 0;
    std::string examples;
    for (int y = 0; y < bitmap.height && y < shown.bottom - shown.top; ++y)
        for (int x = 0; x < bitmap.width && x < shown.right - shown.left; ++x)
            if (screen_.At(shown.left + x, shown.top + y) != bitmap.At(x, y) && ++differing <= 5)
                examples += " " + Where(x, y) + " shows " + ColourText(screen_.At(shown.left + x, shown.top + y)) + " for " +
                            ColourText(bitmap.At(x, y));
    EXPECT_EQ(differing, 0) << "pixels unlike the bitmap, e.g." << examples;

    if (picture.merges) {
        // Its edge pixels on the screen are the page colour (the page around
        // it is checked with the rest of the surface).
        RECT inner = placed;
        InflateRect(&inner, -1, -1);
        EXPECT_TRUE(OnlyColours(screen_, placed, {kPageColour}, inner)) << "the picture's edge";
    }
}

INSTANTIATE_TEST_SUITE_P(BothPages, PagePicture,
                         testing::Values(PictureOnPage{kReadme, 0}, PictureOnPage{kReadme, 1}, PictureOnPage{kReadme, 2},
                                         PictureOnPage{kAgreement, 0}, PictureOnPage{kAgreement, 1}, PictureOnPage{kAgreement, 2}),
                         PictureCaseName);

}  // namespace
