#include "xp_progress_bar.h"

#include <QSignalBlocker>

#include <algorithm>
#include <cmath>

namespace {

constexpr OleColor FillOutline = 0x00FFC0C0u;
constexpr float FillHeight = 255;
constexpr float CaptionHeight = 195;
// Far wider than any bar, yet small enough for pixel arithmetic: a Value far above Max
// is cut at the edge either way.
constexpr double FillLimit = 1.0e8;

QVariant colorValue(OleColor color) { return QVariant::fromValue(color); }

const SettingsSchema<XPProgressBar>& schema()
{
    static const SettingsSchema<XPProgressBar> schema{
        SkinnedControl::backColorSetting<XPProgressBar>(Ole::ButtonFace),
        {QStringLiteral("BorderColor"), PropertyType::Color, colorValue(0x00FF0000u),
         [](const XPProgressBar& p) { return colorValue(p.BorderColor()); },
         [](XPProgressBar& p, const QVariant& v) { p.setBorderColor(v.value<OleColor>()); }},
        {QStringLiteral("Value"), PropertyType::String, QStringLiteral("0"),
         [](const XPProgressBar& p) { return QVariant(p.Value()); },
         [](XPProgressBar& p, const QVariant& v) { p.setValue(v.toString()); }},
        {QStringLiteral("PBColor"), PropertyType::Color, colorValue(0x00FFC0C0u),
         [](const XPProgressBar& p) { return colorValue(p.PBColor()); },
         [](XPProgressBar& p, const QVariant& v) { p.setPBColor(v.value<OleColor>()); }},
        {QStringLiteral("Max"), PropertyType::String, QStringLiteral("100"),
         [](const XPProgressBar& p) { return QVariant(p.Max()); },
         [](XPProgressBar& p, const QVariant& v) { p.setMax(v.toString()); }},
        {QStringLiteral("Caption"), PropertyType::String, QStringLiteral("Обработка данных"),
         [](const XPProgressBar& p) { return QVariant(p.Caption()); },
         [](XPProgressBar& p, const QVariant& v) { p.setCaption(v.toString()); }},
        {QStringLiteral("ForeColor"), PropertyType::Color, colorValue(Ole::ButtonText),
         [](const XPProgressBar& p) { return colorValue(p.ForeColor()); },
         [](XPProgressBar& p, const QVariant& v) { p.setForeColor(v.value<OleColor>()); }},
        {QStringLiteral("Alignment"), PropertyType::Integer, QVariant(int(TextElement::Center)),
         [](const XPProgressBar& p) { return QVariant(int(p.Alignment())); },
         [](XPProgressBar& p, const QVariant& v) { p.setAlignment(short(v.toInt())); }},
        {QStringLiteral("CaptionShow"), PropertyType::Boolean, true,
         [](const XPProgressBar& p) { return QVariant(p.CaptionShow()); },
         [](XPProgressBar& p, const QVariant& v) { p.setCaptionShow(v.toBool()); }},
    };
    return schema;
}

} // namespace

XPProgressBar::XPProgressBar(QWidget* parent) : SkinnedControl(parent)
{
    applyBackColor(Ole::ButtonFace);
    s.setFillColor(0x00FFC0C0u);
    s.setBorderColor(FillOutline);
    s.resize(0, FillHeight);
    l.setText(QStringLiteral("Обработка данных"));
    l.setColor(Ole::ButtonText);
    l.setAlignment(TextElement::Center);
    l.setTransparent(true);
    l.setHeight(CaptionHeight);
    b.setBorderColor(0x00FF0000u);
    setTwipsSize(4575, 255);
    layoutElements();
}

bool XPProgressBar::setBorderColor(OleColor color)
{
    if (color == b.borderColor())
        return true;
    if (!b.setBorderColor(color))
        return false;
    emit PropertyChanged(QStringLiteral("BorderColor"));
    return true;
}

void XPProgressBar::setValue(const QString& value)
{
    // The same text leaves the fill as it is, even after Max or the width changed.
    if (value == valueText_)
        return;
    valueText_ = value;
    updateFill();
    emit PropertyChanged(QStringLiteral("Value"));
}

bool XPProgressBar::setPBColor(OleColor color)
{
    if (color == PBColor())
        return true;
    if (!s.setFillColor(color))
        return false;
    emit PropertyChanged(QStringLiteral("PBColor"));
    return true;
}

void XPProgressBar::setMax(const QString& max)
{
    if (max == maxText_)
        return;
    // Only stored: the fill follows at the next change of Value.
    maxText_ = max;
    bool ok = false;
    const double number = max.toDouble(&ok);
    max_ = ok && std::isfinite(number) ? number : 0;
    emit PropertyChanged(QStringLiteral("Max"));
}

void XPProgressBar::setCaption(const QString& caption)
{
    if (caption == l.text())
        return;
    l.setText(caption);
    emit PropertyChanged(QStringLiteral("Caption"));
}

bool XPProgressBar::setForeColor(OleColor color)
{
    if (color == l.color())
        return true;
    if (!l.setColor(color))
        return false;
    emit PropertyChanged(QStringLiteral("ForeColor"));
    return true;
}

bool XPProgressBar::setAlignment(short alignment)
{
    if (alignment == l.alignment())
        return true;
    if (!l.setAlignment(alignment))
        return false;
    emit PropertyChanged(QStringLiteral("Alignment"));
    return true;
}

void XPProgressBar::setCaptionShow(bool show)
{
    if (show == l.isVisible())
        return;
    l.setVisible(show);
    emit PropertyChanged(QStringLiteral("CaptionShow"));
}

double XPProgressBar::Val() const
{
    // The widget's own width rather than the border's: they differ only while a resize of a
    // hidden control waits to be laid out, and the fill must follow the width just set.
    return max_ == 0 ? 0 : double(twipsWidth()) / max_;
}

void XPProgressBar::updateFill()
{
    // A Value that is no number, or a Max that is none, shows no progress rather than a
    // fill of undefined width.
    bool ok = false;
    const double width = valueText_.toDouble(&ok) * Val();
    s.setWidth(ok && std::isfinite(width) ? float(std::clamp(width, 0.0, FillLimit)) : 0.0f);
}

void XPProgressBar::readProperties(const PropertyBag& bag, const AmbientProperties& ambient)
{
    const QSignalBlocker blocker(this);
    schema().read(*this, bag, ambient);
    // Value is read before Max; the fill must agree with both.
    updateFill();
}

void XPProgressBar::writeProperties(PropertyBag& bag, const AmbientProperties& ambient) const
{
    schema().write(*this, bag, ambient);
}

void XPProgressBar::layoutElements()
{
    const float w = twipsWidth();
    const float h = twipsHeight();
    b.resize(w, h);
    l.setWidth(w);
    l.setTop(h / 2 - CaptionHeight / 2);
    // The fill keeps its width and height until Value changes.
}
