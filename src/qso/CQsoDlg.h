#pragma once
// The contact entry dialog (dialog 130, caption "QSO"): date, time,
// frequency and mode on top, the sent and received call, exchange and serial
// number below, and the buttons Close, +, - and Add. The dialog holds the ten
// values of one contact as its members; DoDataExchange moves them between
// the members and the controls.

#include <QDialog>
#include <QFont>
#include <vector>

#include "qso/AddQsoCommand.h"
#include "qso/QsoRecord.h"

class DataExchange;
class QComboBox;
class QLineEdit;
class QPushButton;

enum QsoDialogId : int {
    IDD_QSO = 130,
    IDC_DATE = 1000,
    IDC_TIME = 1001,
    IDC_FREQ = 1002,
    IDC_SENT_CALL = 1003,
    IDC_SENT_OBL = 1004,
    IDC_SENT_NR = 1005,
    IDC_RCVD_CALL = 1006,
    IDC_RCVD_OBL = 1007,
    IDC_RCVD_NR = 1008,
    IDC_PLUS = 1009,
    IDC_MINUS = 1010,
    IDC_MODE = 1014,
};

class QEventLoop;

class CQsoDlg : public QDialog, public QsoRecord {
    Q_OBJECT

public:
    enum Result : int { IDOK = 1, IDCANCEL = 2, Failed = -1 };

    explicit CQsoDlg(QWidget* parent = nullptr);

    // Shows the dialog modally: IDOK after Add, IDCANCEL after Close, Esc or
    // the close box, Failed (-1) when the window could not be prepared.
    int DoModal();

    // Controls -> members (true) or members -> controls (false).
    bool UpdateData(bool saveAndValidate = true);
    void DoDataExchange(DataExchange& dx);

    // The dialog normally uses the system's fixed-pitch font at 8 points;
    // another font re-places every control on the same dialog-unit grid.
    void SetDialogFont(const QFont& font);
    static QFont DefaultDialogFont();

    // The control with that number (or nullptr), as the exchanges find it.
    QWidget* Control(int number) const;

    // Between one contact and the next the window stays on screen: were it
    // hidden and shown again, keys typed in between would reach the main
    // window. Hide() takes it down at the end.
    void SetKeepShownBetweenPasses(bool keep) { m_keepShown = keep; }

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void PlaceControls();
    bool OnInitDialog();
    bool FillLists();
    void OnOK();
    void OnStepTime(int direction);

    std::vector<QWidget*> m_controls; // in creation (template) order
    QPushButton* m_addButton = nullptr;
    QLineEdit* m_firstField = nullptr;
    bool m_keepShown = false;
    QEventLoop* m_passLoop = nullptr; // while a kept-shown pass runs
};

// The entry dialog as the Add QSO command drives it. The log view runs:
//   QsoDialogEntry entry(parentWidget);
//   RunAddQsoCommand(viewHolder, entry);
class QsoDialogEntry : public QsoEntryDialog {
public:
    explicit QsoDialogEntry(QWidget* parent = nullptr);
    ~QsoDialogEntry() override;

    QsoRecord& Record() override { return m_dialog; }
    int Run() override { return m_dialog.DoModal(); }
    void ReportLogFull() override;

    CQsoDlg& Dialog() { return m_dialog; }

private:
    CQsoDlg m_dialog;
};
