#include "settings_schema.h"

#include "ole_color.h"

#include <QImage>
#include <QJsonObject>
#include <QVariantMap>

#include <cmath>
#include <limits>

namespace {

QVariant toColor(const QVariant& stored)
{
    bool ok = false;
    qulonglong value = 0;
    if (stored.typeId() == QMetaType::QString) {
        QString text = stored.toString().trimmed();
        if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
            value = text.mid(2).toULongLong(&ok, 16);
        else
            value = text.toULongLong(&ok, 10);
    } else {
        value = stored.toULongLong(&ok);
    }
    // Unknown system colours and values with stray high bits are no colour at all.
    if (!ok || value > 0xFFFFFFFFull || !Ole::isValidColor(OleColor(value)))
        return {};
    return QVariant::fromValue(OleColor(value));
}

// Qt reads any non-empty text as true; here only a recognisable truth value counts.
QVariant toBoolean(const QVariant& stored)
{
    if (stored.typeId() == QMetaType::QString) {
        const QString text = stored.toString().trimmed();
        if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return false;
        bool ok = false;
        const qlonglong number = text.toLongLong(&ok);
        return ok ? QVariant(number != 0) : QVariant();
    }
    return stored.canConvert<bool>() ? QVariant(stored.toBool()) : QVariant();
}

// QVariant narrows wider numbers to int silently; out of range is unreadable instead.
QVariant toInteger(const QVariant& stored)
{
    if (stored.typeId() == QMetaType::Double || stored.typeId() == QMetaType::Float) {
        const double rounded = std::round(stored.toDouble());
        if (!(rounded >= std::numeric_limits<int>::min() && rounded <= std::numeric_limits<int>::max()))
            return {};
        return QVariant(int(rounded));
    }
    bool ok = false;
    const qlonglong value = stored.toLongLong(&ok);
    if (!ok || value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return {};
    return QVariant(int(value));
}

QVariant toFont(const QVariant& stored)
{
    if (stored.canConvert<FontValue>() && stored.metaType() == QMetaType::fromType<FontValue>())
        return stored;
    const QVariantMap map = stored.toMap();
    if (map.isEmpty())
        return {};
    FontValue font;
    font.face = map.value(QStringLiteral("face"), font.face).toString();
    font.size = map.value(QStringLiteral("size"), font.size).toFloat();
    font.weight = map.value(QStringLiteral("weight"), font.weight).toInt();
    font.italic = map.value(QStringLiteral("italic"), false).toBool();
    font.underline = map.value(QStringLiteral("underline"), false).toBool();
    font.strikethrough = map.value(QStringLiteral("strikethrough"), false).toBool();
    font.charset = map.value(QStringLiteral("charset"), 0).toInt();
    return QVariant::fromValue(font);
}

} // namespace

QVariant toPropertyType(const QVariant& stored, PropertyType type)
{
    if (!stored.isValid())
        return {};
    switch (type) {
    case PropertyType::Boolean:
        return toBoolean(stored);
    case PropertyType::Integer:
        return toInteger(stored);
    case PropertyType::Color:
        return toColor(stored);
    case PropertyType::String:
        return stored.canConvert<QString>() ? QVariant(stored.toString()) : QVariant();
    case PropertyType::Font:
        return toFont(stored);
    case PropertyType::Picture:
        if (stored.metaType() == QMetaType::fromType<QImage>())
            return stored;
        if (stored.typeId() == QMetaType::QString)
            return QVariant::fromValue(QImage(stored.toString()));
        return {};
    }
    return {};
}
