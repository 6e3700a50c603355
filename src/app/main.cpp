#include <QApplication>
#include <Qsci/qsciscintilla.h>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QsciScintilla editor;
    editor.setWindowTitle("Untitled - Vorlisk");
    editor.resize(640, 480);
    editor.show();
    return app.exec();
}
