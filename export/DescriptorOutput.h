#pragma once
// Bytes written through an open file descriptor (standard output, above all) with one buffer of
// fixed size, so an output of any length costs the same memory.

#include "export/TextOutput.h"
#include "solver/Expected.h"

#include <string>
#include <vector>

namespace orvek {

// Bytes to an open descriptor through one buffer of fixed size: what DescriptorOutput and a file
// being saved share. The first failure's errno is kept, and nothing is written after it.
class DescriptorBuffer {
public:
    explicit DescriptorBuffer(int fd = -1);
    void setDescriptor(int fd) { fd_ = fd; }
    void write(std::string_view bytes);
    // Writes what is buffered; error() then says whether every byte got there.
    void flush();
    int error() const { return error_; }

private:
    int fd_;
    std::vector<char> buffer_;
    std::size_t used_ = 0;
    int error_ = 0;
};

class DescriptorOutput : public TextOutput {
public:
    // `what` names the output in a failure: "standard output".
    DescriptorOutput(int fd, std::string what);
    void write(std::string_view bytes) override;
    // Writes what is buffered and says whether every byte got there ("Could not write to standard
    // output: No space left on device").
    Status finish();

private:
    DescriptorBuffer out_;
    std::string what_;
};

}  // namespace orvek
