#include "text_element.h"

#include "element_host.h"
#include "text_widths.h"
#include "twips.h"

#include <QPainter>
#include <QPalette>

#include <cmath>

TextElement::TextElement(ElementHost* host) : Element(host)
{
    qfont_ = font_.toQFont();
    widths_ = &TextWidths::forFont(qfont_);
}

void TextElement::setText(const QString& text)
{
    if (text_ == text)
        return;
    text_ = text;
    if (autoSize_)
        fit();
    changed();
}

void TextElement::setFont(const FontValue& font)
{
    font_ = font;
    qfont_ = font_.toQFont();
    widths_ = &TextWidths::forFont(qfont_);
    if (autoSize_)
        fit();
    changed();
}

bool TextElement::setColor(OleColor color)
{
    if (!Ole::isValidColor(color))
        return false;
    color_ = color;
    changed();
    return true;
}

bool TextElement::setAlignment(int alignment)
{
    if (alignment < Left || alignment > Center)
        return false;
    alignment_ = alignment;
    changed();
    return true;
}

void TextElement::setTransparent(bool transparent)
{
    transparent_ = transparent;
    changed();
}

bool TextElement::setBackColor(OleColor color)
{
    if (!Ole::isValidColor(color))
        return false;
    backColor_ = color;
    changed();
    return true;
}

void TextElement::setAutoSize(bool autoSize)
{
    autoSize_ = autoSize;
    if (autoSize_)
        fit();
}

void TextElement::setEnabledLook(bool enabled)
{
    if (enabledLook_ == enabled)
        return;
    enabledLook_ = enabled;
    changed();
}

float TextElement::lineHeight() const { return Twips::fromPixels(std::ceil(widths_->lineHeight())); }

float TextElement::textWidth() const { return Twips::fromPixels(std::ceil(widths_->width(text_))); }

void TextElement::fit() { resize(textWidth(), lineHeight()); }

void TextElement::paint(QPainter& painter) const
{
    const QRect box = pixelRect();
    if (!transparent_)
        painter.fillRect(box, Ole::toQColor(backColor_));
    if (text_.isEmpty())
        return;
    const Qt::Alignment horizontal = alignment_ == Right    ? Qt::AlignRight
                                     : alignment_ == Center ? Qt::AlignHCenter
                                                            : Qt::AlignLeft;
    const int flags = int(Qt::AlignTop | horizontal) | Qt::TextSingleLine;
    painter.save();
    painter.setClipRect(box);
    painter.setFont(qfont_);
    if (enabledLook_) {
        painter.setPen(Ole::toQColor(color_));
        painter.drawText(box, flags, text_);
    } else {
        // Embossed grey, as disabled captions are drawn.
        const QPalette palette = host()->palette();
        painter.setPen(palette.color(QPalette::Light));
        painter.drawText(box.translated(1, 1), flags, text_);
        painter.setPen(palette.color(QPalette::Disabled, QPalette::WindowText));
        painter.drawText(box, flags, text_);
    }
    painter.restore();
}
