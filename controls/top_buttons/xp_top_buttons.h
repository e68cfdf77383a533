#pragma once

#include "skin/picture_element.h"
#include "skin/skinned_control.h"

#include <QPixmap>

#include <array>
#include <optional>

// A 21 x 21 pixel caption-bar button: close, restore, maximise or minimise by Value,
// each in a normal, pressed and disabled picture. Mouse only; no keyboard part.
class XPTopButtons : public SkinnedControl {
    Q_OBJECT
public:
    explicit XPTopButtons(QWidget* parent = nullptr);

    // "1" close, "2" restore, "3" maximise, "4" minimise; any other text is refused
    // with a message and becomes "1".
    QString Value() const { return value_; }
    void setValue(const QString& value);
    // Set through QWidget::setEnabled; the picture follows the change event.
    bool Enabled() const;

    void readProperties(const PropertyBag& bag, const AmbientProperties& ambient) override;
    void writeProperties(PropertyBag& bag, const AmbientProperties& ambient) const override;

signals:
    void Click();
    void MouseDown(short& Button, short& Shift, float& X, float& Y);
    void MouseMove(short& Button, short& Shift, float& X, float& Y);
    void MouseUp(short& Button, short& Shift, float& X, float& Y);

protected:
    void elementMouseEvent(Element* element, MouseAction action, MouseArgs& args) override;
    void captureLost(Element* element) override;
    void changeEvent(QEvent* event) override;

private:
    enum Look { Normal, Pressed, Disabled };
    using Glyph = std::array<const QPixmap*, 3>; // by Look

    std::optional<Glyph> glyph(const QString& value) const;
    void showPicture(Look look);
    void showRestPicture();

    const QPixmap xn, xd, xe;
    const QPixmap nn, nd, ne;
    const QPixmap mn, md, men;
    const QPixmap dn, dd, de;
    PictureElement tb{this};
    QString value_ = QStringLiteral("1");
    bool enabled_ = true; // as last notified
};
