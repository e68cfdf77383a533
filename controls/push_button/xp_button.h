#pragma once

#include "skin/picture_element.h"
#include "skin/rect_element.h"
#include "skin/skinned_control.h"
#include "skin/text_element.h"

#include <QSet>

// The push button: a stretched gradient face, a border, a centred caption. It shows the
// pressed face while a mouse button or Space is held on it and raises Click when that ends.
class XPButton : public SkinnedControl {
    Q_OBJECT
public:
    explicit XPButton(QWidget* parent = nullptr);

    // Set through QWidget::setEnabled; the caption's look follows the change event.
    bool Enabled() const;
    QString Caption() const { return cap.text(); }
    void setCaption(const QString& caption);
    QString ToolTipText() const { return cap.toolTip(); }
    void setToolTipText(const QString& text);
    OleColor ForeColor() const { return cap.color(); }
    // The colour setters refuse (return false, change nothing) what is no colour.
    bool setForeColor(OleColor color);
    OleColor BorderColor() const { return borderColor_; }
    bool setBorderColor(OleColor color);
    OleColor GetFocusColor() const { return focusColor_; }
    bool setGetFocusColor(OleColor color);
    FontValue Font() const { return cap.font(); }
    void setFont(const FontValue& font);

    void initNew(const AmbientProperties& ambient) override;
    void readProperties(const PropertyBag& bag, const AmbientProperties& ambient) override;
    void writeProperties(PropertyBag& bag, const AmbientProperties& ambient) const override;

    // Back to front.
    PictureElement dow{this}; // pressed face
    PictureElement nor{this}; // normal face
    RectElement bor{this};
    TextElement cap{this};
    RectElement gf{this}; // focus frame

signals:
    void Click();
    void KeyDown(short& KeyCode, short& Shift);
    void KeyPress(short& KeyAscii);
    void KeyUp(short& KeyCode, short& Shift);

protected:
    void layoutElements() override;
    void elementMouseEvent(Element* element, MouseAction action, MouseArgs& args) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void captureLost(Element* element) override;
    bool event(QEvent* event) override;

private:
    void showPressed(bool pressed);
    void centreCaption();
    void forgetKeyPresses();

    OleColor borderColor_ = 0x00FF8080u;
    OleColor focusColor_ = 0x00FF8080u;
    int faceKey_ = 0;     // the Qt key whose press showed the pressed face
    bool enabled_ = true; // as last notified
    // The keys pressed here and not yet released: only such a release clicks, never that
    // of a key held down before the button took the focus.
    QSet<int> keysDown_;
};
