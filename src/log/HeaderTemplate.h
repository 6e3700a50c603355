#pragma once
// The header template: the text file "cabrhdr.txt" in the current directory,
// whose lines become the first lines of every new log.

#include <cstddef>
#include <string>
#include <string_view>

inline constexpr const char* kHeaderTemplateFileName = "cabrhdr.txt";

// The most of the template file that is read. Real templates are a few
// hundred bytes; the cap only keeps a wrong file (a huge log, an image) from
// eating memory. Bytes past it are ignored.
inline constexpr std::size_t kMaxHeaderTemplateBytes = 16u * 1024u * 1024u;

// Turn the raw bytes of a template file into log text:
// - LF and CR LF both end a line; a CR not followed by LF stays in the line;
// - a Ctrl-Z byte (0x1A) ends the file, the bytes after it are ignored;
// - a last line without a line end is kept; lines may be of any length;
// - every line, empty ones included, is followed by CR LF;
// - other bytes (NUL, invalid UTF-8) are kept as they are.
std::string ParseHeaderTemplate(std::string_view fileBytes);

// Read "cabrhdr.txt" from the current directory and parse it as above.
// A missing or unreadable file, or a name that is not a regular file (a
// folder, a FIFO, a device), gives the empty text without any message.
std::string LoadHeaderTemplate();
