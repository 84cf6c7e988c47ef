#pragma once
// LeaveClass.ViewColor holds a colour as the stored files always have: 0x00BBGGRR (red in the
// lowest byte). These convert it to and from the screen's colours.

#include <QColor>

namespace kelvork::params {

inline QColor colorOfViewColor(int viewColor)
{
    return QColor(viewColor & 0xFF, (viewColor >> 8) & 0xFF, (viewColor >> 16) & 0xFF);
}

inline int viewColorOf(const QColor& color)
{
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

} // namespace kelvork::params
