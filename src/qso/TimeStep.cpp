#include "qso/TimeStep.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace {

constexpr int kMinutesPerDay = 1440;

// White space as the C locale's isspace sees it.
constexpr bool IsCSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

constexpr bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Trim white space, put '0' in front up to four characters, keep the first four.
std::string NormaliseTime(std::string_view time)
{
    while (!time.empty() && IsCSpace(time.front()))
        time.remove_prefix(1);
    while (!time.empty() && IsCSpace(time.back()))
        time.remove_suffix(1);
    std::string out;
    if (time.size() < 4)
        out.assign(4 - time.size(), '0');
    out.append(time.substr(0, 4 - out.size()));
    return out;
}

// The character's code as a signed 8-bit number, less the code of '0'.
int DigitValue(char c)
{
    return static_cast<int>(static_cast<signed char>(c)) - '0';
}

// '0' plus a digit value; values outside 0..9 give whatever character code
// that sum wraps to in 8 bits, as a character store would.
char DigitChar(int value)
{
    return static_cast<char>('0' + value);
}

// One "%Nd" conversion of a scanf-style reader: skip white space, then at
// most `width` characters made of one optional sign and decimal digits; at
// least one digit is needed. Advances `pos` past what was read.
std::optional<int> ReadNumber(std::string_view text, std::size_t& pos, std::size_t width)
{
    while (pos < text.size() && IsCSpace(text[pos]))
        ++pos;
    std::size_t i = pos;
    const std::size_t limit = pos + width < text.size() ? pos + width : text.size();
    bool negative = false;
    if (i < limit && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int value = 0;
    const std::size_t firstDigit = i;
    for (; i < limit && IsDigit(text[i]); ++i)
        value = value * 10 + (text[i] - '0');
    if (i == firstDigit)
        return std::nullopt;
    pos = i;
    return negative ? -value : value;
}

struct DateParts {
    int year;
    int month;
    int day;
};

// Year, month and day read like "%4d-%2d-%2d"; anything after the day is
// ignored. Empty when the text does not hold all three numbers.
std::optional<DateParts> ReadDate(std::string_view text)
{
    std::size_t pos = 0;
    const auto year = ReadNumber(text, pos, 4);
    if (!year || pos >= text.size() || text[pos] != '-')
        return std::nullopt;
    ++pos;
    const auto month = ReadNumber(text, pos, 2);
    if (!month || pos >= text.size() || text[pos] != '-')
        return std::nullopt;
    ++pos;
    const auto day = ReadNumber(text, pos, 2);
    if (!day)
        return std::nullopt;
    return DateParts{*year, *month, *day};
}

int FloorDiv(int a, int b)
{
    const int q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// The calendar day the parts name, with month and day out of range carried
// over the way mktime does (month 13 is January of the next year, day 0 the
// last day of the month before), moved by `days`. The numbers read are at
// most four characters wide, so every result lies well inside the range of
// std::chrono::year.
std::chrono::year_month_day MoveDate(const DateParts& parts, int days)
{
    using namespace std::chrono;
    const int monthIndex = parts.month - 1;
    const int yearCarry = FloorDiv(monthIndex, 12);
    const int month0 = monthIndex - yearCarry * 12;
    const sys_days first = year_month_day{year{parts.year + yearCarry},
                                          month{static_cast<unsigned>(month0 + 1)}, day{1}};
    return year_month_day{first + std::chrono::days{parts.day - 1 + days}};
}

void AppendZeroFilled(std::string& out, unsigned value, std::size_t width)
{
    const std::string digits = std::to_string(value);
    if (digits.size() < width)
        out.append(width - digits.size(), '0');
    out.append(digits);
}

// "%Y-%m-%d". Years 0..9999 take four digits; a year outside that range
// (only reachable from odd input such as year 9999 with month 99) is written
// as its plain signed number, so the date stays readable and defined.
std::string FormatDate(const std::chrono::year_month_day& date)
{
    std::string out;
    const int y = static_cast<int>(date.year());
    if (y >= 0 && y <= 9999)
        AppendZeroFilled(out, static_cast<unsigned>(y), 4);
    else
        out.append(std::to_string(y));
    out.push_back('-');
    AppendZeroFilled(out, static_cast<unsigned>(date.month()), 2);
    out.push_back('-');
    AppendZeroFilled(out, static_cast<unsigned>(date.day()), 2);
    return out;
}

} // namespace

void StepTime(QsoRecord& record, int direction)
{
    if (direction == 0)
        return;
    const int step = direction > 0 ? 1 : -1;

    const std::string time = NormaliseTime(record.m_strTime);
    // The four characters are read positionally and not validated: 2299
    // counts as 22 hours and 99 minutes.
    int m = DigitValue(time[0]) * 600 + DigitValue(time[1]) * 60 + DigitValue(time[2]) * 10 +
            DigitValue(time[3]);
    m += step;
    int dayMove = 0;
    // One correction per step, not a remainder, so an odd time such as 9999
    // comes back into range over several steps.
    if (m >= kMinutesPerDay) {
        m -= kMinutesPerDay;
        dayMove = 1;
    } else if (m < 0) {
        m += kMinutesPerDay;
        dayMove = -1;
    }

    std::string stepped(4, '0');
    stepped[0] = DigitChar(m / 600);
    stepped[1] = DigitChar((m % 600) / 60);
    stepped[2] = DigitChar((m % 60) / 10);
    stepped[3] = DigitChar(m % 10);
    record.m_strTime = std::move(stepped);

    if (dayMove == 0 || record.m_strDate.size() != 10)
        return;
    const auto parts = ReadDate(record.m_strDate);
    if (!parts)
        return;
    record.m_strDate = FormatDate(MoveDate(*parts, dayMove));
}
