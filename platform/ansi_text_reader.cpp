#include "ansi_text_reader.h"

#include "ansi_code_page.h"

#include <QFileInfo>

namespace {
constexpr qint64 ChunkSize = 1 << 20;
}

AnsiTextReader::AnsiTextReader() : decoder_(AnsiCodePage::decoder()) {}

bool AnsiTextReader::open(const QString& path)
{
    close();
    error_.clear();
    const QFileInfo info(path);
    if (!info.exists()) {
        error_ = QStringLiteral("Файл не найден.");
        return false;
    }
    if (info.isDir()) {
        error_ = QStringLiteral("Это папка, а не файл.");
        return false;
    }
    file_.setFileName(path);
    if (!file_.open(QIODevice::ReadOnly)) {
        error_ = QStringLiteral("Нет доступа к файлу (%1).").arg(file_.errorString());
        return false;
    }
    size_ = file_.size();
    return true;
}

void AnsiTextReader::close()
{
    file_.close();
    decoder_.resetState();
    buffer_.clear();
    position_ = 0;
    size_ = 0;
    fileEnded_ = false;
}

bool AnsiTextReader::fill()
{
    if (fileEnded_)
        return false;
    QByteArray bytes(ChunkSize, Qt::Uninitialized);
    const qint64 got = file_.read(bytes.data(), ChunkSize);
    if (got < 0) {
        error_ = QStringLiteral("Ошибка чтения (%1).").arg(file_.errorString());
        fileEnded_ = true;
        return false;
    }
    if (got == 0) {
        fileEnded_ = true;
        return false;
    }
    buffer_.remove(0, position_);
    position_ = 0;
    buffer_ += decoder_.decode(QByteArrayView(bytes.constData(), got));
    return true;
}

bool AnsiTextReader::atEnd()
{
    while (position_ >= buffer_.size()) {
        if (!fill())
            return true;
    }
    return false;
}

QStringView AnsiTextReader::readLine()
{
    for (;;) {
        const qsizetype cr = buffer_.indexOf(QLatin1Char('\r'), position_);
        if (cr >= 0 && cr + 1 < buffer_.size()) {
            const qsizetype start = position_;
            position_ = cr + 1 + (buffer_.at(cr + 1) == QLatin1Char('\n'));
            return QStringView(buffer_).mid(start, cr - start);
        }
        // No complete terminator in the buffer (or a CR whose LF may be in the next chunk).
        if (!fill()) {
            const qsizetype start = position_;
            position_ = buffer_.size();
            const qsizetype end = cr >= 0 ? cr : buffer_.size();
            return QStringView(buffer_).mid(start, end - start);
        }
    }
}
