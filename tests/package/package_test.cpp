// The package read operations against the resources of this test program's
// own module (fixture.rc): the same calls the setup program makes on its own.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "package.h"
#include "fixture_ids.h"

HINSTANCE g_hInstance;

namespace {

const unsigned char GUARD = 0xCC;
const size_t BUFFER_SIZE = 32;

class ModuleEnvironment : public ::testing::Environment {
public:
    void SetUp() override { g_hInstance = GetModuleHandleA(NULL); }
};
const ::testing::Environment *const g_environment =
    ::testing::AddGlobalTestEnvironment(new ModuleEnvironment);

// ---- CopyResourceString ---------------------------------------------------

enum CopyOutcome {
    COPIED,     // the text and its NUL are in the destination
    EMPTIED,    // the first byte is NUL
    UNTOUCHED,  // not a byte of the destination changed
};

struct CopyCase {
    const char *name;
    UINT type;
    UINT id;
    UINT limit;
    bool result;
    CopyOutcome outcome;
    const char *text;      // COPIED: the text expected, its NUL included
    size_t untouchedFrom;  // no byte from here to the end of the buffer changes
};

void PrintTo(const CopyCase &c, std::ostream *os) { *os << c.name; }

class CopyResourceStringTest : public ::testing::TestWithParam<CopyCase> {};

TEST_P(CopyResourceStringTest, WritesOnlyWhatFitsWithItsTerminator)
{
    const CopyCase &c = GetParam();
    unsigned char buffer[BUFFER_SIZE];
    memset(buffer, GUARD, sizeof buffer);

    bool result = CopyResourceString(c.type, c.id, reinterpret_cast<char *>(buffer), c.limit);

    EXPECT_EQ(c.result, result);
    switch (c.outcome) {
    case COPIED:
        EXPECT_EQ(0, memcmp(buffer, c.text, strlen(c.text) + 1));
        break;
    case EMPTIED:
        EXPECT_EQ(0, buffer[0]);
        break;
    case UNTOUCHED:
        break;
    }
    for (size_t i = c.untouchedFrom; i < sizeof buffer; ++i)
        EXPECT_EQ(GUARD, buffer[i]) << "byte " << i << " was written";
}

// "abcdefg" is 7 characters, 8 bytes with its NUL.
INSTANTIATE_TEST_SUITE_P(Texts, CopyResourceStringTest, ::testing::Values(
    CopyCase{ "FitsWithNulInLastByte", RT_PAYLOADNAME, FIX_NAME_SEVEN, 8, true, COPIED, "abcdefg", 8 },
    CopyCase{ "FitsWithRoomToSpare", RT_PAYLOADNAME, FIX_NAME_SEVEN, 20, true, COPIED, "abcdefg", 8 },
    CopyCase{ "LimitCharactersDoesNotFit", RT_PAYLOADNAME, FIX_NAME_SEVEN, 7, false, EMPTIED, NULL, 7 },
    CopyCase{ "LimitOneHoldsOnlyTheEmptyText", RT_PAYLOADNAME, FIX_NAME_SEVEN, 1, false, EMPTIED, NULL, 1 },
    CopyCase{ "LimitZeroWritesNothing", RT_PAYLOADNAME, FIX_NAME_SEVEN, 0, false, UNTOUCHED, NULL, 0 },
    CopyCase{ "MissingId", RT_PAYLOADNAME, FIX_NAME_MISSING, 20, false, UNTOUCHED, NULL, 0 },
    CopyCase{ "MissingType", FIX_TYPE_MISSING, FIX_NAME_SEVEN, 20, false, UNTOUCHED, NULL, 0 },
    // The data end after "abc": nothing beyond them may be read or copied.
    CopyCase{ "NoNulInData", RT_PAYLOADNAME, FIX_NAME_UNENDED, 20, false, EMPTIED, NULL, 3 },
    // A text ends at its NUL, not at the resource's size.
    CopyCase{ "StopsAtFirstNul", RT_PAYLOADNAME, FIX_NAME_INNER_NUL, 20, true, COPIED, "ab", 3 }),
    [](const ::testing::TestParamInfo<CopyCase> &info) { return std::string(info.param.name); });

// ---- GetPayload -------------------------------------------------------------

std::vector<unsigned char> ReadFileBytes(const char *path)
{
    std::vector<unsigned char> bytes;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    unsigned char chunk[4096];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof chunk, &read, NULL) && read > 0)
        bytes.insert(bytes.end(), chunk, chunk + read);
    CloseHandle(file);
    return bytes;
}

TEST(GetPayload, PayloadBytesEqualItsSourceFile)
{
    std::vector<unsigned char> source = ReadFileBytes(FIXTURE_PAYLOAD_FILE);
    ASSERT_EQ(1027u, source.size()) << "cannot read " << FIXTURE_PAYLOAD_FILE;

    DWORD size = 0xDEADBEEF;
    const void *data = GetPayload(FIX_PAYLOAD_FILE, &size);

    ASSERT_NE(nullptr, data);
    ASSERT_EQ(source.size(), size);
    EXPECT_EQ(0, memcmp(source.data(), data, size));
}

TEST(GetPayload, EmptyPayloadHasAnAddressAndSizeZero)
{
    DWORD size = 0xDEADBEEF;
    const void *data = GetPayload(FIX_PAYLOAD_EMPTY, &size);

    EXPECT_NE(nullptr, data);
    EXPECT_EQ(0u, size);
}

TEST(GetPayload, MissingPayloadIsNullAndLeavesSizeAlone)
{
    DWORD size = 0xDEADBEEF;
    const void *data = GetPayload(FIX_PAYLOAD_MISSING, &size);

    EXPECT_EQ(nullptr, data);
    EXPECT_EQ(0xDEADBEEFu, size);
}

// ---- GetPageText ------------------------------------------------------------

struct PageCase {
    const char *name;
    UINT id;
    const char *text;  // NULL: no text is handed out
};

void PrintTo(const PageCase &c, std::ostream *os) { *os << c.name; }

class GetPageTextTest : public ::testing::TestWithParam<PageCase> {};

TEST_P(GetPageTextTest, YieldsTheTextUpToItsNul)
{
    const PageCase &c = GetParam();
    const char *text = GetPageText(c.id);
    if (!c.text) {
        EXPECT_EQ(nullptr, text);
        return;
    }
    ASSERT_NE(nullptr, text);
    EXPECT_STREQ(c.text, text);
}

INSTANTIATE_TEST_SUITE_P(Pages, GetPageTextTest, ::testing::Values(
    PageCase{ "Normal", FIX_PAGE_NORMAL, "First line\r\n\tSecond line\r\n" },
    PageCase{ "EmptyText", FIX_PAGE_EMPTY, "" },
    PageCase{ "NoNulInData", FIX_PAGE_UNENDED, NULL },
    PageCase{ "Missing", FIX_PAGE_MISSING, NULL }),
    [](const ::testing::TestParamInfo<PageCase> &info) { return std::string(info.param.name); });

// ---- LoadResString ----------------------------------------------------------

std::string Digits(size_t length)
{
    std::string s;
    for (size_t i = 0; i < length; ++i)
        s += static_cast<char>('0' + i % 10);
    return s;
}

std::string Letters(size_t length)
{
    std::string s;
    for (size_t i = 0; i < length; ++i)
        s += static_cast<char>('A' + i % 26);
    return s;
}

struct MessageCase {
    const char *name;
    UINT id;
    std::string text;
};

void PrintTo(const MessageCase &c, std::ostream *os) { *os << c.name; }

class LoadResStringTest : public ::testing::TestWithParam<MessageCase> {};

TEST_P(LoadResStringTest, YieldsATerminatedTextInItsBuffer)
{
    const MessageCase &c = GetParam();
    ResString message;
    memset(message.text, 'x', sizeof message.text);

    const char *text = message.LoadResString(c.id);

    EXPECT_EQ(message.text, text);
    EXPECT_EQ(c.text, std::string(message.text, strnlen(message.text, sizeof message.text)));
}

INSTANTIATE_TEST_SUITE_P(Messages, LoadResStringTest, ::testing::Values(
    MessageCase{ "LongerThan255IsCut", FIX_MSG_LONG, Digits(255) },
    MessageCase{ "Exactly255Fits", FIX_MSG_FULL, Letters(255) },
    MessageCase{ "Short", FIX_MSG_SHORT, "Setup" },
    MessageCase{ "MissingInItsBlock", FIX_MSG_EMPTY_SLOT, "" },
    MessageCase{ "MissingBlock", FIX_MSG_NO_BLOCK, "" }),
    [](const ::testing::TestParamInfo<MessageCase> &info) { return std::string(info.param.name); });

}  // namespace
