#include "model/model_file.h"

#include <array>
#include <cmath>
#include <cstdint>

#include "base/number_text.h"
#include "base/prompter.h"
#include "model/field_limits.h"
#include "model/field_reader.h"
#include "settings/settings_values.h"

namespace vortak {

namespace {

constexpr const char* kHeader[5] = {
    "***********************************", "*        Vortak Input file        *",
    "***********************************", "*        Do NOT Modify !!!        *",
    "***********************************",
};

// The 21 flags of the settings section, in file order.
constexpr bool ViewSettings::*kFileFlags[21] = {
    &ViewSettings::nai_aksones,       &ViewSettings::nai_grid,
    &ViewSettings::nai_komboi,        &ViewSettings::nai_arithmisi_kombon,
    &ViewSettings::nai_desmefseis,    &ViewSettings::nai_sint_kombon,
    &ViewSettings::nai_stoixeia,      &ViewSettings::nai_arithmisi_stoixeion,
    &ViewSettings::nai_omades,        &ViewSettings::nai_miki,
    &ViewSettings::nai_fortiseis_si,  &ViewSettings::nai_times_fortiseon_si,
    &ViewSettings::nai_times_N,       &ViewSettings::N_sin_Ina,
    &ViewSettings::nai_graf_stir,     &ViewSettings::Nai_Apolites_Sint,
    &ViewSettings::Nai_Sxetikes_Sint, &ViewSettings::nai_springs,
    &ViewSettings::Show_FORCE,        &ViewSettings::Show_STRESS,
    &ViewSettings::Show_STRAIN,
};

// The lines of the settings section between its heading and the end line.
constexpr int kSettingsLines = 43;

// The 11 colours at the end of the settings section, in file order.
constexpr Colour ViewSettings::*kFileColours[11] = {
    &ViewSettings::xroma_background, &ViewSettings::xroma_aksonon,
    &ViewSettings::xroma_grid,       &ViewSettings::xroma_stoixeion,
    &ViewSettings::xroma_kombon,     &ViewSettings::xroma_sigkentromenon,
    &ViewSettings::xroma_N,          &ViewSettings::xroma_paramorfosis,
    &ViewSettings::Xroma_Efelkismou, &ViewSettings::Xroma_Thlipsis,
    &ViewSettings::Xroma_Afortistou,
};
static_assert(std::size(kFileFlags) + 11 + std::size(kFileColours) == kSettingsLines,
              "21 flags, 11 numbers and 11 colours");

class Writer {
public:
    void line(std::string_view text) {
        out_.append(text);
        out_.append("\r\n");
    }
    void number(long long value) { line(whole(value)); }
    void number(float value) { line(exact(value)); }
    void number(double value) { line(exact(value)); }
    std::string take() { return std::move(out_); }

private:
    std::string out_;
};

bool hasSpring(const Model& m, int n) { return m.nodes.Kx[n] > 0 || m.nodes.Ky[n] > 0; }

// How much of a field a message quotes: enough to find it in the file, while a field of
// megabytes still gives a one-line message.
constexpr std::size_t kQuotedFieldLength = 40;

}  // namespace

std::string quotedFieldText(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out = "'";
    for (const char c : text.substr(0, kQuotedFieldLength)) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\t') {
            out += "\\t";
        } else if (c == '\\') {
            out += "\\\\";
        } else if (byte < 0x20 || byte >= 0x7F) {
            // Control bytes would act on the terminal or the log window instead of showing;
            // bytes above ASCII are shown the same way, as the file's encoding is unknown.
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        } else {
            out += c;
        }
    }
    if (text.size() > kQuotedFieldLength) out += "...";
    return out + "'";
}

namespace {

// Reads the typed fields of a model file, remembering the section for messages.
class Parser {
public:
    explicit Parser(std::string_view text) : fields_(text) {}

    struct Failure {
        std::string description;
    };

    void section(const char* name) { section_ = name; }

    // A field of the header, read as it stands.
    std::optional<Field> nextField() {
        std::optional<Field> f = fields_.next();
        if (f) lastLine_ = f->line;
        return f;
    }
    // The next field, which must stand alone on its line, as the writer puts every value:
    // a second value on a line (a comma) would shift every later field by one.
    Field field() {
        std::optional<Field> f = fields_.next();
        if (!f) failAtEnd();
        if (f->line == lastLine_) {
            fail(*f, "the line holds more than one value (" + quoted(*f) +
                         " follows a comma); every line holds one");
        }
        lastLine_ = f->line;
        return std::move(*f);
    }
    // A line that names a section, where the counts of the sections before it put it.
    void heading(const char* name) {
        const Field f = field();
        if (f.text != name) {
            fail(f, "the line '" + std::string(name) + "' was expected here, but the line holds " +
                        quoted(f) + "; the file does not follow its counts");
        }
    }
    // The empty line after a count or a record.
    void separator() {
        const Field f = field();
        if (f.text.find_first_not_of(" \t") != std::string::npos) {
            fail(f, "an empty line was expected here, but the line holds " + quoted(f) +
                        "; the file does not follow its counts");
        }
    }
    [[noreturn]] void failAtEnd() {
        throw Failure{"line " + whole(fields_.line()) + ": the file ends inside the " + section_ +
                      " section"};
    }
    void skip(int count = 1) {
        for (int k = 0; k < count; ++k) field();
    }

    double number(const Field& f) {
        const std::optional<double> value = fieldNumber(f);
        if (!value) {
            if (f.text.find_first_not_of(" \t") == std::string::npos) {
                fail(f, "a number was expected but the line is empty");
            }
            fail(f, quoted(f) + " is not a number");
        }
        if (!std::isfinite(*value)) fail(f, quoted(f) + " is too large a number");
        return *value;
    }
    double number() {
        const Field f = field();
        return number(f);
    }
    // A single-precision field: the number must stay what it is there, neither overflowing
    // nor, when it is not 0, becoming 0 or subnormal.
    float single(const Field& f) {
        const double value = number(f);
        if (!fitsInFloat(value)) {
            fail(f, quoted(f) + (std::fabs(value) > 1 ? " is too large for a single-precision value"
                                                      : " is too small a non-zero value for a "
                                                        "single-precision value"));
        }
        return float(value);
    }
    float single() {
        const Field f = field();
        return single(f);
    }
    // A count or entity number: a whole number within [low, high]; `what` names it.
    int wholeNumber(int low, int high, const std::string& what) {
        const Field f = field();
        const double value = number(f);
        if (value != std::floor(value)) fail(f, quoted(f) + " is not a whole number");
        if (value < low) fail(f, what + " cannot be " + general(value));
        if (value > high) {
            fail(f, what + " " + general(value) + " is above the limit of " + whole(high));
        }
        return int(value);
    }

    [[noreturn]] void fail(const Field& f, const std::string& text) {
        throw Failure{"line " + whole(f.line) + ": " + text};
    }
    static std::string quoted(const Field& f) { return quotedFieldText(f.text); }

private:
    FieldReader fields_;
    std::string section_ = "header";
    int lastLine_ = 0;
};

float readCoordinate(Parser& p, int node, const char* axis) {
    const Field f = p.field();
    const float value = p.single(f);
    if (!isStorableCoordinate(value)) {
        p.fail(f, "the " + std::string(axis) + " coordinate of node #" + whole(node) + ", " +
                      Parser::quoted(f) + ", is outside the range -" + general(kMaxCoordinate) +
                      " to " + general(kMaxCoordinate));
    }
    return value;
}

float readSpringConstant(Parser& p, int node, const char* name) {
    const Field f = p.field();
    const float value = p.single(f);
    if (!isValidSpringConstant(value)) {
        p.fail(f, "node #" + whole(node) + " has the spring constant " + name + " " +
                      Parser::quoted(f) + "; spring constants cannot be negative");
    }
    return value;
}

// E or A of a group: a positive double that is not subnormal, as the groups dialog takes.
double readSectionValue(Parser& p, int group, const char* name) {
    const Field f = p.field();
    const double value = p.number(f);
    if (!(value > 0)) {
        p.fail(f, "group #" + whole(group) + " has " + name + " " + Parser::quoted(f) +
                      "; E and A must be positive");
    }
    if (!isValidSectionValue(value)) {
        p.fail(f, Parser::quoted(f) + " is too small a non-zero number");
    }
    return value;
}

float readConstraint(Parser& p, int node, const char* axis) {
    const Field f = p.field();
    const double value = p.number(f);
    if (value != 0.0 && value != 1.0) {
        p.fail(f, "node #" + whole(node) + " has the " + axis + " constraint " + Parser::quoted(f) +
                      "; only 0 (free) and 1 (fixed) are possible");
    }
    return float(value);
}

// A whole number stored as a float, naming an existing entity 1..count.
float readReference(Parser& p, int element, const char* what, int count) {
    const Field f = p.field();
    const double value = p.number(f);
    if (value != std::floor(value) || value < 1 || value > count) {
        p.fail(f, "element #" + whole(element) + " refers to " + what + " " + Parser::quoted(f) +
                      ", which is not in the model (" + whole(count) + " defined)");
    }
    return float(value);
}

// The settings section: its 43 values, each alone on its line, then the end line right
// after the last of them. A line too many or too few would otherwise shift every later
// value into the wrong setting, where most of them still pass for valid.
void readSettings(Parser& p, ModelFileContent& c) {
    p.section("Settings");
    p.heading("Settings");
    std::array<Field, kSettingsLines> lines;
    for (int k = 0; k < kSettingsLines; ++k) {
        lines[k] = p.field();
        if (lines[k].text == kModelFileEndLine) {
            p.fail(lines[k], "the Settings section ends after " + whole(k) + " of its " +
                                 whole(kSettingsLines) + " lines");
        }
    }
    const Field end = p.field();
    if (end.text != kModelFileEndLine) {
        p.fail(end, "the Settings section has more than its " + whole(kSettingsLines) +
                        " lines: the end line '" + kModelFileEndLine +
                        "' was expected here, but the line holds " + Parser::quoted(end));
    }
    // Whatever follows the end line is not part of the model; the end line itself stands
    // alone like every other line.
    if (const std::optional<Field> after = p.nextField(); after && after->line == end.line) {
        p.fail(*after, "the end line holds more than one value");
    }

    ViewSettings& s = c.settings;
    const Field* next = lines.data();
    for (bool ViewSettings::*flag : kFileFlags) {
        const std::optional<double> value = fieldNumber(*next++);
        s.*flag = value && *value == 1.0;
    }
    const auto checked = [&p](auto value, const Field& f, bool valid, const char* what) {
        if (!valid) p.fail(f, Parser::quoted(f) + " is not a valid " + what);
        return value;
    };
    const auto int16Setting = [&](bool (*valid)(int), const char* what) {
        const Field& f = *next++;
        const auto value = toInt16(p.number(f));
        return checked(value.value_or(0), f, value && valid(*value), what);
    };
    // The decimals, as the view options dialog takes them: whole numbers only.
    const auto decimalsSetting = [&](const char* what) {
        const Field& f = *next++;
        const double typed = p.number(f);
        const auto value = toInt16(typed);
        return checked(value.value_or(0), f,
                       value && typed == std::floor(typed) && isValidDecimals(*value), what);
    };
    const auto floatSetting = [&](bool (*valid)(float), const char* what) {
        const Field& f = *next++;
        const double value = p.number(f);
        return checked(float(fitsInFloat(value) ? value : 0), f,
                       fitsInFloat(value) && valid(float(value)), what);
    };
    const auto offsetSetting = [&](const char* what) {
        const Field& f = *next++;
        const double value = p.number(f);
        return checked(value, f, isValidViewOffset(value), what);
    };
    s.dekadika_N = decimalsSetting("number of decimals for forces (0 to 13)");
    s.dekadika_strain = decimalsSetting("number of decimals for strains (0 to 13)");
    s.Ena_cm_posa_FORCE = floatSetting(isValidScaleEquivalence, "force scale (must be positive)");
    s.Ena_cm_posa_STRESS = floatSetting(isValidScaleEquivalence, "stress scale (must be positive)");
    s.Ena_cm_posa_STRAIN = floatSetting(isValidScaleEquivalence, "strain scale (must be positive)");
    c.view.scale = floatSetting(isValidViewScale, "view scale (1 up to 3.4E+38)");
    c.view.offsetX = offsetSetting("horizontal view offset (-1E+38 to 1E+38)");
    c.view.offsetY = offsetSetting("vertical view offset (-1E+38 to 1E+38)");
    s.kannab = floatSetting(isValidGridSpacing, "grid spacing (must be positive)");
    s.Ena_cm_posa_m_epi_1000 =
        floatSetting(isValidScaleEquivalence, "deformation scale (must be positive)");
    s.Animation_Frames =
        int16Setting(isValidAnimationFrames, "number of animation frames (1 to 1000)");
    for (Colour ViewSettings::*colour : kFileColours) {
        const Field& f = *next++;
        const auto value = colourFromNumber(p.number(f));
        s.*colour = checked(value.value_or(0), f, value.has_value(), "colour value");
    }
}

}  // namespace

std::string modelFileTooLargeText() {
    return "the file is larger than " + whole(static_cast<long long>(kMaxModelFileBytes >> 20)) +
           " MiB, too large for a model file";
}

std::string windowCaption(const Model& model) {
    return std::string(kProgramTitle) + " - " +
           (model.fileName.empty() ? std::string("Untitled.vok") : model.fileName);
}

std::string modelFileText(const Model& m, const ViewSettings& s, const ViewValues& view) {
    Writer w;
    for (const char* line : kHeader) w.line(line);
    w.line("");
    w.line("Groups");
    w.number(static_cast<long long>(m.groupCount));
    w.line("");
    for (int g = 1; g <= m.groupCount; ++g) {
        w.number(static_cast<long long>(g));
        w.number(m.groups.E[g]);
        w.number(m.groups.A[g]);
        w.line("");
    }
    w.line("Nodes");
    w.number(static_cast<long long>(m.nodeCount));
    w.line("");
    for (int n = 1; n <= m.nodeCount; ++n) {
        w.number(static_cast<long long>(n));
        for (float value : {m.nodes.x[n], m.nodes.y[n], m.nodes.cx[n], m.nodes.cy[n], m.nodes.Fx[n],
                            m.nodes.Fy[n]}) {
            w.number(value);
        }
        w.line("");
    }
    w.line("Elements");
    w.number(static_cast<long long>(m.elementCount));
    w.line("");
    for (int e = 1; e <= m.elementCount; ++e) {
        w.number(static_cast<long long>(e));
        w.number(m.elements.i[e]);
        w.number(m.elements.j[e]);
        w.number(m.elements.group[e]);
        w.line("");
    }
    w.line("Springs");
    int springs = 0;
    for (int n = 1; n <= m.nodeCount; ++n) springs += hasSpring(m, n) ? 1 : 0;
    w.number(static_cast<long long>(springs));
    for (int n = 1; n <= m.nodeCount; ++n) {
        if (!hasSpring(m, n)) continue;
        w.number(static_cast<long long>(n));
        w.number(m.nodes.Kx[n]);
        w.number(m.nodes.Ky[n]);
    }
    w.line("Settings");
    for (bool ViewSettings::*flag : kFileFlags) w.line(s.*flag ? "1" : "0");
    w.number(static_cast<long long>(s.dekadika_N));
    w.number(static_cast<long long>(s.dekadika_strain));
    w.number(s.Ena_cm_posa_FORCE);
    w.number(s.Ena_cm_posa_STRESS);
    w.number(s.Ena_cm_posa_STRAIN);
    w.number(view.scale);
    w.number(view.offsetX);
    w.number(view.offsetY);
    w.number(s.kannab);
    w.number(s.Ena_cm_posa_m_epi_1000);
    w.number(static_cast<long long>(s.Animation_Frames));
    for (Colour ViewSettings::*colour : kFileColours) w.line(colourText(s.*colour));
    w.line(kModelFileEndLine);
    return w.take();
}

ParsedModelFile parseModelFile(std::string_view text) {
    ParsedModelFile result;
    Parser p(text);
    try {
        {
            // The five header lines, each exactly. A file that ends while all it holds so
            // far agrees with them is a model file cut short, not another kind of file.
            for (const char* expected : kHeader) {
                const std::optional<Field> f = p.nextField();
                if (!f) p.failAtEnd();
                if (f->text != expected) {
                    result.error = {true, "the file does not start with the model file header"};
                    return result;
                }
            }
        }
        ModelFileContent c;
        Model& m = c.model;

        // Record numbers are skipped: the records count in file order.
        p.section("Groups");
        p.separator();
        p.heading("Groups");
        m.groupCount = p.wholeNumber(0, kMaxGroups, "the number of E,A groups");
        p.separator();
        for (int g = 1; g <= m.groupCount; ++g) {
            p.skip();
            m.groups.E[g] = readSectionValue(p, g, "E");
            m.groups.A[g] = readSectionValue(p, g, "A");
            p.separator();
        }

        p.section("Nodes");
        p.heading("Nodes");
        m.nodeCount = p.wholeNumber(0, kMaxNodes, "the number of nodes");
        p.separator();
        for (int n = 1; n <= m.nodeCount; ++n) {
            p.skip();
            m.nodes.x[n] = readCoordinate(p, n, "x");
            m.nodes.y[n] = readCoordinate(p, n, "y");
            m.nodes.cx[n] = readConstraint(p, n, "x");
            m.nodes.cy[n] = readConstraint(p, n, "y");
            m.nodes.Fx[n] = p.single();
            m.nodes.Fy[n] = p.single();
            p.separator();
        }

        p.section("Elements");
        p.heading("Elements");
        m.elementCount = p.wholeNumber(0, kMaxElements, "the number of elements");
        p.separator();
        for (int e = 1; e <= m.elementCount; ++e) {
            p.skip();
            m.elements.i[e] = readReference(p, e, "node", m.nodeCount);
            m.elements.j[e] = readReference(p, e, "node", m.nodeCount);
            m.elements.group[e] = readReference(p, e, "group", m.groupCount);
            p.separator();
        }

        p.section("Springs");
        p.heading("Springs");
        const int springs = p.wholeNumber(0, kMaxNodes, "the number of spring records");
        for (int k = 0; k < springs; ++k) {
            const Field f = p.field();
            const double node = p.number(f);
            if (node != std::floor(node) || node < 1 || node > m.nodeCount) {
                p.fail(f, "a spring record names node " + Parser::quoted(f) +
                              ", which is not in the model (" + whole(m.nodeCount) + " defined)");
            }
            const int n = int(node);
            m.nodes.Kx[n] = readSpringConstant(p, n, "Kx");
            m.nodes.Ky[n] = readSpringConstant(p, n, "Ky");
        }

        readSettings(p, c);
        result.content = std::move(c);
    } catch (const Parser::Failure& failure) {
        result.error = {false, failure.description};
    }
    return result;
}

bool sameModelFileFields(std::string_view onDisk, std::string_view current) {
    FieldReader a(onDisk);
    FieldReader b(current);
    for (;;) {
        const std::optional<Field> fa = a.next();
        const std::optional<Field> fb = b.next();
        if (!fa || !fb) return false;  // a file without its end line never matches
        const bool endA = fa->text == kModelFileEndLine;
        const bool endB = fb->text == kModelFileEndLine;
        if (endA || endB) return endA && endB;
        const std::optional<double> na = fieldNumber(*fa);
        const std::optional<double> nb = fieldNumber(*fb);
        const bool same = (na && nb) ? *na == *nb : (!na && !nb && fa->text == fb->text);
        if (!same) return false;
    }
}

}  // namespace vortak
