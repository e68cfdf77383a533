#pragma once

#include "element.h"
#include "settings/ole_color.h"

#include <QPointF>

// A straight one-pixel line between two points given in twips within the host.
class LineElement : public Element {
public:
    explicit LineElement(ElementHost* host);

    QPointF start() const { return start_; }
    QPointF end() const { return end_; }
    void setStart(QPointF twips);
    void setEnd(QPointF twips);
    OleColor color() const { return color_; }
    bool setColor(OleColor color);
    int style() const { return style_; }
    bool setStyle(int code); // false (unchanged) outside 0..6

    bool receivesMouse() const override { return false; }
    void paint(QPainter& painter) const override;

private:
    void follow(); // keeps the element's box around the two points for repainting

    QPointF start_;
    QPointF end_;
    OleColor color_ = 0;
    int style_ = 1;
};
