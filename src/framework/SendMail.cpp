#include "framework/SendMail.h"

#include "framework/CDocument.h"
#include "framework/MessageBox.h"
#include "log/LogFile.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

namespace {
const QString kSendFailed = QStringLiteral("Send Mail failed to send message.");
const QString kNoMailSystem = QStringLiteral("Unable to load mail system support.");
} // namespace

SendMail::SendMail(QObject* parent) : QObject(parent) {}

SendMail::~SendMail() = default;

bool SendMail::Available() { return !QStandardPaths::findExecutable(QStringLiteral("xdg-email")).isEmpty(); }

void SendMail::Send(CDocument& document)
{
    if (!document.GetPathName().empty() && !document.IsModified()) {
        Launch(PathText(document.GetPathName()));
        return;
    }
    if (!m_tempDir) {
        m_tempDir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/vorlisk-mail-XXXXXX"));
        if (!m_tempDir->isValid()) {
            m_tempDir.reset();
            ShowMessage(kSendFailed);
            return;
        }
    }
    // The attachment carries the log's own name ("Untitled" for a new log).
    const QString copy = m_tempDir->filePath(document.GetTitle());
    const bool wasModified = document.IsModified();
    Archive archive = Archive::ForStoring();
    document.Serialize(archive);
    const SaveResult saved = WriteLogFileSafely(PathBytes(copy), archive.Bytes());
    document.SetModifiedFlag(wasModified);
    if (!saved.ok) {
        ShowMessage(QString::fromStdString(saved.message));
        return;
    }
    Launch(copy);
}

void SendMail::Launch(const QString& file)
{
    auto* process = new QProcess(this);
    process->setProgram(m_program);
    process->setArguments({QStringLiteral("--attach"), file});
    process->setStandardInputFile(QProcess::nullDevice());
    connect(process, &QProcess::errorOccurred, this, [this, process](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        ShowMessage(kNoMailSystem);
        process->deleteLater();
        emit Finished(false);
    });
    connect(process, &QProcess::finished, this, [this, process](int exitCode, QProcess::ExitStatus status) {
        const bool ok = status == QProcess::NormalExit && exitCode == 0;
        if (!ok)
            ShowMessage(kSendFailed);
        process->deleteLater();
        emit Finished(ok);
    });
    process->start();
}
