#pragma once
// Bytes written through an open file descriptor (standard output, above all) with one buffer of
// fixed size, so an output of any length costs the same memory.

#include "export/TextOutput.h"
#include "solver/Expected.h"

#include <string>
#include <vector>

namespace orvek {

class DescriptorOutput : public TextOutput {
public:
    // `what` names the output in a failure: "standard output".
    DescriptorOutput(int fd, std::string what);
    void write(std::string_view bytes) override;
    // Writes what is buffered and says whether every byte got there ("Could not write to standard
    // output: No space left on device").
    Status finish();

private:
    void flush();

    int fd_;
    std::string what_;
    std::vector<char> buffer_;
    std::size_t used_ = 0;
    int error_ = 0;  // the first write's errno that failed
};

}  // namespace orvek
