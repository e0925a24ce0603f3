#include "editor/spinedit.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QStyle>
#include <QStyleOptionSpinBox>

#include <limits>

#include "text/errors.h"
#include "text/integers.h"

namespace arcavio {

SpinEdit::SpinEdit(QWidget* parent, SpinBounds bounds) : QAbstractSpinBox(parent), bounds_(bounds)
{
    setKeyboardTracking(true);
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    lineEdit()->setText(QStringLiteral("0"));
}

std::int32_t SpinEdit::value() const
{
    return spinValueOfText(text().toStdString(), bounds_);
}

void SpinEdit::setValue(std::int64_t value)
{
    lineEdit()->setText(QString::number(clampToBounds(value, bounds_)));
}

int SpinEdit::widthForEveryValue() const
{
    const std::int32_t lowest = bounds_.bounded() ? bounds_.min : std::numeric_limits<std::int32_t>::min();
    const std::int32_t highest = bounds_.bounded() ? bounds_.max : std::numeric_limits<std::int32_t>::max();
    const QFontMetrics metrics(lineEdit()->font());
    const int text = std::max(metrics.horizontalAdvance(QString::number(lowest)),
                              metrics.horizontalAdvance(QString::number(highest)));
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    const QRect field =
        style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxEditField, this);
    // The field's line edit keeps 2 pixels on either side of its text and one for the cursor.
    constexpr int kLineEditRoom = 2 * 2 + 1;
    const QMargins margins = lineEdit()->textMargins();
    return text + kLineEditRoom + margins.left() + margins.right() + width() - field.width();
}

void SpinEdit::stepBy(int steps)
{
    setValue(static_cast<std::int64_t>(value()) + steps);
    selectAll();
}

QValidator::State SpinEdit::validate(QString&, int&) const
{
    // The key filter decides what may be typed; any text the field holds is kept as it is.
    return QValidator::Acceptable;
}

QAbstractSpinBox::StepEnabled SpinEdit::stepEnabled() const
{
    return StepUpEnabled | StepDownEnabled;
}

void SpinEdit::keyPressEvent(QKeyEvent* event)
{
    const QString typed = event->text();
    if (!typed.isEmpty()) {
        const QString separator = QLocale().decimalPoint();
        const char32_t decimal = separator.isEmpty() ? U'.' : separator.toUcs4().value(0, U'.');
        const char32_t c = typed.toUcs4().value(0, 0);
        if (!spinFieldAcceptsCharacter(c, decimal)) {
            QApplication::beep();
            emit keyRefused();
            event->accept();
            return;
        }
    }
    QAbstractSpinBox::keyPressEvent(event);
}

void SpinEdit::focusOutEvent(QFocusEvent* event)
{
    QAbstractSpinBox::focusOutEvent(event);
    if (!bounds_.bounded())
        return;
    try {
        const std::int32_t typed = parseInteger(text().toStdString());
        if (clampToBounds(typed, bounds_) != typed)
            setValue(typed);
    } catch (const ConvertError&) {
        // A text that is no integer already stands for the lower bound.
    }
}

} // namespace arcavio
