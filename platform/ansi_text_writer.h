#pragma once

#include <QFile>
#include <QString>
#include <QStringEncoder>

// Writes 8-bit text lines, each ended by CR LF. Every failure is kept for the caller:
// a failed write is never reported as done.
class AnsiTextWriter {
public:
    AnsiTextWriter();
    ~AnsiTextWriter();

    // Creates the file, or truncates it to zero length when it exists.
    bool open(const QString& path);
    bool writeLine(QStringView line);
    // Flushes and closes; false when anything since open() failed.
    bool close();

    bool isOpen() const { return file_.isOpen(); }
    QString errorString() const { return error_; }

private:
    bool flush();
    QString writeFailure() const;

    QFile file_;
    QStringEncoder encoder_;
    QByteArray pending_;
    QString error_;
};
