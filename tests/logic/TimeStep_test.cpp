#include "qso/TimeStep.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>

namespace {

struct StepCase {
    const char* name;
    std::string time;
    std::string date;
    int direction;
    std::string timeAfter;
    std::string dateAfter;
};
// Test names show the case name, not the bytes of the whole case.
void PrintTo(const StepCase& c, std::ostream* os) { *os << c.name; }


class StepTimeTest : public ::testing::TestWithParam<StepCase> {};

TEST_P(StepTimeTest, MovesTimeAndDate)
{
    const StepCase& c = GetParam();
    QsoRecord r;
    r.m_strTime = c.time;
    r.m_strDate = c.date;
    r.m_strSentCall = "DL1ABC";
    const QsoRecord before = r;
    StepTime(r, c.direction);
    EXPECT_EQ(r.m_strTime, c.timeAfter);
    EXPECT_EQ(r.m_strDate, c.dateAfter);
    // Nothing else in the record changes.
    QsoRecord rest = r;
    rest.m_strTime = before.m_strTime;
    rest.m_strDate = before.m_strDate;
    EXPECT_TRUE(rest == before);
}

constexpr int kFwd = 1;
constexpr int kBack = -1;

// Times: normalising, the positional formula, one correction per step, and
// characters that are not digits.
INSTANTIATE_TEST_SUITE_P(
    Time, StepTimeTest,
    ::testing::Values(
        StepCase{"Plain", "2200", "2004-06-01", kFwd, "2201", "2004-06-01"},
        StepCase{"PlainBack", "0001", "2004-06-01", kBack, "0000", "2004-06-01"},
        StepCase{"HourCarry", "2259", "x", kFwd, "2300", "x"},
        StepCase{"HourBorrow", "1000", "x", kBack, "0959", "x"},
        StepCase{"MinutesAboveFiftyNine", "2260", "x", kFwd, "2301", "x"},
        StepCase{"NinetyNineMinutes", "2299", "x", kFwd, "2340", "x"},
        StepCase{"Empty", "", "x", kFwd, "0001", "x"},
        StepCase{"OneDigit", "5", "x", kFwd, "0006", "x"},
        StepCase{"WhiteSpaceTrimmed", " \t930\r\n\v\f", "x", kFwd, "0931", "x"},
        StepCase{"InnerBlankNotTrimmed", "9 3", "x", kFwd, "0624", "x"},
        StepCase{"FiveDigitsKeepFirstFour", "12345", "x", kFwd, "1235", "x"},
        StepCase{"MidnightWrapsWithoutUsableDate", "2359", "2004-4-1", kFwd, "0000", "2004-4-1"},
        StepCase{"BackWrapsEightCharDateUnchanged", "0000", "2004-4-1", kBack, "2359", "2004-4-1"},
        StepCase{"NineNineNineNine", "9999", "2004-06-01", kFwd, "7640", "2004-06-02"},
        StepCase{"LettersFollowFormula", "ab12", "2004-06-01", kFwd, "c613", "2004-06-02"},
        // Bytes above 0x7F count as negative codes, whatever the platform's char.
        StepCase{"HighBytesSigned", "\xff\xff\xff\xff", "2004-06-01", kBack, "\xfc,00", "2004-05-31"},
        StepCase{"ZeroDirectionChangesNothing", " 5", "2004-06-01", 0, " 5", "2004-06-01"}),
    [](const auto& info) { return std::string(info.param.name); });

// Dates: read like "%4d-%2d-%2d", carried over like mktime, moved one
// Gregorian day, written as YYYY-MM-DD.
INSTANTIATE_TEST_SUITE_P(
    Date, StepTimeTest,
    ::testing::Values(
        StepCase{"NewYear", "2359", "2004-12-31", kFwd, "0000", "2005-01-01"},
        StepCase{"BackIntoLeapDay", "0000", "2004-03-01", kBack, "2359", "2004-02-29"},
        StepCase{"BackNoLeapDay", "0000", "2003-03-01", kBack, "2359", "2003-02-28"},
        StepCase{"CenturyNotLeap", "2359", "2100-02-28", kFwd, "0000", "2100-03-01"},
        StepCase{"FourCenturiesLeap", "2359", "2000-02-28", kFwd, "0000", "2000-02-29"},
        StepCase{"BackOverYearEnd", "0000", "2005-01-01", kBack, "2359", "2004-12-31"},
        StepCase{"Before1970", "2359", "1969-12-31", kFwd, "0000", "1970-01-01"},
        StepCase{"After2038", "2359", "2038-01-19", kFwd, "0000", "2038-01-20"},
        StepCase{"ShortFieldsTrailingBlank", "2359", "2004-4-10 ", kFwd, "0000", "2004-04-11"},
        StepCase{"LeadingBlanks", "2359", " 2004-4-10", kFwd, "0000", "2004-04-11"},
        StepCase{"BlankBeforeDay", "2359", "2004-04- 9", kFwd, "0000", "2004-04-10"},
        StepCase{"TrailingTextIgnored", "2359", "2004-4-1xy", kFwd, "0000", "2004-04-02"},
        StepCase{"MonthThirteen", "2359", "2004-13-01", kFwd, "0000", "2005-01-02"},
        StepCase{"DayZero", "2359", "2004-03-00", kFwd, "0000", "2004-03-01"},
        StepCase{"AprilThirtyOne", "2359", "2004-04-31", kFwd, "0000", "2004-05-02"},
        StepCase{"AprilThirtyOneBack", "0000", "2004-04-31", kBack, "2359", "2004-04-30"},
        StepCase{"MonthAndDayZero", "0000", "2004-00-00", kBack, "2359", "2003-11-29"},
        StepCase{"NegativeMonth", "2359", "2004--1-01", kFwd, "0000", "2003-11-02"},
        StepCase{"PlusSignCountsInWidth", "2359", "2004-+1-01", kFwd, "0000", "2004-01-02"},
        StepCase{"BigMonthAndDay", "2359", "2004-99-99", kFwd, "0000", "2012-06-08"},
        StepCase{"DottedDateUnchanged", "2359", "31.12.2004", kFwd, "0000", "31.12.2004"},
        StepCase{"NoDayUnchanged", "2359", "2004-04-xx", kFwd, "0000", "2004-04-xx"},
        StepCase{"FiveDigitYearUnchanged", "2359", "20040-4-01", kFwd, "0000", "20040-4-01"},
        StepCase{"SignWithoutDigitUnchanged", "2359", "2004-04-+x", kFwd, "0000", "2004-04-+x"},
        StepCase{"ElevenCharsUnchanged", "2359", "2004-12-31 ", kFwd, "0000", "2004-12-31 "},
        StepCase{"SmallYearZeroFilled", "2359", "0999-12-31", kFwd, "0000", "1000-01-01"},
        StepCase{"YearZero", "0000", "0001-01-01", kBack, "2359", "0000-12-31"},
        // Years outside 0..9999 are written as plain signed numbers.
        StepCase{"PastYear9999", "2359", "9999-12-31", kFwd, "0000", "10000-01-01"},
        StepCase{"BeforeYearZero", "0000", "0000-01-01", kBack, "2359", "-1-12-31"},
        StepCase{"NegativeYear", "2359", "-999-01-01", kFwd, "0000", "-999-01-02"}),
    [](const auto& info) { return std::string(info.param.name); });

// One correction by 1440 per step: an odd time comes back into range over
// several steps, moving the date on each.
TEST(StepTime, OddTimeMovesDateOnEachStep)
{
    QsoRecord r;
    r.m_strTime = "9999";
    r.m_strDate = "2004-12-31";
    StepTime(r, 1);
    EXPECT_EQ(r.m_strTime, "7640");
    EXPECT_EQ(r.m_strDate, "2005-01-01");
    StepTime(r, 1);
    EXPECT_EQ(r.m_strTime, "5241");
    EXPECT_EQ(r.m_strDate, "2005-01-02");
}

TEST(StepTime, ForwardThenBackRestoresTimeAndDate)
{
    for (const char* date : {"2004-02-28", "2004-02-29", "2004-12-31", "2003-02-28"}) {
        QsoRecord r;
        r.m_strTime = "2359";
        r.m_strDate = date;
        StepTime(r, 1);
        StepTime(r, -1);
        EXPECT_EQ(r.m_strTime, "2359");
        EXPECT_EQ(r.m_strDate, date);
    }
}

} // namespace
