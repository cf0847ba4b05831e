// orvek-batch-manpage VERSION [MORE]: writes the manual page of orvek-batch, made from its help, to
// standard output; MORE is a troff file appended to it (examples, see also, licence).

#include "cli/ManPage.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: orvek-batch-manpage VERSION [MORE]\n");
        return 2;
    }
    std::string more;
    if (argc > 2) {
        std::ifstream in(argv[2], std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "orvek-batch-manpage: cannot read %s\n", argv[2]);
            return 1;
        }
        more.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    const std::string page = orvek::cli::manPage(argv[1], more);
    return std::fwrite(page.data(), 1, page.size(), stdout) == page.size() ? 0 : 1;
}
