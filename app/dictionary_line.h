#pragma once

#include <QString>
#include <QStringView>

// A dictionary entry is its line with every space (code 32) removed; nothing else changes.
namespace DictionaryLine {

QString withoutSpaces(QStringView line);

// The weight of an entry in the import's progress: its length plus the line end.
inline qint64 progressWeight(const QString& entry) { return entry.size() + 2; }

} // namespace DictionaryLine
