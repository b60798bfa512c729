#include "core/JsonDocument.h"

#include <cmath>
#include <nlohmann/json.hpp>

#ifndef QEX_VERSION
#define QEX_VERSION "unknown"
#endif

namespace qex {

namespace {

// A number as JSON: null when it is not finite (JSON has no nan or inf).
Json Number(double value)
{
    return std::isfinite(value) ? Json(value) : Json(nullptr);
}

// "unit" only where there is one.
void AddUnit(Json& member, std::string_view unit)
{
    if (!unit.empty())
        member["unit"] = std::string(unit);
}

} // namespace

Json InputsJson(std::span<const InputValue> inputs)
{
    Json object = Json::object();
    for (const InputValue& input : inputs) {
        Json member;
        if (const double* number = std::get_if<double>(&input.value))
            member["value"] = Number(*number);
        else if (const std::string* text = std::get_if<std::string>(&input.value))
            member["value"] = *text;
        else
            member["value"] = std::get<bool>(input.value);
        AddUnit(member, input.unit);
        object[std::string(input.name)] = std::move(member);
    }
    return object;
}

Json ResultsJson(std::span<const OutputValue> values)
{
    Json object = Json::object();
    for (const OutputValue& value : values) {
        Json member;
        member["label"] = std::string(value.label);
        AddUnit(member, value.unit);
        if (!value.present) {
            member["value"] = nullptr;
        } else if (value.list) {
            Json numbers = Json::array();
            for (double number : value.numbers)
                numbers.push_back(Number(number));
            member["value"] = std::move(numbers);
        } else if (value.count) {
            member["value"] = static_cast<long long>(value.numbers.at(0));
        } else {
            member["value"] = Number(value.numbers.at(0));
        }
        object[value.name] = std::move(member);
    }
    return object;
}

Json ConstantsJson(const Provenance& constants)
{
    Json object = Json::object();
    for (const ProvenanceItem& item : constants) {
        Json member;
        if (const double* number = std::get_if<double>(&item.value))
            member["value"] = Number(*number);
        else
            member["value"] = std::get<std::string>(item.value);
        AddUnit(member, item.unit);
        member["default"] = item.line.empty();
        object[item.name] = std::move(member);
    }
    return object;
}

Json MessagesJson(std::span<const SaidMessage> messages, bool succeeded)
{
    Json array = Json::array();
    for (const SaidMessage& message : messages) {
        Json member;
        member["text"] = message.text;
        if (!message.detail.empty())
            member["detail"] = message.detail;
        member["severity"] = succeeded ? "warning" : "error";
        array.push_back(std::move(member));
    }
    return array;
}

std::string CommandJsonText(const CommandJson& document)
{
    Json json;
    json["qex_version"] = QexVersion();
    json["command"] = document.command;
    json["status"] = document.status;
    json["inputs"] = InputsJson(document.inputs);
    json["results"] = ResultsJson(document.results);
    json["constants"] = ConstantsJson(document.constants);
    json["messages"] = MessagesJson(document.messages, document.status == 0);
    json["lines"] = document.lines;
    return JsonText(json);
}

std::string JsonText(const Json& document)
{
    // Invalid UTF-8 in a path or message is replaced, not thrown.
    return document.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

std::string QexVersion()
{
    return QEX_VERSION;
}

} // namespace qex
