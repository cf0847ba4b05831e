#include "export/StreamlineFiles.h"

#include "export/NumberFormat.h"

#include <cmath>
#include <cstdio>

namespace orvek {

namespace {

// Pixels with two decimals: finer than any screen, short enough for large pictures.
void appendPixels(std::string& out, double value) {
    char buf[32];
    const int n = std::snprintf(buf, sizeof buf, "%.2f", value);
    if (n > 0) out.append(buf, static_cast<std::size_t>(n));
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

std::string streamlinesCsv(const std::vector<Streamline>& lines) {
    std::string out = "line,psi,x,y\n";
    for (std::size_t k = 0; k < lines.size(); ++k) {
        std::string prefix = std::to_string(k + 1) + ",";
        appendShortest(prefix, lines[k].psi);
        prefix += ',';
        for (const FlowPoint& p : lines[k].points) {
            out += prefix;
            appendShortest(out, p.x);
            out += ',';
            appendShortest(out, p.y);
            out += '\n';
        }
    }
    return out;
}

std::string streamlinesSvg(const std::vector<Streamline>& lines, const StreamlinePicture& pic) {
    const Extent& e = pic.extent;
    const double scale = PictureWidth / e.width();
    const double height = std::ceil(e.height() * scale);
    const auto points = [&](std::string& out, const std::vector<FlowPoint>& pts) {
        out += " points=\"";
        std::string last, pair;
        for (const FlowPoint& p : pts) {
            pair.clear();
            appendPixels(pair, (p.x - e.x0) * scale);
            pair += ',';
            appendPixels(pair, (e.y1 - p.y) * scale);
            if (pair == last) continue;  // points closer than the picture shows
            if (!last.empty()) out += ' ';
            out += pair;
            last.swap(pair);
        }
        out += '"';
    };
    std::string w, h;
    appendPixels(w, PictureWidth);
    appendPixels(h, height);
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                      w + "\" height=\"" + h + "\" viewBox=\"0 0 " + w + " " + h + "\">\n";
    out += "<title>" + xmlText(pic.title) + "</title>\n";
    out += "<defs><clipPath id=\"extent\"><rect x=\"0\" y=\"0\" width=\"" + w + "\" height=\"" + h +
           "\"/></clipPath></defs>\n";
    out += "<rect width=\"" + w + "\" height=\"" + h + "\" fill=\"white\"/>\n";
    out += "<g clip-path=\"url(#extent)\" stroke-linejoin=\"round\" stroke-linecap=\"round\">\n";
    if (!pic.body.empty()) {
        out += "<polygon";
        points(out, pic.body);
        out += " fill=\"#b8bcc4\" stroke=\"#3a3f47\" stroke-width=\"1\"/>\n";
    }
    for (const Streamline& line : lines) {
        out += "<polyline";
        points(out, line.points);
        out += line.dividing ? " fill=\"none\" stroke=\"#b03a2e\" stroke-width=\"1.8\"/>\n"
                             : " fill=\"none\" stroke=\"#1f5fa8\" stroke-width=\"1.1\"/>\n";
    }
    for (const FlowPoint& p : pic.stagnation) {
        out += "<circle cx=\"";
        appendPixels(out, (p.x - e.x0) * scale);
        out += "\" cy=\"";
        appendPixels(out, (e.y1 - p.y) * scale);
        out += "\" r=\"3.5\" fill=\"#b03a2e\"/>\n";
    }
    out += "</g>\n</svg>\n";
    return out;
}

}  // namespace orvek
