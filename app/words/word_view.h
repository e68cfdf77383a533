#pragma once

#include "code_page/single_byte_code_page.h"

#include <QString>
#include <QStringView>

// A word as the store keeps it: the bytes of a single-byte code page, or UTF-16 text.
// Valid as long as what it shows.
class WordView {
public:
    WordView() = default;
    WordView(QStringView text) : data_(text.utf16()), size_(text.size()) {}
    WordView(const QString& text) : WordView(QStringView(text)) {}
    WordView(const uchar* bytes, qsizetype size, const SingleByteCodePage* codePage)
        : data_(bytes), size_(size), codePage_(codePage)
    {
    }

    qsizetype size() const { return size_; }
    bool isEmpty() const { return size_ == 0; }
    // Null for UTF-16 text.
    const SingleByteCodePage* codePage() const { return codePage_; }
    const uchar* bytes() const { return static_cast<const uchar*>(data_); }
    // Only for UTF-16 text.
    QStringView text() const { return QStringView(static_cast<const char16_t*>(data_), size_); }

    QChar at(qsizetype k) const { return codePage_ ? QChar(codePage_->decode(bytes()[k])) : text()[k]; }
    // The text itself, or its bytes decoded into `scratch`.
    QStringView decoded(QString& scratch) const;
    QString toString() const
    {
        QString scratch;
        return decoded(scratch).toString();
    }
    // The first `n` characters, decoded.
    QString left(qsizetype n) const { return WordView(data_, std::min(n, size_), codePage_).toString(); }

    friend bool operator==(WordView a, QStringView b);
    friend bool operator!=(WordView a, QStringView b) { return !(a == b); }

private:
    WordView(const void* data, qsizetype size, const SingleByteCodePage* codePage)
        : data_(data), size_(size), codePage_(codePage)
    {
    }

    const void* data_ = u"";
    qsizetype size_ = 0;
    const SingleByteCodePage* codePage_ = nullptr;
};
