#pragma once
// Every message the program shows goes through here: caption "Vorlisk",
// exclamation (warning) icon, the given buttons. Tests install a handler to
// see the messages and answer them without a modal box.

#include <QString>
#include <functional>

enum class MessageButtons { Ok, YesNoCancel, YesNo };
enum class MessageIcon { Warning, Information, Question };
enum class MessageAnswer { Ok, Yes, No, Cancel };

MessageAnswer ShowMessage(const QString& text, MessageButtons buttons = MessageButtons::Ok,
                          MessageIcon icon = MessageIcon::Warning);

using MessageHandler = std::function<MessageAnswer(const QString& text, MessageButtons buttons)>;

// Replaces the message boxes (nullptr restores them); returns the previous handler.
MessageHandler SetMessageHandler(MessageHandler handler);
