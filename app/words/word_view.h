#pragma once

#include "code_page/single_byte_code_page.h"

#include <QByteArrayView>
#include <QString>

// A word as the store keeps it: bytes of the word files' code page (see
// SingleByteCodePage::ansi()), decoded only where characters are needed. Valid as long as
// what it shows.
class WordView {
public:
    WordView() = default;
    WordView(const uchar* bytes, qsizetype size) : bytes_(bytes), size_(size) {}
    explicit WordView(QByteArrayView bytes) : WordView(reinterpret_cast<const uchar*>(bytes.data()), bytes.size()) {}

    qsizetype size() const { return size_; }
    bool isEmpty() const { return size_ == 0; }
    const uchar* bytes() const { return bytes_; }

    QString toString() const { return left(size_); }
    // The first `n` characters, decoded.
    QString left(qsizetype n) const;

private:
    const uchar* bytes_ = nullptr;
    qsizetype size_ = 0;
};
