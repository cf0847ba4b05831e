#pragma once
// A small reader of airfoil coordinate files that knows only the formats, not the program: Selig
// (the name, then "x y" lines) and Lednicer (the name, the two point counts, a blank line, the
// upper surface, a blank line, the lower surface). Numbers as airfoil programs read them: two
// per line, separated by blanks.

#include <cstddef>
#include <string>
#include <vector>

namespace orvek::test {

struct Point {
    double x = 0, y = 0;
};

struct CoordinateFile {
    bool ok = false;  // the text has the format's shape throughout
    std::string name;
    std::vector<Point> all;           // Selig: every point in file order
    std::vector<Point> upper, lower;  // Lednicer: the two surfaces
    std::vector<std::string> lines;   // the text's lines, without their LF
};

// The text's lines, split at LF; a final LF ends the last line.
std::vector<std::string> textLines(const std::string& text);

// Two numbers separated by blanks, and nothing else; false otherwise.
bool readPair(const std::string& line, Point& p);

CoordinateFile readSelig(const std::string& text);
CoordinateFile readLednicer(const std::string& text);

}  // namespace orvek::test
