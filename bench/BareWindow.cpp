// The floor for start-up and memory: a bare Qt main window holding a plain
// text editor, at the size the benchmark gives the log window. Prints the
// moment of its first paint and its peak memory, then quits.
#include "FirstPaint.h"

#include <QApplication>
#include <QFontDatabase>
#include <QMainWindow>
#include <QPlainTextEdit>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    auto* edit = new QPlainTextEdit(&window);
    edit->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    window.setCentralWidget(edit);
    window.resize(800, 600);
    new bench::FirstPaintReporter(edit->viewport(), bench::kChildIdleMs);
    window.show();
    return app.exec();
}
