#include "font_value.h"

#include <QStringList>

QFont FontValue::toQFont() const
{
    QFont font(face);
    font.setPointSizeF(size);
    font.setWeight(QFont::Weight(qBound(1, weight, 1000)));
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikethrough);
    // Widths are measured as sums of advances; kerning would make drawn text differ.
    font.setKerning(false);
    return font;
}

namespace Fonts {

void installSubstitutions()
{
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               QStringList() << QStringLiteral("Liberation Sans") << QStringLiteral("DejaVu Sans"));
    QFont::insertSubstitutions(QStringLiteral("Times New Roman"), QStringList() << QStringLiteral("Liberation Serif")
                                                                                << QStringLiteral("DejaVu Serif"));
}

} // namespace Fonts
