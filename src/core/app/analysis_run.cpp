#include "app/analysis_run.h"

#include <cmath>
#include <string>

#include "analysis/result_values.h"
#include "analysis/solver.h"
#include "app/app_state.h"
#include "app/shell.h"
#include "app/undo.h"
#include "base/number_text.h"
#include "model/deletion.h"

namespace vortak {

namespace {

constexpr const char* kFailureText =
    "An error occured during the analysis process. Make sure that the structure is well "
    "defined (not a mechanism) and can be analyzed.";
constexpr const char* kMechanismText =
    "The analysis has been carried out successfully, yet some of the resultant "
    "displacements have excessive values. The structure is probably a mechanism.";
constexpr const char* kReanalyzeText =
    "Model has been changed. Do you want to reanalyze before the process goes on?";

// The first node no element uses, or 0.
int firstUnconnectedNode(const Model& model) {
    for (int n = 1; n <= model.nodeCount; ++n) {
        bool connected = false;
        for (int e = 1; e <= model.elementCount && !connected; ++e) {
            connected = model.nodeI(e) == n || model.nodeJ(e) == n;
        }
        if (!connected) return n;
    }
    return 0;
}

// Why the run failed, when the solver could name an element or a node: the red line
// before the failure message.
std::string failureCause(const Model& model, const SolveOutcome& outcome) {
    const std::string element = "Element #" + whole(outcome.element);
    switch (outcome.status) {
        case SolveStatus::ZeroLengthElement:
            return element + " has zero length.";
        case SolveStatus::InvalidSection:
            return element + " belongs to group #" + whole(model.groupOf(outcome.element)) +
                   ", whose E and A are not both positive.";
        case SolveStatus::InvalidReference:
            return element + " refers to a node or group that does not exist.";
        case SolveStatus::InvalidStiffness:
            return "The axial stiffness E*A/L of element #" + whole(outcome.element) +
                   " is too large or too small to be represented.";
        case SolveStatus::ElementResultOverflow:
            return std::string("The ") + outcome.quantity + " of element #" +
                   whole(outcome.element) + " is too large to be represented.";
        case SolveStatus::NodeResultOverflow:
            return std::string("The ") + outcome.quantity + " of node #" + whole(outcome.node) +
                   " is too large to be represented.";
        case SolveStatus::Ok:
        case SolveStatus::ArithmeticFault:
            break;
    }
    return {};
}

// Elapsed seconds rounded to milliseconds (halves to even).
std::string elapsedText(double seconds) {
    if (!(seconds >= 0.0)) seconds = 0.0;
    return general(std::nearbyint(seconds * 1000.0) / 1000.0);
}

}  // namespace

void Button_Epilisi(AppState& app) {
    stopAnimation(app);
    Model& model = app.model;
    if (model.nodeCount == 0) return;

    for (int n = firstUnconnectedNode(model); n != 0; n = firstUnconnectedNode(model)) {
        const std::string sentence =
            "Node #" + whole(n) +
            " is not connected to other nodes with elements and could probably cause "
            "problems to the solution process.";
        app.log.LogMessage(sentence, LogColour::Red);
        const Answer answer = app.prompter.messageBox(
            sentence + " Do you want that node to be deleted before starting the analysis?",
            MessageIcon::Question, MessageButtons::YesNoCancel);
        if (answer == Answer::No) break;
        if (answer != Answer::Yes) return;  // Cancel, or the box was closed
        const ModelTables before = model;
        DeleteNode(model, app.log, n);
        recordModelChange(app, "Delete node #" + whole(n), before);
        app.shell.redraw();
        if (model.nodeCount == 0) return;
    }
    RunAnalysis(app);
}

void RunAnalysis(AppState& app) {
    Model& model = app.model;
    Shell& shell = app.shell;
    MessageLog& log = app.log;

    model.analysisFailed = false;
    shell.setAnalyzeEnabled(false);
    const double start = shell.monotonicSeconds();
    log.LogMessage("ANALYSIS", LogColour::Black, true);
    log.LogMessage("Start:  " + shell.timeOfDay());
    shell.refreshLog();
    shell.setBusyPointer(true);

    const SolveOutcome outcome = SolveTruss(model, model.results, app.solverWorkspace);
    if (!outcome.ok()) {
        log.LogMessage(", Termination: " + shell.timeOfDay(), LogColour::Black, false, true);
        if (const std::string cause = failureCause(model, outcome); !cause.empty()) {
            log.LogMessage(cause, LogColour::Red);
        }
        app.prompter.messageBox(kFailureText, MessageIcon::Critical, MessageButtons::Ok);
        log.LogMessage(kFailureText, LogColour::Red);
        model.analysisFailed = true;
        app.currentView = ViewMode::Model;
        shell.setBusyPointer(false);
        shell.setAnalyzeEnabled(true);
        return;
    }

    shell.setBusyPointer(false);
    const double finish = shell.monotonicSeconds();
    log.LogMessage("Finish:  " + shell.timeOfDay());
    log.LogMessage("Total time:  " + elapsedText(finish - start) + " sec");
    shell.setAnalyzeEnabled(true);

    const auto [largestDof, largest] = largestDisplacement(model);
    if (largest > kMechanismDisplacement) {
        app.prompter.messageBox(std::string(kMechanismText) + "\r\n\r\nmax.(u) = u(" +
                                    whole(largestDof) + ") = " + general(largest),
                                MessageIcon::Critical, MessageButtons::Ok);
        log.LogMessage(kMechanismText, LogColour::Red);
    }

    if (model.elementCount > 0) {
        computeExtremes(model);
        model.changed = false;
    }
}

void ConfirmReanalysis(AppState& app) {
    if (!app.model.changed) return;
    const Answer answer =
        app.prompter.messageBox(kReanalyzeText, MessageIcon::Exclamation, MessageButtons::YesNo);
    if (answer == Answer::Yes) Button_Epilisi(app);
}

}  // namespace vortak
