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
    pending_ += encoder_.encode(line);
    pending_ += "\r\n";
    return pending_.size() < FlushSize || flush();
}

bool AnsiTextWriter::flush()
{
    if (!pending_.isEmpty() && file_.write(pending_) != pending_.size()) {
        error_ = writeFailure();
        pending_.clear();
        return false;
    }
    pending_.clear();
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
