#pragma once

#include <QFontMetrics>
#include <QKeyEvent>
#include <QPushButton>
#include <QString>
#include <QStyle>
#include <QWidget>
#include <algorithm>
#include <string_view>

namespace arcavio {

// The game dialogs have no default or cancel button: Enter and Escape close nothing.
inline bool isDialogClosingKey(const QKeyEvent* event)
{
    const int key = event->key();
    return key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter;
}

// The width of a push button: its designed width, or more when its text needs more in the
// button's font. The minimum width that some styles give every button does not count, so a
// short text keeps the designed size.
inline int buttonWidthFor(const QPushButton* button, int designed)
{
    const QStyle* style = button->style();
    const int needed = QFontMetrics(button->font()).size(Qt::TextShowMnemonic, button->text()).width() +
                       style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button) +
                       2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
    return std::max(designed, needed);
}

inline QString qtext(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace arcavio
