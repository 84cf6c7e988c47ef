#pragma once
// Where the main window's picture buttons go when the window changes size: the whole group moves
// together so that PNG_User's top-left corner sits at ((W - 647) div 2, (H - 455) div 2), except
// that a window 646 or less wide keeps the group's horizontal place and one exactly 455 high its
// vertical place.

#include <QPoint>
#include <QSize>

namespace kelvork::shell {

// The shift (a, b) to apply to every picture button, picture and label, given the window's outer
// size and PNG_User's current top-left corner. Division truncates toward zero.
inline QPoint buttonShift(QSize outer, QPoint userTopLeft)
{
    const int w = outer.width();
    const int h = outer.height();
    const int a = w > 646 ? (w - 647) / 2 - userTopLeft.x() : 0;
    const int b = h != 455 ? (h - 455) / 2 - userTopLeft.y() : 0;
    return {a, b};
}

} // namespace kelvork::shell
