#include "xp_line.h"

namespace {

constexpr OleColor DefaultBorderColor = 0x00FF0000u;
constexpr OleColor DefaultBackColor = 0x00E0E0E0u;

} // namespace

XPLine::XPLine(QWidget* parent) : SkinnedControl(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    applyBackColor(DefaultBackColor);
    l.setColor(DefaultBorderColor);
    l.setEnd(QPointF(DesignLength, 0));
    // Held by Qt itself, so even a hidden control never takes another height.
    setFixedHeight(Twips::toPixels(Height));
    setTwipsSize(float(l.end().x()), Height);
}

const SettingsSchema<XPLine>& XPLine::settings()
{
    using C = XPLine;
    static const SettingsSchema<XPLine> schema{
        {"BorderStyle", PropertyType::Integer, 1, [](const C& c) { return QVariant(c.l.style()); },
         [](C& c, const QVariant& v) { c.l.setStyle(v.toInt()); }},
        {"BorderColor", PropertyType::Color, QVariant::fromValue(DefaultBorderColor),
         [](const C& c) { return QVariant::fromValue(c.l.color()); },
         [](C& c, const QVariant& v) { c.l.setColor(v.value<OleColor>()); }},
        backColorSetting<C>(DefaultBackColor),
    };
    return schema;
}

void XPLine::readProperties(const PropertyBag& bag, const AmbientProperties& ambient)
{
    settings().read(*this, bag, ambient);
}

void XPLine::writeProperties(PropertyBag& bag, const AmbientProperties& ambient) const
{
    settings().write(*this, bag, ambient);
}

short XPLine::BorderStyle() const { return short(l.style()); }

bool XPLine::setBorderStyle(short style)
{
    if (style == l.style())
        return true;
    if (!l.setStyle(style))
        return false;
    emit PropertyChanged(QStringLiteral("BorderStyle"));
    return true;
}

OleColor XPLine::BorderColor() const { return l.color(); }

bool XPLine::setBorderColor(OleColor color)
{
    if (color == l.color())
        return true;
    if (!l.setColor(color))
        return false;
    emit PropertyChanged(QStringLiteral("BorderColor"));
    return true;
}

void XPLine::layoutElements() { l.setEnd(QPointF(twipsWidth(), 0)); }
