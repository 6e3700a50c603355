#pragma once
// Log contents that can be recognised again from their bytes alone: the
// repeated-save helper writes generation after generation, and the test
// checks that the file on disk is always one whole generation.

#include <cstdint>
#include <string>

namespace fault {

// The bytes of generation `gen`: a first line naming it, then a body of
// awkward bytes (NUL, lone CR, Ctrl-Z, bytes that are not UTF-8) whose
// length varies from a few bytes to a few hundred kilobytes, then the
// end-of-log line, so saving adds nothing.
inline std::string GenerationBytes(std::uint64_t gen)
{
    std::string s = "GENERATION " + std::to_string(gen) + "\r\n";
    std::uint64_t x = gen * 0x9E3779B97F4A7C15ull + 1;
    const auto next = [&x] {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        return x;
    };
    const std::size_t size = (gen % 5 == 0) ? next() % 64 : next() % (200 * 1024);
    s.reserve(size + 64);
    // Eight random bytes at a time, one of them often an awkward one.
    static const char kAwkward[] = {'\0', '\r', '\n', '\x1a', '\xff', '\xc3', '\x80', 'Q'};
    const std::size_t end = s.size() + size;
    while (s.size() < end) {
        std::uint64_t r = next();
        char word[8];
        for (char& c : word) {
            c = static_cast<char>(r);
            r >>= 8;
        }
        word[word[1] & 7] = kAwkward[word[2] & 7];
        s.append(word, sizeof word);
    }
    s.resize(end);
    // Random bytes do not spell the marker by chance at these sizes.
    s += "\r\nEND-OF-LOG:\r\n";
    return s;
}

// The generation a file's first line names, or -1 when it names none.
inline std::int64_t GenerationOf(const std::string& bytes)
{
    constexpr std::string_view kPrefix = "GENERATION ";
    if (bytes.compare(0, kPrefix.size(), kPrefix) != 0)
        return -1;
    const auto end = bytes.find("\r\n");
    if (end == std::string::npos || end == kPrefix.size())
        return -1;
    std::int64_t gen = 0;
    for (std::size_t i = kPrefix.size(); i < end; ++i) {
        if (bytes[i] < '0' || bytes[i] > '9' || gen > 1'000'000'000)
            return -1;
        gen = gen * 10 + (bytes[i] - '0');
    }
    return gen;
}

} // namespace fault
