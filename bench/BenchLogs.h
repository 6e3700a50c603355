#pragma once
// Contest logs for the benchmark, made of real "QSO:" lines.

#include "qso/QsoRecord.h"

#include <cstddef>
#include <string>

namespace bench {

// The contact with this index: a different call, exchange and serial number
// for each, bands and modes in turn, the time a minute further every contact.
QsoRecord Contact(int index);

// A log of exactly `size` bytes: header lines, as many contacts as fit, a
// SOAPBOX: line that takes up the rest, and "END-OF-LOG:" with CR LF as its
// last line. `size` must be at least 128.
std::string MakeLog(std::size_t size);

} // namespace bench
