#include <QApplication>

#include "app/TForm1.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // The application title names the task-bar entry and captions the
    // general error box; the window keeps its own caption.
    QApplication::setApplicationName("Tesmera");
    tesmera::TForm1 form;
    form.show();
    return QApplication::exec();
}
