#include "view/CVorliskView.h"

#include "log/LogLimits.h"
#include "qso/AddQsoCommand.h"
#include "qso/CQsoDlg.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMimeData>

#include <algorithm>
#include <cstring>

namespace {
// A key of the editor's key map: key code and modifiers in one number.
constexpr unsigned long Key(int key, int modifiers = 0)
{
    return static_cast<unsigned long>(key) | (static_cast<unsigned long>(modifiers) << 16);
}

constexpr int kShift = QsciScintillaBase::SCMOD_SHIFT;
constexpr int kCtrl = QsciScintillaBase::SCMOD_CTRL;

// The editor's own accessibility object converts the caret position to a
// character offset by counting every character from the start of the text,
// on every caret move: at the end of a 1 MiB log that is milliseconds per
// keystroke. The log view presents itself as a plain editable-text widget.
QAccessibleInterface* LogViewAccessibleFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("CVorliskView") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::EditableText,
                                     QStringLiteral("Log"));
    return nullptr;
}
} // namespace

CVorliskView::CVorliskView(QWidget* parent)
    : QsciScintillaBase(parent)
    , m_font(QFontDatabase::systemFont(QFontDatabase::FixedFont))
{
    ConfigureEditor();
    ConfigureKeys();
    ApplyFont();
    InstallLeanAccessibility();
    connect(this, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int, int type, const char*, int length, int, int, int, int, int, int) {
                if ((type & SC_MOD_INSERTCHECK) && m_programChange == 0)
                    LimitInsertion(length);
            });
    // The first change after the text was put in or saved leaves the editor's
    // save point: that is the operator's edit that makes the log modified.
    connect(this, &QsciScintillaBase::SCN_SAVEPOINTLEFT, this, [this] {
        if (m_programChange == 0)
            emit ModifiedByUser();
    });
    connect(this, &QsciScintillaBase::SCN_UPDATEUI, this, [this](int updated) {
        if (updated & (SC_UPDATE_SELECTION | SC_UPDATE_CONTENT))
            emit EditStateChanged();
    });
}

void CVorliskView::ConfigureEditor()
{
    // Bytes in, bytes out: the locale's UTF-8, invalid sequences kept as they are.
    Send(SCI_SETCODEPAGE, SC_CP_UTF8);
    // Enter adds CR LF; line ends already in the text are never converted.
    Send(SCI_SETEOLMODE, SC_EOL_CRLF);
    Send(SCI_SETPASTECONVERTENDINGS, 1);
    // Lines wrap at the window edge; there is no sideways scrolling.
    Send(SCI_SETWRAPMODE, SC_WRAP_WORD);
    Send(SCI_SETHSCROLLBAR, 0);
    Send(SCI_SETVSCROLLBAR, 1);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // A plain edit control: no margins, numbers, folding, styling or popup menu.
    for (int margin = 0; margin < 5; ++margin)
        Send(SCI_SETMARGINWIDTHN, static_cast<unsigned long>(margin), 0);
    Send(SCI_SETMARGINLEFT, 0, 2);
    Send(SCI_SETMARGINRIGHT, 0, 2);
    Send(SCI_USEPOPUP, 0);
    Send(SCI_SETUSETABS, 1);
    Send(SCI_SETTABINDENTS, 0);
    Send(SCI_SETBACKSPACEUNINDENTS, 0);
    Send(SCI_SETMULTIPLESELECTION, 0);
    Send(SCI_SETADDITIONALSELECTIONTYPING, 0);
    // Only the insertion check is asked for. Every text-change notification
    // would make the editor's accessibility layer count the characters from
    // the start of the log to the change: a whole-log scan per keystroke.
    Send(SCI_SETMODEVENTMASK, SC_MOD_INSERTCHECK);
    // Lay out only what is on screen; wrapping of the rest happens when idle.
    Send(SCI_SETLAYOUTCACHE, SC_CACHE_PAGE);
}

void CVorliskView::ConfigureKeys()
{
    // The editor's own key map knows far more than an edit control (select all,
    // line duplication, case changes, zoom, redo ...). Start from nothing and
    // give back only the keys of a plain edit control. Clipboard and undo keys
    // belong to the main window's accelerators.
    Send(SCI_CLEARALLCMDKEYS);
    struct Binding {
        unsigned long key;
        unsigned int command;
    };
    const Binding bindings[] = {
        {Key(SCK_LEFT), SCI_CHARLEFT},
        {Key(SCK_LEFT, kShift), SCI_CHARLEFTEXTEND},
        {Key(SCK_LEFT, kCtrl), SCI_WORDLEFT},
        {Key(SCK_LEFT, kCtrl | kShift), SCI_WORDLEFTEXTEND},
        {Key(SCK_RIGHT), SCI_CHARRIGHT},
        {Key(SCK_RIGHT, kShift), SCI_CHARRIGHTEXTEND},
        {Key(SCK_RIGHT, kCtrl), SCI_WORDRIGHT},
        {Key(SCK_RIGHT, kCtrl | kShift), SCI_WORDRIGHTEXTEND},
        {Key(SCK_UP), SCI_LINEUP},
        {Key(SCK_UP, kShift), SCI_LINEUPEXTEND},
        {Key(SCK_DOWN), SCI_LINEDOWN},
        {Key(SCK_DOWN, kShift), SCI_LINEDOWNEXTEND},
        {Key(SCK_HOME), SCI_HOMEDISPLAY},
        {Key(SCK_HOME, kShift), SCI_HOMEDISPLAYEXTEND},
        {Key(SCK_HOME, kCtrl), SCI_DOCUMENTSTART},
        {Key(SCK_HOME, kCtrl | kShift), SCI_DOCUMENTSTARTEXTEND},
        {Key(SCK_END), SCI_LINEENDDISPLAY},
        {Key(SCK_END, kShift), SCI_LINEENDDISPLAYEXTEND},
        {Key(SCK_END, kCtrl), SCI_DOCUMENTEND},
        {Key(SCK_END, kCtrl | kShift), SCI_DOCUMENTENDEXTEND},
        {Key(SCK_PRIOR), SCI_PAGEUP},
        {Key(SCK_PRIOR, kShift), SCI_PAGEUPEXTEND},
        {Key(SCK_NEXT), SCI_PAGEDOWN},
        {Key(SCK_NEXT, kShift), SCI_PAGEDOWNEXTEND},
        {Key(SCK_BACK), SCI_DELETEBACK},
        {Key(SCK_BACK, kShift), SCI_DELETEBACK},
        {Key(SCK_DELETE), SCI_CLEAR},
        {Key(SCK_RETURN), SCI_NEWLINE},
        {Key(SCK_RETURN, kShift), SCI_NEWLINE},
    };
    for (const Binding& b : bindings) {
        Send(SCI_ASSIGNCMDKEY, b.key, static_cast<long>(b.command));
        m_mappedKeys.insert(b.key);
    }
}

void CVorliskView::ApplyFont()
{
    const QByteArray family = m_font.family().toUtf8();
    SendScintilla(SCI_STYLESETFONT, STYLE_DEFAULT, family.constData());
    const double points = m_font.pointSizeF() > 0 ? m_font.pointSizeF() : 10.0;
    Send(SCI_STYLESETSIZEFRACTIONAL, STYLE_DEFAULT, static_cast<long>(points * 100));
    Send(SCI_STYLESETBOLD, STYLE_DEFAULT, 0);
    Send(SCI_STYLESETITALIC, STYLE_DEFAULT, 0);
    const QPalette pal = palette();
    SendScintilla(SCI_STYLESETFORE, STYLE_DEFAULT, pal.color(QPalette::Text));
    SendScintilla(SCI_STYLESETBACK, STYLE_DEFAULT, pal.color(QPalette::Base));
    Send(SCI_STYLECLEARALL);
    SendScintilla(SCI_SETSELFORE, 1, pal.color(QPalette::HighlightedText));
    SendScintilla(SCI_SETSELBACK, 1, pal.color(QPalette::Highlight));
    SendScintilla(SCI_SETCARETFORE, pal.color(QPalette::Text));
    // Tab stops every 8 characters of the font.
    Send(SCI_SETTABWIDTH, 8);
}

void CVorliskView::OnInitialUpdate()
{
    m_font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    ApplyFont();
    ShowStart();
}

void CVorliskView::ShowStart()
{
    // Caret and view to the start without the editor's "make the caret
    // visible" step: for a caret on a line not yet wrapped, that step wraps
    // every line of the log at once (over half a second at 1 MiB). This way
    // the lines on screen are wrapped when painted and the rest when idle.
    Send(SCI_SETEMPTYSELECTION, 0);
    Send(SCI_SETFIRSTVISIBLELINE, 0);
}

std::string_view CVorliskView::Text() const
{
    const long length = Send(SCI_GETLENGTH);
    if (length <= 0)
        return {};
    const char* bytes = static_cast<const char*>(SendScintillaPtrResult(SCI_GETCHARACTERPOINTER));
    return {bytes, static_cast<std::size_t>(length)};
}

void CVorliskView::ReplaceAll(std::string_view text)
{
    ++m_programChange;
    Send(SCI_SETUNDOCOLLECTION, 0);
    const std::string_view old = Text();
    // Small changes at the end are made in place; anything else is a new text.
    constexpr std::size_t kSmallChange = 64 * 1024;
    const bool extendsOld = !old.empty() && text.size() >= old.size() &&
                            text.size() - old.size() <= kSmallChange &&
                            std::memcmp(text.data(), old.data(), old.size()) == 0;
    const bool cutsOld = !text.empty() && text.size() < old.size() &&
                         std::memcmp(text.data(), old.data(), text.size()) == 0;
    if (extendsOld) {
        // The new text only adds to the end (the end-of-log line on saving):
        // add just that, and the caret and scroll position stay where they are.
        const std::string_view tail = text.substr(old.size());
        SendScintilla(SCI_APPENDTEXT, static_cast<uintptr_t>(tail.size()), tail.data());
    } else if (cutsOld) {
        // The new text is the start of the old (the cut at the end-of-log marker).
        Send(SCI_DELETERANGE, text.size(), static_cast<long>(old.size() - text.size()));
    } else {
        // A new text altogether. Word wrap is switched off while it goes in:
        // inserting a large text into a wrapped view makes the editor track
        // every new line's wrapped height one by one; switching wrap back on
        // afterwards wraps lazily, only what is shown.
        Send(SCI_SETWRAPMODE, SC_WRAP_NONE);
        Send(SCI_CLEARALL);
        SendScintilla(SCI_APPENDTEXT, static_cast<uintptr_t>(text.size()), text.data());
        Send(SCI_SETWRAPMODE, SC_WRAP_WORD);
        ShowStart();
    }
    // Undo steps recorded before a change the program made behind them would
    // no longer fit the text: a replaced text starts a new undo history.
    Send(SCI_EMPTYUNDOBUFFER);
    Send(SCI_SETUNDOCOLLECTION, 1);
    --m_programChange;
    emit EditStateChanged();
}

void CVorliskView::AppendAtEnd(std::string_view text)
{
    ++m_programChange;
    Send(SCI_SETUNDOCOLLECTION, 0);
    SendScintilla(SCI_APPENDTEXT, static_cast<uintptr_t>(text.size()), text.data());
    const long end = Send(SCI_GETLENGTH);
    Send(SCI_SETSEL, static_cast<unsigned long>(end), end);
    Send(SCI_SCROLLCARET);
    Send(SCI_EMPTYUNDOBUFFER);
    Send(SCI_SETUNDOCOLLECTION, 1);
    --m_programChange;
    emit ModifiedByUser();
    emit EditStateChanged();
}

std::size_t CVorliskView::TypingLimit(std::string_view text)
{
    // Far from the limit the marker search is not needed at all.
    if (text.size() + kEndOfLogLine.size() < kMaxLogBytes)
        return kMaxLogBytes - kEndOfLogLine.size();
    return text.find(kEndOfLogMarker) == std::string_view::npos ? kMaxLogBytes - kEndOfLogLine.size()
                                                               : kMaxLogBytes;
}

void CVorliskView::InstallLeanAccessibility()
{
    // Factories installed last are asked first; the editor installs its own
    // when the first editor is built, so ours goes in after that, once.
    static const bool installed = [] {
        QAccessible::installFactory(LogViewAccessibleFactory);
        return true;
    }();
    (void)installed;
}

void CVorliskView::SetSavePoint() { Send(SCI_SETSAVEPOINT); }

void CVorliskView::LimitInsertion(int length)
{
    const std::string_view current = Text();
    const std::size_t limit = TypingLimit(current);
    const std::size_t room = current.size() < limit ? limit - current.size() : 0;
    if (length < 0 || static_cast<std::size_t>(length) <= room)
        return;
    // An insertion that does not fit is refused whole, with a beep and a
    // message: the operator sees that nothing went in, and no paste is ever
    // cut off somewhere in its middle.
    SendScintilla(SCI_CHANGEINSERTION, static_cast<uintptr_t>(0), "");
    QApplication::beep();
    emit TextLimitReached();
}

void CVorliskView::keyPressEvent(QKeyEvent* e)
{
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    if (e->key() == Qt::Key_Plus && (e->modifiers() & Qt::KeypadModifier) && mods == Qt::NoModifier) {
        // Keypad plus is the Add QSO key, never a typed "+".
        emit AddQsoKey();
        e->accept();
        return;
    }
    if (e->key() == Qt::Key_Tab && mods == Qt::NoModifier) {
        // Tab types a tab character, replacing any selection.
        SendScintilla(SCI_REPLACESEL, static_cast<uintptr_t>(0), "\t");
        e->accept();
        return;
    }
    if (e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab || e->key() == Qt::Key_Insert ||
        e->key() == Qt::Key_Escape) {
        e->ignore();
        return;
    }
    if (mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        // With Ctrl, Alt or Meta held a key is a command, never typed text;
        // the commands the view knows are in its key map.
        const int scintillaModifiers = ((mods & Qt::ShiftModifier) ? SCMOD_SHIFT : 0) |
                                       ((mods & Qt::ControlModifier) ? SCMOD_CTRL : 0) |
                                       ((mods & Qt::AltModifier) ? SCMOD_ALT : 0);
        if (!IsMappedKey(e->key(), scintillaModifiers)) {
            e->ignore();
            return;
        }
    }
    QsciScintillaBase::keyPressEvent(e);
}

void CVorliskView::OnAddQso()
{
    QsoDialogEntry entry(window());
    RunAddQsoCommand(*this, entry);
}

bool CVorliskView::IsMappedKey(int qtKey, int scintillaModifiers)
{
    int modifiers = scintillaModifiers;
    const int key = commandKey(qtKey, modifiers);
    return key != 0 && m_mappedKeys.contains(Key(key, modifiers));
}

void CVorliskView::Undo()
{
    if (CanUndo())
        Send(SCI_UNDO);
}

void CVorliskView::Cut() { Send(SCI_CUT); }

void CVorliskView::Copy() { Send(SCI_COPY); }

void CVorliskView::Paste() { Send(SCI_PASTE); }

bool CVorliskView::CanUndo() const { return Send(SCI_CANUNDO) != 0; }

bool CVorliskView::HasSelection() const { return Send(SCI_GETSELECTIONEMPTY) == 0; }

bool CVorliskView::CanPaste()
{
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data != nullptr && data->hasText();
}
