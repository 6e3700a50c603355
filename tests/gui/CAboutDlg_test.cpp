// The About box: texts, layout on the dialog-unit grid, how it closes, and the
// program icon it shows.
#include "view/CAboutDlg.h"

#include "framework/DialogUnits.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

QLabel* Label(CAboutDlg& dlg, const char* name) { return dlg.findChild<QLabel*>(name); }

QPushButton* OkButton(CAboutDlg& dlg) { return dlg.findChild<QPushButton*>("ok"); }

// Number of pixels that are not fully transparent.
int OpaquePixels(const QImage& image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    int count = 0;
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x)
            count += qAlpha(argb.pixel(x, y)) > 0;
    return count;
}

} // namespace

TEST(CAboutDlg, CaptionTextsAndDialogFont)
{
    CAboutDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), "About Vorlisk");
    EXPECT_EQ(dlg.font().pointSize(), 8);
    EXPECT_EQ(dlg.font().family(), QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());

    ASSERT_NE(Label(dlg, "version"), nullptr);
    ASSERT_NE(Label(dlg, "notice"), nullptr);
    ASSERT_NE(OkButton(dlg), nullptr);
    EXPECT_EQ(Label(dlg, "version")->text(), "Vorlisk Version 1.0");
    EXPECT_FALSE(Label(dlg, "notice")->text().isEmpty());
    EXPECT_EQ(OkButton(dlg)->text(), "OK");

    // Each text stays one line inside its box in the dialog font.
    const QFontMetrics metrics(dlg.font());
    for (const char* name : {"version", "notice"}) {
        SCOPED_TRACE(name);
        const QLabel* label = Label(dlg, name);
        EXPECT_FALSE(label->wordWrap());
        EXPECT_LE(metrics.horizontalAdvance(label->text()), label->width());
        EXPECT_LE(metrics.height(), label->height());
    }
}

// An '&' in a static text is an ordinary character: no access key, nothing hidden.
TEST(CAboutDlg, AmpersandInTextIsShownLiterally)
{
    CAboutDlg dlg;
    QLabel* label = Label(dlg, "version");
    ASSERT_NE(label, nullptr);
    label->setText("Log &Contest");
    const QFontMetrics metrics(dlg.font());
    // With access-key processing the '&' would vanish and the hint would only
    // be as wide as "Log Contest".
    EXPECT_GE(label->sizeHint().width(), metrics.horizontalAdvance("Log &Contest"));
    EXPECT_GT(metrics.horizontalAdvance("Log &Contest"), metrics.horizontalAdvance("Log Contest"));

    // And pressing Alt+C does nothing: there is no hidden shortcut.
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    bool finished = false;
    QObject::connect(&dlg, &QDialog::finished, [&] { finished = true; });
    QTest::keyClick(&dlg, Qt::Key_C, Qt::AltModifier);
    EXPECT_FALSE(finished);
    EXPECT_TRUE(dlg.isVisible());
}

TEST(CAboutDlg, LayoutFollowsDialogUnitsOfItsFont)
{
    CAboutDlg dlg;
    const DialogUnits units(dlg.font());
    EXPECT_EQ(dlg.size(), QSize(units.ToPixelsX(235), units.ToPixelsY(55)));
    // Fixed size: the box cannot be resized.
    EXPECT_EQ(dlg.minimumSize(), dlg.maximumSize());

    struct Control {
        const char* name;
        int x, y, width, height;
    };
    const Control controls[] = {
        {"version", 40, 10, 119, 8},
        {"notice", 40, 25, 119, 8},
        {"ok", 178, 7, 50, 14},
    };
    for (const Control& c : controls) {
        SCOPED_TRACE(c.name);
        const QWidget* widget = dlg.findChild<QWidget*>(c.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->geometry(), units.ToPixels(c.x, c.y, c.width, c.height));
    }

    // The icon sits at its place and is never cropped below 32 x 32.
    const QLabel* icon = Label(dlg, "icon");
    ASSERT_NE(icon, nullptr);
    const QRect iconUnits = units.ToPixels(7, 11, 21, 20);
    EXPECT_EQ(icon->pos(), iconUnits.topLeft());
    EXPECT_EQ(icon->size(), iconUnits.size().expandedTo(QSize(32, 32)));

    // OK, the one control that takes the focus, has it when the box opens.
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    EXPECT_EQ(dlg.focusWidget(), OkButton(dlg));
}

TEST(CAboutDlg, WindowHasCloseBoxAndNoResizeControls)
{
    CAboutDlg dlg;
    const Qt::WindowFlags flags = dlg.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowTitleHint);
    EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(OkButton(dlg)->isDefault());
}

TEST(CAboutDlg, DoModalReportsHowTheBoxWasClosed)
{
    struct Case {
        const char* how;
        std::function<void(CAboutDlg&)> close;
        int result;
    };
    const Case cases[] = {
        {"OK clicked", [](CAboutDlg& d) { QTest::mouseClick(OkButton(d), Qt::LeftButton); }, 1},
        {"Enter (default button)", [](CAboutDlg& d) { QTest::keyClick(&d, Qt::Key_Return); }, 1},
        {"Space on OK", [](CAboutDlg& d) { QTest::keyClick(OkButton(d), Qt::Key_Space); }, 1},
        {"Esc", [](CAboutDlg& d) { QTest::keyClick(&d, Qt::Key_Escape); }, 2},
        {"close box", [](CAboutDlg& d) { d.close(); }, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        CAboutDlg dlg;
        bool closedByTest = false;
        QTimer::singleShot(0, &dlg, [&] {
            ASSERT_EQ(QApplication::activeModalWidget(), &dlg);
            c.close(dlg);
            closedByTest = true;
        });
        // Safety net: a box that ignores the input must not hang the test run.
        QTimer::singleShot(5000, &dlg, [&] { dlg.done(-99); });
        EXPECT_EQ(dlg.DoModal(), c.result);
        EXPECT_TRUE(closedByTest);
        EXPECT_FALSE(dlg.isVisible());
    }
}

TEST(CAboutDlg, ShowsTheProgramIconAt32Pixels)
{
    CAboutDlg dlg;
    const QLabel* icon = Label(dlg, "icon");
    ASSERT_NE(icon, nullptr);
    const QPixmap shown = icon->pixmap();
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(shown.deviceIndependentSize().toSize(), QSize(32, 32));
    const QImage expected = VorliskIcon().pixmap(QSize(32, 32), shown.devicePixelRatio()).toImage();
    EXPECT_EQ(shown.toImage().convertToFormat(QImage::Format_ARGB32),
              expected.convertToFormat(QImage::Format_ARGB32));

    // The whole box as the user sees it: not blank where the icon is.
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    const QImage grab = dlg.grab().toImage();
    const qreal ratio = grab.devicePixelRatio();
    const QRect iconArea(icon->pos() * ratio, QSize(32, 32) * ratio);
    const QImage iconPart = grab.copy(iconArea);
    const QRgb background = grab.pixel(grab.width() - 1, grab.height() - 1);
    int drawn = 0;
    for (int y = 0; y < iconPart.height(); ++y)
        for (int x = 0; x < iconPart.width(); ++x)
            drawn += iconPart.pixel(x, y) != background;
    EXPECT_GT(drawn, iconArea.width() * iconArea.height() / 4);

    // Set VORLISK_SCREENSHOT_DIR to keep the picture of the box.
    const QString dir = qEnvironmentVariable("VORLISK_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
        EXPECT_TRUE(grab.save(QDir(dir).filePath("about-box.png")));
    }
}

// Every prepared rendering is in the resources at its own size and actually
// holds a drawing; the icon offers each of them.
TEST(VorliskIcon, PreparedRenderingsAtEverySize)
{
    const QIcon icon = VorliskIcon();
    ASSERT_FALSE(icon.isNull());
    const QList<QSize> offered = icon.availableSizes();
    for (const int size : kVorliskIconSizes) {
        SCOPED_TRACE(size);
        const QString path = QStringLiteral(":/icons/hicolor/%1x%1/apps/vorlisk.png").arg(size);
        const QImage image(path);
        ASSERT_FALSE(image.isNull()) << path.toStdString();
        EXPECT_EQ(image.size(), QSize(size, size));
        // Neither empty nor a solid square: the page leaves transparent margins.
        const int opaque = OpaquePixels(image);
        EXPECT_GT(opaque, size * size / 3);
        EXPECT_LT(opaque, size * size);
        EXPECT_TRUE(offered.contains(QSize(size, size)));
        EXPECT_EQ(icon.pixmap(QSize(size, size), 1.0).size(), QSize(size, size));
    }
}

TEST(VorliskIcon, DrawingsAreInTheResources)
{
    for (const char* path : {":/icons/vorlisk.svg", ":/icons/vorlisk-document.svg"}) {
        SCOPED_TRACE(path);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray svg = file.readAll();
        EXPECT_TRUE(svg.contains("<svg"));
        EXPECT_TRUE(svg.contains("viewBox=\"0 0 32 32\""));
    }
}
