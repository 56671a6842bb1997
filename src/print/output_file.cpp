#include "print/output_file.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;

} // namespace

OutputFile::OutputFile(QString path) : path_(std::move(path)) {}

OutputFile::~OutputFile()
{
    if (fd_ >= 0) ::close(fd_);
}

bool OutputFile::Open()
{
    const QByteArray name = QFile::encodeName(path_);
    fd_ = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0) {
        Fail(errno);
        return false;
    }
    buffer_.reserve(kBufferSize);
    return QIODevice::open(QIODevice::WriteOnly);
}

bool OutputFile::Finish()
{
    if (fd_ < 0) return !Failed();
    Flush();
    if (::close(fd_) != 0 && !Failed()) Fail(errno);
    fd_ = -1;
    finished_ = true;
    QIODevice::close();
    return !Failed();
}

qint64 OutputFile::readData(char*, qint64)
{
    return -1;
}

qint64 OutputFile::writeData(const char* data, qint64 size)
{
    if (fd_ < 0 || Failed()) return -1;
    buffer_.append(data, static_cast<std::size_t>(size));
    if (buffer_.size() >= kBufferSize && !Flush()) return -1;
    return size;
}

bool OutputFile::Flush()
{
    std::size_t done = 0;
    while (done < buffer_.size() && !Failed()) {
        const ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && errno != EINTR) {
            Fail(errno);
        } else if (n == 0) {
            Fail(ENOSPC);  // a write that takes nothing makes no progress
        }
    }
    buffer_.clear();
    return !Failed();
}

void OutputFile::Fail(int error)
{
    if (reason_.isEmpty()) reason_ = QString::fromLocal8Bit(std::strerror(error));
    setErrorString(reason_);
}
