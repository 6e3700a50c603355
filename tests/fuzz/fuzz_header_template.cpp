// The header template: the bytes up to the first Ctrl-Z, split at LF (a CR
// right before it belongs to the line end), every line ending in CR LF; no
// byte is lost, added or changed otherwise, whatever the file holds.
#include "FuzzCheck.h"
#include "log/HeaderTemplate.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string parsed = ParseHeaderTemplate(bytes);

    std::string_view rest = bytes.substr(0, bytes.find('\x1a'));
    std::string expected;
    while (!rest.empty()) {
        const auto lf = rest.find('\n');
        std::string_view line = rest.substr(0, lf);
        if (lf != std::string_view::npos && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        expected.append(line);
        expected.append("\r\n");
        rest = lf == std::string_view::npos ? std::string_view() : rest.substr(lf + 1);
    }
    FUZZ_CHECK(parsed == expected);
    FUZZ_CHECK(parsed.find('\x1a') == std::string::npos);
    return 0;
}
