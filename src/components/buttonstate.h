#pragma once

namespace arcavio {

// The three pictures of a command button that the program itself draws or a skin replaces.
enum class ButtonState { Rest, Pressed, PointerOver };

} // namespace arcavio
