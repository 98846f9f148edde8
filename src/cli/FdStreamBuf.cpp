#include "cli/FdStreamBuf.h"

#include <cerrno>
#include <unistd.h>

namespace orv {

FdStreamBuf::FdStreamBuf(int fd, std::size_t bufferSize) : fd_(fd), buffer_(bufferSize) {
    setp(buffer_.data(), buffer_.data() + buffer_.size());
}

FdStreamBuf::~FdStreamBuf() {
    flushBuffer();
}

bool FdStreamBuf::writeAll(const char* data, std::size_t count) {
    if (error_ != 0)
        return false;
    while (count > 0) {
        const ssize_t n = ::write(fd_, data, count);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error_ = errno;
            return false;
        }
        data += n;
        count -= static_cast<std::size_t>(n);
    }
    return true;
}

bool FdStreamBuf::flushBuffer() {
    const std::size_t pending = static_cast<std::size_t>(pptr() - pbase());
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return pending == 0 || writeAll(buffer_.data(), pending);
}

FdStreamBuf::int_type FdStreamBuf::overflow(int_type ch) {
    if (!flushBuffer())
        return traits_type::eof();
    if (traits_type::eq_int_type(ch, traits_type::eof()))
        return traits_type::not_eof(ch);
    *pptr() = traits_type::to_char_type(ch);
    pbump(1);
    return ch;
}

std::streamsize FdStreamBuf::xsputn(const char* data, std::streamsize count) {
    if (count >= static_cast<std::streamsize>(buffer_.size())) {
        if (!flushBuffer() || !writeAll(data, static_cast<std::size_t>(count)))
            return 0;
        return count;
    }
    return std::streambuf::xsputn(data, count);
}

int FdStreamBuf::sync() {
    return flushBuffer() ? 0 : -1;
}

} // namespace orv
