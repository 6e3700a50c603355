#include "view/LogPrinter.h"

#include "framework/MessageBox.h"
#include "view/CPrintPreviewDlg.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>
#include <vector>

namespace {

const char* const kCouldNotStart = "Could not start print job.";
const char* const kCommandFailed = "Command failed.";
const char* const kPrintingFailed = "The log could not be printed completely.";
constexpr int kMaxJobNameLength = 31;
constexpr int kLastChoosablePage = 65535;

// Every job draws from the paper's corner over the whole printable area.
void PreparePrinter(QPrinter& printer)
{
    printer.setFullPage(true);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
}

QString PrinterLabel(const QPrinter& printer)
{
    if (printer.printerName().isEmpty())
        return QStringLiteral("Print to File (PDF)");
    const QPrinterInfo info(printer);
    if (!info.isNull() && !info.description().isEmpty())
        return info.description();
    return printer.printerName();
}

QString WhereLabel(const QPrinter& printer)
{
    if (!printer.outputFileName().isEmpty())
        return QStringLiteral("to %1").arg(QDir::toNativeSeparators(printer.outputFileName()));
    return QStringLiteral("on %1").arg(printer.printerName());
}

// Pages of the job in printing order, repeated for the copies the printing
// system does not make by itself.
std::vector<int> PagesToPrint(const QPrinter& printer, int pageCount, bool onlyChosenPages)
{
    const QPageRanges ranges = printer.pageRanges();
    const bool useRanges =
        onlyChosenPages && printer.printRange() == QPrinter::PageRange && !ranges.isEmpty();
    std::vector<int> pages;
    for (int page = 1; page <= pageCount; ++page) {
        if (!useRanges || ranges.contains(page))
            pages.push_back(page);
    }
    if (printer.pageOrder() == QPrinter::LastPageFirst)
        std::reverse(pages.begin(), pages.end());

    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    if (copies == 1)
        return pages;
    std::vector<int> sequence;
    if (printer.collateCopies()) {
        for (int c = 0; c < copies; ++c)
            sequence.insert(sequence.end(), pages.begin(), pages.end());
    } else {
        for (const int page : pages)
            sequence.insert(sequence.end(), static_cast<size_t>(copies), page);
    }
    return sequence;
}

// The small window shown while a job prints. It is a window of its own, not
// a child of the main window, so that it stays usable while the main window
// is disabled. Cancel (or closing it) asks the job to stop after the page
// being printed; the window stays until the job has ended.
class PrintProgressDlg : public QDialog {
public:
    PrintProgressDlg(const QString& document, const QString& printer, const QString& where,
                     QWidget* mainWindow)
        : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    {
        setObjectName(QStringLiteral("printProgress"));
        setWindowTitle(QStringLiteral("Printing"));

        auto* layout = new QVBoxLayout(this);
        for (const QString& text : {document, printer, where}) {
            auto* label = new QLabel(text, this);
            label->setTextFormat(Qt::PlainText);
            label->setAlignment(Qt::AlignHCenter);
            layout->addWidget(label);
        }
        m_page = new QLabel(this);
        m_page->setObjectName(QStringLiteral("pageLabel"));
        m_page->setAlignment(Qt::AlignHCenter);
        layout->addWidget(m_page);

        auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
        cancel->setObjectName(QStringLiteral("cancelButton"));
        connect(cancel, &QPushButton::clicked, this, &PrintProgressDlg::reject);
        auto* buttons = new QHBoxLayout;
        buttons->addStretch();
        buttons->addWidget(cancel);
        buttons->addStretch();
        layout->addLayout(buttons);
        setMinimumWidth(fontMetrics().averageCharWidth() * 36);

        if (mainWindow && mainWindow->isVisible()) {
            adjustSize();
            move(mainWindow->frameGeometry().center() - rect().center());
            winId();
            if (windowHandle() && mainWindow->window()->windowHandle())
                windowHandle()->setTransientParent(mainWindow->window()->windowHandle());
        }
    }

    void ShowPage(int page) { m_page->setText(QStringLiteral("Page %1").arg(page)); }
    bool Cancelled() const { return m_cancelled; }

    void reject() override { m_cancelled = true; }

private:
    QLabel* m_page = nullptr;
    bool m_cancelled = false;
};

// Disables the main window for the life of a job and restores its state.
class MainWindowDisabler {
public:
    explicit MainWindowDisabler(QWidget* window) : m_window(window)
    {
        if (m_window) {
            m_wasEnabled = m_window->isEnabled();
            m_window->setEnabled(false);
        }
    }
    ~MainWindowDisabler()
    {
        if (m_window)
            m_window->setEnabled(m_wasEnabled);
    }
    MainWindowDisabler(const MainWindowDisabler&) = delete;
    MainWindowDisabler& operator=(const MainWindowDisabler&) = delete;

private:
    QPointer<QWidget> m_window;
    bool m_wasEnabled = true;
};

} // namespace

// ---------------------------------------------------------------------------

QFont PrintedLog::PointSizedFont(const QFont& screenFont)
{
    QFont font(screenFont);
    if (font.pointSizeF() > 0)
        return font;
    qreal dpi = 96;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        dpi = screen->logicalDotsPerInchY();
    const int pixels = font.pixelSize();
    font.setPointSizeF(pixels > 0 && dpi > 0 ? pixels * 72.0 / dpi : 10.0);
    return font;
}

std::optional<PrintedLog> PrintedLog::Make(const PrintSource& source, const QPrinter& printer)
{
    PrintedLog log;
    log.m_resolution = printer.resolution();
    const QPageLayout pageLayout = printer.pageLayout();
    if (log.m_resolution <= 0 || !pageLayout.isValid())
        return std::nullopt;

    // The printable area is the paper less what the printer cannot reach.
    QPageLayout printable = pageLayout;
    printable.setMode(QPageLayout::StandardMode);
    printable.setMargins(pageLayout.minimumMargins());
    log.m_paper = QSizeF(pageLayout.fullRectPixels(log.m_resolution).size());
    log.m_area = QRectF(printable.paintRectPixels(log.m_resolution));
    if (log.m_area.isEmpty())
        return std::nullopt;

    log.m_font = PointSizedFont(source.font);
    const QFontMetricsF metrics(log.m_font, &printer);
    log.m_lineHeight = metrics.height() + std::max<qreal>(0, metrics.leading());
    log.m_ascent = metrics.ascent();
    if (!(log.m_lineHeight > 0))
        return std::nullopt;

    log.m_layout = std::make_shared<const PageLayout>(
        source.text, log.m_area.width(), log.m_area.height(), log.m_lineHeight,
        [&metrics](const QString& text) { return metrics.horizontalAdvance(text); });
    log.m_title = source.documentTitle;
    return log;
}

void PrintedLog::PaintPage(QPainter& painter, int index, const QFont& font) const
{
    if (index < 0 || index >= PageCount())
        return;
    painter.save();
    painter.setFont(font);
    painter.setPen(Qt::black);
    qreal baseline = m_area.top() + m_ascent;
    for (const QString& line : m_layout->Page(index)) {
        if (!line.isEmpty())
            painter.drawText(QPointF(m_area.left(), baseline), line);
        baseline += m_lineHeight;
    }
    painter.restore();
}

// ---------------------------------------------------------------------------

// The printer has no QObject parent: whoever creates it owns it, and it only
// watches the main window, which may go first.
LogPrinter::LogPrinter(QWidget* mainWindow)
    : QObject(nullptr), m_mainWindow(mainWindow)
{
    // The printer is made when first needed: making one loads the system's
    // print support and asks it for the default printer, a sizeable part of
    // the program's start-up.
}

LogPrinter::~LogPrinter() = default;

QPrinter& LogPrinter::Printer()
{
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        PreparePrinter(*m_printer);
    }
    return *m_printer;
}

void LogPrinter::SetPrintDialogStep(DialogStep step)
{
    m_printDialogStep = std::move(step);
}

void LogPrinter::SetSetupDialogStep(DialogStep step)
{
    m_setupDialogStep = std::move(step);
}

QString LogPrinter::JobName(const QString& documentTitle)
{
    qsizetype length = std::min<qsizetype>(documentTitle.size(), kMaxJobNameLength);
    if (length < documentTitle.size() && length > 0 && documentTitle.at(length - 1).isHighSurrogate())
        --length;
    return documentTitle.left(length);
}

bool LogPrinter::RunPrintDialog(QPrinter& printer, QWidget* parent)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Print"));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange
                      | QAbstractPrintDialog::PrintShowPageSize
                      | QAbstractPrintDialog::PrintCollateCopies);
    dialog.setMinMax(1, kLastChoosablePage);
    return dialog.exec() == QDialog::Accepted;
}

bool LogPrinter::RunSetupDialog(QPrinter& printer, QWidget* parent)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Print Setup"));
    dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
    return dialog.exec() == QDialog::Accepted;
}

bool LogPrinter::Print(const PrintSource& source)
{
    if (m_busy)
        return false;
    // Every Print dialog starts from all pages, whatever the last job chose.
    Printer().setPrintRange(QPrinter::AllPages);
    Printer().setPageRanges(QPageRanges());
    Printer().setDocName(JobName(source.documentTitle));

    const DialogStep& step = m_printDialogStep ? m_printDialogStep : DialogStep(RunPrintDialog);
    if (!step(Printer(), m_mainWindow))
        return false;
    return RunJob(Printer(), source, true);
}

bool LogPrinter::PrintDirect(const PrintSource& source)
{
    return RunJob(Printer(), source, false);
}

bool LogPrinter::PrintDirectTo(const PrintSource& source, const QString& printerName)
{
    const QPrinterInfo info = QPrinterInfo::printerInfo(printerName);
    if (printerName.isEmpty() || info.isNull()) {
        ShowMessage(QString::fromLatin1(kCouldNotStart));
        return false;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    return RunJob(printer, source, false);
}

bool LogPrinter::PrintSetup()
{
    if (m_busy)
        return false;
    const DialogStep& step = m_setupDialogStep ? m_setupDialogStep : DialogStep(RunSetupDialog);
    const bool accepted = step(Printer(), m_mainWindow);
    PreparePrinter(Printer());
    return accepted;
}

bool LogPrinter::RunJob(QPrinter& printer, const PrintSource& source, bool onlyChosenPages)
{
    if (m_busy)
        return false;
    m_busy = true;
    struct BusyReset {
        bool& busy;
        ~BusyReset() { busy = false; }
    } busyReset{m_busy};

    PreparePrinter(printer);
    printer.setDocName(JobName(source.documentTitle));
    printer.setCreator(QStringLiteral("Vorlisk"));

    const std::optional<PrintedLog> log = PrintedLog::Make(source, printer);
    if (!log || !printer.isValid()) {
        ShowMessage(QString::fromLatin1(kCouldNotStart));
        return false;
    }
    const std::vector<int> pages = PagesToPrint(printer, log->PageCount(), onlyChosenPages);
    if (pages.empty())
        return true; // the chosen pages lie past the end of the log

    MainWindowDisabler disabler(m_mainWindow);
    PrintProgressDlg progress(printer.docName(), PrinterLabel(printer), WhereLabel(printer),
                              m_mainWindow);
    progress.show();
    QCoreApplication::processEvents();

    QPainter painter;
    if (!painter.begin(&printer)) {
        progress.hide();
        ShowMessage(QString::fromLatin1(kCouldNotStart));
        return false;
    }

    bool cancelled = false;
    bool failed = false;
    for (size_t i = 0; i < pages.size(); ++i) {
        if (i > 0 && !printer.newPage()) {
            failed = true;
            break;
        }
        progress.ShowPage(pages[i]);
        emit PageStarting(pages[i]);
        QCoreApplication::processEvents();
        log->PaintPage(painter, pages[i] - 1, log->Font());
        QCoreApplication::processEvents();
        if (progress.Cancelled()) {
            cancelled = i + 1 < pages.size();
            break;
        }
    }
    if (cancelled || failed)
        printer.abort();
    if (!painter.end())
        failed = !cancelled;
    progress.hide();

    if (failed)
        ShowMessage(QString::fromLatin1(kPrintingFailed));
    return !cancelled && !failed;
}

void LogPrinter::Preview(const PrintSource& source, int& previewPages)
{
    if (m_busy)
        return;
    PreparePrinter(Printer());
    const std::optional<PrintedLog> log = PrintedLog::Make(source, Printer());
    if (!log) {
        ShowMessage(QString::fromLatin1(kCommandFailed));
        return;
    }

    CPrintPreviewDlg dialog(*log, previewPages == 2 ? 2 : 1, m_mainWindow);
    connect(&dialog, &CPrintPreviewDlg::PagesShownChanged, this,
            [&previewPages](int pages) { previewPages = pages; });
    if (dialog.exec() == CPrintPreviewDlg::PrintRequested)
        Print(source);
}
