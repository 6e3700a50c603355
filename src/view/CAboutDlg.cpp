#include "view/CAboutDlg.h"

#include "framework/DialogUnits.h"

#include <QFontDatabase>
#include <QLabel>
#include <QPushButton>

namespace {

// Dialog template: sizes and positions in dialog units.
constexpr int kDialogWidth = 235;
constexpr int kDialogHeight = 55;
constexpr int kDialogPointSize = 8;
constexpr int kIconPixels = 32;

// A static text control: plain text, top left, no '&' accelerator processing.
QLabel* MakeStaticText(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setText(text);
    return label;
}

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("About Vorlisk"));
    setModal(true);

    QFont dialogFont = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    dialogFont.setPointSize(kDialogPointSize);
    setFont(dialogFont);
    const DialogUnits units(dialogFont);
    setFixedSize(units.ToPixelsX(kDialogWidth), units.ToPixelsY(kDialogHeight));

    // Controls are created in tab order.
    m_icon = new QLabel(this);
    m_icon->setObjectName(QStringLiteral("icon"));
    m_icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_icon->setPixmap(VorliskIcon().pixmap(QSize(kIconPixels, kIconPixels), devicePixelRatioF()));
    // An icon control takes the icon's size at its place, so a small dialog
    // font never crops the icon.
    QRect iconRect = units.ToPixels(7, 11, 21, 20);
    iconRect.setSize(iconRect.size().expandedTo(QSize(kIconPixels, kIconPixels)));
    m_icon->setGeometry(iconRect);

    m_version = MakeStaticText(QStringLiteral("Vorlisk Version 1.0"), this);
    m_version->setObjectName(QStringLiteral("version"));
    m_version->setToolTip(QStringLiteral("Build " VORLISK_VERSION));
    m_version->setGeometry(units.ToPixels(40, 10, 119, 8));

    m_notice = MakeStaticText(QStringLiteral("© 2026 the Vorlisk developers"), this);
    m_notice->setObjectName(QStringLiteral("notice"));
    m_notice->setGeometry(units.ToPixels(40, 25, 119, 8));

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("ok"));
    m_ok->setDefault(true);
    m_ok->setGeometry(units.ToPixels(178, 7, 50, 14));
    connect(m_ok, &QPushButton::clicked, this, [this] { done(IDOK); });
    m_ok->setFocus();
}

int CAboutDlg::DoModal() { return exec(); }

void CAboutDlg::reject() { done(IDCANCEL); }

QIcon VorliskIcon()
{
    // The prepared renderings, the same whether or not an SVG icon engine is
    // installed; the desktop's own theme holds the scalable drawing.
    QIcon icon;
    for (const int size : kVorliskIconSizes)
        icon.addFile(QStringLiteral(":/icons/hicolor/%1x%1/apps/vorlisk.png").arg(size),
                     QSize(size, size));
    return icon;
}
