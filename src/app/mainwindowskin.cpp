#include "app/mainwindowskin.h"

#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPalette>

#include "components/picture.h"
#include "components/regionbutton.h"
#include "components/windowplacement.h"

namespace arcavio {
namespace {

// The system colours of a skin, by index, as the current palette has them.
QColor systemColour(std::uint32_t index)
{
    static constexpr QPalette::ColorRole kRoles[] = {
        QPalette::Button,
        QPalette::Dark,
        QPalette::Highlight,
        QPalette::Mid,
        QPalette::Window,
        QPalette::Base,
        QPalette::Shadow,
        QPalette::WindowText,
        QPalette::Text,
        QPalette::HighlightedText,
        QPalette::Window,
        QPalette::Window,
        QPalette::Dark,
        QPalette::Highlight,
        QPalette::HighlightedText,
        QPalette::Button,
        QPalette::Dark,
        QPalette::PlaceholderText,
        QPalette::ButtonText,
        QPalette::Text,
        QPalette::Light,
        QPalette::Shadow,
        QPalette::Midlight,
        QPalette::ToolTipText,
        QPalette::ToolTipBase,
    };
    if (index >= std::size(kRoles))
        return {};
    return QGuiApplication::palette().color(kRoles[index]);
}

QColor skinColour(SkinColour colour)
{
    if (colour == kNoColour)
        return {};
    if (isSystemColour(colour))
        return systemColour(colour & 0xFF);
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

void setTop(QWidget* widget, int top)
{
    widget->move(widget->x(), top);
}

void setLeft(QWidget* widget, int left)
{
    widget->move(left, widget->y());
}

void setWidth(QWidget* widget, int width)
{
    widget->resize(width, widget->height());
}

void setHeight(QWidget* widget, int height)
{
    widget->resize(widget->width(), height);
}

} // namespace

RegionButton* MainWindowSkin::button(int index) const
{
    return controls_.commandButtons.at(static_cast<std::size_t>(index));
}

void MainWindowSkin::loadButtonPicture(int index, ButtonState state, const std::string& path)
{
    RegionButton* target = button(index);
    ButtonPicture& picture = state == ButtonState::Rest      ? target->PicIdle()
                             : state == ButtonState::Pressed ? target->PicDown()
                                                             : target->PicUp();
    picture.loadFromFile(path);
}

void MainWindowSkin::loadBackground(const std::string& path)
{
    controls_.background->setPixmap(QPixmap::fromImage(loadPicture(path)));
}

void MainWindowSkin::setButtonTop(int index, int top)
{
    setTop(button(index), top);
}

void MainWindowSkin::setButtonLeft(int index, int left)
{
    setLeft(button(index), left);
}

void MainWindowSkin::setListTop(int value)
{
    setTop(controls_.configurationView, value);
}

void MainWindowSkin::setListLeft(int value)
{
    setLeft(controls_.configurationView, value);
}

void MainWindowSkin::setListWidth(int value)
{
    setWidth(controls_.configurationView, value);
}

void MainWindowSkin::setListHeight(int value)
{
    setHeight(controls_.configurationView, value);
}

void MainWindowSkin::setListColourRole(int role, SkinColour colour)
{
    const QColor qcolour = skinColour(colour);
    if (!qcolour.isValid())
        return;
    QPalette palette = controls_.configurationView->palette();
    palette.setColor(static_cast<QPalette::ColorRole>(role), qcolour);
    controls_.configurationView->setPalette(palette);
}

void MainWindowSkin::setListColour(SkinColour colour)
{
    setListColourRole(QPalette::Base, colour);
}

void MainWindowSkin::setListFontColour(SkinColour colour)
{
    setListColourRole(QPalette::Text, colour);
}

void MainWindowSkin::setWindowOuterWidth(int value)
{
    controls_.placement->setOuterWidth(value);
}

void MainWindowSkin::setWindowOuterHeight(int value)
{
    controls_.placement->setOuterHeight(value);
}

void MainWindowSkin::setSkinAboutText(const std::string& text)
{
    aboutText_ = text;
}

void MainWindowSkin::setImageTop(int value)
{
    setTop(controls_.preview, value);
}

void MainWindowSkin::setImageLeft(int value)
{
    setLeft(controls_.preview, value);
}

void MainWindowSkin::setImageWidth(int value)
{
    setWidth(controls_.preview, value);
}

void MainWindowSkin::setImageHeight(int value)
{
    setHeight(controls_.preview, value);
}

void MainWindowSkin::setRegionRefresh(bool on)
{
    regionRefresh_ = on;
}

void MainWindowSkin::centreOnScreen()
{
    controls_.placement->centreOnScreen(WindowPlacement::Showing::First);
}

} // namespace arcavio
