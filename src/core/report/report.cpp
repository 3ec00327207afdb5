#include "report/report.h"

#include "analysis/result_values.h"
#include "base/file_io.h"
#include "base/file_names.h"
#include "base/number_text.h"
#include "base/prompter.h"
#include "log/message_log.h"
#include "model/model.h"

namespace vortak {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kTextExtension = ".txt";

// Appends `text` left-aligned in a field of `width` characters, cut when it is longer.
void field(std::string& out, std::string_view text, std::size_t width) {
    if (text.size() >= width) {
        out.append(text.substr(0, width));
    } else {
        out.append(text);
        out.append(width - text.size(), ' ');
    }
}

void blanks(std::string& out, std::size_t count) { out.append(count, ' '); }

void endLine(std::string& out) { out.append(kLineEnd); }

void line(std::string& out, std::string_view text) {
    out.append(text);
    endLine(out);
}

void dashLine(std::string& out, std::size_t count) {
    out.append(count, '-');
    endLine(out);
}

// A table or section title followed by its empty line.
void title(std::string& out, std::string_view text) {
    line(out, text);
    endLine(out);
}

bool isFixed(float constraint) { return constraint == 1.0f; }

bool hasLoad(const Model& m, int n) { return m.nodes.Fx[n] != 0 || m.nodes.Fy[n] != 0; }

bool hasSpring(const Model& m, int n) { return m.nodes.Kx[n] > 0 || m.nodes.Ky[n] > 0; }

std::string_view constraintCode(float cx, float cy) {
    if (isFixed(cx)) {
        return isFixed(cy) ? "xx" : "xo";
    }
    return isFixed(cy) ? "ox" : "";
}

std::string springText(float k) { return k > 0 ? general(k) : std::string(); }

std::string loadText(float f) { return f != 0 ? classic(f) : std::string(); }

// What a support exerts on node n in one direction, or nothing where it is free.
std::string supportText(const Model& m, int n, int axis) {
    const std::optional<SupportForce> force = supportForce(m, n, axis);
    return force ? classic(force->value) : std::string();
}

// Results that belong to another state of the model (or to none) are never printed as this
// one's: the section says so instead, between its title and its closing empty lines.
bool notAnalysed(const Model& m, std::string& out, std::string_view sectionTitle,
                 int closingLines) {
    if (m.hasCurrentResults()) return false;
    title(out, sectionTitle);
    line(out, kNotAnalysedText);
    for (int k = 0; k < closingLines; ++k) endLine(out);
    return true;
}

void countLine(std::string& out, std::string_view label, int count) {
    field(out, label, 28);
    line(out, whole(count));
}

std::string modelData(const Model& m) {
    const int N = m.nodeCount;
    int constrained = 0, loaded = 0, sprung = 0;
    for (int n = 1; n <= N; ++n) {
        if (isFixed(m.nodes.cx[n]) || isFixed(m.nodes.cy[n])) {
            ++constrained;
        }
        if (hasLoad(m, n)) {
            ++loaded;
        }
        if (hasSpring(m, n)) {
            ++sprung;
        }
    }

    std::string out;
    title(out, "Data");
    title(out, "General data");
    countLine(out, "E,A Element Groups:", m.groupCount);
    countLine(out, "Nodes:", N);
    countLine(out, "Elements:", m.elementCount);
    countLine(out, "Constrained nodes:", constrained);
    countLine(out, "Nodes with loads on:", loaded);
    countLine(out, "Nodes with springs on:", sprung);
    countLine(out, "DOFs per node:", 2);
    countLine(out, "Degrees Of Freedom:", 2 * N);
    endLine(out);

    // The first header field of the groups, elements and loads tables is one character
    // wider than the first field of their rows; the columns are meant to sit that way.
    title(out, "E,A Element Groups");
    out.append("Group");
    blanks(out, 4);
    field(out, "Youngs Modulus E", 25);
    field(out, "Section area A", 25);
    endLine(out);
    dashLine(out, 85);
    for (int g = 1; g <= m.groupCount; ++g) {
        field(out, whole(g), 8);
        field(out, classic(m.groups.E[g]), 25);
        field(out, classic(m.groups.A[g]), 25);
        endLine(out);
    }
    endLine(out);

    title(out, "Nodes");
    for (std::string_view heading : {"Node", "x", "y", "Constraints", "Kx", "Ky"}) {
        field(out, heading, 15);
    }
    endLine(out);
    dashLine(out, 88);
    for (int n = 1; n <= N; ++n) {
        field(out, whole(n), 15);
        field(out, classic(m.nodes.x[n]), 15);
        field(out, classic(m.nodes.y[n]), 15);
        field(out, constraintCode(m.nodes.cx[n], m.nodes.cy[n]), 15);
        field(out, springText(m.nodes.Kx[n]), 15);
        field(out, springText(m.nodes.Ky[n]), 15);
        endLine(out);
    }
    endLine(out);

    title(out, "Elements");
    field(out, "Element", 9);
    field(out, "Node i", 8);
    blanks(out, 4);
    field(out, "Node j", 8);
    blanks(out, 5);
    field(out, "Group", 8);
    endLine(out);
    dashLine(out, 64);
    for (int e = 1; e <= m.elementCount; ++e) {
        field(out, whole(e), 8);
        field(out, classic(m.elements.i[e]), 8);
        blanks(out, 4);
        field(out, classic(m.elements.j[e]), 8);
        blanks(out, 6);
        field(out, general(m.elements.group[e]), 8);
        endLine(out);
    }
    endLine(out);

    title(out, "Nodal loads");
    field(out, "Node", 9);
    field(out, "Force Fx", 25);
    field(out, "Force Fy", 25);
    endLine(out);
    dashLine(out, 65);
    for (int n = 1; n <= N; ++n) {
        if (!hasLoad(m, n)) {
            continue;
        }
        field(out, whole(n), 8);
        field(out, loadText(m.nodes.Fx[n]), 25);
        field(out, loadText(m.nodes.Fy[n]), 25);
        endLine(out);
    }
    endLine(out);
    endLine(out);
    return out;
}

std::string nodeDisplacements(const Model& m) {
    std::string out;
    if (notAnalysed(m, out, "Node displacements", 2)) return out;
    title(out, "Node displacements");
    out.append("Node");
    blanks(out, 3);
    out.append("x-Displacement");
    blanks(out, 11);
    out.append("y-Displacement");
    blanks(out, 11);
    line(out, "Total Displacement");
    dashLine(out, 79);
    for (int n = 1; n <= m.nodeCount; ++n) {
        field(out, whole(n), 8);
        field(out, classic(m.results.D[2 * n - 1]), 25);
        field(out, classic(m.results.D[2 * n]), 25);
        field(out, general(totalDisplacement(m, n)), 25);
        endLine(out);
    }
    endLine(out);
    endLine(out);
    return out;
}

std::string elementForces(const Model& m) {
    std::string out;
    if (notAnalysed(m, out, "Element forces", 1)) return out;
    title(out, "Element forces");
    field(out, "Element", 8);
    for (std::string_view heading : {"Axial force", "Axial stress", "Axial strain"}) {
        field(out, heading, 25);
    }
    endLine(out);
    dashLine(out, 79);
    for (int e = 1; e <= m.elementCount; ++e) {
        field(out, whole(e), 8);
        field(out, classic(axialForce(m, e)), 25);
        // A group number that no table row can hold (only a damaged model has one) has
        // no section to divide by: leave stress and strain blank rather than read past
        // the table.
        const int g = m.groupOf(e);
        if (g >= 0 && g <= kMaxGroups) {
            field(out, classic(axialStress(m, e)), 25);
            field(out, classic(axialStrain(m, e)), 25);
        } else {
            blanks(out, 50);
        }
        endLine(out);
    }
    endLine(out);
    return out;
}

std::string supportReactions(const Model& m) {
    std::string out;
    if (notAnalysed(m, out, "Constraint-Spring reactions", 0)) return out;
    title(out, "Constraint-Spring reactions");
    field(out, "Node", 9);
    out.append("Force Fx");
    blanks(out, 16);
    out.append("Force Fy");
    blanks(out, 16);
    endLine(out);
    dashLine(out, 50);
    for (int n = 1; n <= m.nodeCount; ++n) {
        const float cx = m.nodes.cx[n], cy = m.nodes.cy[n];
        if (!isFixed(cx) && !isFixed(cy) && !hasSpring(m, n)) {
            continue;
        }
        field(out, whole(n), 8);
        field(out, supportText(m, n, 1), 25);
        field(out, supportText(m, n, 2), 25);
        endLine(out);
    }
    return out;
}

std::string proposedName(const std::string& modelFileName) {
    if (modelFileName.empty()) {
        return "Untitled.txt";
    }
    // The model's own extension is four characters (".vok"); a name too short to carry one
    // keeps all its characters.
    constexpr std::size_t kExtensionLength = 4;
    if (modelFileName.size() < kExtensionLength) {
        return modelFileName + std::string(kTextExtension);
    }
    return modelFileName.substr(0, modelFileName.size() - kExtensionLength) +
           std::string(kTextExtension);
}

}  // namespace

std::string ReportSection(const Model& model, int k) {
    switch (k) {
        case 1:
            return modelData(model);
        case 2:
            return nodeDisplacements(model);
        case 3:
            return elementForces(model);
        case 4:
            return supportReactions(model);
        default:
            return {};
    }
}

std::string assembleReport(const Model& model, std::string_view sections) {
    std::string report;
    for (int k = 1; k <= 4; ++k) {
        if (sections.find(static_cast<char>('0' + k)) != std::string_view::npos) {
            report += ReportSection(model, k);
        }
    }
    return report;
}

std::optional<std::string> writeReportFile(const std::string& path, const std::string& report) {
    std::string content;
    content.reserve(report.size() + kLineEnd.size());
    content.append(report).append(kLineEnd);
    return writeFileAtomically(path, content);
}

bool SaveReportText(const std::string& report, const std::string& modelFileName, Prompter& prompter,
                    MessageLog& log) {
    FileDialogRequest request;
    request.filter = "Text files (*.txt)|*.txt|All files (*.*)|*.*";
    request.proposedName = proposedName(modelFileName);
    request.confirmOverwrite = true;
    std::optional<std::string> chosen = prompter.saveFileName(request);
    // No real dialog accepts an empty name; treat one like a cancel rather than write a
    // hidden ".txt" into the current folder.
    if (!chosen || chosen->empty()) {
        return false;
    }

    const std::string path = withExtension(std::move(*chosen), kTextExtension);

    if (const std::optional<std::string> error = writeReportFile(path, report)) {
        const std::string text = "There was an error saving the file: " + *error;
        prompter.notify(text, MessageIcon::Critical);
        log.LogMessage(text, LogColour::Red, true);
        return false;
    }
    return true;
}

}  // namespace vortak
