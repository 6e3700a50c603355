#include "view/PageLayout.h"

#include <algorithm>
#include <cmath>

namespace {

bool IsBlank(QChar c)
{
    return c == u' ';
}

// Text that measures a hair over the width because of rounding still fits.
bool Fits(qreal measured, qreal width)
{
    return measured <= width + 1e-6;
}

// Length (in UTF-16 units) of the longest piece of line starting at pos that
// fits the width; at least one character so that wrapping always moves on.
// The measure grows with the text, so a doubling search finds a bound and a
// binary search the exact length; only pieces around one line long get
// measured, however long the line is.
qsizetype FittingLength(const QString& line, qsizetype pos, qreal width,
                        const PageLayout::MeasureFn& measure)
{
    const qsizetype rest = line.size() - pos;
    auto fits = [&](qsizetype n) { return Fits(measure(line.mid(pos, n)), width); };

    qsizetype good = 0;
    qsizetype bad = -1;
    for (qsizetype probe = 32;; probe *= 2) {
        const qsizetype n = std::min(probe, rest);
        if (!fits(n)) {
            bad = n;
            break;
        }
        good = n;
        if (n == rest)
            return rest;
    }
    while (bad - good > 1) {
        const qsizetype mid = good + (bad - good) / 2;
        if (fits(mid))
            good = mid;
        else
            bad = mid;
    }
    // Never split a surrogate pair.
    if (good > 0 && line.at(pos + good - 1).isHighSurrogate())
        --good;
    if (good == 0) {
        const bool pair = rest >= 2 && line.at(pos).isHighSurrogate()
                          && line.at(pos + 1).isLowSurrogate();
        good = pair ? 2 : 1;
    }
    return good;
}

} // namespace

QString PageLayout::DecodeForPrint(const std::string& bytes)
{
    QString text = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    for (QChar& c : text) {
        const char16_t u = c.unicode();
        if (u == u'\t' || u == u'\r' || u == u'\n')
            continue;
        if (u < 0x20)
            c = QChar(char16_t(0x2400 + u)); // control pictures: NUL shows as U+2400
        else if (u == 0x7f)
            c = QChar(char16_t(0x2421));
    }
    return text;
}

QStringList PageLayout::SplitLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < size && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.append(text.mid(start));
    return lines;
}

QString PageLayout::ExpandTabs(const QString& line)
{
    if (!line.contains(u'\t'))
        return line;
    QString out;
    out.reserve(line.size() + TabWidth);
    int column = 0;
    for (const QChar c : line) {
        if (c == u'\t') {
            const int spaces = TabWidth - column % TabWidth;
            out.append(QString(spaces, u' '));
            column += spaces;
            continue;
        }
        out.append(c);
        if (!c.isLowSurrogate()) // a surrogate pair is one character
            ++column;
    }
    return out;
}

QStringList PageLayout::WrapLine(const QString& line, qreal width, const MeasureFn& measure)
{
    QStringList out;
    if (line.isEmpty()) {
        out.append(QString());
        return out;
    }
    const qsizetype size = line.size();
    qsizetype pos = 0;
    bool continuation = false;
    while (pos < size) {
        if (continuation) {
            while (pos < size && IsBlank(line.at(pos)))
                ++pos;
            if (pos == size)
                break;
        }
        continuation = true;

        const qsizetype n = FittingLength(line, pos, width, measure);
        if (pos + n == size) {
            out.append(line.mid(pos));
            break;
        }

        // Break at the last blank that fits; a blank right after the fitting
        // piece counts, since the word before it fits whole.
        const qsizetype limit = pos + n;
        qsizetype blank = -1;
        if (IsBlank(line.at(limit))) {
            blank = limit;
        } else {
            for (qsizetype i = limit - 1; i > pos; --i) {
                if (IsBlank(line.at(i))) {
                    blank = i;
                    break;
                }
            }
        }
        qsizetype textEnd = blank;
        while (textEnd > pos && IsBlank(line.at(textEnd - 1)))
            --textEnd;

        if (blank > pos && textEnd > pos) {
            out.append(line.mid(pos, textEnd - pos));
            pos = blank;
        } else {
            // No blank with text before it: the word is longer than a line.
            out.append(line.mid(pos, n));
            pos += n;
        }
    }
    return out;
}

int PageLayout::LinesPerPageFor(qreal pageHeight, qreal lineHeight)
{
    if (!(lineHeight > 0) || !(pageHeight > 0))
        return 1;
    const double lines = std::floor(pageHeight / lineHeight + 1e-9);
    return static_cast<int>(std::clamp(lines, 1.0, 1.0e6));
}

PageLayout::PageLayout(const std::string& text, qreal width, qreal pageHeight, qreal lineHeight,
                       const MeasureFn& measure)
    : m_linesPerPage(LinesPerPageFor(pageHeight, lineHeight))
{
    QStringList page;
    for (const QString& line : SplitLines(DecodeForPrint(text))) {
        for (QString& piece : WrapLine(ExpandTabs(line), width, measure)) {
            page.append(std::move(piece));
            if (page.size() == m_linesPerPage) {
                m_pages.push_back(std::move(page));
                page = QStringList();
            }
        }
    }
    if (!page.isEmpty() || m_pages.empty())
        m_pages.push_back(std::move(page));
}
