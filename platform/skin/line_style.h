#pragma once

#include <Qt>

// Line-style codes: 0 none, 1 solid, 2 dash, 3 dot, 4 dash-dot, 5 dash-dot-dot, 6 inside solid.
namespace LineStyle {

inline constexpr int None = 0;
inline constexpr int Solid = 1;
inline constexpr int InsideSolid = 6;

inline bool isValid(int code) { return code >= None && code <= InsideSolid; }

inline Qt::PenStyle toPenStyle(int code)
{
    switch (code) {
    case 2:
        return Qt::DashLine;
    case 3:
        return Qt::DotLine;
    case 4:
        return Qt::DashDotLine;
    case 5:
        return Qt::DashDotDotLine;
    case None:
        return Qt::NoPen;
    default:
        return Qt::SolidLine;
    }
}

} // namespace LineStyle
