#pragma once
// Each calculator declares its inputs once: a plain struct whose member
// initialisers are the defaults, and a table with one row per input that
// points into it. The dialogs bind their controls, ranges and tooltips from
// the rows, qexcli builds its options, help and range errors from them, and
// a file of many samples can name its columns after them, so the faces of a
// calculator cannot drift apart.

#include "core/FileIdentity.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace qex {

// The inclusive range a typed number must lie in.
struct InputRange {
    double minimum;
    double maximum;
};

enum class InputKind {
    Number,      // a decimal number, within its range when it has one
    FileToRead,  // a path the calculation reads
    FileToWrite, // a path the calculation writes, replacing what is there
    Flag,        // on or off
    Choice,      // one word of a fixed list (any case; kept as the list writes it)
};

template <class Inputs>
struct InputRow {
    using Field = std::variant<double Inputs::*, std::string Inputs::*, bool Inputs::*>;

    std::string_view name = {};          // the qexcli option without its dashes ("be10-err")
    int controlId = 0;                   // the dialog's edit or check box; 0 when the dialog has none
    std::string_view member = {};        // the dialog member bound to it ("m_dBeNErr"); empty without a control
    std::string_view label = {};         // what it is, in a few words
    std::string_view unit = {};          // of a number ("atoms/g"); empty for a pure number
    std::string_view boxUnit = {};       // the small label beside the dialog's box, where it is not
                                         // the unit itself: shorter ("yr"), or the scale of a pure number
    InputKind kind = InputKind::Number;
    Field field = {};                    // where the value lives in Inputs; its type follows the kind
    std::optional<InputRange> range = {}; // of a number, inclusive; none: any finite number
    int maxChars = -1;                   // of a path, the most characters the dialog's box takes (files
                                         // to read are held to it on the command line too); -1: any
    bool required = false;               // qexcli does not run without it
    bool option = true;                  // qexcli takes it; false for a field of the dialog alone
    std::string_view help = {};          // one more line for the help and the tooltip; may be empty
    bool whole = false;                  // a count or a seed: a number with a fraction is refused
    std::span<const std::string_view> choices = {}; // of a Choice, its words; the default among them
    bool listedAtDefault = true;         // false: an option added later, which JSON documents and
                                         // batch files name only where it is not at its default, so
                                         // that what the defaults give stays byte for byte the same
};

// Which inputs the user gave, by row name (an option on the command line, a
// cell of a batch row): a value given is the user's, one not given may be
// completed from others.
using GivenInputs = std::function<bool(std::string_view name)>;

template <class Inputs>
class InputTable {
public:
    // A calculator's last step in reading its inputs: inputs derived from
    // others where they were not given, and why the inputs cannot be
    // calculated together (values that need or exclude each other); empty when
    // they can.
    using Completion = std::string (*)(Inputs&, const GivenInputs&);

    explicit constexpr InputTable(std::span<const InputRow<Inputs>> rows, Completion completion = nullptr)
        : m_rows(rows), m_completion(completion)
    {
    }

    std::span<const InputRow<Inputs>> Rows() const { return m_rows; }

    // Runs the table's completion; empty, or why the inputs cannot be calculated.
    std::string Complete(Inputs& inputs, const GivenInputs& given) const
    {
        return m_completion != nullptr ? m_completion(inputs, given) : std::string();
    }

    // The row of the option or column `name` (without dashes); null when none.
    const InputRow<Inputs>* Find(std::string_view name) const
    {
        for (const InputRow<Inputs>& row : m_rows)
            if (row.name == name)
                return &row;
        return nullptr;
    }

    // The row of the dialog control `id`; null when none.
    const InputRow<Inputs>* FindControl(int id) const
    {
        for (const InputRow<Inputs>& row : m_rows)
            if (id != 0 && row.controlId == id)
                return &row;
        return nullptr;
    }

private:
    std::span<const InputRow<Inputs>> m_rows;
    Completion m_completion;
};

// How a number is written in help texts, tooltips and edit boxes (up to 15
// significant digits, as "%.15g" writes them).
std::string InputNumberText(double value);

// Reads a typed number as qexcli reads its options: empty and the value when
// `text` is one finite decimal number within the range (and, when `whole`,
// without a fraction); otherwise why not, "'abc' is not a number", "X is
// outside the range A to B" or "'1.5' is not a whole number".
std::string ReadInputNumber(std::string_view text, const std::optional<InputRange>& range, double& value,
                            bool whole = false);

// Empty when `text` has at most maxChars characters (any when negative);
// otherwise "the path is longer than N characters".
std::string CheckInputLength(std::string_view text, int maxChars);

// Reads on or off: "1", "true", "yes", "on" and "0", "false", "no", "off"
// (any case), or an empty text for off; otherwise why not.
std::string ReadInputFlag(std::string_view text, bool& value);

// Reads one of the words in `choices`, in any case, as the list writes it;
// otherwise why not, "'X' is not one of: A, B, C".
std::string ReadInputChoice(std::string_view text, std::span<const std::string_view> choices, std::string& value);

// The pieces of a row's help, for rows of any calculator.
struct InputDescription {
    std::string_view label;
    std::string_view unit;
    std::string_view boxUnit;
    std::string_view help;
    InputKind kind = InputKind::Number;
    std::string defaultText; // empty for a path without a default
    std::optional<InputRange> range;
    int maxChars = -1;
    bool required = false;
    bool whole = false; // a count or a seed: a number with a fraction is refused
    std::span<const std::string_view> choices = {};
    bool listedAtDefault = true;
};

// One line for `qexcli COMMAND --help`: label, unit, help, default and range,
// as "Label (unit): help; default D; range A to B".
std::string InputHelpLine(const InputDescription& description);
// The tooltip of a dialog field: label and unit, help, range and default, one a line.
std::string InputToolTip(const InputDescription& description);
// What the small label beside a dialog's box reads: the box unit, else the unit.
std::string InputBoxUnit(const InputDescription& description);

// Where a row's value lives in a set of inputs: one of the three is set.
struct InputTarget {
    double* number = nullptr;
    std::string* text = nullptr;
    bool* flag = nullptr;
};

template <class Inputs>
InputTarget TargetOf(const InputRow<Inputs>& row, Inputs& inputs)
{
    if (const auto* number = std::get_if<double Inputs::*>(&row.field))
        return {.number = &(inputs.**number)};
    if (const auto* text = std::get_if<std::string Inputs::*>(&row.field))
        return {.text = &(inputs.**text)};
    return {.flag = &(inputs.*std::get<bool Inputs::*>(row.field))};
}

// The value as text: a number as InputNumberText writes it (empty for a
// number not given, NaN), a path or a word as it is, a flag as "on" or "off".
std::string TargetText(const InputTarget& target);

// Sets the value from text with qexcli's reading, range and messages; empty
// on success, otherwise why not (the value then stays).
std::string SetTargetFromText(const InputTarget& target, const InputDescription& description, std::string_view text);

// The value of a row's field in `inputs` as text, as TargetText writes it.
template <class Inputs>
std::string InputValueText(const InputRow<Inputs>& row, const Inputs& inputs)
{
    return TargetText(TargetOf(row, const_cast<Inputs&>(inputs)));
}

// The row's default: its field in a default-made Inputs.
template <class Inputs>
std::string InputDefaultText(const InputRow<Inputs>& row)
{
    static const Inputs defaults{};
    return InputValueText(row, defaults);
}

template <class Inputs>
InputDescription DescribeInput(const InputRow<Inputs>& row)
{
    return {row.label,         row.unit,     row.boxUnit,  row.help,    row.kind,    InputDefaultText(row),
            row.range,         row.maxChars, row.required, row.whole,   row.choices, row.listedAtDefault};
}

// Sets a row's field from text with qexcli's reading, range and messages;
// empty on success, otherwise why not (the field then keeps its value).
template <class Inputs>
std::string SetInputFromText(const InputRow<Inputs>& row, Inputs& inputs, std::string_view text)
{
    return SetTargetFromText(TargetOf(row, inputs), DescribeInput(row), text);
}

// An input's value as a calculation used it, for a JSON document.
struct InputValue {
    std::string_view name;
    std::string_view unit;
    std::variant<double, std::string, bool> value;
};

InputValue TargetValue(std::string_view name, std::string_view unit, const InputTarget& target);

// Whether a row's value is written where the inputs are listed (JSON
// documents, batch files): always, unless the row is listed only away from
// its default and holds it.
template <class Inputs>
bool InputListed(const InputRow<Inputs>& row, const Inputs& inputs)
{
    return row.listedAtDefault || InputValueText(row, inputs) != InputDefaultText(row);
}

// The values of the rows qexcli takes, in the table's order.
template <class Inputs>
std::vector<InputValue> InputValues(const Inputs& inputs, const InputTable<Inputs>& table)
{
    std::vector<InputValue> values;
    for (const InputRow<Inputs>& row : table.Rows()) {
        if (!row.option || !InputListed(row, inputs))
            continue;
        values.push_back(TargetValue(row.name, row.unit, TargetOf(row, const_cast<Inputs&>(inputs))));
    }
    return values;
}

// The files named by a calculator's inputs, from the kinds of its rows, each
// named as qexcli names it ("--report"): what an output may not replace.
template <class Inputs>
std::vector<FileUse> InputFileUses(const Inputs& inputs, const InputTable<Inputs>& table)
{
    std::vector<FileUse> uses;
    for (const InputRow<Inputs>& row : table.Rows()) {
        if (row.kind != InputKind::FileToRead && row.kind != InputKind::FileToWrite)
            continue;
        uses.push_back({"--" + std::string(row.name), inputs.*std::get<std::string Inputs::*>(row.field),
                        row.kind == InputKind::FileToRead ? FileRole::Input : FileRole::Output});
    }
    return uses;
}

} // namespace qex
