#pragma once
#include <cstddef>
#include <string_view>

// The largest log that can be opened, and the most the log view takes.
inline constexpr std::size_t kMaxLogBytes = 1048575; // 0xFFFFF, one less than 1 MiB

inline constexpr std::string_view kEndOfLogMarker = "END-OF-LOG:";
inline constexpr std::string_view kEndOfLogLine = "END-OF-LOG:\r\n";
