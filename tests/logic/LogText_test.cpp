#include "log/LogText.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>

#include "log/MemoryTextHolder.h"

using namespace std::string_literals;

namespace {

struct StripCase {
    const char* name;
    std::string text;
    bool found;
    std::string after;
};
// Test names show the case name, not the bytes of the whole case.
void PrintTo(const StripCase& c, std::ostream* os) { *os << c.name; }


class StripEndOfLogTest : public ::testing::TestWithParam<StripCase> {};

TEST_P(StripEndOfLogTest, CutsAtFirstMarkerOrLeavesTextAlone)
{
    const StripCase& c = GetParam();
    MemoryTextHolder holder(c.text);
    EXPECT_EQ(StripEndOfLog(holder), c.found);
    EXPECT_EQ(holder.Str(), c.after);
    // Without a marker the holder must not be written to at all: a write
    // would reset the view's undo history and scroll position for nothing.
    EXPECT_EQ(holder.ReplaceAllCalls(), c.found ? 1 : 0);
    EXPECT_EQ(holder.AppendAtEndCalls(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StripEndOfLogTest,
    ::testing::Values(
        StripCase{"MarkerAtEnd", "START-OF-LOG: 3.0\r\nQSO: a\r\nEND-OF-LOG:\r\n", true,
                  "START-OF-LOG: 3.0\r\nQSO: a\r\n"},
        StripCase{"LaterLinesDropped", "H\r\nEND-OF-LOG:\r\nQSO: b\r\nQSO: c\r\n", true, "H\r\n"},
        StripCase{"MidLineKeepsLineStart", "H\r\nX-COMMENT: see END-OF-LOG: below\r\nQSO: d\r\n",
                  true, "H\r\nX-COMMENT: see "},
        StripCase{"TwoMarkersCutAtFirst", "A\r\nEND-OF-LOG:\r\nB\r\nEND-OF-LOG:\r\n", true, "A\r\n"},
        StripCase{"MarkerIsWholeText", "END-OF-LOG:", true, ""},
        StripCase{"NoMarker", "H\r\nQSO: a\r\n", false, "H\r\nQSO: a\r\n"},
        StripCase{"EmptyText", "", false, ""},
        StripCase{"LowerCaseIsNotMarker", "end-of-log:\r\n", false, "end-of-log:\r\n"},
        StripCase{"WithoutColonIsNotMarker", "END-OF-LOG\r\n", false, "END-OF-LOG\r\n"},
        StripCase{"SplitByNulIsNotMarker", "END-OF-\0LOG:\r\n"s, false, "END-OF-\0LOG:\r\n"s},
        // Bytes before the marker come back exactly: NUL, lone CR, LF-only
        // line ends and invalid UTF-8 are not touched.
        StripCase{"OddBytesBeforeMarkerKept", "a\0b\rc\n\xff\xfe\xc3\r\nEND-OF-LOG:\r\nx"s, true,
                  "a\0b\rc\n\xff\xfe\xc3\r\n"s}),
    [](const auto& info) { return std::string(info.param.name); });

struct EnsureCase {
    const char* name;
    std::string text;
    bool appended;
    std::string after;
};
// Test names show the case name, not the bytes of the whole case.
void PrintTo(const EnsureCase& c, std::ostream* os) { *os << c.name; }


class EnsureEndOfLogTest : public ::testing::TestWithParam<EnsureCase> {};

TEST_P(EnsureEndOfLogTest, AppendsLineOnlyWhenMarkerAbsent)
{
    const EnsureCase& c = GetParam();
    MemoryTextHolder holder(c.text);
    EXPECT_EQ(EnsureEndOfLog(holder), c.appended);
    EXPECT_EQ(holder.Str(), c.after);
    EXPECT_EQ(holder.ReplaceAllCalls(), c.appended ? 1 : 0);
    EXPECT_EQ(holder.AppendAtEndCalls(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EnsureEndOfLogTest,
    ::testing::Values(
        EnsureCase{"EmptyTextStoresAsMarkerLine", "", true, "END-OF-LOG:\r\n"},
        EnsureCase{"AppendedAfterLastLine", "H\r\nQSO: a\r\n", true, "H\r\nQSO: a\r\nEND-OF-LOG:\r\n"},
        EnsureCase{"NoFinalLineEndSameLine", "H\r\nQSO: a", true, "H\r\nQSO: aEND-OF-LOG:\r\n"},
        EnsureCase{"MarkerPresent", "H\r\nEND-OF-LOG:\r\n", false, "H\r\nEND-OF-LOG:\r\n"},
        EnsureCase{"MarkerInHeaderComment", "SOAPBOX: END-OF-LOG: soon\r\nQSO: a\r\n", false,
                   "SOAPBOX: END-OF-LOG: soon\r\nQSO: a\r\n"},
        EnsureCase{"LinesAfterMarkerKept", "END-OF-LOG:\r\nQSO: a\r\n", false,
                   "END-OF-LOG:\r\nQSO: a\r\n"},
        EnsureCase{"LowerCaseMarkerNotEnough", "end-of-log:\r\n", true,
                   "end-of-log:\r\nEND-OF-LOG:\r\n"},
        EnsureCase{"LfOnlyAndNulKept", "a\nb\0c\n"s, true, "a\nb\0c\nEND-OF-LOG:\r\n"s}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AppendQsoLine, AddsRightAfterLastCharacterThroughAppendAtEnd)
{
    MemoryTextHolder holder("H\r\nQSO: a");
    AppendQsoLine(holder, "QSO: b\0x\r\n"s);
    EXPECT_EQ(holder.Str(), "H\r\nQSO: aQSO: b\0x\r\n"s);
    EXPECT_EQ(holder.AppendAtEndCalls(), 1);
    EXPECT_EQ(holder.ReplaceAllCalls(), 0);
    EXPECT_TRUE(holder.Modified());
}

// The life of a log: stored (marker added), reopened for adding contacts
// (marker cut), contacts appended, stored again.
TEST(LogTextRules, StoreAddStoreRoundTrip)
{
    MemoryTextHolder holder("START-OF-LOG: 3.0\r\n");
    EXPECT_TRUE(EnsureEndOfLog(holder));
    EXPECT_FALSE(EnsureEndOfLog(holder));
    EXPECT_TRUE(StripEndOfLog(holder));
    AppendQsoLine(holder, "QSO: 1\r\n");
    AppendQsoLine(holder, "QSO: 2\r\n");
    EXPECT_FALSE(StripEndOfLog(holder));
    EXPECT_TRUE(EnsureEndOfLog(holder));
    EXPECT_EQ(holder.Str(), "START-OF-LOG: 3.0\r\nQSO: 1\r\nQSO: 2\r\nEND-OF-LOG:\r\n");
}

TEST(FindEndOfLog, ReportsByteOffsetOfFirstMarker)
{
    EXPECT_EQ(FindEndOfLog(""), std::string_view::npos);
    EXPECT_EQ(FindEndOfLog("END-OF-LOG"), std::string_view::npos);
    // A multibyte character before the marker counts in bytes.
    EXPECT_EQ(FindEndOfLog("\xc3\xa4" "END-OF-LOG:END-OF-LOG:"), 2u);
}

} // namespace
