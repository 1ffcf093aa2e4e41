#pragma once
// Whether the pointer has really moved over a control. A window that opens under a resting pointer
// gets an enter event, and perhaps a move event at the very same place, for the control under the
// pointer: that is no movement and must not take the focus from a keyboard user.

#include <QPoint>
#include <optional>

namespace kyv::gui {

class PointerMotion {
public:
    // A move event over the control at `globalPosition`: true when the pointer was seen over the
    // control before, at another place.
    bool MovedTo(QPoint globalPosition)
    {
        const bool moved = last_.has_value() && *last_ != globalPosition;
        last_ = globalPosition;
        return moved;
    }
    // The pointer left the control: the next visit starts again.
    void Left() { last_.reset(); }

private:
    std::optional<QPoint> last_;
};

}  // namespace kyv::gui
