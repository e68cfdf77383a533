#pragma once

#include "skin/line_element.h"
#include "skin/skinned_control.h"

// A horizontal separator: one pixel row high whatever the host asks, with a line across
// its whole width over its own background.
class XPLine : public SkinnedControl {
    Q_OBJECT
public:
    static constexpr float Height = 10.0f; // one pixel row at 15 twips per pixel
    static constexpr float DesignLength = 3720.0f;

    explicit XPLine(QWidget* parent = nullptr);

    // Each setter refuses (false, nothing changed, no notification) what the line
    // cannot take: a style outside 0..6, an invalid colour.
    short BorderStyle() const;
    bool setBorderStyle(short style);
    OleColor BorderColor() const;
    bool setBorderColor(OleColor color);
    using SkinnedControl::BackColor;
    using SkinnedControl::setBackColor;

    void readProperties(const PropertyBag& bag, const AmbientProperties& ambient) override;
    void writeProperties(PropertyBag& bag, const AmbientProperties& ambient) const override;

    LineElement l{this};

protected:
    void layoutElements() override;

private:
    static const SettingsSchema<XPLine>& settings();
};
