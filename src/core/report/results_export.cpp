#include "report/results_export.h"

#include <charconv>
#include <cstdio>
#include <optional>

#include "analysis/result_values.h"
#include "analysis/solver.h"
#include "base/number_text.h"
#include "model/model.h"

namespace vortak {

namespace {

constexpr const char* kExtremeNames[kExtremeCount + 1] = {
    "",          "maxAbsUx",     "maxUx",     "minUx",     "maxAbsUy", "maxUy",        "minUy",
    "maxTotal",  "minTotal",     "maxAbsN",   "maxN",      "minN",     "maxAbsStress", "maxStress",
    "minStress", "maxAbsStrain", "maxStrain", "minStrain",
};

const char* statusName(RunStatus status) {
    switch (status) {
        case RunStatus::ReadFailed:
            return "read-failed";
        case RunStatus::AnalysisFailed:
            return "analysis-failed";
        case RunStatus::Ok:
            break;
    }
    return "ok";
}

// A JSON string: quotes, backslashes and control characters escaped. Texts are the
// program's own or file names, taken as UTF-8.
std::string jsonString(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char buffer[8];
                    std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned>(c));
                    out += buffer;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

// A CSV field: quoted when it holds a comma, a quote or a line break.
std::string csvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

// Appends `"key":value` pairs of one object.
class JsonObject {
public:
    explicit JsonObject(std::string& out) : out_(out) { out_ += '{'; }
    ~JsonObject() { out_ += '}'; }
    JsonObject(const JsonObject&) = delete;
    JsonObject& operator=(const JsonObject&) = delete;

    std::string& key(std::string_view name) {
        if (!first_) out_ += ',';
        first_ = false;
        out_ += jsonString(name);
        out_ += ':';
        return out_;
    }
    void number(std::string_view name, double value) { key(name) += fullPrecision(value); }
    void whole(std::string_view name, long long value) { key(name) += vortak::whole(value); }
    void text(std::string_view name, std::string_view value) { key(name) += jsonString(value); }

private:
    std::string& out_;
    bool first_ = true;
};

// A direction's support force as JSON values: the force, or null where the direction is
// free; where it comes from.
void supportFields(JsonObject& o, const Model& m, int n, int axis) {
    const std::optional<SupportForce> force = supportForce(m, n, axis);
    const char* name = axis == 1 ? "Fx" : "Fy";
    const char* from = axis == 1 ? "FxFrom" : "FyFrom";
    if (force) {
        o.number(name, force->value);
        o.text(from, force->fromSpring ? "spring" : "support");
    } else {
        o.key(name) += "null";
        o.key(from) += "null";
    }
}

bool hasSupport(const Model& m, int n) {
    return m.nodes.cx[n] == 1.0f || m.nodes.cy[n] == 1.0f || m.nodes.Kx[n] > 0 || m.nodes.Ky[n] > 0;
}

}  // namespace

std::string fullPrecision(double value) {
    if (value == 0) value = 0;  // never "-0"
    char buffer[32];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 17);
    return std::string(buffer, result.ptr);
}

namespace {

void writeJson(std::string& out, const Model& m, const ModelRun& run) {
    JsonObject o(out);
    o.whole("format", kResultsFormatVersion);
    o.text("model", run.name);
    o.text("status", statusName(run.status));
    o.text("message", run.message);
    if (run.status != RunStatus::Ok) return;

    const LargestDisplacement largest = largestDisplacement(m);
    {
        JsonObject mechanism(o.key("mechanism"));
        mechanism.key("warning") += largest.value > kMechanismDisplacement ? "true" : "false";
        mechanism.whole("largestDisplacementDof", largest.dof);
        mechanism.number("largestDisplacement", largest.value);
    }
    o.key("nodes") += '[';
    for (int n = 1; n <= m.nodeCount; ++n) {
        if (n > 1) out += ',';
        JsonObject node(out);
        node.whole("node", n);
        node.number("ux", m.results.D[2 * n - 1]);
        node.number("uy", m.results.D[2 * n]);
        node.number("total", totalDisplacement(m, n));
    }
    out += ']';
    o.key("elements") += '[';
    for (int e = 1; e <= m.elementCount; ++e) {
        if (e > 1) out += ',';
        JsonObject element(out);
        element.whole("element", e);
        element.number("N", axialForce(m, e));
        element.number("stress", axialStress(m, e));
        element.number("strain", axialStrain(m, e));
        element.number("length", barGeometry(m, e).length);
    }
    out += ']';
    o.key("reactions") += '[';
    bool firstReaction = true;
    for (int n = 1; n <= m.nodeCount; ++n) {
        if (!hasSupport(m, n)) continue;
        if (!firstReaction) out += ',';
        firstReaction = false;
        JsonObject reaction(out);
        reaction.whole("node", n);
        supportFields(reaction, m, n, 1);
        supportFields(reaction, m, n, 2);
    }
    out += ']';
    // The extremes belong to a run over at least one element.
    if (m.elementCount == 0) {
        o.key("extremes") += "null";
        return;
    }
    JsonObject extremes(o.key("extremes"));
    for (int x = kMaxAbsUx; x <= kMinStrain; ++x) {
        JsonObject extreme(extremes.key(kExtremeNames[x]));
        extreme.number("value", m.results.extremes[x]);
        extreme.whole(x <= kMinTotalDisplacement ? "node" : "element", extremeLocation(m, x));
    }
}

}  // namespace

std::string resultsJson(const Model& m, const ModelRun& run) {
    std::string out;
    out.reserve(run.status == RunStatus::Ok ? 64 * (m.nodeCount + m.elementCount) + 2048 : 256);
    writeJson(out, m, run);  // every object closed when it returns
    return out;
}

bool parseResultsTable(std::string_view text, ResultsTableKind& kind) {
    if (text == "nodes") {
        kind = ResultsTableKind::Nodes;
    } else if (text == "elements") {
        kind = ResultsTableKind::Elements;
    } else if (text == "reactions") {
        kind = ResultsTableKind::Reactions;
    } else {
        return false;
    }
    return true;
}

std::string resultsCsvHeader(ResultsTableKind kind) {
    switch (kind) {
        case ResultsTableKind::Elements:
            return "model,element,N,stress,strain,length\r\n";
        case ResultsTableKind::Reactions:
            return "model,node,Fx,Fy,FxFrom,FyFrom\r\n";
        case ResultsTableKind::Nodes:
            break;
    }
    return "model,node,ux,uy,total\r\n";
}

std::string resultsCsvRows(const Model& m, const ModelRun& run, ResultsTableKind kind) {
    std::string out;
    if (run.status != RunStatus::Ok) return out;
    const std::string model = csvField(run.name);
    const auto row = [&](int number, std::initializer_list<std::string> values) {
        out += model;
        out += ',';
        out += whole(number);
        for (const std::string& v : values) {
            out += ',';
            out += v;
        }
        out += "\r\n";
    };
    switch (kind) {
        case ResultsTableKind::Nodes:
            out.reserve(std::size_t(m.nodeCount) * (model.size() + 80));
            for (int n = 1; n <= m.nodeCount; ++n) {
                row(n, {fullPrecision(m.results.D[2 * n - 1]), fullPrecision(m.results.D[2 * n]),
                        fullPrecision(totalDisplacement(m, n))});
            }
            break;
        case ResultsTableKind::Elements:
            out.reserve(std::size_t(m.elementCount) * (model.size() + 100));
            for (int e = 1; e <= m.elementCount; ++e) {
                row(e, {fullPrecision(axialForce(m, e)), fullPrecision(axialStress(m, e)),
                        fullPrecision(axialStrain(m, e)), fullPrecision(barGeometry(m, e).length)});
            }
            break;
        case ResultsTableKind::Reactions:
            for (int n = 1; n <= m.nodeCount; ++n) {
                if (!hasSupport(m, n)) continue;
                const std::optional<SupportForce> x = supportForce(m, n, 1);
                const std::optional<SupportForce> y = supportForce(m, n, 2);
                const auto from = [](const std::optional<SupportForce>& f) {
                    return f ? std::string(f->fromSpring ? "spring" : "support") : std::string();
                };
                row(n, {x ? fullPrecision(x->value) : std::string(),
                        y ? fullPrecision(y->value) : std::string(), from(x), from(y)});
            }
            break;
    }
    return out;
}

}  // namespace vortak
