#include "app/programstart.h"

#include <QApplication>

#include <memory>

#include "app/messageboxes.h"
#include "app/program.h"

namespace arcavio {

int runProgram(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Arcavio 2"));
    MessageBoxes boxes;
    setMessages(&boxes);

    auto program = std::make_unique<Program>();
    program->mainWindow.show();
    const int result = app.exec();
    program.reset();
    setMessages(nullptr);
    return result;
}

} // namespace arcavio
