#pragma once

#include "element.h"
#include "settings/ole_color.h"

#include <optional>

// A rectangle: a one-pixel outline and an optional solid fill.
class RectElement : public Element {
public:
    explicit RectElement(ElementHost* host);

    OleColor borderColor() const { return borderColor_; }
    bool setBorderColor(OleColor color);
    // No value: transparent inside.
    std::optional<OleColor> fillColor() const { return fillColor_; }
    bool setFillColor(std::optional<OleColor> color);

    bool receivesMouse() const override { return false; }
    void paint(QPainter& painter) const override;

private:
    OleColor borderColor_ = 0;
    std::optional<OleColor> fillColor_;
};
