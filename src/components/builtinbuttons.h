#pragma once

#include <QImage>

#include "components/buttonstate.h"

namespace arcavio {

// The main window's own command-button pictures: 31 x 23, a black symbol on white, two colours.
enum class ButtonSymbol { Run, Edit, Exclude, New, Refresh, Kwikstart };

inline constexpr int kBuiltinButtonWidth = 31;
inline constexpr int kBuiltinButtonHeight = 23;

// Pressed is the rest picture; pointer-over is the same symbol with every other pixel black.
// The images are Format_Mono with white at index 0 and black at index 1.
QImage builtinButtonPicture(ButtonSymbol symbol, ButtonState state);

} // namespace arcavio
