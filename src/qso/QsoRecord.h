#pragma once
// One contact as the entry dialog holds it, and the fixed-column "QSO:" line
// it becomes in the log.

#include <string>
#include <string_view>

struct QsoRecord {
    int m_nBand = -1;             // frequency list position, -1 for none
    std::string m_strRcvdCall;
    std::string m_strDate;        // normally YYYY-MM-DD
    std::string m_strSentCall;
    std::string m_strRcvdNr;
    std::string m_strRcvdObl;
    std::string m_strSentNr;
    std::string m_strSentObl;
    std::string m_strTime;        // normally HHMM
    int m_nMode = -1;             // mode list position, -1 for none

    bool operator==(const QsoRecord&) const = default;
};

// " 1850" .. "28000" for positions 0..5, " ????" for anything else.
std::string_view FrequencyText(int band);
// "CW", "PH", "RY", "TV" for positions 0..3, " ??" for anything else.
std::string_view ModeText(int mode);

// The contact as one "QSO:" line ending in CR LF. Widths are minimums.
std::string FormatQsoLine(const QsoRecord& record);

// The sent serial number to offer after `sentNr`: atoi rules, plus one, "%03i".
std::string NextSerial(std::string_view sentNr);
