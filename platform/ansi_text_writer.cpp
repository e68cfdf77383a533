#include "ansi_text_writer.h"

#include "ansi_code_page.h"

namespace {
constexpr qsizetype FlushSize = 1 << 16;
}

AnsiTextWriter::AnsiTextWriter() : encoder_(AnsiCodePage::encoder()) {}

AnsiTextWriter::~AnsiTextWriter() { close(); }

bool AnsiTextWriter::open(const QString& path)
{
    error_.clear();
    pending_.clear();
    file_.setFileName(path);
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        error_ = file_.errorString();
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
        error_ = file_.errorString();
        pending_.clear();
        return false;
    }
    pending_.clear();
    if (!file_.flush()) {
        error_ = file_.errorString();
        return false;
    }
    return true;
}

bool AnsiTextWriter::close()
{
    if (!file_.isOpen())
        return error_.isEmpty();
    if (error_.isEmpty())
        flush();
    file_.close();
    if (error_.isEmpty() && file_.error() != QFileDevice::NoError)
        error_ = file_.errorString();
    return error_.isEmpty();
}
