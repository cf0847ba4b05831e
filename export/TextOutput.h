#pragma once
// Where a writer's bytes go: a string, a file being saved, standard output. Every writer of
// export/ streams its text through a TextOutput piece by piece, so an output of any size is never
// held whole in memory on its way to a file.

#include <string>
#include <string_view>

namespace orvek {

class TextOutput {
public:
    TextOutput() = default;
    TextOutput(const TextOutput&) = delete;
    TextOutput& operator=(const TextOutput&) = delete;
    virtual ~TextOutput() = default;

    // Appends the bytes. A failure is kept by the output (and said when it is finished), so a
    // writer never has to check each piece.
    virtual void write(std::string_view bytes) = 0;

    TextOutput& operator<<(std::string_view bytes) {
        write(bytes);
        return *this;
    }
    TextOutput& operator<<(char c) {
        write(std::string_view(&c, 1));
        return *this;
    }
};

// The bytes kept in a string: for the window's clipboard and files, and for tests.
class StringOutput : public TextOutput {
public:
    void write(std::string_view bytes) override { text_.append(bytes); }
    const std::string& text() const& { return text_; }
    std::string text() && { return std::move(text_); }

private:
    std::string text_;
};

}  // namespace orvek
