#include "framework/MessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace {
MessageHandler& Handler()
{
    static MessageHandler handler;
    return handler;
}
} // namespace

MessageHandler SetMessageHandler(MessageHandler handler)
{
    MessageHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}

MessageAnswer ShowMessage(const QString& text, MessageButtons buttons, MessageIcon icon)
{
    if (Handler())
        return Handler()(text, buttons);

    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(QStringLiteral("Vorlisk"));
    box.setText(text);
    box.setTextFormat(Qt::PlainText);
    switch (icon) {
    case MessageIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MessageIcon::Question: box.setIcon(QMessageBox::Question); break;
    }
    switch (buttons) {
    case MessageButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    case MessageButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    case QMessageBox::Cancel: return MessageAnswer::Cancel;
    default: return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
    }
}
