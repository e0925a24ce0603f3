#include "app/avo.h"

#include <QApplication>
#include <QWidget>

namespace arcavio {

int runProgram(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget w;
    w.show();
    return app.exec();
}

} // namespace arcavio
