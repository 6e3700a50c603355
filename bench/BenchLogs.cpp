#include "BenchLogs.h"

#include "log/LogLimits.h"

#include <cstdio>
#include <stdexcept>

namespace bench {

QsoRecord Contact(int index)
{
    QsoRecord r;
    r.m_nBand = index % 6;
    r.m_nMode = (index / 6) % 2;
    r.m_strDate = "2004-04-10";
    char text[32];
    const int minutes = 22 * 60 + index;
    std::snprintf(text, sizeof text, "%02d%02d", (minutes / 60) % 24, minutes % 60);
    r.m_strTime = text;
    r.m_strSentCall = "DL0XX";
    r.m_strSentObl = "B";
    std::snprintf(text, sizeof text, "%03d", index % 1000 + 1);
    r.m_strSentNr = text;
    std::snprintf(text, sizeof text, "OK%d%c%c%c", index % 10, 'A' + index % 26, 'A' + (index / 26) % 26,
                  'A' + (index / 676) % 26);
    r.m_strRcvdCall = text;
    r.m_strRcvdObl = std::string(1, static_cast<char>('A' + index % 26));
    std::snprintf(text, sizeof text, "%d", (index * 7) % 997 + 1);
    r.m_strRcvdNr = text;
    return r;
}

std::string MakeLog(std::size_t size)
{
    const std::string header = "START-OF-LOG: 3.0\r\n"
                               "CONTEST: BENCH-TEST\r\n"
                               "CALLSIGN: DL0XX\r\n"
                               "CATEGORY-OPERATOR: SINGLE-OP\r\n";
    const std::string soapStart = "SOAPBOX: ";
    const std::size_t soapMin = soapStart.size() + 2;
    if (size < header.size() + soapMin + kEndOfLogLine.size() + 32)
        throw std::invalid_argument("log size too small");

    std::string contacts;
    for (int i = 0;; ++i) {
        const std::string line = FormatQsoLine(Contact(i));
        if (header.size() + soapMin + contacts.size() + line.size() + kEndOfLogLine.size() > size)
            break;
        contacts += line;
    }
    const std::size_t pad = size - header.size() - soapMin - contacts.size() - kEndOfLogLine.size();
    std::string soapbox = soapStart + std::string(pad, '-') + "\r\n";
    std::string log = header + soapbox + contacts + std::string(kEndOfLogLine);
    if (log.size() != size)
        throw std::logic_error("log size mismatch");
    return log;
}

} // namespace bench
