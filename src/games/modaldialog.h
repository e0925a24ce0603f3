#pragma once

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QString>
#include <QWidget>
#include <string_view>

namespace arcavio {

// The game dialogs have no default or cancel button: Enter and Escape close nothing.
inline bool isDialogClosingKey(const QKeyEvent* event)
{
    const int key = event->key();
    return key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter;
}

// Centred on the screen rather than over the owner.
inline void centreOnScreen(QWidget* window)
{
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect area = screen->availableGeometry();
    window->move(area.center() - QPoint(window->width() / 2, window->height() / 2));
}

inline QString qtext(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace arcavio
