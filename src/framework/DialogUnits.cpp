#include "framework/DialogUnits.h"

#include <QFontMetrics>

namespace {
// Rounded a * b / c, as dialog managers scale their templates.
int MulDivRounded(int a, int b, int c)
{
    const long long product = static_cast<long long>(a) * b;
    return static_cast<int>((product >= 0 ? product + c / 2 : product - c / 2) / c);
}
} // namespace

DialogUnits::DialogUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    // The average width of the 52 letters, rounded, is the font's base width.
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_baseX = (letters / 26 + 1) / 2;
    m_baseY = metrics.height();
    if (m_baseX < 1)
        m_baseX = 1;
    if (m_baseY < 1)
        m_baseY = 1;
}

int DialogUnits::ToPixelsX(int units) const { return MulDivRounded(units, m_baseX, 4); }

int DialogUnits::ToPixelsY(int units) const { return MulDivRounded(units, m_baseY, 8); }

QRect DialogUnits::ToPixels(int x, int y, int width, int height) const
{
    const int left = ToPixelsX(x);
    const int top = ToPixelsY(y);
    return QRect(left, top, ToPixelsX(x + width) - left, ToPixelsY(y + height) - top);
}
