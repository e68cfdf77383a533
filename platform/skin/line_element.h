#pragma once

#include "element.h"
#include "settings/ole_color.h"

#include <QPointF>

// A straight one-pixel line from the host's top-left corner to a point given in twips.
class LineElement : public Element {
public:
    explicit LineElement(ElementHost* host);

    QPointF end() const { return end_; }
    void setEnd(QPointF twips);
    OleColor color() const { return color_; }
    bool setColor(OleColor color);
    int style() const { return style_; }
    bool setStyle(int code); // false (unchanged) outside 0..6

    bool receivesMouse() const override { return false; }
    void paint(QPainter& painter) const override;

private:
    QPointF end_;
    OleColor color_ = 0;
    int style_ = 1;
};
