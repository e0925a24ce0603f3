#pragma once

#include <cstdint>

#include <QAbstractSpinBox>

#include "editor/editorrules.h"

namespace arcavio {

// A spin field over a signed integer that steps by 1. Its text may hold anything typed that
// passes the key filter; value() reads it, and a text that is no integer counts as the lower
// bound. Only a bounded field corrects its text, when a value is set or the field is left. Its
// objectName is the editor's control name (frameskip, resolution1, volume, ...).
class SpinEdit : public QAbstractSpinBox {
    Q_OBJECT
  public:
    explicit SpinEdit(QWidget* parent = nullptr, SpinBounds bounds = kUnbounded);

    std::int32_t value() const;
    void setValue(std::int64_t value);
    SpinBounds bounds() const { return bounds_; }
    // The least width at which the field shows the whole of every value it can hold.
    int widthForEveryValue() const;

    void stepBy(int steps) override;

  signals:
    // A typed character was refused (and the system beeped).
    void keyRefused();

  protected:
    QValidator::State validate(QString& input, int& pos) const override;
    StepEnabled stepEnabled() const override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    SpinBounds bounds_;
};

} // namespace arcavio
