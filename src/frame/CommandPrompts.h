#pragma once
// The prompt text of each command: the part before the first "\n" is the
// status-bar prompt shown while the command is highlighted in a menu or the
// mouse rests on its toolbar button; the part after it is the button's
// tooltip. The idle message "Ready" has its own number.

#include <QString>

inline constexpr int ID_IDLE_MESSAGE = 57345;

// Tooltips are cut to this many characters.
inline constexpr int kMaxToolTipLength = 80;

struct CommandPrompt {
    QString statusPrompt;
    QString toolTip;
};

// The whole prompt text of a command as stored ("status\ntooltip"), or an
// empty string for a number without a prompt.
QString CommandPromptText(int commandId);

// The prompt split into its two parts; both are empty for a number without a
// prompt, and the tooltip is empty for a command that has no tooltip part.
CommandPrompt CommandPromptFor(int commandId);

QString CommandStatusPrompt(int commandId);
QString CommandToolTip(int commandId);
