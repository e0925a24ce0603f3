#include "components/widgetowner.h"

#include <QGuiApplication>
#include <QWidget>

namespace arcavio {

void WidgetOwner::hide()
{
    window_->hide();
    QGuiApplication::sync();
}

void WidgetOwner::show()
{
    window_->show();
}

} // namespace arcavio
