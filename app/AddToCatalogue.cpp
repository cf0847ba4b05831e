#include "AddToCatalogue.h"

#include "case/Catalogue.h"
#include "export/SaveFile.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

orvek::Status addToCatalogue(const std::string& path, const std::string& line) {
    const std::string cannot = "Cannot add the airfoil to " + path + ": ";
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return orvek::Failure{cannot + (std::filesystem::exists(path, error)
                                            ? "it is not a plain file."
                                            : "there is no such file in the working folder.")};
    }
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in && !in.eof()) return orvek::Failure{cannot + "the file cannot be read."};
    const orvek::Expected<orvek::Catalogue> catalogue = orvek::readCatalogue(bytes);
    if (!catalogue) return orvek::Failure{catalogue.error()};
    if (catalogue->problem) {
        return orvek::Failure{cannot + "it stops loading at line " + std::to_string(catalogue->problem->lineNumber) +
                              ", so a line added at its end would never be read."};
    }
    if (catalogue->rows.size() >= static_cast<std::size_t>(orvek::MaxAirfoils)) {
        return orvek::Failure{cannot + "it already holds " + std::to_string(orvek::MaxAirfoils) +
                              " airfoils, as many as the list can show."};
    }
    // The line end the file uses. Blank lines at the end go (loading stops at a blank line), and
    // the last line gets its line end where it has none.
    const std::string end = bytes.find("\r\n") != std::string::npos ? "\r\n"
                            : bytes.find('\n') != std::string::npos ? "\n"
                            : bytes.find('\r') != std::string::npos ? "\r"
                                                                    : "\r\n";
    bytes.erase(bytes.find_last_not_of(" \t\r\n") + 1);
    bytes += end + line + end;
    return orvek::saveFileAtomically(path, bytes);
}
