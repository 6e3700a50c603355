// The contact line: whatever the fields hold, the line starts with "QSO: ",
// ends with " 0\r\n", and every field stands whole at its place, padded to
// its minimum width and never cut.
#include "FuzzCheck.h"
#include "qso/QsoRecord.h"

#include <fuzzer/FuzzedDataProvider.h>
#include <string>

namespace {

// Checks that `value` stands at `pos`, padded with `fill` to `width` on the
// left (right-aligned) or on the right, and moves past it and the blank.
void ExpectField(const std::string& line, std::size_t& pos, const std::string& value, std::size_t width,
                 bool rightAligned, char fill)
{
    const std::size_t pad = value.size() < width ? width - value.size() : 0;
    if (rightAligned) {
        FUZZ_CHECK(line.compare(pos, pad, std::string(pad, fill)) == 0);
        FUZZ_CHECK(line.compare(pos + pad, value.size(), value) == 0);
    } else {
        FUZZ_CHECK(line.compare(pos, value.size(), value) == 0);
        FUZZ_CHECK(line.compare(pos + value.size(), pad, std::string(pad, fill)) == 0);
    }
    pos += value.size() + pad;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    QsoRecord r;
    r.m_nBand = in.ConsumeIntegralInRange(-3, 8);
    r.m_nMode = in.ConsumeIntegralInRange(-3, 6);
    r.m_strDate = in.ConsumeRandomLengthString(24);
    r.m_strTime = in.ConsumeRandomLengthString(12);
    r.m_strSentCall = in.ConsumeRandomLengthString(24);
    r.m_strSentObl = in.ConsumeRandomLengthString(12);
    r.m_strSentNr = in.ConsumeRandomLengthString(12);
    r.m_strRcvdCall = in.ConsumeRandomLengthString(24);
    r.m_strRcvdObl = in.ConsumeRandomLengthString(12);
    r.m_strRcvdNr = in.ConsumeRemainingBytesAsString();

    const std::string line = FormatQsoLine(r);
    FUZZ_CHECK(line.compare(0, 5, "QSO: ") == 0);
    FUZZ_CHECK(line.size() >= 4 && line.compare(line.size() - 4, 4, " 0\r\n") == 0);

    const bool knownBand = r.m_nBand >= 0 && r.m_nBand <= 5;
    const bool knownMode = r.m_nMode >= 0 && r.m_nMode <= 3;
    std::size_t pos = 5;
    ExpectField(line, pos, std::string(FrequencyText(r.m_nBand)), 5, true, ' ');
    FUZZ_CHECK(knownBand || FrequencyText(r.m_nBand) == " ????");
    FUZZ_CHECK(line[pos++] == ' ');
    ExpectField(line, pos, std::string(ModeText(r.m_nMode)), 2, true, ' ');
    FUZZ_CHECK(knownMode || ModeText(r.m_nMode) == " ??");
    FUZZ_CHECK(line[pos++] == ' ');
    ExpectField(line, pos, r.m_strDate, 10, true, ' ');
    FUZZ_CHECK(line[pos++] == ' ');
    ExpectField(line, pos, r.m_strTime, 4, true, '0');
    const std::pair<const std::string*, std::size_t> left[] = {
        {&r.m_strSentCall, 13}, {&r.m_strSentObl, 3}, {&r.m_strSentNr, 6},
        {&r.m_strRcvdCall, 13}, {&r.m_strRcvdObl, 3}, {&r.m_strRcvdNr, 6}};
    for (const auto& [value, width] : left) {
        FUZZ_CHECK(line[pos++] == ' ');
        ExpectField(line, pos, *value, width, false, ' ');
    }
    FUZZ_CHECK(pos + 4 == line.size());
    return 0;
}
