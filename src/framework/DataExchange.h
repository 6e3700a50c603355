#pragma once
// Dialog data exchange: moves values between a dialog's controls and the
// members that hold them, in one direction per pass. A dialog lists its
// exchanges once in DoDataExchange; the same list then serves to write the
// members into the controls (when the dialog opens) and to read them back.
//
// Controls are found by their control number, kept as the widget's object
// name (see SetControlNumber). Text crosses as UTF-8: std::string holds the
// bytes, QString only lives in the widgets.

#include <string>

class QComboBox;
class QLineEdit;
class QWidget;

class DataExchange {
public:
    // saveAndValidate true: controls -> members; false: members -> controls.
    DataExchange(QWidget& dialog, bool saveAndValidate);

    bool SaveAndValidate() const { return m_saveAndValidate; }
    QWidget& Dialog() const { return m_dialog; }

    // An exchange that could not be done (a control missing or of the wrong
    // kind) marks the pass failed; the exchanges after it are skipped.
    bool Failed() const { return m_failedControl != 0; }
    int FailedControl() const { return m_failedControl; }
    void Fail(int controlNumber);

private:
    QWidget& m_dialog;
    bool m_saveAndValidate;
    int m_failedControl = 0;
};

// Give a control its number, by which the exchanges and tests find it.
void SetControlNumber(QWidget& control, int number);

// The direct child of `dialog` with that number, or nullptr.
QWidget* FindControl(const QWidget& dialog, int number);

// The text of an edit control <-> a byte string (UTF-8).
void DDX_Text(DataExchange& dx, int controlNumber, std::string& value);

// The selected position of a drop-down list <-> an int. No selection reads
// as -1; writing -1, or a position the list does not have, clears the
// selection.
void DDX_CBIndex(DataExchange& dx, int controlNumber, int& index);
