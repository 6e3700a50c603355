// The next sent serial number: read as the C library reads a number (white
// space, a sign, digits), plus one, at least three characters. Compared
// with strtoll, which saturates the same way on overflow.
#include "FuzzCheck.h"
#include "qso/QsoRecord.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string next = NextSerial(text);

    // strtoll stops at a NUL; so do the digits NextSerial reads.
    errno = 0;
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    const long long expected = value == LLONG_MAX ? value : value + 1;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%03lld", expected);
    FUZZ_CHECK(next == buf);
    FUZZ_CHECK(next.size() >= 3);
    return 0;
}
