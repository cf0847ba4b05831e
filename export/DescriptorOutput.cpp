#include "export/DescriptorOutput.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace orvek {

namespace {

constexpr std::size_t BufferSize = std::size_t{1} << 16;

// Writes all of the bytes, going on after short writes and interruptions; the errno on failure.
int writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
#ifdef _WIN32
        const int n = ::_write(fd, data, static_cast<unsigned>(std::min<std::size_t>(size, 1u << 30)));
#else
        const ssize_t n = ::write(fd, data, size);
#endif
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) return EIO;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return 0;
}

}  // namespace

DescriptorBuffer::DescriptorBuffer(int fd) : fd_(fd), buffer_(BufferSize) {}

void DescriptorBuffer::flush() {
    if (error_ == 0 && used_ > 0) error_ = writeAll(fd_, buffer_.data(), used_);
    used_ = 0;
}

void DescriptorBuffer::write(std::string_view bytes) {
    if (error_ != 0) return;
    if (used_ + bytes.size() > buffer_.size()) {
        flush();
        if (bytes.size() >= buffer_.size()) {
            if (error_ == 0) error_ = writeAll(fd_, bytes.data(), bytes.size());
            return;
        }
    }
    std::memcpy(buffer_.data() + used_, bytes.data(), bytes.size());
    used_ += bytes.size();
}

DescriptorOutput::DescriptorOutput(int fd, std::string what) : out_(fd), what_(std::move(what)) {}

void DescriptorOutput::write(std::string_view bytes) { out_.write(bytes); }

Status DescriptorOutput::finish() {
    out_.flush();
    if (out_.error() != 0) return Failure{"Could not write to " + what_ + ": " + std::strerror(out_.error())};
    return {};
}

}  // namespace orvek
