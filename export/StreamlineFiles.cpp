#include "export/StreamlineFiles.h"

#include "export/NumberFormat.h"

#include <cmath>
#include <cstdio>

namespace orvek {

namespace {

// Pixels with two decimals: finer than any screen, short enough for large pictures.
// Appends only what was written: snprintf returns the length the whole text would have, which
// for a value far outside the picture exceeds any fixed buffer.
void appendPixels(std::string& out, double value) {
    char buf[64];
    const int n = std::snprintf(buf, sizeof buf, "%.2f", value);
    if (n <= 0) return;
    const auto length = static_cast<std::size_t>(n);
    if (length < sizeof buf) {
        out.append(buf, length);
        return;
    }
    std::string wide(length + 1, '\0');
    std::snprintf(wide.data(), wide.size(), "%.2f", value);
    out.append(wide.data(), length);
}

std::string xmlText(const std::string& s) {
    std::string out;
    for (char ch : s) {
        if (ch == '&') {
            out += "&amp;";
        } else if (ch == '<') {
            out += "&lt;";
        } else if (ch == '>') {
            out += "&gt;";
        } else {
            out += ch;
        }
    }
    return out;
}

constexpr double PictureWidth = 960;

}  // namespace

void writeStreamlinesCsv(TextOutput& out, const std::vector<Streamline>& lines) {
    out << "line,psi,x,y\n";
    std::string row;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        std::string prefix = std::to_string(k + 1) + ",";
        appendShortest(prefix, lines[k].psi);
        prefix += ',';
        for (const FlowPoint& p : lines[k].points) {
            row = prefix;
            appendShortest(row, p.x);
            row += ',';
            appendShortest(row, p.y);
            row += '\n';
            out << row;
        }
    }
}

void writeStreamlinesSvg(TextOutput& out, const std::vector<Streamline>& lines, const StreamlinePicture& pic) {
    const Extent& e = pic.extent;
    const double scale = PictureWidth / e.width();
    const double height = std::ceil(e.height() * scale);
    // One element at a time: its text is built and then written.
    std::string element;
    const auto points = [&](const std::vector<FlowPoint>& pts) {
        element += " points=\"";
        std::string last, pair;
        for (const FlowPoint& p : pts) {
            pair.clear();
            appendPixels(pair, (p.x - e.x0) * scale);
            pair += ',';
            appendPixels(pair, (e.y1 - p.y) * scale);
            if (pair == last) continue;  // points closer than the picture shows
            if (!last.empty()) element += ' ';
            element += pair;
            last.swap(pair);
        }
        element += '"';
    };
    std::string w, h;
    appendPixels(w, PictureWidth);
    appendPixels(h, height);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << w
        << "\" height=\"" << h << "\" viewBox=\"0 0 " << w << " " << h << "\">\n";
    out << "<title>" << xmlText(pic.title) << "</title>\n";
    out << "<defs><clipPath id=\"extent\"><rect x=\"0\" y=\"0\" width=\"" << w << "\" height=\"" << h
        << "\"/></clipPath></defs>\n";
    out << "<rect width=\"" << w << "\" height=\"" << h << "\" fill=\"white\"/>\n";
    out << "<g clip-path=\"url(#extent)\" stroke-linejoin=\"round\" stroke-linecap=\"round\">\n";
    if (!pic.body.empty()) {
        element = "<polygon";
        points(pic.body);
        element += " fill=\"#b8bcc4\" stroke=\"#3a3f47\" stroke-width=\"1\"/>\n";
        out << element;
    }
    for (const Streamline& line : lines) {
        element = "<polyline";
        points(line.points);
        element += line.dividing ? " fill=\"none\" stroke=\"#b03a2e\" stroke-width=\"1.8\"/>\n"
                                 : " fill=\"none\" stroke=\"#1f5fa8\" stroke-width=\"1.1\"/>\n";
        out << element;
    }
    for (const FlowPoint& p : pic.stagnation) {
        element = "<circle cx=\"";
        appendPixels(element, (p.x - e.x0) * scale);
        element += "\" cy=\"";
        appendPixels(element, (e.y1 - p.y) * scale);
        element += "\" r=\"3.5\" fill=\"#b03a2e\"/>\n";
        out << element;
    }
    out << "</g>\n</svg>\n";
}

}  // namespace orvek
