#pragma once

#include "element.h"

#include <QPixmap>

// A bitmap shown at its natural size or stretched to the element's size.
class PictureElement : public Element {
public:
    explicit PictureElement(ElementHost* host);

    QPixmap picture() const { return picture_; }
    // At natural size the element takes the picture's size.
    void setPicture(const QPixmap& picture);
    bool stretch() const { return stretch_; }
    void setStretch(bool stretch);

    void paint(QPainter& painter) const override;

private:
    QPixmap picture_;
    bool stretch_ = false;
};
