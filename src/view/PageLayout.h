#pragma once
// Breaks the log text into printed lines and pages.
//
// The layout knows nothing about fonts or printers: it is given the width and
// height of the printable area, the height of one line and a callback that
// measures a piece of text, all in the same units. That keeps it testable with
// a simple character-counting measure.
//
// Rules:
// - the bytes are read as UTF-8; invalid bytes show as U+FFFD and other
//   control characters (NUL included) as their visible control pictures;
// - CR LF, LF and a lone CR each end a line (the edit view shows a lone CR as
//   a line end too, so the printout matches the screen); a line end at the
//   very end of the text does not start another line;
// - tabs are expanded with stops every 8 characters;
// - a line wider than the page breaks at the last blank that fits (a word
//   longer than a whole line is cut at the width), and blanks at the start of
//   a continuation line are dropped;
// - a page holds as many lines as fit its height, but always at least one, so
//   no text is ever lost or loops forever on a tiny page;
// - an empty text still makes one (blank) page.

#include <QString>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

class PageLayout {
public:
    using MeasureFn = std::function<qreal(const QString&)>;
    static constexpr int TabWidth = 8;

    PageLayout(const std::string& text, qreal width, qreal pageHeight, qreal lineHeight,
               const MeasureFn& measure);

    int PageCount() const { return static_cast<int>(m_pages.size()); }
    // Lines of one page, index from 0.
    const QStringList& Page(int index) const { return m_pages.at(static_cast<size_t>(index)); }
    int LinesPerPage() const { return m_linesPerPage; }

    // The steps of the layout, usable on their own.
    static QString DecodeForPrint(const std::string& bytes);
    static QStringList SplitLines(const QString& text);
    static QString ExpandTabs(const QString& line);
    static QStringList WrapLine(const QString& line, qreal width, const MeasureFn& measure);
    static int LinesPerPageFor(qreal pageHeight, qreal lineHeight);

private:
    std::vector<QStringList> m_pages;
    int m_linesPerPage = 1;
};
