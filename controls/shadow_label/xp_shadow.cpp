#include "xp_shadow.h"

#include "pointer_shape.h"

#include <QEvent>
#include <QImage>
#include <QPainter>

#include <algorithm>

namespace {

constexpr OleColor DefaultBackColor = 0x00F9F3F2u;
constexpr OleColor DefaultForeColor = 0x00FF8080u;
constexpr OleColor DefaultShadowColor = 0x00FFC0C0u;
constexpr short Opaque = 1;
const QString DefaultCaption = QStringLiteral("XPShadow");

FontValue designFont()
{
    FontValue font;
    font.face = QStringLiteral("MS Sans Serif");
    font.size = 8.25f;
    font.weight = FontValue::Bold;
    font.charset = 204;
    return font;
}

} // namespace

XPShadow::XPShadow(QWidget* parent) : SkinnedControl(parent)
{
    for (TextElement* text : {&l2, &l1}) {
        text->setText(DefaultCaption);
        text->setFont(designFont());
        text->setTransparent(true);
    }
    l1.setColor(DefaultForeColor);
    l2.setColor(DefaultShadowColor);
    applyBackColor(DefaultBackColor);
    applyBackStyle(Opaque);
    setTwipsSize(1200, 990);
}

const SettingsSchema<XPShadow>& XPShadow::settings()
{
    using C = XPShadow;
    static const SettingsSchema<XPShadow> schema{
        {"AutoSize", PropertyType::Boolean, false, [](const C& c) { return QVariant(c.l1.autoSize()); },
         [](C& c, const QVariant& v) { c.l1.setAutoSize(v.toBool()); }},
        {"Caption", PropertyType::String, DefaultCaption, [](const C& c) { return QVariant(c.l1.text()); },
         [](C& c, const QVariant& v) { c.l1.setText(v.toString()); }},
        {"Alignment", PropertyType::Integer, 0, [](const C& c) { return QVariant(c.l1.alignment()); },
         [](C& c, const QVariant& v) { c.l1.setAlignment(v.toInt()); }},
        backColorSetting<C>(DefaultBackColor),
        {"BackStyle", PropertyType::Integer, int(Opaque), [](const C& c) { return QVariant(int(c.backStyle_)); },
         [](C& c, const QVariant& v) { c.applyBackStyle(v.toInt()); }},
        {"Enabled", PropertyType::Boolean, true, [](const C& c) { return QVariant(c.Enabled()); },
         [](C& c, const QVariant& v) { c.QWidget::setEnabled(v.toBool()); }},
        {"Font", PropertyType::Font, QVariant(), [](const C& c) { return QVariant::fromValue(c.l1.font()); },
         [](C& c, const QVariant& v) { c.l1.setFont(v.value<FontValue>()); }},
        {"ForeColor", PropertyType::Color, QVariant::fromValue(DefaultForeColor),
         [](const C& c) { return QVariant::fromValue(c.l1.color()); },
         [](C& c, const QVariant& v) { c.l1.setColor(v.value<OleColor>()); }},
        // The main text only: the shadow and the surface follow at the next setting.
        {"MousePointer", PropertyType::Integer, 0, [](const C& c) { return QVariant(int(c.mousePointer_)); },
         [](C& c, const QVariant& v) {
             if (PointerShape::isValid(v.toInt())) {
                 c.mousePointer_ = short(v.toInt());
                 c.applyPointers();
             }
         }},
        {"MouseIcon", PropertyType::Picture, QVariant(),
         [](const C& c) { return c.mouseIcon_.isNull() ? QVariant() : QVariant(c.mouseIcon_.toImage()); },
         [](C& c, const QVariant& v) { c.setMouseIcon(QPixmap::fromImage(v.value<QImage>())); }},
        {"ToolTipText", PropertyType::String, QString(), [](const C& c) { return QVariant(c.l1.toolTip()); },
         [](C& c, const QVariant& v) { c.l1.setToolTip(v.toString()); }},
        {"Shadow_Alignment", PropertyType::Integer, 0, [](const C& c) { return QVariant(c.l2.alignment()); },
         [](C& c, const QVariant& v) { c.l2.setAlignment(v.toInt()); }},
        {"Shadow_ForeColor", PropertyType::Color, QVariant::fromValue(DefaultShadowColor),
         [](const C& c) { return QVariant::fromValue(c.l2.color()); },
         [](C& c, const QVariant& v) { c.l2.setColor(v.value<OleColor>()); }},
        {"Shadow_Font", PropertyType::Font, QVariant(), [](const C& c) { return QVariant::fromValue(c.l2.font()); },
         [](C& c, const QVariant& v) { c.l2.setFont(v.value<FontValue>()); }},
    };
    return schema;
}

void XPShadow::readProperties(const PropertyBag& bag, const AmbientProperties& ambient)
{
    settings().read(*this, bag, ambient);
    l2.setToolTip(l1.toolTip());
    l2.setText(l1.text());
}

void XPShadow::writeProperties(PropertyBag& bag, const AmbientProperties& ambient) const
{
    settings().write(*this, bag, ambient);
}

bool XPShadow::AutoSize() const { return l1.autoSize(); }

// Not skipped when unchanged: switching it on again refits a control the host resized.
void XPShadow::setAutoSize(bool autoSize)
{
    l1.setAutoSize(autoSize);
    emit PropertyChanged(QStringLiteral("AutoSize"));
    l2.setAutoSize(autoSize);
    if (autoSize)
        fit();
}

QString XPShadow::Caption() const { return l1.text(); }

void XPShadow::setCaption(const QString& caption)
{
    if (caption == l1.text())
        return;
    l1.setText(caption);
    emit PropertyChanged(QStringLiteral("Caption"));
    l2.setText(caption);
    if (l1.autoSize())
        fit();
}

short XPShadow::Alignment() const { return short(l1.alignment()); }

void XPShadow::setAlignment(short alignment)
{
    if (alignment == l1.alignment() || !l1.setAlignment(alignment))
        return;
    emit PropertyChanged(QStringLiteral("Alignment"));
}

short XPShadow::BackStyle() const { return backStyle_; }

void XPShadow::setBackStyle(short style)
{
    if (style == backStyle_ || !applyBackStyle(style))
        return;
    emit PropertyChanged(QStringLiteral("BackStyle"));
}

bool XPShadow::applyBackStyle(int style)
{
    if (style != 0 && style != Opaque)
        return false;
    backStyle_ = short(style);
    // Transparent: Qt then paints the parent beneath us first.
    setAttribute(Qt::WA_OpaquePaintEvent, backStyle_ == Opaque);
    update();
    return true;
}

// Our own switch, not inherited from a disabled parent.
bool XPShadow::Enabled() const { return isEnabledTo(parentWidget()); }

void XPShadow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange && enabled_ != Enabled()) {
        enabled_ = Enabled();
        emit PropertyChanged(QStringLiteral("Enabled"));
    }
    SkinnedControl::changeEvent(event);
}

FontValue XPShadow::Font() const { return l1.font(); }

void XPShadow::setFont(const FontValue& font)
{
    if (font == l1.font())
        return;
    l1.setFont(font);
    emit PropertyChanged(QStringLiteral("Font"));
    if (l1.autoSize())
        fit();
}

OleColor XPShadow::ForeColor() const { return l1.color(); }

bool XPShadow::setForeColor(OleColor color)
{
    if (color == l1.color())
        return true;
    if (!l1.setColor(color))
        return false;
    emit PropertyChanged(QStringLiteral("ForeColor"));
    return true;
}

short XPShadow::MousePointer() const { return mousePointer_; }

void XPShadow::setMousePointer(short code)
{
    if ((code == mousePointer_ && code == sharedPointer_) || !PointerShape::isValid(code))
        return;
    mousePointer_ = code;
    applyMainPointer();
    emit PropertyChanged(QStringLiteral("MousePointer"));
    sharedPointer_ = code;
    applySharedPointer();
}

QPixmap XPShadow::MouseIcon() const { return mouseIcon_; }

// Pictures have no cheap equality, so every setting is applied and notified.
void XPShadow::setMouseIcon(const QPixmap& icon)
{
    mouseIcon_ = icon;
    applyMainPointer();
    emit PropertyChanged(QStringLiteral("MouseIcon"));
    applySharedPointer();
}

QString XPShadow::ToolTipText() const { return l1.toolTip(); }

void XPShadow::setToolTipText(const QString& text)
{
    if (text == l1.toolTip())
        return;
    l1.setToolTip(text);
    emit PropertyChanged(QStringLiteral("ToolTipText"));
    l2.setToolTip(text);
}

short XPShadow::Shadow_Alignment() const { return short(l2.alignment()); }

void XPShadow::setShadow_Alignment(short alignment)
{
    if (alignment == l2.alignment() || !l2.setAlignment(alignment))
        return;
    emit PropertyChanged(QStringLiteral("Shadow_Alignment"));
}

OleColor XPShadow::Shadow_ForeColor() const { return l2.color(); }

bool XPShadow::setShadow_ForeColor(OleColor color)
{
    if (color == l2.color())
        return true;
    if (!l2.setColor(color))
        return false;
    emit PropertyChanged(QStringLiteral("Shadow_ForeColor"));
    return true;
}

FontValue XPShadow::Shadow_Font() const { return l2.font(); }

void XPShadow::setShadow_Font(const FontValue& font)
{
    if (font == l2.font())
        return;
    l2.setFont(font);
    emit PropertyChanged(QStringLiteral("Shadow_Font"));
    if (l1.autoSize())
        fit();
}

void XPShadow::layoutElements()
{
    // Below the offset the boxes would turn negative; they stay empty instead.
    const float width = std::max(0.0f, twipsWidth() - ShadowOffset);
    const float height = std::max(0.0f, twipsHeight() - ShadowOffset);
    l1.move(0, 0);
    l1.resize(width, height);
    l2.move(ShadowOffset, ShadowOffset);
    l2.resize(width, height);
}

// Measured from the text, not from the box: the host may have resized the box since.
void XPShadow::fit()
{
    const float width = l1.textWidth() + ShadowOffset;
    const float height = l1.lineHeight() + ShadowOffset;
    if (QSize(Twips::toPixels(width), Twips::toPixels(height)) != size())
        setTwipsSize(width, height);
}

void XPShadow::applyPointers()
{
    applyMainPointer();
    applySharedPointer();
}

void XPShadow::applyMainPointer() { l1.setPointer(PointerShape::toCursor(mousePointer_, mouseIcon_)); }

void XPShadow::applySharedPointer()
{
    const std::optional<QCursor> cursor = PointerShape::toCursor(sharedPointer_, mouseIcon_);
    l2.setPointer(cursor);
    setSurfacePointer(cursor);
}

void XPShadow::paintBackground(QPainter& painter)
{
    if (backStyle_ == Opaque)
        SkinnedControl::paintBackground(painter);
}

void XPShadow::elementMouseEvent(Element*, MouseAction action, MouseArgs& args)
{
    raiseMouseEvent(this, action, args);
}
