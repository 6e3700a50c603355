#pragma once
// The log view: the one edit control that holds the whole log text, and the
// one class that speaks to QScintilla. Everything else reaches the text through
// the TextHolder face.

#include "log/TextHolder.h"

#include <Qsci/qsciscintillabase.h>

#include <QSet>

#include <cstddef>
#include <string_view>

class CVorliskView : public QsciScintillaBase, public TextHolder {
    Q_OBJECT
public:
    explicit CVorliskView(QWidget* parent = nullptr);

    // TextHolder: the log's bytes, exactly as they stand.
    std::string_view Text() const override;
    void ReplaceAll(std::string_view text) override;
    void AppendAtEnd(std::string_view text) override;

    // After every New and Open: the fixed-pitch font (and the tab stops that
    // depend on it) again, caret and view at the start.
    void OnInitialUpdate();

    QFont ViewFont() const { return m_font; }

    // The log has just been stored or put in fresh: the next edit of the
    // operator marks it modified again.
    void SetSavePoint();

    // The edit commands and their enable rules.
    void Undo();
    void Cut();
    void Copy();
    void Paste();
    bool CanUndo() const;
    bool HasSelection() const;
    static bool CanPaste();

    // The Add QSO command: cut the log at its end-of-log marker, then enter
    // contacts one after another until the entry dialog is closed.
    void OnAddQso();

    // Typed text stops here. Room is kept for the end-of-log line, so that
    // whatever is typed can always be saved and opened again.
    static std::size_t TypingLimit(std::string_view text);

signals:
    // The operator changed the text (typing, clipboard, undo) or a contact line
    // was appended: the log is now modified.
    void ModifiedByUser();
    // Selection or undo availability may have changed.
    void EditStateChanged();
    // Typed or pasted text was cut short at the size limit.
    void TextLimitReached();
    // Keypad plus pressed in the editor: the Add QSO command.
    void AddQsoKey();

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void ConfigureEditor();
    void ConfigureKeys();
    void ApplyFont();
    void ShowStart();
    void InstallLeanAccessibility();
    void LimitInsertion(int length);
    bool IsMappedKey(int qtKey, int scintillaModifiers);

    long Send(unsigned int message, unsigned long wParam = 0, long lParam = 0) const
    {
        return SendScintilla(message, wParam, lParam);
    }

    QFont m_font;
    QSet<unsigned long> m_mappedKeys; // the keys given back to the editor's key map
    int m_programChange = 0; // > 0 while the program itself replaces or appends
};
