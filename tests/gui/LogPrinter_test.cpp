// Printing the log to PDF files (no printer needed) and reading the result
// back with poppler's pdftotext and pdfinfo; the preview window driven from
// inside its modal loop.
#include "framework/MessageBox.h"
#include "view/CPrintPreviewDlg.h"
#include "view/LogPrinter.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPageSize>
#include <QPrintDialog>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

// ---- helpers ---------------------------------------------------------------

class MessageCapture {
public:
    MessageCapture()
    {
        m_previous = SetMessageHandler([this](const QString& text, MessageButtons) {
            m_messages << text;
            return MessageAnswer::Ok;
        });
    }
    ~MessageCapture() { SetMessageHandler(m_previous); }
    const QStringList& Messages() const { return m_messages; }

private:
    QStringList m_messages;
    MessageHandler m_previous;
};

QString RunTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120000)) {
        process.kill();
        ADD_FAILURE() << program.toStdString() << " did not finish";
        return {};
    }
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of each page as pdftotext lays it out, without trailing blanks
// and blank lines at the end of the page.
std::vector<QStringList> PdfPages(const QString& pdf)
{
    QStringList chunks = RunTool("pdftotext", {"-layout", pdf, "-"}).split(u'\f');
    if (!chunks.isEmpty() && chunks.last().trimmed().isEmpty())
        chunks.removeLast(); // after the last form feed
    std::vector<QStringList> pages;
    for (const QString& chunk : chunks) {
        QStringList lines = chunk.split(u'\n');
        for (QString& line : lines) {
            while (line.endsWith(u' '))
                line.chop(1);
        }
        while (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        pages.push_back(lines);
    }
    return pages;
}

std::map<QString, QString> PdfInfo(const QString& pdf)
{
    std::map<QString, QString> info;
    for (const QString& line : RunTool("pdfinfo", {pdf}).split(u'\n')) {
        const qsizetype colon = line.indexOf(u':');
        if (colon > 0)
            info[line.left(colon)] = line.mid(colon + 1).trimmed();
    }
    return info;
}

int PdfPageCount(const QString& pdf)
{
    return PdfInfo(pdf)["Pages"].toInt();
}

struct Word {
    QString text;
    double xMin, yMin, xMax, yMax;
};

// Words of the first page with their boxes in PDF points.
std::vector<Word> PdfWords(const QString& pdf)
{
    const QString html = RunTool("pdftotext", {"-bbox", "-f", "1", "-l", "1", pdf, "-"});
    static const QRegularExpression word(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    std::vector<Word> words;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        words.push_back({m.captured(5), m.captured(1).toDouble(), m.captured(2).toDouble(),
                         m.captured(3).toDouble(), m.captured(4).toDouble()});
    }
    return words;
}

// Standard strings, so that failures print readable text.
std::vector<std::string> Std(const QStringList& list)
{
    std::vector<std::string> out;
    for (const QString& s : list)
        out.push_back(s.toStdString());
    return out;
}

std::vector<std::vector<std::string>> Std(const std::vector<QStringList>& pages)
{
    std::vector<std::vector<std::string>> out;
    for (const QStringList& page : pages)
        out.push_back(Std(page));
    return out;
}

QFont LogFont(int points = 10)
{
    return QFont(QStringLiteral("DejaVu Sans Mono"), points);
}

PrintSource Source(const std::string& text, const QString& title = QStringLiteral("Untitled"))
{
    return PrintSource{text, LogFont(), title};
}

std::string NumberedLines(int count)
{
    std::string text;
    for (int i = 1; i <= count; ++i)
        text += "line " + std::to_string(1000 + i).substr(1) + "\r\n";
    return text;
}

// A contest log: header lines, `contacts` QSO lines and the end marker.
std::string ContestLog(int contacts)
{
    std::string text = "START-OF-LOG: 3.0\r\nCONTEST: CQ-WW-CW\r\nCALLSIGN: N0CALL\r\n"
                       "CATEGORY-OPERATOR: SINGLE-OP\r\nCATEGORY-BAND: ALL\r\n"
                       "CATEGORY-MODE: CW\r\nCLAIMED-SCORE: 0\r\nNAME: Pat Example\r\n"
                       "CREATED-BY: Vorlisk 1.0\r\n";
    for (int i = 1; i <= contacts; ++i) {
        char line[96];
        std::snprintf(line, sizeof line,
                      "QSO: %5d CW 2024-11-30 %02d%02d N0CALL        599 14     DL%dABC        599 14\r\n",
                      i % 2 ? 7005 : 14025, (i / 60) % 24, i % 60, i % 10);
        text += line;
    }
    return text + "END-OF-LOG:\r\n";
}

QWidget* VisibleTopLevel(const QString& objectName)
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == objectName && widget->isVisible())
            return widget;
    }
    return nullptr;
}

class LogPrinterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_mainWindow.resize(900, 700);
        m_printer = std::make_unique<LogPrinter>(&m_mainWindow);
    }

    QString Path(const QString& name) const { return m_dir.filePath(name); }

    static void ToPdf(QPrinter& printer, const QString& path)
    {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Portrait);
    }

    // Prints with the current printer sent to a PDF file.
    bool PrintToPdf(const PrintSource& source, const QString& path)
    {
        ToPdf(m_printer->Printer(), path);
        return m_printer->PrintDirect(source);
    }

    QTemporaryDir m_dir;
    QWidget m_mainWindow;
    MessageCapture m_messages;
    std::unique_ptr<LogPrinter> m_printer;
};

// ---- printing ----------------------------------------------------------------

// The printout holds the log's lines and nothing else (no header, footer or
// page number), and the columns of a "QSO:" line stay where they are.
TEST_F(LogPrinterTest, PrintsTheLogAsItStandsWithNothingAdded)
{
    const QString qso =
        "QSO:  7005 CW 2024-01-06 1201 N0CALL        599 001    DL1ABC        599 017";
    const std::string log = "START-OF-LOG: 3.0\r\n"
                            "CALLSIGN: N0CALL\r\n"
                            "\r\n"
                            + qso.toStdString() + "\r\n"
                            "END-OF-LOG:\r\n";
    const QString pdf = Path("log.pdf");
    ASSERT_TRUE(PrintToPdf(Source(log), pdf));

    // pdftotext closes up runs of blanks, so compare the words of each line.
    const std::vector<QStringList> pages = PdfPages(pdf);
    ASSERT_EQ(pages.size(), 1u);
    QStringList simplified;
    for (const QString& line : pages[0])
        simplified << line.simplified();
    EXPECT_EQ(Std(simplified), Std(QStringList{"START-OF-LOG: 3.0", "CALLSIGN: N0CALL", "",
                                               qso.simplified(), "END-OF-LOG:"}));

    // Each word of the QSO line starts at its character column.
    std::vector<Word> qsoWords;
    for (const Word& w : PdfWords(pdf)) {
        if (!qsoWords.empty() ? w.yMin == qsoWords.front().yMin : w.text == "QSO:")
            qsoWords.push_back(w);
    }
    const QStringList expectedWords = qso.split(u' ', Qt::SkipEmptyParts);
    ASSERT_EQ(qsoWords.size(), static_cast<size_t>(expectedWords.size()));
    const double advance = (qsoWords[0].xMax - qsoWords[0].xMin) / 4;
    qsizetype column = 0;
    for (const Word& w : qsoWords) {
        column = qso.indexOf(w.text, column);
        ASSERT_GE(column, 0) << w.text.toStdString();
        EXPECT_NEAR(w.xMin, column * advance, advance / 4) << w.text.toStdString();
        column += w.text.size();
    }
    EXPECT_TRUE(m_messages.Messages().isEmpty());
    EXPECT_TRUE(m_mainWindow.isEnabled());
}

TEST_F(LogPrinterTest, BadBytesPrintAsReplacementCharacters)
{
    const QString pdf = Path("bad.pdf");
    ASSERT_TRUE(PrintToPdf(Source(std::string("CALL\xff\0END\r\n", 10)), pdf));
    const std::vector<QStringList> pages = PdfPages(pdf);
    ASSERT_EQ(pages.size(), 1u);
    ASSERT_EQ(pages[0].size(), 1);
    EXPECT_TRUE(pages[0][0].startsWith(QStringLiteral("CALL\uFFFD"))) << pages[0][0].toStdString();
    EXPECT_TRUE(pages[0][0].endsWith(QStringLiteral("END"))) << pages[0][0].toStdString();
}

TEST_F(LogPrinterTest, EmptyLogPrintsOneBlankPage)
{
    const QString pdf = Path("empty.pdf");
    ASSERT_TRUE(PrintToPdf(Source(""), pdf));
    EXPECT_EQ(PdfPageCount(pdf), 1);
    const std::vector<QStringList> pages = PdfPages(pdf);
    EXPECT_TRUE(pages.empty() || pages[0].isEmpty());
}

// A line of words wraps at the last blank that fits, an overlong word is cut
// at the width, and no character is lost. The cut word shows how many
// characters a printed line holds.
TEST_F(LogPrinterTest, LongLinesWrapAtBlanksAndLongWordsAreCut)
{
    QStringList words;
    for (int i = 0; i < 120; ++i)
        words << QString(1 + (i * 5) % 9, QChar(u'a' + i % 26)) + QString::number(i);
    const QString wordLine = words.join(u' ');
    const QString longWord(300, u'X');
    const std::string log = (wordLine + "\r\n" + longWord + "\r\n").toStdString();

    const QString pdf = Path("wrap.pdf");
    ASSERT_TRUE(PrintToPdf(Source(log), pdf));
    const std::vector<QStringList> pages = PdfPages(pdf);
    ASSERT_EQ(pages.size(), 1u);
    const QStringList& lines = pages[0];

    QStringList wordLines;
    QStringList cutLines;
    for (const QString& line : lines)
        (line.startsWith(u'X') ? cutLines : wordLines) << line;

    ASSERT_GE(cutLines.size(), 3);
    const qsizetype perLine = cutLines[0].size();
    for (qsizetype i = 0; i + 1 < cutLines.size(); ++i)
        EXPECT_EQ(cutLines[i].size(), perLine);
    EXPECT_EQ(cutLines.join(QString()).toStdString(), longWord.toStdString());

    ASSERT_GE(wordLines.size(), 2);
    EXPECT_EQ(Std(wordLines.join(u' ').split(u' ', Qt::SkipEmptyParts)), Std(words));
    for (qsizetype i = 0; i < wordLines.size(); ++i) {
        EXPECT_LE(wordLines[i].size(), perLine);
        EXPECT_FALSE(wordLines[i].startsWith(u' '));
        if (i + 1 < wordLines.size()) {
            const QString nextWord = wordLines[i + 1].section(u' ', 0, 0);
            EXPECT_GT(wordLines[i].size() + 1 + nextWord.size(), perLine)
                << "line " << i << " broke early";
        }
    }
}

// Text starts at the paper's corner (a PDF page is printable to its edges) in
// the view's font at its real size, whether that is given in points or in
// screen pixels.
TEST_F(LogPrinterTest, FontKeepsItsSizeOnPaperFromTheTopLeftCorner)
{
    struct FontCase {
        const char* name;
        QFont font;
        double points;
    };
    QFont pixelFont(QStringLiteral("DejaVu Sans Mono"));
    pixelFont.setPixelSize(32);
    const double screenDpi = QGuiApplication::primaryScreen()->logicalDotsPerInchY();
    const std::vector<FontCase> cases = {
        {"sized in points", LogFont(18), 18.0},
        {"sized in pixels", pixelFont, 32 * 72.0 / screenDpi},
    };
    for (const FontCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QString pdf = Path(QStringLiteral("font-%1.pdf").arg(c.name));
        ASSERT_TRUE(PrintToPdf(PrintSource{"HEIGHT\r\n", c.font, "Untitled"}, pdf));
        const std::vector<Word> words = PdfWords(pdf);
        ASSERT_EQ(words.size(), 1u);
        EXPECT_EQ(words[0].text, "HEIGHT");
        EXPECT_LT(words[0].xMin, 0.5);
        EXPECT_LT(words[0].yMin, 0.5);
        const double height = words[0].yMax - words[0].yMin;
        EXPECT_GT(height, 0.9 * c.points);
        EXPECT_LT(height, 1.5 * c.points);
        // Six fixed-pitch characters are about 0.6 em each.
        EXPECT_NEAR(words[0].xMax - words[0].xMin, 6 * 0.6 * c.points, 0.6 * c.points);
    }
}

// Every page but the last is full: it holds as many lines as fit its height
// and one more would not; no line is lost or printed twice.
TEST_F(LogPrinterTest, LongLogFillsPagesToTheBottom)
{
    const int lineCount = 200;
    const QString pdf = Path("long.pdf");
    ASSERT_TRUE(PrintToPdf(Source(NumberedLines(lineCount)), pdf));

    const std::vector<QStringList> pages = PdfPages(pdf);
    ASSERT_GE(pages.size(), 2u);
    EXPECT_EQ(PdfPageCount(pdf), static_cast<int>(pages.size()));

    QStringList all;
    for (const QStringList& page : pages)
        all += page;
    QStringList expected;
    for (int i = 1; i <= lineCount; ++i)
        expected << QString::asprintf("line %03d", i);
    EXPECT_EQ(Std(all), Std(expected));

    const std::vector<Word> words = PdfWords(pdf);
    std::vector<double> tops;
    for (const Word& w : words) {
        if (w.text == "line")
            tops.push_back(w.yMin);
    }
    ASSERT_EQ(tops.size(), static_cast<size_t>(pages[0].size()));
    const double pitch = tops[1] - tops[0];
    const double pageHeight = PdfInfo(pdf)["Page size"].section(u' ', 2, 2).toDouble();
    ASSERT_GT(pitch, 0);
    ASSERT_GT(pageHeight, 0);
    for (size_t p = 0; p + 1 < pages.size(); ++p)
        EXPECT_EQ(pages[p].size(), pages[0].size());
    EXPECT_LE(pages[0].size() * pitch, pageHeight + 0.5);
    EXPECT_GT((pages[0].size() + 1) * pitch, pageHeight - 0.5);
}

TEST_F(LogPrinterTest, JobIsNamedByTheTitleCutTo31Characters)
{
    struct TitleCase {
        QString title;
        QString jobName;
    };
    const std::vector<TitleCase> cases = {
        {"Untitled", "Untitled"},
        {"cqww-cw-2024-N0CALL-final-version-3.log", "cqww-cw-2024-N0CALL-final-versi"},
    };
    for (const TitleCase& c : cases) {
        SCOPED_TRACE(c.title.toStdString());
        const QString pdf = Path("title.pdf");
        ASSERT_TRUE(PrintToPdf(Source("QSO\r\n", c.title), pdf));
        EXPECT_EQ(PdfInfo(pdf)["Title"], c.jobName);
    }
}

TEST_F(LogPrinterTest, JobThatCannotStartIsReported)
{
    EXPECT_FALSE(m_printer->PrintDirectTo(Source("QSO\r\n"), "No Such Printer 4711"));
    EXPECT_EQ(Std(m_messages.Messages()), Std(QStringList{"Could not start print job."}));

    const QString unwritable = Path("missing-folder/log.pdf");
    EXPECT_FALSE(PrintToPdf(Source("QSO\r\n"), unwritable));
    EXPECT_EQ(Std(m_messages.Messages()),
              Std(QStringList{"Could not start print job.", "Could not start print job."}));
    EXPECT_FALSE(QFile::exists(unwritable));
    EXPECT_TRUE(m_mainWindow.isEnabled());
    EXPECT_EQ(VisibleTopLevel("printProgress"), nullptr);
}

// While pages print, the main window is disabled and the progress window
// names the document, the output and the page; Cancel stops the job after
// the page being printed.
TEST_F(LogPrinterTest, ProgressWindowShowsTheJobAndCancelStopsAfterThePage)
{
    const QString pdf = Path("cancel.pdf");
    ToPdf(m_printer->Printer(), pdf);
    QStringList seen;
    QObject::connect(m_printer.get(), &LogPrinter::PageStarting, [&](int page) {
        QWidget* progress = VisibleTopLevel("printProgress");
        ASSERT_NE(progress, nullptr);
        EXPECT_FALSE(m_mainWindow.isEnabled());
        EXPECT_TRUE(progress->isEnabled());
        QStringList texts;
        for (const QLabel* label : progress->findChildren<QLabel*>())
            texts << label->text();
        seen << texts.join(u'|');
        if (page == 2)
            progress->findChild<QPushButton*>("cancelButton")->click();
    });

    EXPECT_FALSE(m_printer->PrintDirect(Source(NumberedLines(400), "contest.log")));

    ASSERT_EQ(seen.size(), 2);
    EXPECT_EQ(seen[0].toStdString(), QStringLiteral("contest.log|Print to File (PDF)|to %1|Page 1")
                                         .arg(QDir::toNativeSeparators(pdf))
                                         .toStdString());
    EXPECT_TRUE(seen[1].endsWith("|Page 2"));
    EXPECT_TRUE(m_messages.Messages().isEmpty());
    EXPECT_TRUE(m_mainWindow.isEnabled());
    EXPECT_EQ(VisibleTopLevel("printProgress"), nullptr);
    EXPECT_EQ(PdfPageCount(pdf), 2);
}

// The pages and copies chosen in the print dialog decide what comes out; the
// dialog always opens on all pages, whatever the job before chose.
TEST_F(LogPrinterTest, PrintDialogChoicesSelectThePages)
{
    const PrintSource source = Source(NumberedLines(200));
    const QString fullPdf = Path("full.pdf");
    ASSERT_TRUE(PrintToPdf(source, fullPdf));
    const std::vector<QStringList> full = PdfPages(fullPdf);
    ASSERT_EQ(full.size(), 3u);

    struct ChoiceCase {
        const char* name;
        std::function<void(QPrinter&)> choose;
        std::vector<size_t> pages; // from 0, into the full printout
    };
    const std::vector<ChoiceCase> cases = {
        {"page range",
         [](QPrinter& p) {
             p.setPrintRange(QPrinter::PageRange);
             p.setFromTo(2, 3);
         },
         {1, 2}},
        {"range past the end", [](QPrinter& p) {
             p.setPrintRange(QPrinter::PageRange);
             p.setFromTo(3, 9);
         },
         {2}},
        {"two collated copies", [](QPrinter& p) { p.setCopyCount(2); }, {0, 1, 2, 0, 1, 2}},
        {"last page first", [](QPrinter& p) { p.setPageOrder(QPrinter::LastPageFirst); },
         {2, 1, 0}},
    };
    for (const ChoiceCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QString pdf = Path(QStringLiteral("%1.pdf").arg(c.name));
        bool opened = false;
        m_printer->SetPrintDialogStep([&](QPrinter& printer, QWidget* parent) {
            opened = true;
            EXPECT_EQ(parent, &m_mainWindow);
            EXPECT_EQ(printer.printRange(), QPrinter::AllPages);
            ToPdf(printer, pdf);
            printer.setCopyCount(1);
            printer.setPageOrder(QPrinter::FirstPageFirst);
            c.choose(printer);
            return true;
        });
        ASSERT_TRUE(m_printer->Print(source));
        EXPECT_TRUE(opened);
        std::vector<QStringList> expected;
        for (const size_t p : c.pages)
            expected.push_back(full[p]);
        EXPECT_EQ(Std(PdfPages(pdf)), Std(expected));
    }
    EXPECT_TRUE(m_messages.Messages().isEmpty());
}

// The real dialogs: Print offers a page range from 1 to 65535 but no
// selection; Print Setup offers neither, nor printing to a file. Cancel
// prints nothing and says nothing.
TEST_F(LogPrinterTest, RealDialogsOfferTheRightChoicesAndCancelQuietly)
{
    const QString pdf = Path("never.pdf");
    ToPdf(m_printer->Printer(), pdf);
    using Option = QAbstractPrintDialog::PrintDialogOption;
    struct DialogCase {
        const char* name;
        std::function<bool()> run;
        QString title;
        std::vector<std::pair<Option, bool>> options;
    };
    const std::vector<DialogCase> cases = {
        {"print", [&] { return m_printer->Print(Source("QSO\r\n")); }, "Print",
         {{Option::PrintPageRange, true},
          {Option::PrintSelection, false},
          {Option::PrintCurrentPage, false},
          {Option::PrintToFile, true}}},
        {"setup", [&] { return m_printer->PrintSetup(); }, "Print Setup",
         {{Option::PrintPageRange, false},
          {Option::PrintSelection, false},
          {Option::PrintCurrentPage, false},
          {Option::PrintToFile, false}}},
    };
    for (const DialogCase& c : cases) {
        SCOPED_TRACE(c.name);
        bool found = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            found = true;
            EXPECT_EQ(dialog->windowTitle(), c.title);
            for (const auto& [option, on] : c.options)
                EXPECT_EQ(dialog->testOption(option), on) << int(option);
            if (c.title == "Print") {
                EXPECT_EQ(dialog->minPage(), 1);
                EXPECT_EQ(dialog->maxPage(), 65535);
            }
            dialog->reject();
        });
        EXPECT_FALSE(c.run());
        EXPECT_TRUE(found);
    }
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_TRUE(m_messages.Messages().isEmpty());
}

TEST_F(LogPrinterTest, PrintSetupChoiceIsKeptForLaterJobs)
{
    m_printer->SetSetupDialogStep([](QPrinter& printer, QWidget*) {
        printer.setPageSize(QPageSize(QPageSize::A5));
        printer.setPageOrientation(QPageLayout::Landscape);
        return true;
    });
    ASSERT_TRUE(m_printer->PrintSetup());

    const QString pdf = Path("setup.pdf");
    m_printer->Printer().setOutputFormat(QPrinter::PdfFormat);
    m_printer->Printer().setOutputFileName(pdf);
    ASSERT_TRUE(m_printer->PrintDirect(Source("QSO\r\n")));
    const QStringList size = PdfInfo(pdf)["Page size"].split(u' ');
    ASSERT_GE(size.size(), 3);
    EXPECT_NEAR(size[0].toDouble(), 595.3, 1.0); // A5 across
    EXPECT_NEAR(size[2].toDouble(), 419.5, 1.0);
}

// ---- preview -------------------------------------------------------------

QStringList ButtonTexts(const QWidget* dialog)
{
    QStringList texts;
    for (const QPushButton* button : dialog->findChildren<QPushButton*>())
        texts << button->text();
    return texts;
}

QPushButton* Button(QWidget* dialog, const QString& text)
{
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->text() == text)
            return button;
    }
    ADD_FAILURE() << "no button " << text.toStdString();
    static QPushButton none;
    return &none;
}

// Runs `drive` on the preview once it is up, then closes it with Esc.
void WithPreview(LogPrinter& printer, const PrintSource& source, int& previewPages,
                 const std::function<void(CPrintPreviewDlg&)>& drive)
{
    bool driven = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CPrintPreviewDlg*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        driven = true;
        // Keys reach the active window; let the window system make it so.
        dialog->activateWindow();
        QApplication::processEvents();
        EXPECT_EQ(QApplication::activeWindow(), dialog);
        drive(*dialog);
        if (dialog->isVisible())
            QTest::keyClick(dialog, Qt::Key_Escape);
        if (dialog->isVisible())
            dialog->reject();
    });
    printer.Preview(source, previewPages);
    EXPECT_TRUE(driven);
}

TEST_F(LogPrinterTest, PreviewShowsTheSettingsPagesAndTheToggleChangesIt)
{
    struct PagesCase {
        int setting;
        int shown;
    };
    for (const PagesCase c : std::vector<PagesCase>{{0, 1}, {1, 1}, {2, 2}, {7, 1}, {-1, 1}}) {
        SCOPED_TRACE(c.setting);
        int previewPages = c.setting;
        ToPdf(m_printer->Printer(), Path("unused.pdf"));
        WithPreview(*m_printer, Source(NumberedLines(200)), previewPages, [&](CPrintPreviewDlg& dlg) {
            EXPECT_EQ(Std(ButtonTexts(&dlg)),
                      Std(QStringList{"&Print...", "&Next Page", "Pre&v Page",
                                   c.shown == 2 ? "&One Page" : "&Two Page", "Zoom &In",
                                   "Zoom &Out", "&Close"}));
            EXPECT_EQ(dlg.PagesShown(), c.shown);
            EXPECT_EQ(dlg.size(), m_mainWindow.size());

            QPushButton* toggle = Button(&dlg, c.shown == 2 ? "&One Page" : "&Two Page");
            toggle->click();
            EXPECT_EQ(dlg.PagesShown(), 3 - c.shown);
            EXPECT_EQ(previewPages, 3 - c.shown);
            EXPECT_EQ(toggle->text(), c.shown == 2 ? "&Two Page" : "&One Page");
        });
        EXPECT_EQ(previewPages, 3 - c.shown);
    }
    EXPECT_TRUE(m_messages.Messages().isEmpty());
}

TEST_F(LogPrinterTest, PreviewPagesAndZoomStopAtTheirEnds)
{
    int previewPages = 1;
    ToPdf(m_printer->Printer(), Path("unused.pdf"));
    WithPreview(*m_printer, Source(ContestLog(190), "contest.log"), previewPages,
                [&](CPrintPreviewDlg& dlg) {
        QPushButton* next = Button(&dlg, "&Next Page");
        QPushButton* prev = Button(&dlg, "Pre&v Page");
        QPushButton* zoomIn = Button(&dlg, "Zoom &In");
        QPushButton* zoomOut = Button(&dlg, "Zoom &Out");
        ASSERT_EQ(dlg.PageCount(), 3);
        EXPECT_EQ(dlg.CurrentPage(), 1);
        EXPECT_FALSE(prev->isEnabled());
        EXPECT_TRUE(next->isEnabled());

        QTest::keyClick(&dlg, Qt::Key_PageDown);
        QTest::keyClick(&dlg, Qt::Key_PageDown);
        QTest::keyClick(&dlg, Qt::Key_PageDown); // past the end: stays
        EXPECT_EQ(dlg.CurrentPage(), 3);
        EXPECT_FALSE(next->isEnabled());
        EXPECT_TRUE(prev->isEnabled());
        QTest::keyClick(&dlg, Qt::Key_PageUp);
        EXPECT_EQ(dlg.CurrentPage(), 2);

        // Two pages side by side: the last view shows pages 2 and 3.
        Button(&dlg, "&Two Page")->click();
        EXPECT_EQ(dlg.CurrentPage(), 2);
        EXPECT_FALSE(next->isEnabled());
        prev->click();
        EXPECT_EQ(dlg.CurrentPage(), 1);
        EXPECT_FALSE(prev->isEnabled());
        EXPECT_TRUE(next->isEnabled());
        EXPECT_EQ(dlg.findChild<QLabel*>("pageStatus")->text(), "Pages 1-2");

        EXPECT_FALSE(zoomOut->isEnabled());
        for (int i = 0; i < CPrintPreviewDlg::MaxZoomLevel + 1; ++i)
            zoomIn->click();
        EXPECT_EQ(dlg.ZoomLevel(), CPrintPreviewDlg::MaxZoomLevel);
        EXPECT_FALSE(zoomIn->isEnabled());
        EXPECT_TRUE(zoomOut->isEnabled());
        for (int i = 0; i < CPrintPreviewDlg::MaxZoomLevel; ++i)
            zoomOut->click();
        EXPECT_EQ(dlg.ZoomLevel(), 0);
        EXPECT_FALSE(zoomOut->isEnabled());

        // A picture of the window for the documentation, when asked for.
        const QByteArray image = qgetenv("VORLISK_PREVIEW_IMAGE");
        if (!image.isEmpty()) {
            QApplication::processEvents();
            EXPECT_TRUE(dlg.grab().save(QString::fromLocal8Bit(image)));
        }

        QTest::keyClick(&dlg, Qt::Key_Escape);
        EXPECT_FALSE(dlg.isVisible());
    });
    EXPECT_FALSE(VisibleTopLevel("printPreview"));
}

// "&Print..." closes the preview and runs Print with its dialog; the preview
// showed as many pages as the printout has.
TEST_F(LogPrinterTest, PrintButtonClosesThePreviewAndPrints)
{
    const QString pdf = Path("from-preview.pdf");
    bool previewClosed = false;
    m_printer->SetPrintDialogStep([&](QPrinter& printer, QWidget*) {
        previewClosed = VisibleTopLevel("printPreview") == nullptr;
        ToPdf(printer, pdf);
        return true;
    });
    int previewPages = 2;
    int previewPageCount = 0;
    ToPdf(m_printer->Printer(), Path("unused.pdf"));
    WithPreview(*m_printer, Source(NumberedLines(200)), previewPages, [&](CPrintPreviewDlg& dlg) {
        previewPageCount = dlg.PageCount();
        Button(&dlg, "&Print...")->click();
    });
    EXPECT_TRUE(previewClosed);
    EXPECT_EQ(previewPages, 2);
    EXPECT_EQ(PdfPageCount(pdf), previewPageCount);
    EXPECT_TRUE(m_messages.Messages().isEmpty());
}

} // namespace
