#pragma once

#include <QString>
#include <QStringView>

// A dictionary entry is its line with every space (code 32) removed; nothing else changes.
namespace DictionaryLine {

// Without a string per line: the line itself when it holds no space, otherwise the entry
// built in `scratch`. Valid until the line or `scratch` changes.
QStringView withoutSpaces(QStringView line, QString& scratch);
// The same for a line held in a string of its own, in place.
void removeSpaces(QString& line);

// The weight of an entry in the import's progress: its length plus the line end.
inline qint64 progressWeight(QStringView entry) { return entry.size() + 2; }

} // namespace DictionaryLine
