#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// Reads an 8-bit text file line by line, as its bytes: decoding is the caller's choice. A line ends at CR LF or at a
// lone CR; a lone LF stays in the line; a terminator at the very end gives no further empty line. Only regular files
// are read, and never more than the size they had when opened, so neither a device nor a file that keeps growing can
// keep a read going for ever; a file that ends before that size was cut short while open, which is a read failure. A
// file whose size the system reports as 0 (as /proc does) is read to its end.
class AnsiTextReader {
public:
    AnsiTextReader();
    ~AnsiTextReader();
    AnsiTextReader(const AnsiTextReader&) = delete;
    AnsiTextReader& operator=(const AnsiTextReader&) = delete;

    // False when the file cannot be opened for reading (errorString() says why).
    bool open(const QString& path);
    // Closes the file; a read failure stays reported until the next open().
    void close();

    qint64 size() const { return size_; }
    bool atEnd();
    // The next line's bytes, valid until the next call. Only call when !atEnd().
    QByteArrayView readLine();
    // The line readLine() returned last, as an array of its own; call at most once per line.
    // A line that fills most of the reader's buffer, as any line longer than a chunk does,
    // is handed over rather than copied: copying hundreds of megabytes takes seconds.
    QByteArray takeLastLine();

    // Called after each further chunk read while one line spans more than two, with the
    // nanoseconds that line has taken so far, so a caller can keep the window painted
    // during a very long line. Returning false lets go of the line: readLine() returns an
    // empty view, stopped() turns true and nothing more is read.
    void setWithinLongLine(std::function<bool(qint64 lineNs)> hook) { withinLongLine_ = std::move(hook); }
    bool stopped() const { return stopped_; }

    // True once a read failed; the lines before the failure were delivered.
    bool hasError() const { return !error_.isEmpty(); }
    QString errorString() const { return error_; }

private:
    bool fill(); // reads the next chunk; false at the end or on error
    QByteArrayView letGoOfLine();
    void makeRoomForLongLine();

    int fd_ = -1;
    QByteArray buffer_; // [position_, size) not yet returned
    qsizetype position_ = 0;
    qsizetype scanned_ = 0; // no CR in [position_, scanned_)
    QByteArrayView lastLine_;
    qint64 size_ = 0;
    qint64 remaining_ = 0;
    bool sizeKnown_ = true;
    bool fileEnded_ = false;
    bool stopped_ = false;
    QString error_;
    std::function<bool(qint64)> withinLongLine_;
};
