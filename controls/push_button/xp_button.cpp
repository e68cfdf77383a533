#include "xp_button.h"

#include "code_page/single_byte_code_page.h"
#include "virtual_key.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QSignalBlocker>

#include <algorithm>

namespace {

constexpr OleColor DefaultColor = 0x00FF8080u;

QVariant colorValue(OleColor color) { return QVariant::fromValue(color); }

const SettingsSchema<XPButton>& schema()
{
    static const SettingsSchema<XPButton> schema{
        {QStringLiteral("Enabled"), PropertyType::Boolean, true,
         [](const XPButton& b) { return QVariant(b.Enabled()); },
         [](XPButton& b, const QVariant& v) { b.setEnabled(v.toBool()); }},
        {QStringLiteral("Caption"), PropertyType::String, QStringLiteral("XPButton"),
         [](const XPButton& b) { return QVariant(b.Caption()); },
         [](XPButton& b, const QVariant& v) { b.setCaption(v.toString()); }},
        {QStringLiteral("ToolTipText"), PropertyType::String, QString(),
         [](const XPButton& b) { return QVariant(b.ToolTipText()); },
         [](XPButton& b, const QVariant& v) { b.setToolTipText(v.toString()); }},
        {QStringLiteral("ForeColor"), PropertyType::Color, colorValue(DefaultColor),
         [](const XPButton& b) { return colorValue(b.ForeColor()); },
         [](XPButton& b, const QVariant& v) { b.setForeColor(v.value<OleColor>()); }},
        {QStringLiteral("BorderColor"), PropertyType::Color, colorValue(DefaultColor),
         [](const XPButton& b) { return colorValue(b.BorderColor()); },
         [](XPButton& b, const QVariant& v) { b.setBorderColor(v.value<OleColor>()); }},
        {QStringLiteral("GetFocusColor"), PropertyType::Color, colorValue(DefaultColor),
         [](const XPButton& b) { return colorValue(b.GetFocusColor()); },
         [](XPButton& b, const QVariant& v) { b.setGetFocusColor(v.value<OleColor>()); }},
        {QStringLiteral("Font"), PropertyType::Font, QVariant(),
         [](const XPButton& b) { return QVariant::fromValue(b.Font()); },
         [](XPButton& b, const QVariant& v) { b.setFont(v.value<FontValue>()); }},
    };
    return schema;
}

// The character as an 8-bit code, as the key-press event hands it on; 0 for none.
short keyAscii(const QString& text)
{
    if (text.size() != 1 || text.at(0) == QChar(0x7F)) // Delete types nothing
        return 0;
    if (text.at(0).unicode() < 0x80)
        return short(text.at(0).unicode());
    uchar byte = 0;
    return SingleByteCodePage::ansi().encode(text, &byte) ? short(byte) : short('?');
}

} // namespace

XPButton::XPButton(QWidget* parent) : SkinnedControl(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    dow.setStretch(true);
    dow.setPicture(QPixmap(QStringLiteral(":/skin/push_button/dow.bmp")));
    dow.setVisible(false);
    nor.setStretch(true);
    nor.setPicture(QPixmap(QStringLiteral(":/skin/push_button/nor.bmp")));
    bor.setBorderColor(borderColor_);
    cap.setAlignment(TextElement::Center);
    cap.setTransparent(true);
    cap.setColor(DefaultColor);
    cap.setText(QStringLiteral("XPButton"));
    cap.setFont(FontValue{QStringLiteral("Times New Roman"), 12.0f, FontValue::Bold, false, false, false, 204});
    gf.setBorderColor(focusColor_);
    gf.setVisible(false);
    setTwipsSize(1620, 645);
    layoutElements();
}

bool XPButton::Enabled() const { return !testAttribute(Qt::WA_ForceDisabled); }

void XPButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange) {
        // A disabled parent greys the caption too; only the own flag is persisted.
        cap.setEnabledLook(isEnabled());
        if (!isEnabled()) // a disabled button raises nothing, not even a late release
            forgetKeyPresses();
        if (enabled_ != Enabled()) {
            enabled_ = Enabled();
            emit PropertyChanged(QStringLiteral("Enabled"));
        }
    }
    SkinnedControl::changeEvent(event);
}

void XPButton::captureLost(Element*) { showPressed(false); }

bool XPButton::event(QEvent* event)
{
    // A modal box took the keyboard: a key still held is not clicked under it, nor once
    // it is gone, when the button may mean something else.
    if (event->type() == QEvent::WindowBlocked)
        forgetKeyPresses();
    return SkinnedControl::event(event);
}

void XPButton::forgetKeyPresses()
{
    keysDown_.clear();
    faceKey_ = 0;
    showPressed(false);
}

void XPButton::setCaption(const QString& caption)
{
    if (caption == cap.text())
        return;
    // The box keeps its place: the caption stays centred in the full width.
    cap.setText(caption);
    emit PropertyChanged(QStringLiteral("Caption"));
}

void XPButton::setToolTipText(const QString& text)
{
    if (text == cap.toolTip())
        return;
    cap.setToolTip(text);
    emit PropertyChanged(QStringLiteral("ToolTipText"));
}

bool XPButton::setForeColor(OleColor color)
{
    if (color == cap.color())
        return true;
    if (!cap.setColor(color))
        return false;
    emit PropertyChanged(QStringLiteral("ForeColor"));
    return true;
}

bool XPButton::setBorderColor(OleColor color)
{
    if (color == borderColor_)
        return true;
    // Stored only once the frame has taken it, so the two never disagree.
    if (!bor.setBorderColor(color))
        return false;
    borderColor_ = color;
    emit PropertyChanged(QStringLiteral("BorderColor"));
    return true;
}

bool XPButton::setGetFocusColor(OleColor color)
{
    if (color == focusColor_)
        return true;
    if (!gf.setBorderColor(color))
        return false;
    focusColor_ = color;
    emit PropertyChanged(QStringLiteral("GetFocusColor"));
    return true;
}

void XPButton::setFont(const FontValue& font)
{
    if (font == cap.font())
        return;
    cap.setFont(font);
    centreCaption();
    emit PropertyChanged(QStringLiteral("Font"));
}

void XPButton::initNew(const AmbientProperties& ambient) { setCaption(ambient.displayName); }

void XPButton::readProperties(const PropertyBag& bag, const AmbientProperties& ambient)
{
    // Loading restores what the host already holds; nothing to report back.
    const QSignalBlocker blocker(this);
    schema().read(*this, bag, ambient);
}

void XPButton::writeProperties(PropertyBag& bag, const AmbientProperties& ambient) const
{
    schema().write(*this, bag, ambient);
}

void XPButton::layoutElements()
{
    const float w = twipsWidth();
    const float h = twipsHeight();
    gf.move(25, 25);
    gf.resize(std::max(0.0f, w - 40), std::max(0.0f, h - 40));
    nor.resize(w, h);
    dow.resize(w, h);
    bor.resize(w, h);
    cap.setLeft(0);
    cap.setWidth(w);
    centreCaption();
}

void XPButton::centreCaption()
{
    const float lineHeight = cap.lineHeight();
    cap.setHeight(lineHeight);
    cap.setTop(twipsHeight() / 2 - lineHeight / 2);
}

void XPButton::showPressed(bool pressed)
{
    // The face to show first, then the other hidden: one of them is always visible.
    if (pressed) {
        dow.setVisible(true);
        nor.setVisible(false);
    } else {
        nor.setVisible(true);
        dow.setVisible(false);
    }
}

void XPButton::elementMouseEvent(Element* element, MouseAction action, MouseArgs&)
{
    // The face clicks on any release of its press; the caption only on a platform click.
    const bool onCaption = element == &cap;
    switch (action) {
    case MouseAction::Down:
    case MouseAction::DblClick:
        showPressed(true);
        break;
    case MouseAction::Up:
        showPressed(false);
        if (!onCaption)
            emit Click();
        break;
    case MouseAction::Click:
        if (onCaption)
            emit Click();
        break;
    case MouseAction::Move:
        break;
    }
}

void XPButton::keyPressEvent(QKeyEvent* event)
{
    // A held key repeats its press: the events again, the face only for a press seen here.
    const bool ownPress = !event->isAutoRepeat() || keysDown_.contains(event->key());
    if (!event->isAutoRepeat())
        keysDown_.insert(event->key());
    const bool keypad = event->modifiers() & Qt::KeypadModifier;
    short keyCode = VirtualKey::fromQtKey(event->key(), keypad);
    short shift = shiftCode(event->modifiers());
    emit KeyDown(keyCode, shift);
    // The host's handler may have changed the code.
    if (keyCode == VirtualKey::Space && ownPress) {
        showPressed(true);
        faceKey_ = event->key();
    }
    if (short ascii = keyAscii(event->text()))
        emit KeyPress(ascii);
}

void XPButton::keyReleaseEvent(QKeyEvent* event)
{
    // Held Space repeats the press only; the click comes once, on the real release.
    if (event->isAutoRepeat())
        return;
    const bool ownPress = keysDown_.remove(event->key());
    const bool keypad = event->modifiers() & Qt::KeypadModifier;
    short keyCode = VirtualKey::fromQtKey(event->key(), keypad);
    short shift = shiftCode(event->modifiers());
    emit KeyUp(keyCode, shift);
    // Releasing the key that pressed the face always lifts it, even when the host's
    // handler turned the release into another key and so suppressed the click.
    const bool space = keyCode == VirtualKey::Space;
    if (space || (faceKey_ != 0 && event->key() == faceKey_)) {
        faceKey_ = 0;
        showPressed(false);
    }
    if (space && ownPress)
        emit Click();
}

void XPButton::focusInEvent(QFocusEvent* event)
{
    // The frame marks keyboard navigation only; a click does not draw it.
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason)
        gf.setVisible(true);
    SkinnedControl::focusInEvent(event);
}

void XPButton::focusOutEvent(QFocusEvent* event)
{
    // A key released elsewhere clicks nothing here.
    forgetKeyPresses();
    gf.setVisible(false);
    SkinnedControl::focusOutEvent(event);
}
