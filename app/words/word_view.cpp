#include "word_view.h"

QStringView WordView::decoded(QString& scratch) const
{
    if (!codePage_)
        return text();
    scratch.resize(size_);
    char16_t* out = reinterpret_cast<char16_t*>(scratch.data());
    const std::array<char16_t, 256>& table = codePage_->decoded();
    const uchar* in = bytes();
    for (qsizetype k = 0; k < size_; ++k)
        out[k] = table[in[k]];
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
