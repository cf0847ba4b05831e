#include "cli/Commands.h"

#include "case/Catalogue.h"
#include "case/CatalogueTable.h"
#include "case/DecimalText.h"
#include "cli/Arguments.h"
#include "cli/FlowCommands.h"
#include "cli/OptionForms.h"
#include "cli/Progress.h"
#include "export/AirfoilCoordinates.h"
#include "export/CaseJson.h"
#include "export/CatalogueTableText.h"
#include "export/CatalogueLine.h"
#include "export/DesignJson.h"
#include "export/NumberFormat.h"
#include "export/PolarTable.h"
#include "export/SaveFile.h"
#include "export/ResultFile.h"
#include "export/ViscousTable.h"
#include "solver/analysis/Describe.h"
#include "solver/analysis/Design.h"
#include "solver/analysis/PressureMinimum.h"
#include "solver/surface/Solver.h"
#include "solver/analysis/Sweep.h"
#include "solver/boundarylayer/BoundaryLayer.h"

#include <cmath>
#include <filesystem>

namespace orvek::cli {

namespace {

// --- number and text forms ----------------------------------------------------------------

// The shortest text that reads back as the same double; zero without a sign.
std::string num(double v) { return shortestText(v == 0.0 ? 0.0 : v); }

// --- the viscous estimate's options ------------------------------------------------------

// --re, --ncrit, --trip-upper, --trip-lower and --mach for an airfoil at an angle; numbers the
// estimate refuses are invalid arguments (the airfoil's own faults are judged when it runs).
ViscousInput viscousOptions(const Arguments& a, const Airfoil& airfoil, double alpha) {
    ViscousInput v;
    v.airfoil = airfoil;
    v.alphaDegrees = alpha;
    v.Re = a.optionalNumber("re").value_or(v.Re);
    v.Ncrit = a.optionalNumber("ncrit").value_or(DefaultNcrit);
    v.tripUpper = a.optionalNumber("trip-upper");
    v.tripLower = a.optionalNumber("trip-lower");
    v.mach = a.optionalNumber("mach").value_or(0.0);
    if (Status fault = viscousArgumentFault(v); !fault) throw UsageError{fault.error()};
    return v;
}

// --ncrit and the trips say how the layer turns turbulent: only with --re.
void layerOptionsNeedRe(const Arguments& a) {
    if (!a.has("re") && (a.has("ncrit") || a.has("trip-upper") || a.has("trip-lower"))) {
        throw UsageError{"--ncrit, --trip-upper and --trip-lower go with --re"};
    }
}

// --- solve and describe -------------------------------------------------------------------

Airfoil airfoilOption(const Arguments& a) { return {a.number("F"), a.number("G"), a.number("m")}; }

SolverInput solverInput(const Arguments& a) {
    SolverInput in;
    in.airfoil = airfoilOption(a);
    in.AlfaD = a.number("alpha");
    in.N1 = a.number("np");
    // Read here rather than by optionalNumber, so that 1e999 gets the chord's own message.
    const std::optional<std::string> chordText = a.text("chord");
    const std::optional<double> chord = chordText ? parseWholeDecimal(*chordText) : std::optional<double>(1.0);
    if (!chord) throw UsageError{"option '--chord' expects a number, not '" + *chordText + "'"};
    in.Chord = *chord;
    // A chord of zero, below zero, of denormal size or beyond every number has no airfoil.
    if (!std::isnormal(in.Chord) || in.Chord < 0) {
        throw UsageError{"option '--chord' expects a positive number of normal size (from 2.3e-308 to 1.7e308), not '" +
                         a.text("chord").value_or("") + "'"};
    }
    return in;
}

Layout layoutOption(const std::string& text) {
    if (text == "none") return Layout::None;
    if (text.size() == 1 && text[0] >= '1' && text[0] <= '4') return static_cast<Layout>(text[0] - '0');
    throw UsageError{"option '--layout' expects 1, 2, 3, 4 or none, not '" + text + "'"};
}

// The result file's header values: those given, the rest measured as describe measures them (zeros
// for a shape that is not a simple airfoil and so has no thickness or camber to measure).
Expected<AirfoilGeometry> headerValues(const Arguments& a, const SolverInput& in) {
    const std::optional<double> given[4] = {a.optionalNumber("delta"), a.optionalNumber("gama"),
                                            a.optionalNumber("xdltc"), a.optionalNumber("tau")};
    AirfoilGeometry g;
    if (!given[0] || !given[1] || !given[2] || !given[3]) {
        if (const bool simple = checkSimpleAirfoil(in.airfoil).ok(); simple) {
            Expected<AirfoilGeometry> measured = measureAirfoil(in.airfoil);
            if (!measured) return measured;
            g = *measured;
        }
    }
    g.thickness = given[0].value_or(g.thickness);
    g.camber = given[1].value_or(g.camber);
    g.thicknessPosition = given[2].value_or(g.thicknessPosition);
    g.teAngleDegrees = given[3].value_or(g.teAngleDegrees);
    return g;
}

CommandOutput solve(const Arguments& a) {
    std::optional<Layout> layout;
    if (std::optional<std::string> l = a.text("layout")) layout = layoutOption(*l);
    if (!layout && (a.has("output") || a.has("delta") || a.has("gama") || a.has("xdltc") || a.has("tau"))) {
        throw UsageError{"--output, --delta, --gama, --xdltc and --tau go with --layout"};
    }
    layerOptionsNeedRe(a);
    const bool viscous = a.has("re"), compressibleAsked = a.has("mach");
    if (layout && (viscous || compressibleAsked)) {
        throw UsageError{"--re and --mach add to the JSON output and do not go with --layout"};
    }
    const SolverInput in = solverInput(a);
    std::optional<ViscousInput> v;
    if (viscous || compressibleAsked) v = viscousOptions(a, in.airfoil, in.AlfaD);
    Expected<SolverResult> r = ORVEK(in);
    if (!r) return Failure{r.error()};
    if (!layout) {
        std::optional<ViscousResult> layer;
        std::optional<CompressibleResult> compressed;
        if (viscous) {
            Expected<ViscousResult> e = boundaryLayer(*v);
            if (!e) return Failure{e.error()};
            layer = std::move(*e);
            compressed = layer->compressible;
        } else if (compressibleAsked) {
            Expected<CompressibleResult> c = compressible(in.airfoil, in.AlfaD, v->mach);
            if (!c) return Failure{c.error()};
            compressed = *c;
        }
        return to(a, [result = std::move(*r), stagnation = stagnationPoints(in.airfoil, in.AlfaD, in.Chord),
                      layer = std::move(layer), compressed](TextOutput& out) {
            writeCaseJson(out, result, stagnation, layer ? &*layer : nullptr, compressed ? &*compressed : nullptr);
            return Status{};
        });
    }

    Expected<AirfoilGeometry> header = headerValues(a, in);
    if (!header) return Failure{header.error()};
    // The file is written line by line from the case's points, which the output keeps.
    return to(a, [result = std::move(*r), header = *header, in, layout = *layout](TextOutput& out) {
        ResultFileCase c;
        c.header = header;
        c.NP = in.N1;
        c.AlfaD = in.AlfaD;
        c.coefficients = result.coefficients;
        c.points = &result.points;
        writeResultFile(out, c, layout, '.');
        return Status{};
    });
}

CommandOutput describe(const Arguments& a) {
    const Airfoil airfoil = airfoilOption(a);
    Expected<AirfoilGeometry> g = measureAirfoil(airfoil);
    if (!g) return Failure{g.error()};
    return to(a, catalogueLine(*g, airfoil) + "\n");
}

// --- sweep --------------------------------------------------------------------------------

CommandOutput sweepCommand(const Arguments& a) {
    const std::string format = formatOption(a, {"csv", "json"});
    layerOptionsNeedRe(a);
    SweepInput in;
    in.airfoil = airfoilOption(a);
    in.fromDegrees = a.number("from");
    in.toDegrees = a.number("to");
    in.stepDegrees = a.number("step");
    in.N1 = a.optionalNumber("np").value_or(SweepPoints);
    const Expected<std::vector<double>> angles = sweepAngles(in.fromDegrees, in.toDegrees, in.stepDegrees);
    if (!angles) throw UsageError{angles.error()};
    // Every angle's inputs are judged first, without calculating.
    SolverInput check;
    check.airfoil = in.airfoil;
    check.N1 = in.N1;
    std::optional<ViscousInput> layer;
    if (a.has("re")) layer = viscousOptions(a, in.airfoil, in.fromDegrees);
    for (double alpha : *angles) {
        check.AlfaD = alpha;
        if (Status fault = inputFault(check); !fault) {
            return Failure{"At the angle of attack " + shortestText(alpha) + ": " + fault.error()};
        }
        if (layer) {
            layer->alphaDegrees = alpha;
            if (Status fault = viscousFault(*layer); !fault) {
                return Failure{"At the angle of attack " + shortestText(alpha) + ": " + fault.error()};
            }
        }
    }
    // The whole sweep is calculated before its first byte is written: a fault of the inputs
    // (judged for every angle above, without calculating) or of a surface on the way fails the
    // sweep with nothing written. The rows are kept, about 60 bytes an angle (with the estimate's
    // drag columns, 70 more).
    in.viscous = layer;
    std::vector<SweepRow> rows;
    {
        Progress progress;
        Status done = sweepRows(in, [&](const SweepRow& r, std::size_t k, std::size_t count) {
            if (k == 0) rows.reserve(count);
            rows.push_back(r);
            progress.update(k + 1, count);
        });
        if (!done) return Failure{done.error()};
    }
    return to(a, [in, format, rows = std::move(rows)](TextOutput& out) {
        if (format == "csv") {
            PolarCsvWriter csv(out, in.viscous.has_value());
            for (const SweepRow& r : rows) csv.row(r);
        } else {
            PolarJsonWriter json(out, in);
            for (const SweepRow& r : rows) json.row(r);
            json.finish();
        }
        return Status{};
    });
}

// --- export -------------------------------------------------------------------------------

CommandOutput exportCommand(const Arguments& a) {
    const std::optional<std::string> formatText = a.text("format");
    if (!formatText) throw UsageError{"missing option '--format' (selig, lednicer or csv)"};
    const std::optional<CoordinateFormat> format = coordinateFormat(*formatText);
    if (!format) throw UsageError{"option '--format' expects selig, lednicer or csv, not '" + *formatText + "'"};
    CoordinateFileRequest request;
    request.airfoil = airfoilOption(a);
    request.format = *format;
    request.NP = a.optionalNumber("np").value_or(CoordinatePoints);
    if (Status few = coordinatePointsFault(request.NP); !few && request.NP < LeastCoordinatePoints) {
        throw UsageError{"option '--np': " + few.error()};
    }
    request.alphaDegrees = a.optionalNumber("alpha").value_or(0.0);
    request.name = a.text("name");
    if (request.name && *format != CoordinateFormat::Csv) {
        if (Status fault = checkAirfoilName(*request.name); !fault) throw UsageError{"option '--name': " + fault.error()};
    }
    Expected<CoordinateFile> file = coordinateFile(request);
    if (!file) return Failure{file.error()};
    return to(a, [file = std::move(*file)](TextOutput& out) {
        file.write(out);
        return Status{};
    });
}

// --- design -------------------------------------------------------------------------------

CommandOutput designCommand(const Arguments& a) {
    const std::string format = formatOption(a, {"line", "json"});
    DesignTargets t;
    t.thickness = a.number("thickness");
    t.camber = a.number("camber");
    t.teAngleDegrees = a.number("te-angle");
    Expected<DesignResult> d = designAirfoil(t);
    if (!d) return Failure{d.error()};
    // The airfoil found, measured as describe measures it; refused unless it meets the targets.
    const AirfoilGeometry* g = &d->reached;
    const double rT = g->thickness - t.thickness, rC = g->camber - t.camber,
                 rTau = g->teAngleDegrees - t.teAngleDegrees;
    if (!(std::fabs(rT) <= 1e-6 && std::fabs(rC) <= 1e-6 && std::fabs(rTau) <= 0.01)) {
        return Failure{"Cannot design: the airfoil found misses the targets (thickness by " + num(rT) + ", camber by " +
                       num(rC) + ", trailing-edge angle by " + num(rTau) + ")."};
    }
    const std::string line = catalogueLine(*g, d->airfoil);
    if (format == "line") return to(a, line + "\n");
    return to(a, [t, reached = *g, design = *d, line](TextOutput& out) {
        writeDesignJson(out, t, reached, design, line);
        return Status{};
    });
}

// --- boundary-layer -----------------------------------------------------------------------

CommandOutput boundaryLayerCommand(const Arguments& a) {
    const std::string format = formatOption(a, {"csv", "json"});
    if (!a.has("re")) throw UsageError{"missing option '--re'"};
    const ViscousInput v = viscousOptions(a, airfoilOption(a), a.number("alpha"));
    Expected<ViscousResult> r = boundaryLayer(v);
    if (!r) return Failure{r.error()};
    return to(a, [result = std::move(*r), format](TextOutput& out) {
        if (format == "csv") writeBoundaryLayerCsv(out, result);
        else writeBoundaryLayerJson(out, result);
        return Status{};
    });
}

// --- table --------------------------------------------------------------------------------

// The reader's own reason, naming the file; its one sentence for every file it does not open (the
// window's words for a missing ORVEK_Input.txt) is said here with what the path really is.
std::string catalogueFailure(const std::string& path, const std::string& reason) {
    if (reason != catalogueMissing(path)) return reason;
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    const std::string cannot = "Cannot read the catalogue " + path + ": ";
    if (!fs::exists(st)) return cannot + "there is no such file.";
    if (fs::is_directory(st)) return cannot + "it is a folder, not a file.";
    if (!fs::is_regular_file(st)) return cannot + "it is not a plain file (a pipe or a device), which is never read.";
    if (fs::file_size(path, ec) == 0 && !ec) return cannot + "the file is empty.";
    return cannot + "the file cannot be opened for reading.";
}

CommandOutput tableCommand(const Arguments& a) {
    const std::string format = formatOption(a, {"csv", "json"});
    std::optional<std::string> file = a.text("catalogue");
    if (file && !a.operands().empty()) throw UsageError{"the catalogue is given twice (--catalogue and an operand)"};
    if (!file && !a.operands().empty()) file = a.operands().front();
    if (!file) throw UsageError{"missing option '--catalogue'"};
    if (const std::optional<std::string> output = a.text("output");
        output && *output != "-" && sameFile(*output, *file)) {
        throw UsageError{"the output " + *output + " is the catalogue " + *file +
                         " itself; choose another file (nothing was written)"};
    }
    const double alpha = a.number("alpha");
    const double N1 = a.optionalNumber("np").value_or(SweepPoints);
    // Judged once, before any airfoil: a point count or an angle no airfoil can be calculated with.
    if (!(N1 == std::floor(N1) && N1 >= 2 && N1 <= MaxPoints)) {
        throw UsageError{"option '--np' expects a whole number from 2 to " + shortestText(MaxPoints) + ", not '" +
                         a.text("np").value_or("") + "'"};
    }
    if (!(std::fabs(alpha) <= MaxAngleDegrees)) {
        throw UsageError{"option '--alpha' expects an angle from -" + shortestText(MaxAngleDegrees) + " to " +
                         shortestText(MaxAngleDegrees) + " degrees, not '" + a.text("alpha").value_or("") + "'"};
    }

    layerOptionsNeedRe(a);
    std::optional<ViscousInput> layer;
    if (a.has("re")) layer = viscousOptions(a, Airfoil{}, alpha);

    Expected<Catalogue> catalogue = loadCatalogueFile(*file, *file);
    if (!catalogue) return Failure{catalogueFailure(*file, catalogue.error())};
    std::vector<std::string> problems;
    if (catalogue->problem) problems.push_back(catalogue->problem->text);
    std::vector<CatalogueTableRow> rows = catalogueTable(*catalogue, alpha, N1);
    // With --re each airfoil's drag: the estimate at the same angle, or why there is none.
    std::vector<Expected<ViscousResult>> drag;
    for (const CatalogueTableRow& t : rows) {
        if (!t.result) problems.push_back(*file + ", row " + std::to_string(t.row) + ": " + t.result.error());
        if (!layer) continue;
        ViscousInput v = *layer;
        v.airfoil = t.airfoil.airfoil;
        drag.push_back(t.result ? boundaryLayer(v) : Expected<ViscousResult>(Failure{t.result.error()}));
        if (t.result && !drag.back()) {
            problems.push_back(*file + ", row " + std::to_string(t.row) + ": " + drag.back().error());
        }
    }
    Output out = to(a, [rows = std::move(rows), drag = std::move(drag), viscous = layer.has_value(), format,
                        name = *file, alpha, N1](TextOutput& text) {
        const auto entry = [&](const CatalogueTableRow& t, std::size_t k) {
            CatalogueTableEntry e;
            e.row = t.row;
            e.airfoil = t.airfoil.airfoil;
            e.catalogued = t.airfoil.geometry;
            e.result = &t.result;
            e.viscous = viscous ? &drag[k] : nullptr;
            return e;
        };
        if (format == "csv") {
            CatalogueTableCsvWriter csv(text, viscous);
            for (std::size_t k = 0; k < rows.size(); ++k) csv.row(entry(rows[k], k));
        } else {
            CatalogueTableJsonWriter json(text, name, alpha, N1);
            for (std::size_t k = 0; k < rows.size(); ++k) json.row(entry(rows[k], k));
            json.finish();
        }
        return Status{};
    });
    out.problems = std::move(problems);
    return out;
}

}  // namespace

const std::vector<Command>& commands() {
    static const std::vector<Command> list = {
        {"solve", solveHelp(), solve},
        {"sweep", sweepHelp(), sweepCommand},
        {"export", exportHelp(), exportCommand},
        {"design", designHelp(), designCommand},
        {"table", tableHelp(), tableCommand},
        {"describe", describeHelp(), describe},
        {"field", fieldHelp(), fieldCommand},
        {"streamlines", streamlinesHelp(), streamlinesCommand},
        {"boundary-layer", boundaryLayerHelp(), boundaryLayerCommand},
    };
    return list;
}

Output textOutput(std::string text) {
    Output o;
    o.write = [bytes = std::move(text)](TextOutput& out) {
        out << bytes;
        return Status{};
    };
    return o;
}

}  // namespace orvek::cli
