#include "base/qthelpers.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include <algorithm>

#include "text/boundedtext.h"

namespace arcavio {
namespace {

QString shown(std::string_view text, std::size_t limit)
{
    return qtext(boundedText(text, limit));
}

} // namespace

QString qtext(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString shownLine(std::string_view text)
{
    return shown(text, kShownLineLimit);
}

QString shownMessage(std::string_view text)
{
    return shown(text, kShownMessageLimit);
}

QString plainToolTip(const QString& text)
{
    if (text.isEmpty())
        return {};
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

void setLabelCaption(QLabel* label, const QString& caption)
{
    if (label->buddy() != nullptr) {
        label->setText(caption);
        return;
    }
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&'))
            ++i;
        if (i < caption.size())
            shown += caption[i];
    }
    label->setText(shown);
}

int buttonWidthFor(const QPushButton* button, int designed)
{
    const QStyle* style = button->style();
    const int needed = QFontMetrics(button->font()).size(Qt::TextShowMnemonic, button->text()).width() +
                       style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button) +
                       2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
    return std::max(designed, needed);
}

bool ignoreDialogClosingKey(QKeyEvent* event)
{
    const int key = event->key();
    if (key != Qt::Key_Escape && key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    event->ignore();
    return true;
}

} // namespace arcavio
