#include "log/CVorliskDoc.h"

#include "framework/MessageBox.h"
#include "log/HeaderTemplate.h"
#include "log/LogLimits.h"
#include "log/LogText.h"

bool CVorliskDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return false;
    std::string header = LoadHeaderTemplate();
    // A template too large for a log (a wrong file under its name) would
    // give a new log that could never be saved: keep the whole lines that
    // fit with room for the end-of-log line, and say so.
    const std::size_t room = kMaxLogBytes - kEndOfLogLine.size();
    if (header.size() > room) {
        const std::size_t lastLineEnd = header.rfind("\r\n", room - 2);
        header.resize(lastLineEnd == std::string::npos ? 0 : lastLineEnd + 2);
        ShowMessage(QStringLiteral("The header template %1 is larger than a log may be; "
                                   "only its first lines were used.")
                        .arg(QString::fromUtf8(kHeaderTemplateFileName)));
    }
    GetFirstView()->ReplaceAll(header);
    return true;
}

void CVorliskDoc::Serialize(Archive& archive)
{
    TextHolder& view = *GetFirstView();
    if (archive.IsStoring()) {
        EnsureEndOfLog(view);
        archive.Write(view.Text());
    } else {
        view.ReplaceAll(archive.Bytes());
    }
}
