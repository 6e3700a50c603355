#pragma once
// The About box: program icon, name and version, a notice line and OK.
// Laid out on the dialog-unit grid of its 8-point dialog font.

#include <QDialog>
#include <QIcon>

class QLabel;
class QPushButton;

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    enum { IDD = 100 };

    // Dialog results, as DoModal reports them.
    enum { IDOK = 1, IDCANCEL = 2 };

    explicit CAboutDlg(QWidget* parent = nullptr);

    // Shows the box modally until OK (IDOK) or Esc / the close box (IDCANCEL).
    int DoModal();

public slots:
    // Esc and the close box end the dialog with IDCANCEL rather than 0.
    void reject() override;

private:
    QLabel* m_icon;
    QLabel* m_version;
    QLabel* m_notice;
    QPushButton* m_ok;
};

// The program icon: the drawing scaled by an SVG icon engine where Qt has one,
// and the prepared PNG renderings at the usual sizes in any case.
QIcon VorliskIcon();

// Sizes of the prepared PNG renderings of the program icon.
inline constexpr int kVorliskIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
