// The fuzz target of the model file reader: arbitrary bytes go to the reader, and a file
// that reads goes the whole way the command-line tool takes it (analysis, the four report
// sections, an SVG of every view). Besides the sanitizers, the target checks what must hold
// for every file the program accepts and aborts when it does not:
//  - the file written back from what was read reads again, to the same tables, display
//    options and view, and writing that again gives the same text;
//  - no report and no picture shows an infinite or undefined number.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <string_view>

#include "app/analysis_run.h"
#include "app/app_state.h"
#include "app/file_commands.h"
#include "app/shell.h"
#include "base/scripted_prompter.h"
#include "graphics/drawing.h"
#include "graphics/result_drawing.h"
#include "graphics/svg_surface.h"
#include "model/model_file.h"
#include "report/report.h"

namespace {

using namespace vortak;

[[noreturn]] void fail(const char* what, std::string_view detail = {}) {
    std::fprintf(stderr, "model file fuzz check failed: %s\n", what);
    if (!detail.empty()) {
        // Enough of the offending text to find the place, not a megabyte of it.
        std::fprintf(stderr, "%.*s\n", int(detail.size() < 2000 ? detail.size() : 2000),
                     detail.data());
    }
    std::abort();
}

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
char lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

// Whether `text` at `at` holds `word` (lower case), in any letter case.
bool holdsWord(std::string_view text, std::size_t at, std::string_view word) {
    if (text.size() - at < word.size()) return false;
    for (std::size_t k = 0; k < word.size(); ++k) {
        if (lower(text[at + k]) != word[k]) return false;
    }
    return true;
}

// The place of a number written as infinite or undefined ("inf", "-INF", "nan", "NaN",
// "infinity", "1.#INF"): the letters i-n-f or n-a-n, in any case, not inside a longer
// word. npos when there is none. Runs over every picture of every input, so it is kept to
// one pass over the characters.
std::size_t nonFiniteNumberAt(std::string_view text) {
    for (std::size_t k = 0; k + 3 <= text.size(); ++k) {
        const char c = lower(text[k]);
        if (c != 'i' && c != 'n') continue;
        if (k > 0 && isLetter(text[k - 1])) continue;
        std::size_t end = k + 3;
        if (holdsWord(text, k, "infinity")) {
            end = k + 8;
        } else if (!holdsWord(text, k, "inf") && !holdsWord(text, k, "nan")) {
            continue;
        }
        if (end < text.size() && isLetter(text[end])) continue;
        return k;
    }
    return std::string_view::npos;
}

void checkFinite(const char* what, std::string_view text) {
    const std::size_t at = nonFiniteNumberAt(text);
    if (at == std::string_view::npos) return;
    const std::size_t from = at < 300 ? 0 : at - 300;
    fail(what, text.substr(from, 600));
}

bool sameView(const ViewValues& a, const ViewValues& b) {
    return a.scale == b.scale && a.offsetX == b.offsetX && a.offsetY == b.offsetY;
}

// What was read, written, read back and written again stays the same.
void checkRoundTrip(const ModelFileContent& read) {
    const std::string written = modelFileText(read.model, read.settings, read.view);
    const ParsedModelFile again = parseModelFile(written);
    if (!again.content) fail("the written file does not read", again.error.description);
    const ModelFileContent& back = *again.content;
    if (!(static_cast<const ModelTables&>(back.model) ==
          static_cast<const ModelTables&>(read.model))) {
        fail("the tables read back differ", written);
    }
    if (!(back.settings == read.settings)) fail("the display options read back differ", written);
    if (!sameView(back.view, read.view)) fail("the view read back differs", written);
    if (modelFileText(back.model, back.settings, back.view) != written) {
        fail("the second write differs from the first", written);
    }
    if (!sameModelFileFields(written, written)) fail("a written file does not match itself");
}

// Views of the model as SVG pictures.
void checkPictures(AppState& app, std::initializer_list<ViewMode> views) {
    const DrawingInput in{app.model, app.settings, app.view};
    for (ViewMode view : views) {
        const int frame = view == ViewMode::Animation ? app.settings.Animation_Frames / 2 : 0;
        SvgSurface svg(app.view.SW, app.view.SH);
        drawView(in, svg, view, frame);
        if (view == ViewMode::Colour) {
            drawColourLegendWithLabels(in, svg, app.view.SW - kColourLegendWidth, 0.3);
        }
        checkFinite("a picture shows a non-finite number", svg.document());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ParsedModelFile parsed = parseModelFile(text);
    if (!parsed.content) {
        if (parsed.error.description.empty() && !parsed.error.badHeader) {
            fail("a refused file has no description");
        }
        return 0;
    }
    checkRoundTrip(*parsed.content);

    // The command-line tool's way: read into the program state, analyse, report, draw.
    // One program state for every input, as the tool keeps one for a batch of models (the
    // solver's workspace is allocated once).
    struct Program {
        ScriptedPrompter prompter;
        Shell shell;
        AppState app{prompter, shell};
    };
    static Program program;
    AppState& app = program.app;
    program.prompter.clear();
    app.log.clear();
    app.currentView = ViewMode::Model;
    if (ReadModelText(app, "fuzz.vok", text) != FileOutcome::Done) {
        fail("the program refuses a file the reader accepts");
    }
    Button_Epilisi(app);
    for (int k = 1; k <= 4; ++k)
        checkFinite("a report section shows a non-finite number", ReportSection(app.model, k));

    // Every view as stored in the file (as --keep-view draws them), then the model with the
    // whole truss fitted (the tool's default). A small drawing area runs the same drawing
    // code as a large one, with fewer grid lines to write.
    app.view.SW = 12.0;
    app.view.SH = 9.0;
    checkPictures(app, {ViewMode::Model, ViewMode::NDiagram, ViewMode::Deformed, ViewMode::Colour,
                        ViewMode::Animation});
    if (app.view.zoomExtents(app.model)) {
        app.view.pushView();
        checkPictures(app, {ViewMode::Model});
    }
    return 0;
}
