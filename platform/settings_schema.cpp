#include "settings_schema.h"

#include "ole_color.h"

#include <QImage>
#include <QJsonObject>
#include <QVariantMap>

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
    if (!ok || value > 0xFFFFFFFFull)
        return {};
    return QVariant::fromValue(OleColor(value));
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
        return stored.canConvert<bool>() ? QVariant(stored.toBool()) : QVariant();
    case PropertyType::Integer: {
        bool ok = false;
        const int value = stored.toInt(&ok);
        return ok ? QVariant(value) : QVariant();
    }
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
