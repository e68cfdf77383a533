#pragma once

#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QtMath>

// Geometry is kept in twips (1/1440 inch). Qt's device-independent pixels already
// carry high-DPI scaling, so one constant converts at every resolution.
namespace Twips {

inline constexpr float PerPixel = 15.0f;

inline int toPixels(float twips) { return qRound(twips / PerPixel); }
inline float fromPixels(qreal pixels) { return float(pixels) * PerPixel; }

// A twip rectangle in pixels: edges are rounded, so adjacent rectangles stay adjacent.
inline QRect toPixels(const QRectF& twips)
{
    const int left = toPixels(float(twips.left()));
    const int top = toPixels(float(twips.top()));
    return QRect(left, top, toPixels(float(twips.left() + twips.width())) - left,
                 toPixels(float(twips.top() + twips.height())) - top);
}

inline QPointF fromPixels(const QPointF& pixels) { return pixels * PerPixel; }

} // namespace Twips
