#pragma once

#include <QCursor>
#include <QPixmap>

#include <optional>

// Pointer-shape codes: 0 default (whatever lies beneath shows), 1..15 the standard
// shapes, 99 the custom picture.
namespace PointerShape {

inline constexpr int Default = 0;
inline constexpr int Custom = 99;

bool isValid(int code);
// No value: the default pointer (also for 99 without a picture).
std::optional<QCursor> toCursor(int code, const QPixmap& icon);

} // namespace PointerShape
