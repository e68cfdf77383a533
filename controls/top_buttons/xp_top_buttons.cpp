#include "xp_top_buttons.h"

#include "services/dialogs.h"

#include <QEvent>

namespace {

constexpr float Side = 315;

const SettingsSchema<XPTopButtons>& settings()
{
    static const SettingsSchema<XPTopButtons> schema{
        {QStringLiteral("Enabled"), PropertyType::Boolean, true,
         [](const XPTopButtons& button) { return QVariant(button.Enabled()); },
         [](XPTopButtons& button, const QVariant& value) { button.setEnabled(value.toBool()); }},
        {QStringLiteral("Value"), PropertyType::String, QStringLiteral("1"),
         [](const XPTopButtons& button) { return QVariant(button.Value()); },
         [](XPTopButtons& button, const QVariant& value) { button.setValue(value.toString()); }},
    };
    return schema;
}

QPixmap skin(const char* name)
{
    return QPixmap(QStringLiteral(":/skin/top_buttons/%1.bmp").arg(QLatin1String(name)));
}

} // namespace

XPTopButtons::XPTopButtons(QWidget* parent)
    : SkinnedControl(parent), xn(skin("xn")), xd(skin("xd")), xe(skin("xe")), nn(skin("nn")), nd(skin("nd")),
      ne(skin("ne")), mn(skin("mn")), md(skin("md")), men(skin("men")), dn(skin("dn")), dd(skin("dd")),
      de(skin("de"))
{
    // Whatever size the host asks for, the button keeps its own.
    setFixedSize(Twips::toPixels(Side), Twips::toPixels(Side));
    showRestPicture();
}

std::optional<XPTopButtons::Glyph> XPTopButtons::glyph(const QString& value) const
{
    if (value == u"1")
        return Glyph{&xn, &xd, &xe};
    if (value == u"2")
        return Glyph{&nn, &nd, &ne};
    if (value == u"3")
        return Glyph{&mn, &md, &men};
    if (value == u"4")
        return Glyph{&dn, &dd, &de};
    return std::nullopt;
}

void XPTopButtons::setValue(const QString& value)
{
    if (value == value_)
        return;
    if (!glyph(value)) {
        Dialogs::current().message(QStringLiteral("Значения могут быть только 1, 2, 3 или 4"),
                                   QStringLiteral("Ошибка"), Dialogs::Icon::Error, Dialogs::Buttons::Ok);
        setValue(QStringLiteral("1"));
        return;
    }
    value_ = value;
    showRestPicture();
    emit PropertyChanged(QStringLiteral("Value"));
}

bool XPTopButtons::Enabled() const { return !testAttribute(Qt::WA_ForceDisabled); }

void XPTopButtons::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange) {
        if (enabled_ != Enabled()) {
            enabled_ = Enabled();
            emit PropertyChanged(QStringLiteral("Enabled"));
        }
        showRestPicture();
    }
    SkinnedControl::changeEvent(event);
}

void XPTopButtons::captureLost(Element*) { showRestPicture(); }

void XPTopButtons::readProperties(const PropertyBag& bag, const AmbientProperties& ambient)
{
    settings().read(*this, bag, ambient);
}

void XPTopButtons::writeProperties(PropertyBag& bag, const AmbientProperties& ambient) const
{
    settings().write(*this, bag, ambient);
}

void XPTopButtons::showPicture(Look look)
{
    const QPixmap& picture = *(*glyph(value_))[look];
    if (tb.picture().cacheKey() != picture.cacheKey())
        tb.setPicture(picture);
}

void XPTopButtons::showRestPicture() { showPicture(isEnabled() ? Normal : Disabled); }

void XPTopButtons::elementMouseEvent(Element* element, MouseAction action, MouseArgs& args)
{
    if (element != &tb)
        return;
    raiseMouseEvent(this, action, args);
    // A host that disabled the button meanwhile gets no release to undo the look.
    if (action == MouseAction::Down && isEnabled())
        showPicture(Pressed);
    else if (action == MouseAction::Up)
        showRestPicture();
}
