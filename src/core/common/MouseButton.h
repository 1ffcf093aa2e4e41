#pragma once
// The mouse button a command reacts to: the left one performs it, the right one opens help.

namespace kyv {

enum class MouseButton { Left, Right, Middle };

}  // namespace kyv
