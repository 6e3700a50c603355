#pragma once
// Dialog layouts are given in dialog units: a quarter of the dialog font's
// average character width horizontally, an eighth of its height vertically.
// Converting through the font keeps a dialog's grid at any font size.

#include <QFont>
#include <QRect>

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    int ToPixelsX(int units) const;
    int ToPixelsY(int units) const;
    QRect ToPixels(int x, int y, int width, int height) const;

    int BaseX() const { return m_baseX; }
    int BaseY() const { return m_baseY; }

private:
    int m_baseX;
    int m_baseY;
};
