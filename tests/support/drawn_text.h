#pragma once

#include "skin/text_element.h"

#include <QImage>
#include <QPainter>
#include <QWidget>

#include <algorithm>

// Whether a label draws its text in the platform's disabled look. Drawn without
// anti-aliasing, the disabled text colour then shows in whole pixels.
inline bool drawnDisabled(const TextElement& text, const QWidget& host)
{
    QImage image(host.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    text.paint(painter);
    painter.end();
    const auto* pixels = reinterpret_cast<const QRgb*>(image.constBits());
    const auto* end = pixels + image.sizeInBytes() / sizeof(QRgb);
    return std::find(pixels, end, host.palette().color(QPalette::Disabled, QPalette::WindowText).rgb()) != end;
}
