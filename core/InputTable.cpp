#include "core/InputTable.h"

#include "core/Format.h"
#include "core/TextNumber.h"

#include <algorithm>
#include <cmath>
#include <cctype>
#include <cmath>

namespace qex {

namespace {

std::string RangeText(const InputRange& range)
{
    return InputNumberText(range.minimum) + " to " + InputNumberText(range.maximum);
}

// "Label (unit)", the unit left out when there is none.
std::string Title(const InputDescription& d, std::string_view unit)
{
    std::string title(d.label);
    if (!unit.empty())
        title += " (" + std::string(unit) + ")";
    return title;
}

// What a value takes besides its type: default, range, length, whether it
// must be given. The dialog holds every path to its box's length; qexcli
// holds only the paths it reads to it.
std::string Terms(const InputDescription& d, bool dialog)
{
    const char* const separator = "; ";
    std::string terms;
    auto add = [&terms, separator](const std::string& term) {
        terms += terms.empty() ? term : separator + term;
    };
    switch (d.kind) {
    case InputKind::Number:
        add("default " + (d.defaultText.empty() ? std::string("none") : d.defaultText));
        add(d.range ? "range " + RangeText(*d.range) : "any number");
        break;
    case InputKind::FileToRead:
    case InputKind::FileToWrite:
        if (d.kind == InputKind::FileToWrite)
            add("replaced if it exists");
        add(d.required ? std::string("required") : d.defaultText.empty() ? "default none" : "default " + d.defaultText);
        if (d.maxChars >= 0 && (dialog || d.kind == InputKind::FileToRead))
            add(Format("at most %d characters", d.maxChars));
        break;
    case InputKind::Flag:
        add("default " + d.defaultText);
        break;
    case InputKind::Choice: {
        add("default " + d.defaultText);
        std::string words;
        for (const std::string_view word : d.choices)
            words += (words.empty() ? "" : ", ") + std::string(word);
        add("one of " + words);
        break;
    }
    }
    return terms;
}

} // namespace

std::string InputNumberText(double value)
{
    return Format("%.15g", value);
}

std::string ReadInputNumber(std::string_view text, const std::optional<InputRange>& range, double& value,
                            bool whole)
{
    double number = 0.0;
    if (!ParseNumber(text, number))
        return Format("'%s' is not a number", std::string(text).c_str());
    if (range && (number < range->minimum || number > range->maximum))
        return Format("%.15g is outside the range %.15g to %.15g", number, range->minimum, range->maximum);
    if (whole && number != std::floor(number))
        return Format("'%s' is not a whole number", std::string(text).c_str());
    value = number;
    return std::string();
}

std::string CheckInputLength(std::string_view text, int maxChars)
{
    if (maxChars >= 0 && text.size() > static_cast<std::size_t>(maxChars))
        return Format("the path is longer than %d characters", maxChars);
    return std::string();
}

std::string ReadInputFlag(std::string_view text, bool& value)
{
    std::string word(text);
    std::transform(word.begin(), word.end(), word.begin(), [](unsigned char c) { return std::tolower(c); });
    for (const char* on : {"1", "true", "yes", "on"}) {
        if (word == on) {
            value = true;
            return std::string();
        }
    }
    for (const char* off : {"", "0", "false", "no", "off"}) {
        if (word == off) {
            value = false;
            return std::string();
        }
    }
    return Format("'%s' is not on or off", std::string(text).c_str());
}

std::string ReadInputChoice(std::string_view text, std::span<const std::string_view> choices, std::string& value)
{
    const auto lower = [](std::string_view word) {
        std::string lowered(word);
        std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return lowered;
    };
    std::string words;
    for (const std::string_view choice : choices) {
        if (lower(choice) == lower(text)) {
            value = std::string(choice);
            return std::string();
        }
        words += (words.empty() ? "" : ", ") + std::string(choice);
    }
    return Format("'%s' is not one of: %s", std::string(text).c_str(), words.c_str());
}

std::string TargetText(const InputTarget& target)
{
    if (target.number != nullptr)
        return std::isnan(*target.number) ? std::string() : InputNumberText(*target.number);
    if (target.text != nullptr)
        return *target.text;
    return *target.flag ? "on" : "off";
}

std::string SetTargetFromText(const InputTarget& target, const InputDescription& d, std::string_view text)
{
    if (target.number != nullptr) {
        double value = 0.0;
        std::string why = ReadInputNumber(text, d.range, value, d.whole);
        if (why.empty())
            *target.number = value;
        return why;
    }
    if (target.text != nullptr) {
        if (d.kind == InputKind::Choice)
            return ReadInputChoice(text, d.choices, *target.text);
        if (d.kind == InputKind::FileToRead) {
            std::string why = CheckInputLength(text, d.maxChars);
            if (!why.empty())
                return why;
        }
        *target.text = std::string(text);
        return std::string();
    }
    bool value = false;
    std::string why = ReadInputFlag(text, value);
    if (why.empty())
        *target.flag = value;
    return why;
}

InputValue TargetValue(std::string_view name, std::string_view unit, const InputTarget& target)
{
    if (target.number != nullptr)
        return {name, unit, *target.number};
    if (target.text != nullptr)
        return {name, unit, *target.text};
    return {name, unit, *target.flag};
}

std::string InputHelpLine(const InputDescription& d)
{
    std::string line = Title(d, d.unit);
    if (!d.help.empty())
        line += ": " + std::string(d.help);
    return line + "; " + Terms(d, false);
}

std::string InputToolTip(const InputDescription& d)
{
    // A pure number's tooltip names its scale, as the label beside its box does.
    std::string tip = Title(d, d.unit.empty() ? d.boxUnit : d.unit);
    if (!d.help.empty())
        tip += "\n" + std::string(d.help);
    std::string terms = Terms(d, true);
    if (!terms.empty())
        terms[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(terms[0])));
    return tip + "\n" + terms + ".";
}

std::string InputBoxUnit(const InputDescription& d)
{
    return std::string(d.boxUnit.empty() ? d.unit : d.boxUnit);
}

} // namespace qex
