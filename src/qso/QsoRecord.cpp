#include "qso/QsoRecord.h"

#include <array>
#include <cstdint>
#include <limits>

namespace {

constexpr std::array<std::string_view, 6> kFrequencies = {
    " 1850", " 3500", " 7000", "14000", "21000", "28000"};
constexpr std::string_view kNoFrequency = " ????";

constexpr std::array<std::string_view, 4> kModes = {"CW", "PH", "RY", "TV"};
constexpr std::string_view kNoMode = " ??";

// The values are copied whole, byte for byte (a NUL inside a value does not
// end it); the width is only a minimum.
void AppendRight(std::string& out, std::string_view value, std::size_t width, char fill)
{
    if (value.size() < width)
        out.append(width - value.size(), fill);
    out.append(value);
}

void AppendLeft(std::string& out, std::string_view value, std::size_t width)
{
    out.append(value);
    if (value.size() < width)
        out.append(width - value.size(), ' ');
}

// White space as the C locale's isspace sees it.
constexpr bool IsCSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

constexpr bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

std::string_view FrequencyText(int band)
{
    if (band >= 0 && static_cast<std::size_t>(band) < kFrequencies.size())
        return kFrequencies[static_cast<std::size_t>(band)];
    return kNoFrequency;
}

std::string_view ModeText(int mode)
{
    if (mode >= 0 && static_cast<std::size_t>(mode) < kModes.size())
        return kModes[static_cast<std::size_t>(mode)];
    return kNoMode;
}

std::string FormatQsoLine(const QsoRecord& r)
{
    std::string line;
    line.reserve(96 + r.m_strDate.size() + r.m_strTime.size() + r.m_strSentCall.size() +
                 r.m_strSentObl.size() + r.m_strSentNr.size() + r.m_strRcvdCall.size() +
                 r.m_strRcvdObl.size() + r.m_strRcvdNr.size());
    line.append("QSO: ");
    AppendRight(line, FrequencyText(r.m_nBand), 5, ' ');
    line.push_back(' ');
    AppendRight(line, ModeText(r.m_nMode), 2, ' ');
    line.push_back(' ');
    AppendRight(line, r.m_strDate, 10, ' ');
    line.push_back(' ');
    AppendRight(line, r.m_strTime, 4, '0');
    line.push_back(' ');
    AppendLeft(line, r.m_strSentCall, 13);
    line.push_back(' ');
    AppendLeft(line, r.m_strSentObl, 3);
    line.push_back(' ');
    AppendLeft(line, r.m_strSentNr, 6);
    line.push_back(' ');
    AppendLeft(line, r.m_strRcvdCall, 13);
    line.push_back(' ');
    AppendLeft(line, r.m_strRcvdObl, 3);
    line.push_back(' ');
    AppendLeft(line, r.m_strRcvdNr, 6);
    line.append(" 0\r\n");
    return line;
}

std::string NextSerial(std::string_view sentNr)
{
    // Read the number the way atoi does, but into 64 bits with saturation so
    // no input can overflow: leading white space, one optional sign, digits
    // up to the first non-digit, none giving 0.
    std::size_t i = 0;
    while (i < sentNr.size() && IsCSpace(sentNr[i]))
        ++i;
    bool negative = false;
    if (i < sentNr.size() && (sentNr[i] == '+' || sentNr[i] == '-')) {
        negative = sentNr[i] == '-';
        ++i;
    }
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    std::int64_t value = 0; // accumulated negatively when negative, so kMin is reachable
    for (; i < sentNr.size() && IsDigit(sentNr[i]); ++i) {
        const int digit = sentNr[i] - '0';
        if (negative) {
            if (value < (kMin + digit) / 10) {
                value = kMin;
                continue;
            }
            value = value * 10 - digit;
        } else {
            if (value > (kMax - digit) / 10) {
                value = kMax;
                continue;
            }
            value = value * 10 + digit;
        }
    }
    // The successor saturates too: the largest number stays the largest.
    if (value < kMax)
        ++value;

    // "%03i": at least three characters, zero-filled after the sign.
    const bool minus = value < 0;
    std::uint64_t magnitude = minus ? 0 - static_cast<std::uint64_t>(value)
                                    : static_cast<std::uint64_t>(value);
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    std::string out;
    if (minus)
        out.push_back('-');
    const std::size_t width = 3 - (minus ? 1 : 0);
    if (digits.size() < width)
        out.append(width - digits.size(), '0');
    out.append(digits);
    return out;
}
