#pragma once

#include <streambuf>
#include <vector>

namespace orv {

// An output stream buffer over a file descriptor that keeps the errno of
// the first failed write, so that a full disk or a closed standard output is
// reported with the system's reason. Every write(2) is checked and retried
// after a partial write or an interruption.
class FdStreamBuf : public std::streambuf {
  public:
    explicit FdStreamBuf(int fd, std::size_t bufferSize = 1 << 16);
    ~FdStreamBuf() override;

    // The errno of the first failure, or 0.
    int error() const { return error_; }

  protected:
    int_type overflow(int_type ch) override;
    std::streamsize xsputn(const char* data, std::streamsize count) override;
    int sync() override;

  private:
    bool flushBuffer();
    bool writeAll(const char* data, std::size_t count);

    int fd_;
    int error_ = 0;
    std::vector<char> buffer_;
};

} // namespace orv
