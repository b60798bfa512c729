#pragma once
// The JSON a calculation gives scripts instead of its lines: the inputs as
// read, the results with their units, the constants in force, what was said
// and the version of QEX. Its shape is described by the JSON Schema
// packaging/qex-output.schema.json; numbers carry full precision, and a
// value that is not finite is written null, so the document is always valid.

#include "core/InputTable.h"
#include "core/OutputTable.h"

#include <nlohmann/json_fwd.hpp>
#include <span>
#include <string>
#include <vector>

namespace qex {

// Members keep the order they are written in: the rows' order.
using Json = nlohmann::ordered_json;

// A message as the sink received it.
struct SaidMessage {
    std::string text;
    std::string detail;
};

// {"NAME": {"value": V, "unit": "U"}, ...}: numbers, paths and flags as read.
Json InputsJson(std::span<const InputValue> inputs);
// {"NAME": {"label": "L", "unit": "U", "value": V}, ...}: V a number, a list
// of numbers, or null for a value this result has not.
Json ResultsJson(std::span<const OutputValue> values);
// {"NAME": {"value": V, "unit": "U"}, ...}: every constant in force.
Json ConstantsJson(const Provenance& constants);
// [{"text": "T", "detail": "D", "severity": "warning" | "error"}, ...]: a
// calculation that gave its result was warned, one that did not failed.
Json MessagesJson(std::span<const SaidMessage> messages, bool succeeded);

// The document of one command: {"qex_version", "command", "status", "inputs",
// "results", "constants", "messages", "lines"}.
struct CommandJson {
    std::string command;
    int status = 0;
    std::vector<InputValue> inputs;
    std::vector<OutputValue> results;
    Provenance constants;
    std::vector<SaidMessage> messages;
    std::vector<std::string> lines; // what the command prints without --json
};
std::string CommandJsonText(const CommandJson& document);

// A document as text: indented, ending with a line end, text that is not
// UTF-8 replaced rather than refused.
std::string JsonText(const Json& document);

// The version of QEX the documents name.
std::string QexVersion();

} // namespace qex
