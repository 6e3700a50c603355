#include "qso/QsoRecord.h"

#include <gtest/gtest.h>

#include <ostream>

#include <climits>
#include <string>

using namespace std::string_literals;

namespace {

QsoRecord FullRecord()
{
    QsoRecord r;
    r.m_nBand = 3;
    r.m_nMode = 0;
    r.m_strDate = "2004-12-31";
    r.m_strTime = "2359";
    r.m_strSentCall = "DL1ABC";
    r.m_strSentObl = "B";
    r.m_strSentNr = "001";
    r.m_strRcvdCall = "OK1XYZ";
    r.m_strRcvdObl = "C";
    r.m_strRcvdNr = "12";
    return r;
}

TEST(QsoRecord, FreshRecordHasNoChoicesAndEmptyTexts)
{
    const QsoRecord r;
    EXPECT_EQ(r.m_nBand, -1);
    EXPECT_EQ(r.m_nMode, -1);
    EXPECT_EQ(r, QsoRecord{});
}

TEST(FrequencyAndModeText, ListPositionsMapToFixedTexts)
{
    const char* frequencies[] = {" 1850", " 3500", " 7000", "14000", "21000", "28000"};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(FrequencyText(i), frequencies[i]) << i;
    const char* modes[] = {"CW", "PH", "RY", "TV"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(ModeText(i), modes[i]) << i;
    for (int bad : {-1, -2, 6, 100, INT_MIN, INT_MAX})
        EXPECT_EQ(FrequencyText(bad), " ????") << bad;
    for (int bad : {-1, -2, 4, 100, INT_MIN, INT_MAX})
        EXPECT_EQ(ModeText(bad), " ??") << bad;
}

TEST(FormatQsoLine, FieldsStandInTheirColumns)
{
    const std::string line = FormatQsoLine(FullRecord());
    ASSERT_EQ(line.size(), 83u);
    EXPECT_EQ(line.substr(81), "\r\n");
    struct Field {
        int column; // counted from 1
        const char* text;
    };
    const Field fields[] = {
        {1, "QSO:"},          {6, "14000"},  {12, "CW"},           {15, "2004-12-31"},
        {26, "2359"},         {31, "DL1ABC       "}, {45, "B  "}, {49, "001   "},
        {56, "OK1XYZ       "}, {70, "C  "},  {74, "12    "},       {81, "0"}};
    for (const Field& f : fields)
        EXPECT_EQ(line.substr(static_cast<std::size_t>(f.column - 1), std::string(f.text).size()),
                  f.text)
            << "column " << f.column;
    for (int column : {5, 11, 14, 25, 30, 44, 48, 55, 69, 73, 80})
        EXPECT_EQ(line[static_cast<std::size_t>(column - 1)], ' ') << "column " << column;
}

struct LineCase {
    const char* name;
    void (*change)(QsoRecord&);
    std::string line;
};
// Test names show the case name, not the bytes of the whole case.
void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }


class FormatQsoLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(FormatQsoLineTest, WritesValuesWholeWithMinimumWidths)
{
    QsoRecord r = FullRecord();
    GetParam().change(r);
    EXPECT_EQ(FormatQsoLine(r), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatQsoLineTest,
    ::testing::Values(
        LineCase{"Full", [](QsoRecord&) {},
                 "QSO: 14000 CW 2004-12-31 2359 DL1ABC        B   001    OK1XYZ        C   12     0\r\n"},
        LineCase{"NoChoiceShiftsRestOneColumn",
                 [](QsoRecord& r) { r.m_nBand = -1; r.m_nMode = -1; },
                 "QSO:  ????  ?? 2004-12-31 2359 DL1ABC        B   001    OK1XYZ        C   12     0\r\n"},
        LineCase{"LowBandRightAligned", [](QsoRecord& r) { r.m_nBand = 0; r.m_nMode = 1; },
                 "QSO:  1850 PH 2004-12-31 2359 DL1ABC        B   001    OK1XYZ        C   12     0\r\n"},
        LineCase{"FourteenCharCallShiftsRest",
                 [](QsoRecord& r) { r.m_strSentCall = "DL1ABC/P/MM/QR"; },
                 "QSO: 14000 CW 2004-12-31 2359 DL1ABC/P/MM/QR B   001    OK1XYZ        C   12     0\r\n"},
        LineCase{"EmptySentSerialIsSixBlanks", [](QsoRecord& r) { r.m_strSentNr.clear(); },
                 "QSO: 14000 CW 2004-12-31 2359 DL1ABC        B          OK1XYZ        C   12     0\r\n"},
        LineCase{"ShortTimeZeroFilled", [](QsoRecord& r) { r.m_strTime = "930"; },
                 "QSO: 14000 CW 2004-12-31 0930 DL1ABC        B   001    OK1XYZ        C   12     0\r\n"},
        LineCase{"EmptyTimeIsFourZeros", [](QsoRecord& r) { r.m_strTime.clear(); },
                 "QSO: 14000 CW 2004-12-31 0000 DL1ABC        B   001    OK1XYZ        C   12     0\r\n"},
        LineCase{"LongTimeNotCut", [](QsoRecord& r) { r.m_strTime = "12345"; },
                 "QSO: 14000 CW 2004-12-31 12345 DL1ABC        B   001    OK1XYZ        C   12     0\r\n"},
        LineCase{"ShortDateBlankPadded", [](QsoRecord& r) { r.m_strDate = "2004-4-1"; },
                 "QSO: 14000 CW   2004-4-1 2359 DL1ABC        B   001    OK1XYZ        C   12     0\r\n"},
        LineCase{"NothingTrimmedOrUpperCased",
                 [](QsoRecord& r) { r.m_strRcvdCall = " ok1xyz "; r.m_strRcvdObl = "abcd"; },
                 "QSO: 14000 CW 2004-12-31 2359 DL1ABC        B   001     ok1xyz       abcd 12     0\r\n"},
        // A NUL byte inside a value must neither end the value nor the line.
        LineCase{"NulInValueKept", [](QsoRecord& r) { r.m_strSentObl = "A\0B"s; r.m_strTime = "9\0"s; },
                 "QSO: 14000 CW 2004-12-31 009\0 DL1ABC        A\0B 001    OK1XYZ        C   12     0\r\n"s},
        LineCase{"EmptyRecord", [](QsoRecord& r) { r = QsoRecord{}; },
                 "QSO:  ????  ?? " + std::string(10, ' ') + " 0000" + std::string(51, ' ') + "0\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

struct SerialCase {
    std::string in;
    std::string out;
};

TEST(NextSerial, ReadsLikeAtoiAddsOneAndPadsToThree)
{
    const SerialCase cases[] = {
        {"001", "002"},
        {"099", "100"},
        {"999", "1000"},
        {"", "001"},
        {"7a", "008"},
        {"abc", "001"},
        {"12 34", "013"},
        {"0x10", "001"},
        {" \t\n\v\f\r42", "043"},
        {"+7", "008"},
        {"+-7", "001"},
        {"- 7", "001"},
        {"\0" "5"s, "001"},
        {"000000000000000000000000000042", "043"},
        // A minus sign counts in the width of three.
        {"-1", "000"},
        {"-2", "-01"},
        {"-5", "-04"},
        {"-100", "-99"},
        {"-101", "-100"},
        // Beyond 32 bits the count goes on instead of wrapping.
        {"2147483647", "2147483648"},
        {"-2147483648", "-2147483647"},
        {"4294967296", "4294967297"},
        // Past the 64-bit range the number saturates and stays there.
        {"9223372036854775806", "9223372036854775807"},
        {"9223372036854775807", "9223372036854775807"},
        {"99999999999999999999999999", "9223372036854775807"},
        {"-9223372036854775808", "-9223372036854775807"},
        {"-99999999999999999999999999", "-9223372036854775807"},
    };
    for (const SerialCase& c : cases)
        EXPECT_EQ(NextSerial(c.in), c.out) << "input \"" << c.in << '"';
}

} // namespace
