#pragma once
// Printing, print setup and print preview of the log.
//
// The log is printed as plain text in the view's fixed-pitch font over the
// whole printable area of the paper: no margins, header, footer or page
// numbers (see PageLayout for how lines and pages are formed). One printer,
// the system default until Print Setup picks another, serves every job.

#include "view/PageLayout.h"

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QPrinter>
#include <QRectF>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QPainter;
class QWidget;

struct PrintSource {
    std::string text;      // the log's bytes (UTF-8 mostly; may hold NUL and invalid UTF-8)
    QFont font;            // the view's screen font (fixed pitch)
    QString documentTitle; // "Untitled" or the file name
};

// The log laid out for one printer: the pages and what is needed to draw them,
// on the printer itself or scaled on screen.
class PrintedLog {
public:
    // Empty when the printer offers no room to print on.
    static std::optional<PrintedLog> Make(const PrintSource& source, const QPrinter& printer);

    int PageCount() const { return m_layout->PageCount(); }
    const PageLayout& Layout() const { return *m_layout; }
    // Paper size and printable area in printer pixels, with the paper's
    // top-left corner as origin.
    QSizeF PaperSize() const { return m_paper; }
    QRectF PrintableArea() const { return m_area; }
    int Resolution() const { return m_resolution; }
    qreal LineHeight() const { return m_lineHeight; }
    // The view's font sized in points, which a painter on the printer scales.
    const QFont& Font() const { return m_font; }
    const QString& DocumentTitle() const { return m_title; }

    // Draws page `index` (from 0) in printer pixels with `font`, which must
    // come out at the printer font's size on the painter's device.
    void PaintPage(QPainter& painter, int index, const QFont& font) const;

    // The view's font with its size in points; a size given in screen pixels
    // is converted with the screen's resolution.
    static QFont PointSizedFont(const QFont& screenFont);

private:
    PrintedLog() = default;
    std::shared_ptr<const PageLayout> m_layout;
    QSizeF m_paper;
    QRectF m_area;
    int m_resolution = 0;
    qreal m_lineHeight = 0;
    qreal m_ascent = 0;
    QFont m_font;
    QString m_title;
};

class LogPrinter : public QObject {
    Q_OBJECT
public:
    // Shows a dialog for `printer` over `parent`; true when the user accepted.
    using DialogStep = std::function<bool(QPrinter& printer, QWidget* parent)>;

    // mainWindow is disabled while a job prints and parents the dialogs; it
    // does not own the printer (the creator does).
    explicit LogPrinter(QWidget* mainWindow);
    ~LogPrinter() override;

    QPrinter& Printer();                         // kept for later jobs
    bool Print(const PrintSource& source);       // print dialog, then the job
    bool PrintDirect(const PrintSource& source); // current printer, no dialog
    bool PrintDirectTo(const PrintSource& source, const QString& printerName);
    bool PrintSetup();                           // printer choice kept for later jobs
    void Preview(const PrintSource& source, int& previewPages); // previewPages: 1 or 2

    // Replace the print or printer-setup dialog (tests); nullptr restores it.
    void SetPrintDialogStep(DialogStep step);
    void SetSetupDialogStep(DialogStep step);

    // The real dialogs; they run when no step replaces them.
    static bool RunPrintDialog(QPrinter& printer, QWidget* parent);
    static bool RunSetupDialog(QPrinter& printer, QWidget* parent);

    // The print job's name: the document title cut to 31 characters.
    static QString JobName(const QString& documentTitle);

signals:
    // While a job prints: the progress dialog shows `pageNumber` and that
    // page is about to be drawn.
    void PageStarting(int pageNumber);

private:
    bool RunJob(QPrinter& printer, const PrintSource& source, bool onlyChosenPages);

    QPointer<QWidget> m_mainWindow;
    std::unique_ptr<QPrinter> m_printer;
    DialogStep m_printDialogStep;
    DialogStep m_setupDialogStep;
    bool m_busy = false;
};
