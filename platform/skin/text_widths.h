#pragma once

#include <QFont>
#include <QHash>
#include <QStringView>

#include <array>

// Text widths as sums of character advances, cached per font. Fonts are drawn without
// kerning, so the sum is the drawn width; labels that refit on every change (counters
// updated once per item of a long operation) stay cheap.
class TextWidths {
public:
    static const TextWidths& forFont(const QFont& font);

    qreal width(QStringView text) const;
    qreal lineHeight() const { return lineHeight_; }

private:
    explicit TextWidths(const QFont& font);
    qreal advance(char16_t c) const;

    QFont font_;
    qreal lineHeight_ = 0;
    static constexpr int TableSize = 0x500; // Latin and Cyrillic
    mutable std::array<qreal, TableSize> table_;
    mutable QHash<char16_t, qreal> others_;
};
