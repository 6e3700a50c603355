#include "frame/ToolbarImages.h"

#include <QPixmap>

QString ToolbarImagePath(const QString& name, int scale)
{
    const QString suffix = scale == 1 ? QString() : QStringLiteral("@%1x").arg(scale);
    return QStringLiteral(":/toolbar/%1%2.png").arg(name, suffix);
}

QImage RecolourToolbarImage(const QImage& image, const QPalette& palette)
{
    QImage result = image.convertToFormat(QImage::Format_ARGB32);
    const struct {
        QRgb drawn;
        QRgb shown;
    } map[] = {
        {qRgb(0, 0, 0), palette.color(QPalette::Active, QPalette::ButtonText).rgb()},
        {qRgb(128, 128, 128), palette.color(QPalette::Active, QPalette::Dark).rgb()},
        {qRgb(192, 192, 192), palette.color(QPalette::Active, QPalette::Button).rgb()},
        {qRgb(255, 255, 255), palette.color(QPalette::Active, QPalette::Light).rgb()},
    };
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            if (qAlpha(line[x]) != 255)
                continue;
            for (const auto& entry : map) {
                if (line[x] == entry.drawn) {
                    line[x] = entry.shown | 0xff000000u;
                    break;
                }
            }
        }
    }
    return result;
}

QIcon ToolbarIcon(const QString& name, const QPalette& palette)
{
    QIcon icon;
    for (int scale : {1, 2}) {
        QImage image(ToolbarImagePath(name, scale));
        if (image.isNull())
            continue;
        QPixmap pixmap = QPixmap::fromImage(RecolourToolbarImage(image, palette));
        pixmap.setDevicePixelRatio(scale);
        icon.addPixmap(pixmap);
    }
    return icon;
}
