#include "frame/CommandPrompts.h"


namespace {

struct PromptEntry {
    int firstId;
    int lastId;
    const char* text;
};

// One entry may cover a range of numbers (the recent-file entries share one prompt).
constexpr PromptEntry kPrompts[] = {
    {57345, 57345, "Ready"},
    {57600, 57600, "Create a new document\nNew"},
    {57601, 57601, "Open an existing document\nOpen"},
    {57603, 57603, "Save the active document\nSave"},
    {57604, 57604, "Save the active document with a new name\nSave As"},
    {57606, 57606, "Change the printer and printing options\nPrint Setup"},
    {57607, 57607, "Print the active document\nPrint"},
    {57609, 57609, "Display full pages\nPrint Preview"},
    {57612, 57612, "Send the active document through electronic mail\nSend Mail"},
    {57616, 57631, "Open this document"},
    {57634, 57634, "Copy the selection and put it on the Clipboard\nCopy"},
    {57635, 57635, "Cut the selection and put it on the Clipboard\nCut"},
    {57637, 57637, "Insert Clipboard contents\nPaste"},
    {57643, 57643, "Undo the last action\nUndo"},
    {57664, 57664, "Display program information, version number and copyright\nAbout"},
    {57665, 57665, "Quit the application; prompts to save documents\nExit"},
    {57680, 57680, "Switch to the next window pane\nNext Pane"},
    {57681, 57681, "Switch back to the previous window pane\nPrevious Pane"},
    {32771, 32771, "Add QSO"},
    {59392, 59392, "Show or hide the toolbar\nToggle ToolBar"},
    {59393, 59393, "Show or hide the status bar\nToggle StatusBar"},
};

} // namespace

QString CommandPromptText(int commandId)
{
    for (const PromptEntry& entry : kPrompts) {
        if (commandId >= entry.firstId && commandId <= entry.lastId)
            return QString::fromLatin1(entry.text);
    }
    return {};
}

CommandPrompt CommandPromptFor(int commandId)
{
    const QString text = CommandPromptText(commandId);
    const qsizetype newline = text.indexOf(QLatin1Char('\n'));
    if (newline < 0)
        return {text, {}};
    return {text.left(newline), text.mid(newline + 1).left(kMaxToolTipLength)};
}

QString CommandStatusPrompt(int commandId)
{
    return CommandPromptFor(commandId).statusPrompt;
}

QString CommandToolTip(int commandId)
{
    return CommandPromptFor(commandId).toolTip;
}
