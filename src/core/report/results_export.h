#pragma once

// The results of an analysis for other programs: one JSON object per model, or CSV tables
// of the node displacements, element forces and support reactions. Every number is written
// with 17 significant digits and "." as decimal point, whatever the locale, so that it reads
// back as exactly the double the program holds. The layout is documented in
// docs/results-format.md.

#include <string>
#include <string_view>

namespace vortak {

struct Model;

inline constexpr int kResultsFormatVersion = 1;

// How the reading and the analysis of one model came out.
enum class RunStatus { Ok, ReadFailed, AnalysisFailed };

struct ModelRun {
    std::string name;  // the model as it was named (its path, or "-" for standard input)
    RunStatus status = RunStatus::Ok;
    std::string message;  // what went wrong, in the log's words; empty when all went well
};

// The JSON object of one model, on one line. Results only when the status is Ok; a failed
// model carries its status and message and nothing else.
std::string resultsJson(const Model& model, const ModelRun& run);

enum class ResultsTableKind { Nodes, Elements, Reactions };

// "nodes", "elements" or "reactions".
bool parseResultsTable(std::string_view text, ResultsTableKind& kind);

// The header line of a CSV table, and a model's rows of it (none for a failed model). The
// first column names the model, so that the rows of a batch stay apart in one table.
std::string resultsCsvHeader(ResultsTableKind kind);
std::string resultsCsvRows(const Model& model, const ModelRun& run, ResultsTableKind kind);

// 17 significant digits, shortest exponent form where the C library would use one.
std::string fullPrecision(double value);

}  // namespace vortak
