#include "pointer_shape.h"

namespace PointerShape {
namespace {

// Index = code 1..15. Qt has no "icon" pointer (4), the arrow stands in for it.
constexpr Qt::CursorShape standardShapes[] = {
    Qt::ArrowCursor,     // 1 arrow
    Qt::CrossCursor,     // 2 cross
    Qt::IBeamCursor,     // 3 I-beam
    Qt::ArrowCursor,     // 4 icon
    Qt::SizeAllCursor,   // 5 size
    Qt::SizeBDiagCursor, // 6 size NE-SW
    Qt::SizeVerCursor,   // 7 size N-S
    Qt::SizeFDiagCursor, // 8 size NW-SE
    Qt::SizeHorCursor,   // 9 size W-E
    Qt::UpArrowCursor,   // 10 up arrow
    Qt::WaitCursor,      // 11 hourglass
    Qt::ForbiddenCursor, // 12 no drop
    Qt::BusyCursor,      // 13 arrow and hourglass
    Qt::WhatsThisCursor, // 14 arrow and question mark
    Qt::SizeAllCursor,   // 15 size all
};

constexpr int standardCount = int(sizeof(standardShapes) / sizeof(standardShapes[0]));

} // namespace

bool isValid(int code) { return (code >= Default && code <= standardCount) || code == Custom; }

std::optional<QCursor> toCursor(int code, const QPixmap& icon)
{
    if (code >= 1 && code <= standardCount)
        return QCursor(standardShapes[code - 1]);
    if (code == Custom && !icon.isNull())
        return QCursor(icon);
    return std::nullopt;
}

} // namespace PointerShape
