#include "app/messageboxes.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

#include "base/qthelpers.h"
#include "components/windowplacement.h"
#include "text/errors.h"

namespace arcavio {
namespace {

// Room in a title bar besides the caption: a window icon and up to three buttons, with padding.
constexpr int kTitleBarControls = 4 * 28 + 16;

// A box sized for a short text is narrower than its caption needs, and the window manager then
// cuts the caption. The title bar's font belongs to the window manager; the bold system font,
// a little larger than most title fonts, stands in for it.
void keepCaptionWhole(QMessageBox& box)
{
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr)
        return;
    QFont titleFont = box.font();
    titleFont.setBold(true);
    const QMargins margins = grid->contentsMargins();
    const int width = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + kTitleBarControls -
                      margins.left() - margins.right();
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

int showBox(QMessageBox::Icon icon, const QString& caption, const std::string& text,
            QMessageBox::StandardButtons buttons)
{
    QWidget* over = QApplication::activeWindow();
    QMessageBox box(icon, caption, shownMessage(text), buttons, over);
    box.setTextFormat(Qt::PlainText);
    keepCaptionWhole(box);
    auto* placement = new WindowPlacement(&box);
    if (over != nullptr)
        placement->centreOver(over);
    else
        placement->centreOnScreen(WindowPlacement::Showing::Every);
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
