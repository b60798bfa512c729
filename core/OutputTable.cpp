#include "core/OutputTable.h"

#include "core/Format.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <set>

namespace qex {

namespace detail {

std::string RowLine(std::string_view format, std::string_view label, double value)
{
    return Format(std::string(format).c_str(), std::string(label).c_str(), value);
}

std::string CountLine(std::string_view format, std::string_view label, int value)
{
    return Format(std::string(format).c_str(), std::string(label).c_str(), value);
}

std::string NumberedLine(std::string_view format, std::string_view label, int k, double value)
{
    return Format(std::string(format).c_str(), std::string(label).c_str(), k, value);
}

std::string FixedLine(std::string_view format, int number)
{
    return Format(std::string(format).c_str(), number);
}

std::string DefaultHeading(int number)
{
    return Format("Calculation Result %d", number);
}

void SummaryLine(std::vector<std::string>& lines, std::string_view label, std::string_view format,
                 const DistributionSummary& s, double scale)
{
    const std::string digits(format);
    auto number = [&](double v) { return Format(digits.c_str(), v / scale); };
    lines.push_back(Format("%-18s:   median %s  -%s +%s  95%% [%s, %s]  mean %s  sd %s", std::string(label).c_str(),
                           number(s.median).c_str(), number(s.median - s.p16).c_str(),
                           number(s.p84 - s.median).c_str(), number(s.p2_5).c_str(), number(s.p97_5).c_str(),
                           number(s.mean).c_str(), number(s.sd).c_str()));
}

void SummaryValues(std::vector<OutputValue>& values, std::string_view name, std::string_view label,
                   std::string_view unit, std::string_view format, const DistributionSummary* s, double scale)
{
    const std::pair<const char*, double DistributionSummary::*> statistics[] = {
        {"median", &DistributionSummary::median}, {"p16", &DistributionSummary::p16},
        {"p84", &DistributionSummary::p84},       {"p2_5", &DistributionSummary::p2_5},
        {"p97_5", &DistributionSummary::p97_5},   {"mean", &DistributionSummary::mean},
        {"sd", &DistributionSummary::sd}};
    for (const auto& [statistic, field] : statistics) {
        OutputValue value{std::string(name) + "_" + statistic, label, unit, std::string(format), false, false,
                          s != nullptr, {}};
        if (s != nullptr)
            value.numbers.push_back(s->*field / scale);
        values.push_back(std::move(value));
    }
}

} // namespace detail

std::string ShortestText(double value)
{
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string ValueDigits(std::string_view format, bool count)
{
    if (count)
        return "%d";
    // The last conversion that is not "%%" formats the value.
    std::string digits = "%.15g";
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%')
            continue;
        if (i + 1 < format.size() && format[i + 1] == '%') {
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        while (j < format.size() && std::strchr("-+ #0123456789", format[j]) != nullptr)
            ++j;
        std::string precision;
        if (j < format.size() && format[j] == '.') {
            const std::size_t start = j++;
            while (j < format.size() && format[j] >= '0' && format[j] <= '9')
                ++j;
            precision = std::string(format.substr(start, j - start));
        }
        if (j < format.size() && std::strchr("fFeEgG", format[j]) != nullptr)
            digits = "%" + precision + format[j];
        i = j;
    }
    return digits;
}

std::vector<std::string> OutputNames(std::span<const OutputValue> values)
{
    std::vector<std::string> names;
    for (const OutputValue& value : values)
        names.push_back(value.name);
    return names;
}

std::vector<std::string> OutputCells(std::span<const OutputValue> values, CellDigits digits)
{
    std::vector<std::string> cells;
    for (const OutputValue& value : values) {
        std::string cell;
        for (double number : value.numbers) {
            if (!cell.empty())
                cell += ' ';
            if (value.count)
                cell += Format("%lld", static_cast<long long>(number));
            else
                cell += digits == CellDigits::List ? Format(value.digits.c_str(), number) : ShortestText(number);
        }
        cells.push_back(std::move(cell));
    }
    return cells;
}

std::vector<OutputValue> COutputBlocks::Values() const
{
    std::vector<OutputValue> values;
    for (const OutputBlock& block : m_blocks)
        values.insert(values.end(), block.values.begin(), block.values.end());
    return values;
}

Provenance COutputBlocks::Constants() const
{
    Provenance constants;
    std::set<std::string> named;
    for (const OutputBlock& block : m_blocks)
        for (const ProvenanceItem& item : block.provenance)
            if (named.insert(item.name).second)
                constants.push_back(item);
    return constants;
}

} // namespace qex
