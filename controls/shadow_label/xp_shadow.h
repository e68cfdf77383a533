#pragma once

#include "skin/skinned_control.h"
#include "skin/text_element.h"

#include <QPixmap>

// A label with a drop shadow: the caption drawn twice, the shadow 40 twips right of
// and below the main text, each with its own font, colour and alignment. It can size
// itself to its main text and raises the mouse events of everything it shows.
class XPShadow : public SkinnedControl {
    Q_OBJECT
public:
    static constexpr float ShadowOffset = 40.0f;

    explicit XPShadow(QWidget* parent = nullptr);

    bool AutoSize() const;
    void setAutoSize(bool autoSize);
    QString Caption() const;
    void setCaption(const QString& caption);
    short Alignment() const;
    void setAlignment(short alignment);
    // The colour setters refuse (return false, change nothing) what is no colour.
    using SkinnedControl::BackColor;
    using SkinnedControl::setBackColor;
    short BackStyle() const;
    void setBackStyle(short style);
    // Set through QWidget::setEnabled; the change event persists it.
    bool Enabled() const;
    FontValue Font() const;
    void setFont(const FontValue& font);
    OleColor ForeColor() const;
    bool setForeColor(OleColor color);
    short MousePointer() const;
    void setMousePointer(short code);
    QPixmap MouseIcon() const;
    void setMouseIcon(const QPixmap& icon);
    QString ToolTipText() const;
    void setToolTipText(const QString& text);
    short Shadow_Alignment() const;
    void setShadow_Alignment(short alignment);
    OleColor Shadow_ForeColor() const;
    bool setShadow_ForeColor(OleColor color);
    FontValue Shadow_Font() const;
    void setShadow_Font(const FontValue& font);

    void readProperties(const PropertyBag& bag, const AmbientProperties& ambient) override;
    void writeProperties(PropertyBag& bag, const AmbientProperties& ambient) const override;

    // Back to front: the shadow, then the main text.
    TextElement l2{this};
    TextElement l1{this};

signals:
    void Click();
    void DblClick();
    void MouseMove(short& Button, short& Shift, float& X, float& Y);
    void MouseUp(short& Button, short& Shift, float& X, float& Y);
    void MouseDown(short& Button, short& Shift, float& X, float& Y);

protected:
    void layoutElements() override;
    void paintBackground(QPainter& painter) override;
    void elementMouseEvent(Element* element, MouseAction action, MouseArgs& args) override;
    void changeEvent(QEvent* event) override;

private:
    static const SettingsSchema<XPShadow>& settings();

    bool applyBackStyle(int style);
    void fit();
    void applyPointers();
    void applyMainPointer();
    void applySharedPointer();

    short backStyle_ = 1;
    // The element keeps only the resulting cursor, so the codes live here: the main
    // text's, and the one the shadow and the surface share (they differ after loading).
    short mousePointer_ = 0;
    short sharedPointer_ = 0;
    QPixmap mouseIcon_;
    bool enabled_ = true; // as last notified
};
