#include "xp_canvas2.h"

#include "services/window_move.h"
#include "settings/ole_color.h"

#include <QMouseEvent>

namespace {

constexpr OleColor ClientColor = 0x00E0E0E0u; // fixed, not a property
constexpr OleColor TitleColor = 0x00800000u;
constexpr float EdgeWidth = 90;
constexpr float CaptionHeight = 510;

const SettingsSchema<XPCanvas2>& settings()
{
    static const SettingsSchema<XPCanvas2> schema{
        {QStringLiteral("Caption"), PropertyType::String, QStringLiteral("XP_Canvas"),
         [](const XPCanvas2& canvas) { return QVariant(canvas.Caption()); },
         [](XPCanvas2& canvas, const QVariant& value) { canvas.setCaption(value.toString()); }},
    };
    return schema;
}

QPixmap skin(const char* name)
{
    return QPixmap(QStringLiteral(":/skin/window_canvas/%1.bmp").arg(QLatin1String(name)));
}

void stretched(PictureElement& element, const QPixmap& picture, float width, float height)
{
    element.setStretch(true);
    element.setPicture(picture);
    element.resize(width, height);
}

} // namespace

XPCanvas2::XPCanvas2(QWidget* parent) : SkinnedControl(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    applyBackColor(ClientColor);

    const QPixmap edge = skin("edge");
    stretched(lev, edge, EdgeWidth, 0);
    stretched(pr, edge, EdgeWidth, 0);
    stretched(niz, skin("niz"), 0, EdgeWidth);
    stretched(ver, skin("ver"), 0, CaptionHeight);
    stretched(lto, skin("lto"), 540, CaptionHeight);
    stretched(rto, skin("rto"), 1605, CaptionHeight);
    nr.setPicture(skin("nr"));
    nl.setPicture(skin("nl"));
    l2.setPicture(skin("l2"));
    // The joint hangs below the caption bar for good; layout only moves it sideways.
    l2.setTop(CaptionHeight);

    FontValue font;
    font.face = QStringLiteral("MS Sans Serif");
    font.size = 8.25f;
    font.weight = FontValue::Bold;
    font.charset = 204;
    Cap.setFont(font);
    Cap.setColor(TitleColor);
    Cap.setTransparent(true);
    Cap.setAutoSize(true);
    Cap.setTop(170);
    Cap.setLeft(240);

    setTwipsSize(4350, 2805);
}

void XPCanvas2::setCaption(const QString& caption)
{
    if (caption == Cap.text())
        return;
    Cap.setText(caption);
    emit PropertyChanged(QStringLiteral("Caption"));
}

void XPCanvas2::initNew(const AmbientProperties& ambient) { setCaption(ambient.displayName); }

void XPCanvas2::readProperties(const PropertyBag& bag, const AmbientProperties& ambient)
{
    settings().read(*this, bag, ambient);
}

void XPCanvas2::writeProperties(PropertyBag& bag, const AmbientProperties& ambient) const
{
    settings().write(*this, bag, ambient);
}

void XPCanvas2::startWindowMove(const QPoint& globalPress, Qt::MouseButton button)
{
    WindowMove::start(this, globalPress, button);
}

void XPCanvas2::layoutElements()
{
    const float w = twipsWidth();
    const float h = twipsHeight();
    lto.move(0, 0);
    rto.move(w - rto.width(), 0);
    ver.setWidth(w);
    ver.move(0, 0);
    pr.move(0, 0);
    pr.setHeight(h);
    lev.move(w - lev.width(), 0);
    lev.setHeight(h);
    niz.setWidth(w);
    niz.move(0, h - niz.height());
    nl.move(0, h - nl.height());
    nr.move(w - nr.width(), h - nr.height());
    l2.setLeft(w - l2.width());
}

bool XPCanvas2::onCaptionBar(const QPointF& pixels) const
{
    // A host control that lets a press through (disabled, or not interested) still
    // covers the bar at that point.
    if (childAt(pixels.toPoint()))
        return false;
    const Element* element = elementAt(Twips::fromPixels(pixels));
    return element == &Cap || element == &lto || element == &rto || element == &ver;
}

void XPCanvas2::mousePressEvent(QMouseEvent* event)
{
    if (onCaptionBar(event->position()))
        startWindowMove(event->globalPosition().toPoint(), event->button());
    else
        SkinnedControl::mousePressEvent(event);
}

// The second press of a double-click is a press too: dragging right after it moves as well.
void XPCanvas2::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (onCaptionBar(event->position()))
        startWindowMove(event->globalPosition().toPoint(), event->button());
    else
        SkinnedControl::mouseDoubleClickEvent(event);
}
