#include "ansi_text_writer.h"

#include "ansi_code_page.h"

#include <QDir>
#include <QFileInfo>

namespace {
constexpr qsizetype FlushSize = 1 << 16;
}

AnsiTextWriter::AnsiTextWriter() : encoder_(AnsiCodePage::encoder()) {}

AnsiTextWriter::~AnsiTextWriter() { close(); }

bool AnsiTextWriter::open(const QString& path)
{
    error_.clear();
    pending_.clear();
    pending_.reserve(FlushSize * 2);
    const QFileInfo info(path);
    if (info.isDir()) {
        error_ = QStringLiteral("Это папка, а не файл.");
        return false;
    }
    if (!info.absoluteDir().exists()) {
        error_ = QStringLiteral("Папка не найдена.");
        return false;
    }
    file_.setFileName(path);
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        error_ = QStringLiteral("Нет доступа к файлу (%1).").arg(file_.errorString());
        return false;
    }
    return true;
}

bool AnsiTextWriter::writeLine(QStringView line)
{
    if (!error_.isEmpty())
        return false;
    // Encoded straight into the pending buffer: no allocation per line.
    const qsizetype start = pending_.size();
    pending_.resize(start + encoder_.requiredSpace(line.size()) + 2);
    char* end = encoder_.appendToBuffer(pending_.data() + start, line);
    *end++ = '\r';
    *end++ = '\n';
    pending_.truncate(end - pending_.constData());
    return pending_.size() < FlushSize || flush();
}

bool AnsiTextWriter::flush()
{
    if (!pending_.isEmpty() && file_.write(pending_) != pending_.size()) {
        error_ = writeFailure();
        pending_.truncate(0);
        return false;
    }
    pending_.truncate(0); // keeps the buffer for the next lines
    if (!file_.flush()) {
        error_ = writeFailure();
        return false;
    }
    return true;
}

QString AnsiTextWriter::writeFailure() const
{
    return QStringLiteral("Не удалось записать данные (%1).").arg(file_.errorString());
}

bool AnsiTextWriter::close()
{
    if (!file_.isOpen())
        return error_.isEmpty();
    if (error_.isEmpty())
        flush();
    file_.close();
    if (error_.isEmpty() && file_.error() != QFileDevice::NoError)
        error_ = writeFailure();
    return error_.isEmpty();
}
