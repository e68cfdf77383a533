#pragma once

#include <QByteArray>
#include <QByteArrayView>

// A dictionary entry is its line with every space (code 32) removed; nothing else changes.
// Lines are the file's bytes, in a code page where byte 32 is the space.
namespace DictionaryLine {

// Without an array per line: the line itself when it holds no space, otherwise the entry
// built in `scratch`. Valid until the line or `scratch` changes.
QByteArrayView withoutSpaces(QByteArrayView line, QByteArray& scratch);

// The weight of an entry in the import's progress: its length plus the line end.
inline qint64 progressWeight(qsizetype entryLength) { return entryLength + 2; }

// A line too long to make into its entry between two deliveries of events: its spaces are
// removed in place and the letter signature of what is left is taken, a slice at a time.
class LongEntry {
public:
    explicit LongEntry(QByteArray line) : entry_(std::move(line)) {}

    // Works through the next slice; false once the whole line is done.
    bool next();
    // The entry, once next() has returned false.
    const QByteArray& entry() const { return entry_; }
    quint64 signature() const { return signature_; }

private:
    static constexpr qsizetype SliceBytes = 16 * 1024 * 1024;
    QByteArray entry_;
    qsizetype read_ = 0;
    qsizetype kept_ = 0;
    quint64 signature_ = 0;
};

} // namespace DictionaryLine
