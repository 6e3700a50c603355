#pragma once
// The toolbar's nine images, drawn as pixel art in four greys plus a few
// colours. Like classic button bitmaps, the greys follow the palette: black
// becomes the button text colour, dark grey the shadow, light grey the
// button face and white the highlight, so the images suit light and dark
// themes alike. Each image exists at 16 x 15 pixels and at twice that size
// for high-density screens.

#include <QIcon>
#include <QImage>
#include <QPalette>
#include <QSize>
#include <QString>

inline constexpr QSize kToolbarImageSize{16, 15};
inline constexpr QSize kToolbarButtonSize{23, 22};

// Resource path of an image ("new", "open", "save", "cut", "copy", "paste",
// "print", "about", "addqso"); scale 2 gives the double-size drawing.
QString ToolbarImagePath(const QString& name, int scale = 1);

// Replaces the four greys by the palette's colours; other colours and
// transparency stay as drawn.
QImage RecolourToolbarImage(const QImage& image, const QPalette& palette);

// The icon of one toolbar image in the palette's colours, at both sizes.
// A null icon when the image is missing.
QIcon ToolbarIcon(const QString& name, const QPalette& palette);
