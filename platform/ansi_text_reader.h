#pragma once

#include <QFile>
#include <QString>
#include <QStringDecoder>
#include <QStringView>

// Reads an 8-bit text file line by line. A line ends at CR LF or at a lone CR; a lone
// LF stays in the line; a terminator at the very end gives no further empty line.
class AnsiTextReader {
public:
    AnsiTextReader();

    // False when the file cannot be opened for reading (errorString() says why).
    bool open(const QString& path);
    // Closes the file; a read failure stays reported until the next open().
    void close();

    qint64 size() const { return size_; }
    bool atEnd();
    // The next line, valid until the next call. Only call when !atEnd().
    QStringView readLine();

    // True once a read failed; the lines before the failure were delivered.
    bool hasError() const { return !error_.isEmpty(); }
    QString errorString() const { return error_; }

private:
    bool fill(); // reads and decodes the next chunk; false at the end or on error

    QFile file_;
    QStringDecoder decoder_;
    QString buffer_;
    qsizetype position_ = 0;
    qint64 size_ = 0;
    bool fileEnded_ = false;
    QString error_;
};
