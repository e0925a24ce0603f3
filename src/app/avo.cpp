#include "app/avo.h"

#include <QApplication>

#include "app/messageboxes.h"
#include "app/uprincipal.h"

namespace arcavio {

int runProgram(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Arcavio 2"));
    MessageBoxes boxes;
    setMessages(&boxes);

    TForm1 mainWindow;
    mainWindow.show();
    const int result = app.exec();
    setMessages(nullptr);
    return result;
}

} // namespace arcavio
