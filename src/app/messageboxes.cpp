#include "app/messageboxes.h"

#include <QApplication>
#include <QMessageBox>

#include "components/showntext.h"
#include "text/errors.h"

namespace arcavio {
namespace {

int showBox(QMessageBox::Icon icon, const QString& caption, const std::string& text,
            QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, caption, shownMessage(text), buttons, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    return box.exec();
}

} // namespace

void MessageBoxes::plainMessage(const std::string& text)
{
    showBox(QMessageBox::NoIcon, QString::fromLatin1(kApplicationTitle), text, QMessageBox::Ok);
}

void MessageBoxes::errorBox(const std::string& message)
{
    showBox(QMessageBox::Critical, QString::fromLatin1(kApplicationTitle), errorBoxText(message),
            QMessageBox::Ok);
}

bool MessageBoxes::askYesNo(const std::string& text, const std::string& caption)
{
    // The window system shows an empty title as the application's name; a blank reads as none.
    const QString title = caption.empty() ? QStringLiteral(" ") : shownLine(caption);
    return showBox(QMessageBox::Warning, title, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

} // namespace arcavio
