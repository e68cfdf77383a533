#include "word_view.h"

#include <algorithm>

QString WordView::left(qsizetype n) const
{
    QString text(std::min(n, size_), Qt::Uninitialized);
    SingleByteCodePage::ansi().decode(bytes_, text.size(), reinterpret_cast<char16_t*>(text.data()));
    return text;
}
