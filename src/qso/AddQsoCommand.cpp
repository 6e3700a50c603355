#include "qso/AddQsoCommand.h"

#include <string>

#include "log/LogLimits.h"
#include "log/LogText.h"

QsoRecord StartingQsoValues()
{
    QsoRecord record;
    record.m_nBand = -1;
    record.m_strDate = "2004-04-10";
    record.m_strSentNr = "001";
    record.m_strTime = "2200";
    record.m_nMode = -1;
    return record;
}

bool LogHasRoomFor(std::size_t textBytes, std::size_t lineBytes)
{
    // Written so that no sum can wrap around.
    if (textBytes > kMaxLogBytes || kMaxLogBytes - textBytes < kEndOfLogLine.size())
        return false;
    return lineBytes <= kMaxLogBytes - textBytes - kEndOfLogLine.size();
}

namespace {
void ClearReceived(QsoRecord& record)
{
    record.m_strRcvdCall.clear();
    record.m_strRcvdNr.clear();
    record.m_strRcvdObl.clear();
}
} // namespace

void RunAddQsoCommand(TextHolder& log, QsoEntryDialog& dialog)
{
    StripEndOfLog(log);

    QsoRecord& record = dialog.Record();
    record = StartingQsoValues();

    for (;;) {
        const int result = dialog.Run();
        if (result == kQsoDialogOk) {
            const std::string line = FormatQsoLine(record);
            // Only the length is read: the text itself is neither copied nor
            // scanned per contact.
            if (!LogHasRoomFor(log.Text().size(), line.size())) {
                // A longer log could be saved but never opened again. The
                // contact stays in the dialog, so nothing typed is lost.
                dialog.ReportLogFull();
                continue;
            }
            AppendQsoLine(log, line);
            record.m_strSentNr = NextSerial(record.m_strSentNr);
        }
        ClearReceived(record);
        // Cancel ends the command; so does a dialog that could not be shown,
        // which would otherwise be reopened without end.
        if (result != kQsoDialogOk)
            return;
    }
}
