#pragma once

#include <QCursor>
#include <QRect>
#include <QRectF>
#include <QString>

#include <optional>

class ElementHost;
class QPainter;

// A windowless element of a control: positioned in twips within its host, painted by
// the host in back-to-front order. Painting only reads state.
class Element {
public:
    explicit Element(ElementHost* host);
    virtual ~Element();
    Element(const Element&) = delete;
    Element& operator=(const Element&) = delete;

    float left() const { return left_; }
    float top() const { return top_; }
    float width() const { return width_; }
    float height() const { return height_; }
    QRectF geometry() const { return QRectF(left_, top_, width_, height_); }
    QRect pixelRect() const;

    void setLeft(float left);
    void setTop(float top);
    void setWidth(float width);
    void setHeight(float height);
    void move(float left, float top);
    void resize(float width, float height);

    bool isVisible() const { return visible_; }
    void setVisible(bool visible);
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);

    QString toolTip() const { return toolTip_; }
    void setToolTip(const QString& text) { toolTip_ = text; }
    const std::optional<QCursor>& pointer() const { return pointer_; }
    void setPointer(const std::optional<QCursor>& cursor);

    // Lines and shapes are drawn only; pictures and labels take the mouse.
    virtual bool receivesMouse() const { return true; }
    virtual void paint(QPainter& painter) const = 0;

protected:
    // Repaints the area the element covers now (and covered before a geometry change).
    void changed();
    ElementHost* host() const { return host_; }

private:
    void setGeometry(float left, float top, float width, float height);

    ElementHost* host_;
    float left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    QString toolTip_;
    std::optional<QCursor> pointer_;
};
