#include "ole_color.h"

#include <QGuiApplication>
#include <QPalette>

namespace Ole {
namespace {

struct SystemColorRole {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The classic system colour indices 0..24 mapped onto the palette.
constexpr SystemColorRole systemRoles[] = {
    {QPalette::Active, QPalette::Mid},             // 0 scroll bars
    {QPalette::Active, QPalette::Window},          // 1 desktop
    {QPalette::Active, QPalette::Highlight},       // 2 active caption
    {QPalette::Inactive, QPalette::Highlight},     // 3 inactive caption
    {QPalette::Active, QPalette::Window},          // 4 menu
    {QPalette::Active, QPalette::Base},            // 5 window background
    {QPalette::Active, QPalette::Shadow},          // 6 window frame
    {QPalette::Active, QPalette::WindowText},      // 7 menu text
    {QPalette::Active, QPalette::Text},            // 8 window text
    {QPalette::Active, QPalette::HighlightedText}, // 9 caption text
    {QPalette::Active, QPalette::Window},          // 10 active border
    {QPalette::Inactive, QPalette::Window},        // 11 inactive border
    {QPalette::Active, QPalette::Dark},            // 12 application workspace
    {QPalette::Active, QPalette::Highlight},       // 13 highlight
    {QPalette::Active, QPalette::HighlightedText}, // 14 highlight text
    {QPalette::Active, QPalette::Button},          // 15 button face
    {QPalette::Active, QPalette::Dark},            // 16 button shadow
    {QPalette::Disabled, QPalette::Text},          // 17 grey text
    {QPalette::Active, QPalette::ButtonText},      // 18 button text
    {QPalette::Inactive, QPalette::WindowText},    // 19 inactive caption text
    {QPalette::Active, QPalette::Light},           // 20 button highlight
    {QPalette::Active, QPalette::Shadow},          // 21 3D dark shadow
    {QPalette::Active, QPalette::Midlight},        // 22 3D light
    {QPalette::Active, QPalette::ToolTipText},     // 23 tooltip text
    {QPalette::Active, QPalette::ToolTipBase},     // 24 tooltip background
};

constexpr quint32 systemColorCount = sizeof(systemRoles) / sizeof(systemRoles[0]);

} // namespace

bool isSystemColor(OleColor value) { return (value & SystemColorFlag) != 0; }

bool isValidColor(OleColor value)
{
    if (isSystemColor(value))
        return (value & ~SystemColorFlag) < systemColorCount;
    return (value & 0xFF000000u) == 0;
}

QColor toQColor(OleColor value)
{
    if (!isValidColor(value))
        return QColor();
    if (isSystemColor(value)) {
        const SystemColorRole& entry = systemRoles[value & ~SystemColorFlag];
        return QGuiApplication::palette().color(entry.group, entry.role);
    }
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

} // namespace Ole
