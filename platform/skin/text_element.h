#pragma once

#include "element.h"
#include "settings/font_value.h"
#include "settings/ole_color.h"

#include <QFont>

class TextWidths;

// A single-line text label: font, colour, alignment (0 left, 1 right, 2 centre),
// transparent or filled background, optional auto-size to its text.
class TextElement : public Element {
public:
    enum Alignment { Left = 0, Right = 1, Center = 2 };

    explicit TextElement(ElementHost* host);

    QString text() const { return text_; }
    void setText(const QString& text);
    FontValue font() const { return font_; }
    void setFont(const FontValue& font);
    OleColor color() const { return color_; }
    bool setColor(OleColor color);
    int alignment() const { return alignment_; }
    bool setAlignment(int alignment); // false (unchanged) outside 0..2
    void setTransparent(bool transparent);
    bool setBackColor(OleColor color);
    bool autoSize() const { return autoSize_; }
    void setAutoSize(bool autoSize);
    // The platform's disabled-text look, independent of mouse delivery.
    void setEnabledLook(bool enabled);

    // Height of one line of text in the current font, in twips.
    float lineHeight() const;
    // Width of the text in the current font, in twips.
    float textWidth() const;

    void paint(QPainter& painter) const override;

private:
    void fit();

    QString text_;
    FontValue font_;
    QFont qfont_;
    const TextWidths* widths_ = nullptr;
    OleColor color_ = 0;
    int alignment_ = Left;
    bool transparent_ = true;
    OleColor backColor_ = 0x00FFFFFFu;
    bool autoSize_ = false;
    bool enabledLook_ = true;
};
