#include "view/CPrintPreviewDlg.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QVBoxLayout>
#include <QtMath>

#include <algorithm>

namespace {

constexpr int kBorder = 12; // grey space around the pages, in screen pixels
constexpr int kGap = 12;    // between two pages side by side

} // namespace

// Draws the shown pages on a grey ground, scaled to fit the view (zoom level
// 0) or larger, from the same page drawing that goes to the printer.
class CPrintPreviewDlg::Canvas : public QWidget {
public:
    explicit Canvas(const PrintedLog& log) : m_log(log)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    void SetView(int firstPage, int pagesShown, int zoomLevel, QSize viewport)
    {
        m_firstPage = firstPage;
        m_pagesShown = pagesShown;
        const QSizeF paper = m_log.PaperSize();
        const qreal fitWidth =
            (viewport.width() - 2 * kBorder - (pagesShown - 1) * kGap) / (pagesShown * paper.width());
        const qreal fitHeight = (viewport.height() - 2 * kBorder) / paper.height();
        const qreal fit = std::max<qreal>(std::min(fitWidth, fitHeight), 0.005);
        m_scale = fit * (1 << zoomLevel);

        const QSizeF pages(pagesShown * paper.width() * m_scale + (pagesShown - 1) * kGap,
                           paper.height() * m_scale);
        const QSize content(qCeil(pages.width()) + 2 * kBorder, qCeil(pages.height()) + 2 * kBorder);
        setFixedSize(content.expandedTo(viewport));
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(0x80, 0x80, 0x80));
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);

        const QSizeF paper = m_log.PaperSize() * m_scale;
        const qreal pagesWidth = m_pagesShown * paper.width() + (m_pagesShown - 1) * kGap;
        const qreal left = (width() - pagesWidth) / 2;
        const qreal top = std::max<qreal>(kBorder, (height() - paper.height()) / 2);

        // The printer font, sized so that on this widget it measures as many
        // pixels as on the printer; the painter then scales it with the page.
        QFont font = m_log.Font();
        font.setPointSizeF(font.pointSizeF() * m_log.Resolution() / logicalDpiY());

        for (int i = 0; i < m_pagesShown; ++i) {
            const int page = m_firstPage + i;
            if (page > m_log.PageCount())
                break;
            const QRectF sheet(QPointF(left + i * (paper.width() + kGap), top), paper);
            painter.fillRect(sheet.translated(3, 3), QColor(0x40, 0x40, 0x40));
            painter.fillRect(sheet, Qt::white);
            painter.setPen(QPen(Qt::black, 1));
            painter.drawRect(sheet);

            painter.save();
            painter.setClipRect(sheet);
            painter.translate(sheet.topLeft());
            painter.scale(m_scale, m_scale);
            m_log.PaintPage(painter, page - 1, font);
            painter.restore();
        }
    }

private:
    const PrintedLog& m_log;
    int m_firstPage = 1;
    int m_pagesShown = 1;
    qreal m_scale = 1;
};

CPrintPreviewDlg::CPrintPreviewDlg(const PrintedLog& log, int pagesShown, QWidget* mainWindow)
    : QDialog(mainWindow), m_log(log), m_pagesShown(pagesShown == 2 ? 2 : 1)
{
    setObjectName(QStringLiteral("printPreview"));
    setWindowTitle(QStringLiteral("%1 - Print Preview").arg(m_log.DocumentTitle()));
    setSizeGripEnabled(true);

    auto makeButton = [this](const QString& text, void (CPrintPreviewDlg::*slot)()) {
        auto* button = new QPushButton(text, this);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, slot);
        return button;
    };
    m_print = new QPushButton(QStringLiteral("&Print..."), this);
    m_print->setAutoDefault(false);
    connect(m_print, &QPushButton::clicked, this, [this] { done(PrintRequested); });
    m_next = makeButton(QStringLiteral("&Next Page"), &CPrintPreviewDlg::OnNextPage);
    m_prev = makeButton(QStringLiteral("Pre&v Page"), &CPrintPreviewDlg::OnPrevPage);
    m_toggle = makeButton(QString(), &CPrintPreviewDlg::OnTogglePages);
    m_zoomIn = makeButton(QStringLiteral("Zoom &In"), &CPrintPreviewDlg::OnZoomIn);
    m_zoomOut = makeButton(QStringLiteral("Zoom &Out"), &CPrintPreviewDlg::OnZoomOut);
    m_close = new QPushButton(QStringLiteral("&Close"), this);
    m_close->setAutoDefault(false);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("pageStatus"));

    auto* bar = new QHBoxLayout;
    for (QPushButton* button : {m_print, m_next, m_prev, m_toggle, m_zoomIn, m_zoomOut, m_close})
        bar->addWidget(button);
    bar->addStretch();
    bar->addWidget(m_status);

    m_canvas = new Canvas(m_log);
    m_scroll = new QScrollArea(this);
    m_scroll->setWidget(m_canvas);
    m_scroll->setAlignment(Qt::AlignCenter);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_scroll->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addLayout(bar);
    layout->addWidget(m_scroll, 1);

    auto* pageDown = new QShortcut(QKeySequence(Qt::Key_PageDown), this);
    connect(pageDown, &QShortcut::activated, this, &CPrintPreviewDlg::OnNextPage);
    auto* pageUp = new QShortcut(QKeySequence(Qt::Key_PageUp), this);
    connect(pageUp, &QShortcut::activated, this, &CPrintPreviewDlg::OnPrevPage);

    // As large as the main window, over it.
    if (mainWindow && !mainWindow->size().isEmpty()) {
        resize(mainWindow->size());
        if (mainWindow->isVisible())
            move(mainWindow->pos());
    } else {
        resize(800, 600);
    }
    m_scroll->setFocus();
    UpdateView();
}

CPrintPreviewDlg::~CPrintPreviewDlg() = default;

int CPrintPreviewDlg::PageCount() const
{
    return m_log.PageCount();
}

bool CPrintPreviewDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_scroll && event->type() == QEvent::Resize)
        UpdateView();
    return QDialog::eventFilter(watched, event);
}

void CPrintPreviewDlg::OnNextPage()
{
    if (m_currentPage + m_pagesShown - 1 < PageCount()) {
        ++m_currentPage;
        UpdateView();
    }
}

void CPrintPreviewDlg::OnPrevPage()
{
    if (m_currentPage > 1) {
        --m_currentPage;
        UpdateView();
    }
}

void CPrintPreviewDlg::OnTogglePages()
{
    m_pagesShown = m_pagesShown == 2 ? 1 : 2;
    UpdateView();
    emit PagesShownChanged(m_pagesShown);
}

void CPrintPreviewDlg::OnZoomIn()
{
    if (m_zoomLevel < MaxZoomLevel) {
        ++m_zoomLevel;
        UpdateView();
    }
}

void CPrintPreviewDlg::OnZoomOut()
{
    if (m_zoomLevel > 0) {
        --m_zoomLevel;
        UpdateView();
    }
}

void CPrintPreviewDlg::UpdateView()
{
    // Two pages side by side at the end show the last two.
    m_currentPage = std::clamp(m_currentPage, 1, std::max(1, PageCount() - m_pagesShown + 1));
    const int lastShown = std::min(PageCount(), m_currentPage + m_pagesShown - 1);

    m_next->setEnabled(lastShown < PageCount());
    m_prev->setEnabled(m_currentPage > 1);
    m_zoomIn->setEnabled(m_zoomLevel < MaxZoomLevel);
    m_zoomOut->setEnabled(m_zoomLevel > 0);
    m_toggle->setText(m_pagesShown == 2 ? QStringLiteral("&One Page") : QStringLiteral("&Two Page"));
    m_status->setText(lastShown > m_currentPage
                          ? QStringLiteral("Pages %1-%2").arg(m_currentPage).arg(lastShown)
                          : QStringLiteral("Page %1").arg(m_currentPage));

    m_canvas->SetView(m_currentPage, m_pagesShown, m_zoomLevel, m_scroll->maximumViewportSize());
}
