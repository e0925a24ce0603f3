#include "components/dialogrun.h"

#include <QApplication>
#include <QDialog>

namespace arcavio {

int execDialog(QDialog& dialog)
{
    const int result = dialog.exec();
    // While the dialog was modal only it could open popups, so any still open are its own.
    for (int left = 16; left > 0; --left) {
        QWidget* popup = QApplication::activePopupWidget();
        if (popup == nullptr)
            break;
        popup->close();
    }
    return result;
}

} // namespace arcavio
