#include "batch/GroupSummary.h"

#include "core/CsvTable.h"
#include "core/Format.h"
#include "core/TextNumber.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <map>

namespace qex {

namespace {

// The quantities a batch output may hold, in the order looked for.
constexpr std::array<SummaryQuantity, 2> kQuantities = {{
    {"exposure age", "exposure_age_yr", "internal_uncertainty_yr", "external_uncertainty_yr", "kyr", 1000.0},
    {"erosion rate", "erosion_rate_m_per_myr", "erosion_internal_m_per_myr", "erosion_external_m_per_myr", "m/Myr",
     1.0},
}};
constexpr std::array<TransectAxis, 2> kAxes = {{
    {"elevation", "m", "Thinning rate"},
    {"distance", "km", "Retreat rate"},
}};
constexpr std::array<std::string_view, 2> kGroupColumns = {"group", "landform"};
// The largest value or uncertainty read, and the inverse of the smallest uncertainty.
constexpr double kLargest = 1e100;

std::string Cleaned(std::string text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.pop_back();
    std::size_t start = 0;
    while (start < text.size() && std::isspace(static_cast<unsigned char>(text[start])))
        ++start;
    text.erase(0, start);
    return text;
}

// A finite number in the cell, or why not.
std::string CellNumber(const std::vector<std::string>& fields, int column, double& value)
{
    if (column < 0 || static_cast<std::size_t>(column) >= fields.size() || Cleaned(fields[column]).empty())
        return "no value";
    if (!ParseNumber(Cleaned(fields[column]), value) || !std::isfinite(value))
        return "'" + Cleaned(fields[column]) + "' is not a number";
    return {};
}

// The digits a quantity is listed with.
const char* Digits(const SummaryQuantity& quantity)
{
    return quantity.scale == 1000.0 ? "%.3f" : "%.4f";
}

std::string Number(const SummaryQuantity& quantity, double value)
{
    return Format(Digits(quantity), value);
}

void AppendStatistics(CResultList& list, const SummaryTable& table, const GroupSummary& group,
                      const GroupStatistics& s, const std::string& prefix)
{
    const SummaryQuantity& q = table.quantity;
    const std::string unit(q.unit);
    list.AppendLine(Format("%sn:   %d", prefix.c_str(), s.n));
    list.AppendLine(Format("%sMean(%s):   %s +/- %s (1 sd)", prefix.c_str(), unit.c_str(), Number(q, s.mean).c_str(),
                           Number(q, s.sd).c_str()));
    list.AppendLine(Format("%sWeighted Mean(%s):   %s +/- %s internal, +/- %s external", prefix.c_str(), unit.c_str(),
                           Number(q, s.weightedMean).c_str(), Number(q, s.weightedInternal).c_str(),
                           Number(q, s.weightedExternal).c_str()));
    if (s.n > 1)
        list.AppendLine(Format("%sMSWD:   %.3f (chi-square %.3f, %d degrees of freedom, P = %.4g)", prefix.c_str(),
                               s.mswd, s.chiSquare, s.n - 1, s.probability));
    if (s.n > 0) {
        const GroupSample& oldest = group.samples[s.oldest];
        const GroupSample& youngest = group.samples[s.youngest];
        const bool age = q.scale == 1000.0;
        list.AppendLine(Format("%s%s(%s):   %s (%s)", prefix.c_str(), age ? "Oldest" : "Highest", unit.c_str(),
                               Number(q, oldest.value.value).c_str(), oldest.name.c_str()));
        list.AppendLine(Format("%s%s(%s):   %s (%s)", prefix.c_str(), age ? "Youngest" : "Lowest", unit.c_str(),
                               Number(q, youngest.value.value).c_str(), youngest.name.c_str()));
    }
}

} // namespace

void SummarizeGroup(GroupSummary& group, const SummaryOptions& options, bool transect)
{
    std::vector<GroupValue> values;
    std::vector<double> plain;
    for (const GroupSample& sample : group.samples) {
        values.push_back(sample.value);
        plain.push_back(sample.value.value);
    }
    group.all = ComputeGroupStatistics(values);
    group.outliers = FindOutliers(plain, options.test, options.alpha);
    group.kept.assign(values.size(), true);
    for (const Outlier& outlier : group.outliers)
        group.kept[outlier.index] = false;
    group.withoutOutliers = ComputeGroupStatistics(values, group.kept);

    group.transect = false;
    if (!transect)
        return;
    std::vector<double> x, y, sigma;
    for (std::size_t i = 0; i < group.samples.size(); ++i)
        if (group.kept[i] && std::isfinite(group.samples[i].position)) {
            x.push_back(group.samples[i].position);
            y.push_back(group.samples[i].value.value);
            sigma.push_back(group.samples[i].value.internal);
        }
    group.transect = FitWeightedLine(x, y, sigma, group.line);
}

bool ReadSummaryText(std::string_view text, const SummaryOptions& options, SummaryTable& table, std::string& error)
{
    table = SummaryTable();
    table.options = options;
    CsvTable csv;
    if (!ReadCsv(text, csv, error))
        return false;
    if (csv.records.empty()) {
        error = "the file has no header line naming its columns";
        return false;
    }
    std::map<std::string, int, std::less<>> columns;
    const std::vector<std::string>& header = csv.records.front().fields;
    for (std::size_t c = 0; c < header.size(); ++c) {
        std::string name = Cleaned(header[c]);
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
        columns.emplace(name, static_cast<int>(c));
    }
    const auto column = [&columns](std::string_view name) {
        const auto found = columns.find(name);
        return found == columns.end() ? -1 : found->second;
    };
    const SummaryQuantity* quantity = nullptr;
    for (const SummaryQuantity& q : kQuantities)
        if (quantity == nullptr && column(q.column) >= 0)
            quantity = &q;
    if (quantity == nullptr) {
        error = "no column of ages or erosion rates: a batch output of exposure (exposure_age_yr, "
                "internal_uncertainty_yr, external_uncertainty_yr) or erosion (erosion_rate_m_per_myr, "
                "erosion_internal_m_per_myr, erosion_external_m_per_myr)";
        return false;
    }
    for (std::string_view needed : {quantity->internalColumn, quantity->externalColumn})
        if (column(needed) < 0) {
            error = "no column '" + std::string(needed) + "' beside '" + std::string(quantity->column) + "'";
            return false;
        }
    table.quantity = *quantity;
    for (std::string_view name : kGroupColumns)
        if (table.groupColumn.empty() && column(name) >= 0)
            table.groupColumn = name;
    // Positions make a transect of ages; erosion rates have none.
    if (quantity->scale == 1000.0)
        for (const TransectAxis& axis : kAxes)
            if (table.axis.column.empty() && column(axis.column) >= 0)
                table.axis = axis;

    const int valueColumn = column(quantity->column);
    const int internalColumn = column(quantity->internalColumn);
    const int externalColumn = column(quantity->externalColumn);
    const int sampleColumn = column("sample");
    const int errorColumn = column("error");
    const int groupColumn = table.groupColumn.empty() ? -1 : column(table.groupColumn);
    const int positionColumn = table.axis.column.empty() ? -1 : column(table.axis.column);
    bool any = false;
    for (std::size_t r = 1; r < csv.records.size(); ++r) {
        const CsvRecord& record = csv.records[r];
        const auto cell = [&record](int c) {
            return c >= 0 && static_cast<std::size_t>(c) < record.fields.size() ? Cleaned(record.fields[c])
                                                                                : std::string();
        };
        if (std::all_of(record.fields.begin(), record.fields.end(),
                        [](const std::string& f) { return Cleaned(f).empty(); }))
            continue;
        // Names are the file's text: printable, so that no line or figure takes a control or a broken byte.
        const std::string groupName = PrintableText(cell(groupColumn));
        auto group = std::find_if(table.groups.begin(), table.groups.end(),
                                  [&groupName](const GroupSummary& g) { return g.name == groupName; });
        if (group == table.groups.end()) {
            table.groups.push_back({});
            table.groups.back().name = groupName;
            group = table.groups.end() - 1;
        }
        GroupSample sample;
        sample.name = cell(sampleColumn).empty() ? Format("line %d", record.line) : PrintableText(cell(sampleColumn));
        sample.line = record.line;
        std::string why = cell(errorColumn);
        double value = 0.0, internal = 0.0, external = 0.0;
        if (why.empty())
            why = CellNumber(record.fields, valueColumn, value);
        if (why.empty())
            why = CellNumber(record.fields, internalColumn, internal);
        if (why.empty())
            why = CellNumber(record.fields, externalColumn, external);
        if (why.empty() && !(internal > 0.0))
            why = "no positive internal uncertainty";
        // Far beyond any measurement, and where the weights' sums would overflow.
        const double v = value / quantity->scale, i = internal / quantity->scale, e = external / quantity->scale;
        if (why.empty() &&
            !(std::fabs(v) <= kLargest && i >= 1.0 / kLargest && i <= kLargest && std::fabs(e) <= kLargest))
            why = "a value or an uncertainty beyond 1e100";
        if (!why.empty()) {
            group->leftOut.push_back(
                Format("%s (line %d): %s", sample.name.c_str(), record.line, PrintableText(why).c_str()));
            continue;
        }
        sample.value = {value / quantity->scale, internal / quantity->scale,
                        std::max(external, internal) / quantity->scale};
        double position = 0.0;
        if (positionColumn >= 0 && CellNumber(record.fields, positionColumn, position).empty())
            sample.position = position;
        group->samples.push_back(sample);
        any = true;
    }
    if (!any) {
        error = "no row has an " + std::string(quantity->what) + " with its internal uncertainty";
        if (quantity->scale == 1000.0)
            error += " (a batch lists them for rows whose 'uncertainties' cell is on, or with qexcli batch "
                     "--uncertainties)";
        return false;
    }
    // A group whose rows all failed still says so, with no statistics.
    for (GroupSummary& group : table.groups)
        if (!group.samples.empty())
            SummarizeGroup(group, options, !table.axis.column.empty());
    return true;
}

bool ReadSummaryFile(const std::string& path, const SummaryOptions& options, SummaryTable& table, std::string& error)
{
    std::string text;
    if (!ReadBatchFile(path, text, error))
        return false;
    if (!ReadSummaryText(text, options, table, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

bool SummarizeBatch(const BatchJob& job, const BatchOutcome& outcome, const SummaryOptions& options,
                    SummaryTable& table, std::string& error)
{
    return ReadSummaryText(FormatBatchCsv(job, outcome), options, table, error);
}

TransectRate RateOf(const WeightedLine& line)
{
    // The line gives the age (kyr) per unit of position; its inverse is the
    // position per kyr, and sigma(1/b) = sigma_b / b^2 to first order.
    if (line.slope == 0.0)
        return {std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity()};
    return {1.0 / line.slope, std::sqrt(line.varianceSlope) / (line.slope * line.slope)};
}

void AppendSummary(const SummaryTable& table, CResultList& list)
{
    const SummaryQuantity& q = table.quantity;
    for (const GroupSummary& group : table.groups) {
        const int heading = list.BeginBlock(Format("Group Summary %d", list.m_nResultCount + 1));
        list.AppendLine(Format("Group:   %s", group.name.empty() ? "all rows" : group.name.c_str()));
        list.AppendLine(Format("Values:   %s (%s, from %s)", std::string(q.what).c_str(), std::string(q.unit).c_str(),
                               std::string(q.column).c_str()));
        if (!group.samples.empty()) {
            AppendStatistics(list, table, group, group.all, "");
            const std::string test(OutlierTestName(table.options.test));
            if (table.options.test == OutlierTest::Gesd)
                list.AppendLine(Format("Outliers (gesd, alpha %g):   %d", table.options.alpha,
                                       static_cast<int>(group.outliers.size())));
            else
                list.AppendLine(Format("Outliers (%s):   %d", test.c_str(), static_cast<int>(group.outliers.size())));
            for (const Outlier& outlier : group.outliers) {
                const GroupSample& sample = group.samples[outlier.index];
                list.AppendLine(Format("Outlier:   %s  %s  statistic %.4f > critical %.4f", sample.name.c_str(),
                                       Number(q, sample.value.value).c_str(), outlier.statistic, outlier.critical));
            }
            if (!group.outliers.empty())
                AppendStatistics(list, table, group, group.withoutOutliers, "Without outliers ");
            if (group.transect) {
                const TransectRate rate = RateOf(group.line);
                const std::string unit(table.axis.unit);
                list.AppendLine(Format("%s(%s/kyr):   %.4g +/- %.2g (weighted line of age on %s, MSWD %.3f)",
                                       std::string(table.axis.rate).c_str(), unit.c_str(), rate.rate, rate.sigma,
                                       std::string(table.axis.column).c_str(), group.line.mswd));
            }
        }
        for (const std::string& left : group.leftOut)
            list.AppendLine("Left out:   " + left);
        list.EndBlock(heading);
    }
}

std::vector<OutputValue> SummaryValues(const SummaryTable& table)
{
    std::vector<OutputValue> values;
    const std::string_view unit = table.quantity.unit;
    const auto add = [&values](std::string name, std::string_view label, std::string_view valueUnit, double number,
                               bool count = false) {
        values.push_back({std::move(name), label, valueUnit, count ? "%d" : "%.6g", count, false, true, {number}});
    };
    for (const GroupSummary& group : table.groups) {
        const std::string key = group.name.empty() ? std::string("all") : group.name;
        const auto statistics = [&](const std::string& prefix, const GroupStatistics& s) {
            add(prefix + "n", "n", "", s.n, true);
            add(prefix + "mean", "Mean", unit, s.mean);
            add(prefix + "sd", "Standard deviation", unit, s.sd);
            add(prefix + "weighted_mean", "Weighted Mean", unit, s.weightedMean);
            add(prefix + "weighted_internal", "Weighted Mean internal uncertainty", unit, s.weightedInternal);
            add(prefix + "weighted_external", "Weighted Mean external uncertainty", unit, s.weightedExternal);
            add(prefix + "mswd", "MSWD", "", s.mswd);
            add(prefix + "probability", "P(chi-square)", "", s.probability);
        };
        if (group.samples.empty())
            continue;
        statistics(key + ".", group.all);
        add(key + ".outliers", "Outliers", "", static_cast<double>(group.outliers.size()), true);
        statistics(key + ".kept_", group.withoutOutliers);
        if (group.transect) {
            const TransectRate rate = RateOf(group.line);
            add(key + ".rate", table.axis.rate, "per kyr", rate.rate);
            add(key + ".rate_sigma", table.axis.rate, "per kyr", rate.sigma);
        }
    }
    return values;
}

} // namespace qex
