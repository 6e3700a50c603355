#pragma once
// Mailing the log: the desktop's mail client opens a new message with the
// log as its one attachment (xdg-email). A copy made for the mail lives in a
// temporary folder until the program ends, since the mail client reads it
// after the call has returned.

#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <memory>

class CDocument;

class SendMail : public QObject {
    Q_OBJECT
public:
    explicit SendMail(QObject* parent = nullptr);
    ~SendMail() override;

    // True when a mail client can be asked (xdg-email is on PATH).
    static bool Available();

    // The Send command: a log without a path or with changes goes as a
    // temporary copy (the log keeps its path and modified flag); a saved,
    // unchanged log goes as its own file.
    void Send(CDocument& document);

    // The program the mail is handed to; tests point it at a script.
    void SetMailProgram(const QString& program) { m_program = program; }

signals:
    // The mail client was asked (successfully or not); for tests.
    void Finished(bool ok);

private:
    void Launch(const QString& file);

    QString m_program = QStringLiteral("xdg-email");
    std::unique_ptr<QTemporaryDir> m_tempDir;
};
