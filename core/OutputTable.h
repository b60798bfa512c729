#pragma once
// Each calculator declares its results once, the twin of its input table: a
// plain struct of numbers (its Result) and a table with one row per line of
// the block its list shows, pointing into it. A row holds the label exactly
// as the list prints it, the line's printf format, the name of the CSV column
// and JSON member, the unit and the scale from the field's unit to the listed
// one. The list's lines, the batch's cells and the JSON document are all
// written from the rows, so a label, a format or a unit lives in one place.

#include "core/ResultList.h"

#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace qex {

// A distribution of draws: its median, the 68 % and 95 % intervals, mean and sd.
struct DistributionSummary {
    double median = 0.0;
    double p16 = 0.0, p84 = 0.0;    // the 68 % interval
    double p2_5 = 0.0, p97_5 = 0.0; // the 95 % interval
    double mean = 0.0, sd = 0.0;    // sd with n - 1
};

// A constant a result was computed with. JSON names every one in force; the
// list names, in a line of its own, each that is not the default, so a
// saved list says which constants made it.
struct ProvenanceItem {
    std::string name; // JSON member ("be10_half_life")
    std::string unit; // empty for a text or a pure number
    std::variant<double, std::string> value;
    std::string line; // the list's line; empty while the default is in force
};
using Provenance = std::vector<ProvenanceItem>;

enum class OutputKind {
    Number,     // Format(format, label, field / scale)
    Count,      // Format(format, label, field), a whole number
    Numbered,   // a line per element: Format(format, label, k, element / scale), k from 1
    Summary,    // "label :   median M  -A +B  95% [L, H]  mean X  sd S", each number in `format`
    Line,       // a fixed line: Format(format, the block's result number); no value
    Provenance, // the lines of the constants that are not the defaults
};

template <class Result>
struct OutputRow {
    using Field = std::variant<std::monostate, double Result::*, int Result::*, std::vector<double> Result::*,
                               DistributionSummary Result::*>;

    OutputKind kind = OutputKind::Number;
    std::string_view label = {};  // as the list prints it ("Bural Age(kyr)", its spelling kept)
    std::string_view format = {}; // the line's printf format; empty: a value of the CSV and JSON alone
    std::string_view name = {};   // CSV column and JSON member; empty: a line of the list alone
    std::string_view unit = {};   // of the value as listed and written ("kyr"); empty for a pure number
    double scale = 1.0;           // the listed value is the field divided by it (years to kyr: 1000)
    Field field = {};
    bool (*shown)(const Result&) = nullptr; // whether this result has the row; null: always
    const Provenance& (*provenance)(const Result&) = nullptr; // of a Provenance row (ProvenanceRow)
    bool optional = false; // a value only of the results that show it: no CSV column or JSON member
                           // where they do not (a row added later keeps the files it was not asked for)
};

// The row where a block names the constants it was computed with that are
// not the defaults: those of `Member`.
template <class Result, Provenance Result::*Member>
OutputRow<Result> ProvenanceRow()
{
    return {.kind = OutputKind::Provenance, .provenance = [](const Result& r) -> const Provenance& { return r.*Member; }};
}

template <class Result>
struct OutputTable {
    std::span<const OutputRow<Result>> rows;
    // The block's heading from its result number; null: "Calculation Result %d"
    // (none for an uncounted block).
    std::string (*heading)(const Result&, int number) = nullptr;
    // A counted block (its heading selected, the result counted); false for
    // lines that follow another block.
    bool counted = true;
};

// A line "Label:   value" with six decimals, as the correction and scaling
// blocks write their inputs and factors; named when the CSV and JSON have it.
template <class Result>
OutputRow<Result> PlainRow(std::string_view label, double Result::*field, std::string_view name = {})
{
    return {.label = label, .format = "%s:   %-5.6f", .name = name, .field = field};
}

// One named value of a result, free of its type: what the CSV cells and the
// JSON members are written from. A Summary row gives seven, named NAME_median,
// NAME_p16, NAME_p84, NAME_p2_5, NAME_p97_5, NAME_mean and NAME_sd.
struct OutputValue {
    std::string name;
    std::string_view label;
    std::string_view unit;
    std::string digits;          // the list's printf conversion of one number ("%.3f", "%d")
    bool count = false;          // a whole number
    bool list = false;           // any number of values (the crossings), written blank-separated
    bool present = false;        // this result has it
    std::vector<double> numbers; // in the unit; one unless `list`
};

// The column names of a table's values, in the order of its rows.
std::vector<std::string> OutputNames(std::span<const OutputValue> values);

// How a number goes into a CSV cell: the shortest text that reads back to
// the same double, or the digits the list shows.
enum class CellDigits { Full, List };

// The values as CSV cells, in order; empty cells for values the result has not.
std::vector<std::string> OutputCells(std::span<const OutputValue> values, CellDigits digits);

// The shortest decimal text that reads back to `value` ("0.1", "1e+300");
// "nan", "inf" and "-inf" for the non-finite.
std::string ShortestText(double value);

// The printf conversion of the value in a line format, without its flags and
// width ("%s  :   %-10.3f" -> "%.3f"): the list's digits.
std::string ValueDigits(std::string_view format, bool count);

namespace detail {
// The lines of the rows, for OutputLines.
void SummaryLine(std::vector<std::string>& lines, std::string_view label, std::string_view format,
                 const DistributionSummary& s, double scale);
std::string RowLine(std::string_view format, std::string_view label, double value);
std::string CountLine(std::string_view format, std::string_view label, int value);
std::string NumberedLine(std::string_view format, std::string_view label, int k, double value);
std::string FixedLine(std::string_view format, int number);
std::string DefaultHeading(int number);
void SummaryValues(std::vector<OutputValue>& values, std::string_view name, std::string_view label,
                   std::string_view unit, std::string_view format, const DistributionSummary* s, double scale);
} // namespace detail

// The lines a result's block shows, without its heading.
template <class Result>
std::vector<std::string> OutputLines(const OutputTable<Result>& table, const Result& result, int number)
{
    std::vector<std::string> lines;
    for (const OutputRow<Result>& row : table.rows) {
        // A value without a format is the CSV's and JSON's alone.
        if ((row.format.empty() && row.kind != OutputKind::Provenance) || (row.shown != nullptr && !row.shown(result)))
            continue;
        switch (row.kind) {
        case OutputKind::Number:
            lines.push_back(detail::RowLine(row.format, row.label, result.*std::get<double Result::*>(row.field) / row.scale));
            break;
        case OutputKind::Count:
            lines.push_back(detail::CountLine(row.format, row.label, result.*std::get<int Result::*>(row.field)));
            break;
        case OutputKind::Numbered: {
            const std::vector<double>& values = result.*std::get<std::vector<double> Result::*>(row.field);
            for (std::size_t k = 0; k < values.size(); ++k)
                lines.push_back(detail::NumberedLine(row.format, row.label, static_cast<int>(k + 1), values[k] / row.scale));
            break;
        }
        case OutputKind::Summary:
            detail::SummaryLine(lines, row.label, row.format, result.*std::get<DistributionSummary Result::*>(row.field),
                                row.scale);
            break;
        case OutputKind::Line:
            lines.push_back(detail::FixedLine(row.format, number));
            break;
        case OutputKind::Provenance:
            for (const ProvenanceItem& item : row.provenance(result))
                if (!item.line.empty())
                    lines.push_back(item.line);
            break;
        }
    }
    return lines;
}

// Appends the result's block to the list: its heading, then a line or lines
// per row, byte for byte what the calculator's dialog has always listed.
template <class Result>
void AppendBlock(CResultList& list, const OutputTable<Result>& table, const Result& result)
{
    const int number = list.m_nResultCount + 1;
    if (!table.counted) {
        if (table.heading != nullptr)
            list.AppendLine(table.heading(result, number));
        for (const std::string& line : OutputLines(table, result, number))
            list.AppendLine(line);
        return;
    }
    const int heading = list.BeginBlock(table.heading != nullptr ? table.heading(result, number)
                                                                 : detail::DefaultHeading(number));
    for (const std::string& line : OutputLines(table, result, number))
        list.AppendLine(line);
    list.EndBlock(heading);
}

// The named values of a result, in the order of the rows.
template <class Result>
std::vector<OutputValue> OutputValues(const OutputTable<Result>& table, const Result* result)
{
    std::vector<OutputValue> values;
    for (const OutputRow<Result>& row : table.rows) {
        if (row.name.empty())
            continue;
        const bool present = result != nullptr && (row.shown == nullptr || row.shown(*result));
        if (row.optional && !present)
            continue;
        if (row.kind == OutputKind::Summary) {
            detail::SummaryValues(values, row.name, row.label, row.unit, row.format,
                                  present ? &(result->*std::get<DistributionSummary Result::*>(row.field)) : nullptr,
                                  row.scale);
            continue;
        }
        OutputValue value{std::string(row.name), row.label, row.unit, ValueDigits(row.format, row.kind == OutputKind::Count),
                          row.kind == OutputKind::Count, row.kind == OutputKind::Numbered, present, {}};
        if (present) {
            if (const auto* number = std::get_if<double Result::*>(&row.field))
                value.numbers.push_back(result->**number / row.scale);
            else if (const auto* count = std::get_if<int Result::*>(&row.field))
                value.numbers.push_back(result->**count);
            else if (const auto* list = std::get_if<std::vector<double> Result::*>(&row.field))
                for (double v : result->**list)
                    value.numbers.push_back(v / row.scale);
        }
        values.push_back(std::move(value));
    }
    return values;
}

// The provenance of a result: the items of its Provenance rows.
template <class Result>
Provenance OutputProvenance(const OutputTable<Result>& table, const Result& result)
{
    Provenance items;
    for (const OutputRow<Result>& row : table.rows)
        if (row.kind == OutputKind::Provenance)
            for (const ProvenanceItem& item : row.provenance(result))
                items.push_back(item);
    return items;
}

// One block of a calculation, free of its result's type: the values it gives
// the CSV and JSON, and the constants it was computed with.
struct OutputBlock {
    std::vector<OutputValue> values;
    Provenance provenance;
};

// What one calculation gave, block by block, in the order its list shows them.
class COutputBlocks {
public:
    // Keeps the values of a result's block.
    template <class Result>
    void Add(const OutputTable<Result>& table, const Result& result)
    {
        m_blocks.push_back({OutputValues(table, &result), OutputProvenance(table, result)});
    }
    const std::vector<OutputBlock>& Blocks() const { return m_blocks; }
    // Every value of every block, in order.
    std::vector<OutputValue> Values() const;
    // Every constant in force, each named once.
    Provenance Constants() const;

private:
    std::vector<OutputBlock> m_blocks;
};

// What every calculator's Append does once it has its result: the block into
// the list, and its values to `blocks` when a face asks for them.
template <class Result>
void AppendResult(CResultList& list, const OutputTable<Result>& table, const Result& result,
                  COutputBlocks* blocks = nullptr)
{
    AppendBlock(list, table, result);
    if (blocks != nullptr)
        blocks->Add(table, result);
}

} // namespace qex
