#include "log/HeaderTemplate.h"
#include "view/CVorliskView.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    CVorliskView view;
    view.setWindowTitle("Untitled - Vorlisk");
    view.ReplaceAll(LoadHeaderTemplate());
    view.resize(640, 480);
    view.show();
    return app.exec();
}
