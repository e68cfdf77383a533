#include "property_bag.h"

QVariant PropertyBag::read(QStringView key, const QVariant& defaultValue) const
{
    const qsizetype index = indexOf(key);
    return index < 0 ? defaultValue : entries_.at(index).second;
}

void PropertyBag::write(const QString& key, const QVariant& value, const QVariant& defaultValue)
{
    const qsizetype index = indexOf(key);
    if (index >= 0)
        entries_.removeAt(index);
    if (value != defaultValue)
        entries_.append({key, value});
}

void PropertyBag::set(const QString& key, const QVariant& value)
{
    const qsizetype index = indexOf(key);
    if (index >= 0)
        entries_[index].second = value;
    else
        entries_.append({key, value});
}

bool PropertyBag::contains(QStringView key) const { return indexOf(key) >= 0; }

QStringList PropertyBag::keys() const
{
    QStringList result;
    result.reserve(entries_.size());
    for (const auto& entry : entries_)
        result.append(entry.first);
    return result;
}

qsizetype PropertyBag::indexOf(QStringView key) const
{
    for (qsizetype i = 0; i < entries_.size(); ++i) {
        if (key.compare(entries_.at(i).first, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}
