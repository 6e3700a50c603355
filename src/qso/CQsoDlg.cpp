#include "qso/CQsoDlg.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>
#include <algorithm>
#include <array>
#include <limits>

#include "framework/DataExchange.h"
#include "framework/DialogUnits.h"
#include "framework/MessageBox.h"
#include "qso/TimeStep.h"

namespace {

enum class Kind { Label, UpperCaseEdit, DigitsEdit, Button, DefaultButton, DropList };

// One control of the dialog: kind, number (0 for labels), text, position and
// size in dialog units, and the name an assistive tool reads for it. The
// order is the creation order and, for the controls that take the focus,
// the tab order.
struct ControlTemplate {
    Kind kind;
    int number;
    const char* text;
    int x, y, width, height;
    const char* accessibleName;
};

constexpr int kCloseButton = 2;
constexpr int kAddButton = 1;

constexpr std::array kControls{
    ControlTemplate{Kind::Label, 0, "Rcvd", 6, 69, 20, 8, nullptr},
    ControlTemplate{Kind::UpperCaseEdit, IDC_RCVD_CALL, "", 32, 68, 44, 12, "Rcvd call"},
    ControlTemplate{Kind::UpperCaseEdit, IDC_RCVD_OBL, "", 82, 68, 23, 12, "Rcvd Obl"},
    ControlTemplate{Kind::DigitsEdit, IDC_RCVD_NR, "", 111, 68, 40, 12, "Rcvd serial nr"},
    ControlTemplate{Kind::Button, kCloseButton, "Close", 3, 89, 50, 14, "Close"},
    ControlTemplate{Kind::Button, IDC_PLUS, "&+", 58, 89, 18, 14, "Time plus one minute"},
    ControlTemplate{Kind::Button, IDC_MINUS, "&-", 78, 89, 18, 14, "Time minus one minute"},
    ControlTemplate{Kind::DefaultButton, kAddButton, "Add", 101, 89, 50, 14, "Add"},
    ControlTemplate{Kind::Label, 0, "Date", 23, 3, 18, 8, nullptr},
    ControlTemplate{Kind::UpperCaseEdit, IDC_DATE, "", 3, 14, 50, 12, "Date"},
    ControlTemplate{Kind::Label, 0, "Time", 59, 3, 18, 8, nullptr},
    ControlTemplate{Kind::DigitsEdit, IDC_TIME, "", 54, 14, 26, 12, "Time"},
    ControlTemplate{Kind::Label, 0, "Freq:", 95, 3, 17, 8, nullptr},
    // Lists: the height is the dropped-down height; closed, a list is as high
    // as an edit field.
    ControlTemplate{Kind::DropList, IDC_FREQ, "", 81, 14, 40, 74, "Freq"},
    ControlTemplate{Kind::Label, 0, "Mode", 134, 3, 17, 8, nullptr},
    ControlTemplate{Kind::DropList, IDC_MODE, "", 122, 14, 29, 74, "Mode"},
    ControlTemplate{Kind::Label, 0, "CALL", 43, 39, 18, 8, nullptr},
    ControlTemplate{Kind::UpperCaseEdit, IDC_SENT_CALL, "", 32, 50, 44, 12, "Sent call"},
    ControlTemplate{Kind::Label, 0, "Obl", 88, 39, 12, 8, nullptr},
    ControlTemplate{Kind::UpperCaseEdit, IDC_SENT_OBL, "", 82, 50, 24, 12, "Sent Obl"},
    ControlTemplate{Kind::Label, 0, "Serial nr", 119, 39, 26, 8, nullptr},
    ControlTemplate{Kind::DigitsEdit, IDC_SENT_NR, "", 111, 50, 40, 12, "Sent serial nr"},
    ControlTemplate{Kind::Label, 0, "Sent:", 7, 52, 16, 8, nullptr},
};

constexpr int kDialogWidth = 155;
constexpr int kDialogHeight = 106;
constexpr int kClosedListHeight = 12;

// The frequency list's first item carries a trailing blank as it always
// has; the line written to the log takes its texts by position, not from here.
const std::array<const char*, 6> kFrequencyItems{" 1850 ", " 3500", " 7000", "14000", "21000", "28000"};
const std::array<const char*, 4> kModeItems{"CW", "PH", "RY", "TV"};

// Base of the edit rules: finds what an edit inserted by comparing the new
// text with the text the field last held. Only typed, pasted or dropped text
// is checked; text set by the program is taken as it stands.
class InsertionValidator : public QValidator {
public:
    explicit InsertionValidator(QLineEdit& edit) : QValidator(&edit)
    {
        connect(&edit, &QLineEdit::textChanged, this, [this](const QString& text) { m_previous = text; });
    }

    State validate(QString& input, int& /*pos*/) const override
    {
        const qsizetype shorter = std::min(input.size(), m_previous.size());
        qsizetype prefix = 0;
        while (prefix < shorter && input[prefix] == m_previous[prefix])
            ++prefix;
        qsizetype suffix = 0;
        while (suffix < shorter - prefix
               && input[input.size() - 1 - suffix] == m_previous[m_previous.size() - 1 - suffix])
            ++suffix;
        return CheckInserted(input, prefix, input.size() - suffix);
    }

protected:
    // The characters [begin, end) of `input` are new.
    virtual State CheckInserted(QString& input, qsizetype begin, qsizetype end) const = 0;

private:
    QString m_previous;
};

// Letters typed or pasted become capitals, one character for one, so the
// caret stays where it was.
class UpperCaseValidator final : public InsertionValidator {
public:
    using InsertionValidator::InsertionValidator;

protected:
    State CheckInserted(QString& input, qsizetype begin, qsizetype end) const override
    {
        for (qsizetype i = begin; i < end; ++i)
            input[i] = input[i].toUpper();
        return Acceptable;
    }
};

// Only the digits 0 to 9 can be typed or pasted; anything else is refused whole.
class DigitsValidator final : public InsertionValidator {
public:
    using InsertionValidator::InsertionValidator;

protected:
    State CheckInserted(QString& input, qsizetype begin, qsizetype end) const override
    {
        for (qsizetype i = begin; i < end; ++i) {
            if (input[i] < QLatin1Char('0') || input[i] > QLatin1Char('9'))
                return Invalid;
        }
        return Acceptable;
    }
};

} // namespace

CQsoDlg::CQsoDlg(QWidget* parent) : QDialog(parent)
{
    // A fixed dialog with a caption and a close box; no help or resize.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                   | Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(QStringLiteral("QSO"));
    setSizeGripEnabled(false);
    CreateControls();
    SetDialogFont(DefaultDialogFont());
}

QFont CQsoDlg::DefaultDialogFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(8);
    return font;
}

void CQsoDlg::CreateControls()
{
    QWidget* previousTabStop = nullptr;
    for (const ControlTemplate& t : kControls) {
        const QString text = QString::fromLatin1(t.text);
        QWidget* control = nullptr;
        switch (t.kind) {
        case Kind::Label: {
            auto* label = new QLabel(text, this);
            label->setTextFormat(Qt::PlainText);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            control = label;
            break;
        }
        case Kind::UpperCaseEdit:
        case Kind::DigitsEdit: {
            auto* edit = new QLineEdit(this);
            // No length limit: the field takes as much as the operator types.
            edit->setMaxLength(std::numeric_limits<int>::max());
            if (t.kind == Kind::UpperCaseEdit)
                edit->setValidator(new UpperCaseValidator(*edit));
            else
                edit->setValidator(new DigitsValidator(*edit));
            if (!m_firstField)
                m_firstField = edit;
            control = edit;
            break;
        }
        case Kind::Button:
        case Kind::DefaultButton: {
            auto* button = new QPushButton(text, this);
            // Enter presses the button that has the focus, else the default.
            button->setAutoDefault(true);
            if (t.kind == Kind::DefaultButton) {
                button->setDefault(true);
                m_addButton = button;
            }
            if (t.number == kAddButton)
                connect(button, &QPushButton::clicked, this, &CQsoDlg::OnOK);
            else if (t.number == kCloseButton)
                connect(button, &QPushButton::clicked, this, &QDialog::reject);
            else if (t.number == IDC_PLUS)
                connect(button, &QPushButton::clicked, this, [this] { OnStepTime(+1); });
            else if (t.number == IDC_MINUS)
                connect(button, &QPushButton::clicked, this, [this] { OnStepTime(-1); });
            control = button;
            break;
        }
        case Kind::DropList: {
            auto* list = new QComboBox(this);
            list->setEditable(false);
            list->setInsertPolicy(QComboBox::NoInsert);
            control = list;
            break;
        }
        }
        m_controls.push_back(control);
        if (t.number != 0)
            SetControlNumber(*control, t.number);
        if (t.accessibleName)
            control->setAccessibleName(QString::fromLatin1(t.accessibleName));
        if (t.kind != Kind::Label) {
            control->setFocusPolicy(Qt::StrongFocus);
            control->installEventFilter(this);
            if (previousTabStop)
                setTabOrder(previousTabStop, control);
            previousTabStop = control;
        }
    }
}

void CQsoDlg::SetDialogFont(const QFont& font)
{
    setFont(font);
    PlaceControls();
}

void CQsoDlg::PlaceControls()
{
    const DialogUnits units(font());
    const QFontMetrics metrics(font());
    const int dialogWidth = units.ToPixelsX(kDialogWidth);
    for (std::size_t i = 0; i < kControls.size() && i < m_controls.size(); ++i) {
        const ControlTemplate& t = kControls[i];
        const int height = t.kind == Kind::DropList ? kClosedListHeight : t.height;
        QRect rect = units.ToPixels(t.x, t.y, t.width, height);
        if (t.kind == Kind::Label) {
            // In a fixed-pitch font "Serial nr", "Freq:" and "Sent:" are wider
            // than their places; each has free room to its right, so the label
            // grows to show its whole text. One that would pass the dialog's
            // edge moves left just enough to stay inside.
            const int needed = metrics.horizontalAdvance(QString::fromLatin1(t.text));
            if (needed > rect.width()) {
                rect.setWidth(needed);
                if (rect.left() + rect.width() > dialogWidth)
                    rect.moveLeft(std::max(0, dialogWidth - rect.width()));
            }
        }
        m_controls[i]->setGeometry(rect);
    }
    setFixedSize(dialogWidth, units.ToPixelsY(kDialogHeight));
}

QWidget* CQsoDlg::Control(int number) const
{
    return FindControl(*this, number);
}

void CQsoDlg::DoDataExchange(DataExchange& dx)
{
    DDX_CBIndex(dx, IDC_FREQ, m_nBand);
    DDX_Text(dx, IDC_RCVD_CALL, m_strRcvdCall);
    DDX_Text(dx, IDC_DATE, m_strDate);
    DDX_Text(dx, IDC_SENT_CALL, m_strSentCall);
    DDX_Text(dx, IDC_RCVD_NR, m_strRcvdNr);
    DDX_Text(dx, IDC_RCVD_OBL, m_strRcvdObl);
    DDX_Text(dx, IDC_SENT_NR, m_strSentNr);
    DDX_Text(dx, IDC_SENT_OBL, m_strSentObl);
    DDX_Text(dx, IDC_TIME, m_strTime);
    DDX_CBIndex(dx, IDC_MODE, m_nMode);
}

bool CQsoDlg::UpdateData(bool saveAndValidate)
{
    DataExchange dx(*this, saveAndValidate);
    DoDataExchange(dx);
    return !dx.Failed();
}

bool CQsoDlg::FillLists()
{
    const auto fill = [this](int number, const auto& items) {
        auto* list = qobject_cast<QComboBox*>(Control(number));
        if (!list)
            return false;
        list->clear();
        for (const char* item : items)
            list->addItem(QString::fromLatin1(item));
        return list->count() == static_cast<int>(items.size());
    };
    return fill(IDC_FREQ, kFrequencyItems) && fill(IDC_MODE, kModeItems);
}

bool CQsoDlg::OnInitDialog()
{
    if (!FillLists() || !UpdateData(false))
        return false;
    // Every opening starts as a fresh window would: Add is the default
    // button and the received call has the focus.
    if (m_addButton)
        m_addButton->setDefault(true);
    if (m_firstField)
        m_firstField->setFocus(Qt::OtherFocusReason);
    return true;
}

int CQsoDlg::DoModal()
{
    if (!m_keepShown || !isVisible()) {
        if (!OnInitDialog())
            return Failed;
        if (!m_keepShown)
            return exec() == QDialog::Accepted ? IDOK : IDCANCEL;
        setWindowModality(Qt::ApplicationModal);
        show();
    } else if (!OnInitDialog()) {
        hide();
        return Failed;
    }
    // The window is up already: run this pass without taking it down.
    QEventLoop loop;
    m_passLoop = &loop;
    setResult(0);
    loop.exec(QEventLoop::DialogExec);
    m_passLoop = nullptr;
    const int outcome = result() == QDialog::Accepted ? IDOK : IDCANCEL;
    if (outcome != IDOK)
        hide();
    return outcome;
}

void CQsoDlg::done(int result)
{
    if (!m_passLoop) {
        QDialog::done(result);
        return;
    }
    setResult(result);
    m_passLoop->exit(result);
    emit finished(result);
    if (result == QDialog::Accepted)
        emit accepted();
    else if (result == QDialog::Rejected)
        emit rejected();
}

bool CQsoDlg::eventFilter(QObject* watched, QEvent* event)
{
    // The access keys of "&+" and "&-" are matched exactly by the shortcut
    // system. Where "+" needs Shift (or "-" does, on some layouts) and the
    // platform does not drop the Shift when matching, the key would reach
    // the focused field instead, and an edit field would even type the sign;
    // Alt with either sign presses its button all the same.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers chord =
            key->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier);
        if (chord == Qt::AltModifier && (key->key() == Qt::Key_Plus || key->key() == Qt::Key_Minus)) {
            auto* button = qobject_cast<QPushButton*>(Control(key->key() == Qt::Key_Plus ? IDC_PLUS : IDC_MINUS));
            if (button && button->isEnabled())
                button->animateClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CQsoDlg::OnOK()
{
    if (UpdateData(true))
        accept();
}

void CQsoDlg::OnStepTime(int direction)
{
    // Read first so that whatever was typed just before is kept.
    UpdateData(true);
    StepTime(*this, direction);
    UpdateData(false);
}

QsoDialogEntry::QsoDialogEntry(QWidget* parent) : m_dialog(parent)
{
    m_dialog.SetKeepShownBetweenPasses(true);
}

QsoDialogEntry::~QsoDialogEntry() { m_dialog.hide(); }

void QsoDialogEntry::ReportLogFull()
{
    ShowMessage(QStringLiteral(
        "The log is full: a log can hold at most 1,048,575 bytes, and this contact "
        "with the END-OF-LOG: line would make it larger. The contact has not been "
        "added and stays in the dialog.\n\n"
        "Close the dialog, save this log and start a new log for further contacts."));
}
