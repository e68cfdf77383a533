#pragma once

#include "skin/rect_element.h"
#include "skin/skinned_control.h"
#include "skin/text_element.h"

// The progress bar: a flat box with a border, a fill that grows from the left in
// proportion to Value / Max, and an optional caption line over it. The host writes
// the caption; the bar computes nothing but the fill.
class XPProgressBar : public SkinnedControl {
    Q_OBJECT
public:
    explicit XPProgressBar(QWidget* parent = nullptr);

    // The colour and alignment setters refuse (return false, change nothing) invalid values.
    using SkinnedControl::BackColor;
    using SkinnedControl::setBackColor;
    OleColor BorderColor() const { return b.borderColor(); }
    bool setBorderColor(OleColor color);
    // Value and Max are kept as the exact texts assigned.
    QString Value() const { return valueText_; }
    void setValue(const QString& value);
    OleColor PBColor() const { return s.fillColor().value_or(0); }
    bool setPBColor(OleColor color);
    QString Max() const { return maxText_; }
    void setMax(const QString& max);
    QString Caption() const { return l.text(); }
    void setCaption(const QString& caption);
    OleColor ForeColor() const { return l.color(); }
    bool setForeColor(OleColor color);
    short Alignment() const { return short(l.alignment()); }
    bool setAlignment(short alignment);
    bool CaptionShow() const { return l.isVisible(); }
    void setCaptionShow(bool show);

    // Twips of fill per unit of Value: the width over Max, 0 while Max is no usable divisor.
    double Val() const;

    void readProperties(const PropertyBag& bag, const AmbientProperties& ambient) override;
    void writeProperties(PropertyBag& bag, const AmbientProperties& ambient) const override;

    // Back to front, over the background.
    RectElement s{this}; // fill
    TextElement l{this}; // caption
    RectElement b{this}; // border

protected:
    void layoutElements() override;

private:
    void updateFill();

    QString valueText_ = QStringLiteral("0");
    QString maxText_ = QStringLiteral("100");
    double max_ = 100; // maxText_ as a number; 0 when it is none
};
