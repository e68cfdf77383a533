#pragma once

#include <QFont>
#include <QMetaType>
#include <QString>

// A persisted font: what the stored design and the controls' settings hold.
struct FontValue {
    QString face = QStringLiteral("MS Sans Serif");
    float size = 8.25f;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    int charset = 0;

    static constexpr int Bold = 700;

    QFont toQFont() const;

    friend bool operator==(const FontValue&, const FontValue&) = default;
};

Q_DECLARE_METATYPE(FontValue)

namespace Fonts {
// Maps the faces the design names onto installed ones, keeping sizes.
void installSubstitutions();
} // namespace Fonts
