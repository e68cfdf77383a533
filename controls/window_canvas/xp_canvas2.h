#pragma once

#include "skin/picture_element.h"
#include "skin/skinned_control.h"
#include "skin/text_element.h"

// The skin of a frameless window: caption bar, side and bottom edges, corners and
// title, pieced together from bitmaps on every resize. A press anywhere on the caption
// bar moves the top-level window. Host controls placed inside sit above all of it.
class XPCanvas2 : public SkinnedControl {
    Q_OBJECT
public:
    explicit XPCanvas2(QWidget* parent = nullptr);

    QString Caption() const { return Cap.text(); }
    void setCaption(const QString& caption);

    void initNew(const AmbientProperties& ambient) override;
    void readProperties(const PropertyBag& bag, const AmbientProperties& ambient) override;
    void writeProperties(PropertyBag& bag, const AmbientProperties& ambient) const override;

protected:
    // Hands the move of the top-level window to the window system.
    virtual void startWindowMove(const QPoint& globalPress, Qt::MouseButton button);

    void layoutElements() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

    // Back to front.
    PictureElement lev{this};
    PictureElement pr{this};
    PictureElement niz{this};
    PictureElement ver{this};
    PictureElement lto{this};
    PictureElement rto{this};
    TextElement Cap{this};
    PictureElement nr{this};
    PictureElement nl{this};
    PictureElement l2{this};

private:
    bool onCaptionBar(const QPointF& pixels) const;
};
