// A batch's output as one JSON document: an object per sample with the same
// parts as a command's document.

#include "batch/BatchRun.h"

#include "core/JsonDocument.h"

#include <nlohmann/json.hpp>

namespace qex {

std::string FormatBatchJson(const BatchJob& job, const BatchOutcome& outcome)
{
    Json samples = Json::array();
    for (const BatchRowOutcome& row : outcome.rows) {
        std::vector<SaidMessage> said;
        for (const std::string& message : row.result.messages)
            said.push_back({message, std::string()});
        Json sample;
        sample["sample"] = row.sample;
        sample["line"] = row.line;
        sample["ok"] = !row.result.failed;
        sample["inputs"] = InputsJson(row.result.inputValues);
        sample["results"] = ResultsJson(row.result.results);
        sample["constants"] = ConstantsJson(row.result.constants);
        sample["messages"] = MessagesJson(said, !row.result.failed);
        samples.push_back(std::move(sample));
    }
    Json document;
    document["qex_version"] = QexVersion();
    document["calculator"] = job.calculator->name;
    document["input"] = job.inputPath;
    document["failed"] = outcome.failed;
    document["samples"] = std::move(samples);
    return JsonText(document);
}

} // namespace qex
