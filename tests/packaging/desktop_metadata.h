#pragma once

#include <QFile>
#include <QHash>
#include <QString>
#include <QXmlStreamReader>

// The keys of a desktop file's [Desktop Entry] group, localised ones under their full
// names ("Name[ru]").
inline QHash<QString, QString> desktopEntry(const QString& path)
{
    QHash<QString, QString> keys;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return keys;
    bool inEntry = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('[')))
            inEntry = line == QLatin1String("[Desktop Entry]");
        else if (inEntry && line.contains(QLatin1Char('=')) && !line.startsWith(QLatin1Char('#')))
            keys.insert(line.section(QLatin1Char('='), 0, 0), line.section(QLatin1Char('='), 1));
    }
    return keys;
}

// The text of the first untranslated element of that name in an XML file, or one of its
// attributes; empty when there is none.
inline QString xmlValue(const QString& path, const QString& element, const QString& attribute = QString())
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement() || xml.name() != element || xml.attributes().hasAttribute("xml:lang"))
            continue;
        if (!attribute.isEmpty())
            return xml.attributes().value(attribute).toString();
        return xml.readElementText().trimmed();
    }
    return QString();
}
