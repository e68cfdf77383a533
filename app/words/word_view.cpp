#include "word_view.h"

QStringView WordView::decoded(QString& scratch) const
{
    if (!codePage_)
        return text();
    scratch.resize(size_);
    codePage_->decode(bytes(), size_, reinterpret_cast<char16_t*>(scratch.data()));
    return QStringView(scratch.constData(), size_);
}

bool operator==(WordView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    if (!a.codePage_)
        return a.text() == b;
    for (qsizetype k = 0; k < b.size(); ++k) {
        if (a.codePage_->decode(a.bytes()[k]) != b[k].unicode())
            return false;
    }
    return true;
}
