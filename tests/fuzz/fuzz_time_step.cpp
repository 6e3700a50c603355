// Stepping the contact time: any time and date text gives a time of exactly
// four characters; a real time (0000 to 2359) stays a real time and comes
// back, with its date, after a step the other way; a real date stays a real
// date of the form YYYY-MM-DD.
#include "FuzzCheck.h"
#include "qso/TimeStep.h"

#include <chrono>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>

namespace {

bool IsRealTime(const std::string& t)
{
    if (t.size() != 4)
        return false;
    for (char c : t)
        if (c < '0' || c > '9')
            return false;
    return (t[0] - '0') * 10 + (t[1] - '0') < 24 && (t[2] - '0') * 10 + (t[3] - '0') < 60;
}

bool IsRealDate(const std::string& d)
{
    if (d.size() != 10 || d[4] != '-' || d[7] != '-')
        return false;
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (d[static_cast<std::size_t>(i)] < '0' || d[static_cast<std::size_t>(i)] > '9')
            return false;
    using namespace std::chrono;
    const year_month_day ymd{year{std::stoi(d.substr(0, 4))}, month{static_cast<unsigned>(std::stoi(d.substr(5, 2)))},
                             day{static_cast<unsigned>(std::stoi(d.substr(8, 2)))}};
    return ymd.ok();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    QsoRecord r;
    const int direction = in.ConsumeBool() ? 1 : -1;
    const int steps = in.ConsumeIntegralInRange(1, 3);
    r.m_strTime = in.ConsumeRandomLengthString(16);
    r.m_strDate = in.ConsumeRemainingBytesAsString();
    const QsoRecord original = r;

    for (int i = 0; i < steps; ++i) {
        const bool wasReal = IsRealTime(r.m_strTime);
        const bool dateWasReal = IsRealDate(r.m_strDate);
        StepTime(r, direction);
        FUZZ_CHECK(r.m_strTime.size() == 4);
        if (wasReal)
            FUZZ_CHECK(IsRealTime(r.m_strTime));
        if (wasReal && dateWasReal && r.m_strDate.compare(0, 2, "00") != 0 && r.m_strDate.compare(0, 4, "9999") != 0)
            FUZZ_CHECK(IsRealDate(r.m_strDate));
    }
    if (IsRealTime(original.m_strTime)) {
        for (int i = 0; i < steps; ++i)
            StepTime(r, -direction);
        FUZZ_CHECK(r.m_strTime == original.m_strTime);
        FUZZ_CHECK(r.m_strDate == original.m_strDate || !IsRealDate(original.m_strDate));
    }
    // Direction 0 changes nothing.
    QsoRecord still = original;
    StepTime(still, 0);
    FUZZ_CHECK(still == original);
    return 0;
}
