#include "batch/SampleConvert.h"

#include "batch/BatchRun.h"
#include "core/AmsStandards.h"
#include "core/CsvTable.h"
#include "core/Format.h"
#include "core/OutputTable.h"
#include "core/TextNumber.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace qex {

namespace {

// The exposure age's columns a v3 block carries; any other given is noted.
constexpr std::string_view kCarried[] = {"latitude", "longitude",     "altitude",          "atmosphere",
                                         "pressure", "thickness",     "density",           "shield",
                                         "erosion",  "nuclide",       "concentration",     "concentration-err",
                                         "be10-standard", "al26-standard"};

const std::string& DefaultOf(const BatchCalculator& calculator, std::string_view column)
{
    for (const BatchColumn& c : calculator.inputColumns)
        if (c.name == column)
            return c.description.defaultText;
    static const std::string none;
    return none;
}

// A cell's number as a v3 field: the decimal point, the default where the row leaves it out.
bool NumberField(const BatchCalculator& calculator, const BatchInputRow& row, std::string_view column,
                 std::string& field, std::string& why)
{
    const std::string* cell = row.cells.Find(column);
    field = cell != nullptr ? WithDecimalPoint(*cell, row.cells.decimalComma) : DefaultOf(calculator, column);
    double value = 0.0;
    if (ParseNumber(field, value)) {
        // Digits as given where they are plain; otherwise (blanks a reader skips) the number itself.
        if (field.find_first_not_of("0123456789.eE+-") != std::string::npos)
            field = ShortestText(value);
        return true;
    }
    if (why.empty())
        why = std::string(column) + ": '" + field + "' is not a number";
    return false;
}

// A sample's name as one v3 field: blanks, line ends and ';' would end it.
std::string V3Name(const std::string& sample, int line)
{
    std::string name = sample.empty() ? Format("row-%d", line) : sample;
    std::replace_if(
        name.begin(), name.end(),
        [](char c) { return c == ';' || c == ' ' || (c >= '\t' && c <= '\r'); }, '_');
    return name;
}

// A word cell as one of its choices (in any case); false, with why, for another.
bool ChoiceField(const std::string* cell, std::string_view column, std::initializer_list<std::string_view> choices,
                 std::string& why)
{
    if (cell == nullptr)
        return true;
    const std::string lower = LowerCase(*cell);
    for (std::string_view choice : choices)
        if (lower == choice)
            return true;
    if (why.empty())
        why = std::string(column) + ": '" + *cell + "' is not one of its words";
    return false;
}

} // namespace

bool ConvertSampleText(std::string_view text, SampleFormat from, bool toV3, ConvertedSamples& out,
                       std::string& error)
{
    out = ConvertedSamples();
    const BatchCalculator* exposure = FindBatchCalculator("exposure");
    BatchJob job;
    if (exposure == nullptr || !OpenBatchText(*exposure, text, ".", from, job, error))
        return false;
    out.format = job.format;
    // The exposure age's unused fields are the block's too, but for the year it carries.
    for (std::string note : job.notes) {
        constexpr std::string_view kUnused = "not used by exposure: ";
        if (note.starts_with(kUnused)) {
            std::string list = note.substr(kUnused.size());
            for (const std::string_view year : {"samplingyr, ", ", samplingyr", "samplingyr"})
                if (const std::size_t at = list.find(year); at != std::string::npos) {
                    list.erase(at, year.size());
                    break;
                }
            if (list.empty())
                continue;
            note = "not carried: " + list;
        }
        out.notes.push_back(note);
    }

    std::vector<std::string> others; // columns given that a v3 block does not carry
    for (const BatchInputRow& row : job.rows)
        for (const auto& [name, value] : row.cells.cells)
            if (!value.empty() && std::find(std::begin(kCarried), std::end(kCarried), name) == std::end(kCarried) &&
                std::find(others.begin(), others.end(), name) == others.end() && name != "samplingyr")
                others.push_back(name);

    if (!toV3) {
        // QEX's CSV: the sample and every column some row gives, in the calculator's order.
        std::vector<std::string> columns;
        for (const BatchColumn& column : exposure->inputColumns)
            if (std::any_of(job.rows.begin(), job.rows.end(),
                            [&column](const BatchInputRow& row) { return row.cells.Find(column.name) != nullptr; }))
                columns.push_back(column.name);
        std::vector<std::string> header = {"sample"};
        header.insert(header.end(), columns.begin(), columns.end());
        out.text = CsvLine(header);
        for (const BatchInputRow& row : job.rows) {
            if (!row.error.empty()) {
                out.failures.push_back(Format("line %d (%s): %s", row.line, row.sample.c_str(), row.error.c_str()));
                continue;
            }
            std::vector<std::string> fields = {row.sample};
            for (const std::string& column : columns) {
                const std::string* cell = row.cells.Find(column);
                fields.push_back(cell == nullptr ? std::string() : WithDecimalPoint(*cell, row.cells.decimalComma));
            }
            out.text += CsvLine(fields);
            ++out.samples;
        }
        return true;
    }

    if (!others.empty()) {
        std::string list;
        for (const std::string& name : others)
            list += (list.empty() ? "" : ", ") + name;
        out.notes.push_back("a v3 block does not carry: " + list);
    }
    // The rows of one sample (its nuclides) follow each other: one sample line, then a nuclide line each.
    std::map<std::string, int> names; // each sample's name, with its line
    for (std::size_t r = 0; r < job.rows.size();) {
        const BatchInputRow& first = job.rows[r];
        std::size_t end = r + 1;
        while (end < job.rows.size() && job.rows[end].line == first.line && job.rows[end].sample == first.sample)
            ++end;
        std::string why;
        for (std::size_t i = r; i < end && why.empty(); ++i)
            why = job.rows[i].error;
        const std::string name = V3Name(first.sample, first.line);
        // A v3 block matches its lines by name: a name used twice would join two samples.
        if (const auto [at, added] = names.emplace(name, first.line); !added && why.empty())
            why = Format("the name %s is that of the sample on line %d too: a v3 block matches its lines by name",
                         name.c_str(), at->second);
        std::string lat, lon, elv, thick, dens, shield, erosion;
        NumberField(*exposure, first, "latitude", lat, why);
        NumberField(*exposure, first, "longitude", lon, why);
        const std::string* atmosphere = first.cells.Find("atmosphere");
        ChoiceField(atmosphere, "atmosphere", {"std", "antarctic", "pressure"}, why);
        const std::string word = atmosphere != nullptr ? LowerCase(*atmosphere) : "std";
        const std::string flag = word == "antarctic" ? "ant" : word == "pressure" ? "pre" : "std";
        NumberField(*exposure, first, flag == "pre" ? "pressure" : "altitude", elv, why);
        NumberField(*exposure, first, "thickness", thick, why);
        NumberField(*exposure, first, "density", dens, why);
        NumberField(*exposure, first, "shield", shield, why);
        NumberField(*exposure, first, "erosion", erosion, why);
        const std::string* year = first.cells.Find("samplingyr");
        double yearValue = 0.0;
        if (year != nullptr && !ParseNumber(WithDecimalPoint(*year, first.cells.decimalComma), yearValue) &&
            why.empty())
            why = "samplingyr: '" + *year + "' is not a number";
        const std::string yearText = year != nullptr ? ShortestText(yearValue) : "0";
        std::string block = Format("%s %s %s %s %s %s %s %s %s %s;\n", name.c_str(), lat.c_str(), lon.c_str(),
                                   elv.c_str(), flag.c_str(), thick.c_str(), dens.c_str(), shield.c_str(),
                                   erosion.c_str(), yearText.c_str());
        for (std::size_t i = r; i < end; ++i) {
            const BatchInputRow& row = job.rows[i];
            const std::string* nuclideCell = row.cells.Find("nuclide");
            ChoiceField(nuclideCell, "nuclide", {"be10", "al26"}, why);
            const bool al26 = nuclideCell != nullptr && LowerCase(*nuclideCell) == "al26";
            std::string n, dn;
            NumberField(*exposure, row, "concentration", n, why);
            NumberField(*exposure, row, "concentration-err", dn, why);
            const std::string* standard = row.cells.Find(al26 ? "al26-standard" : "be10-standard");
            // No standard: the concentration as given, as the reference standard (factor 1) takes it.
            const std::string reference = al26 ? "KNSTD" : "07KNSTD";
            const bool none = standard == nullptr || LowerCase(*standard) == kNoStandard;
            if (!none && FindAmsStandard(al26 ? kAl26 : kBe10, *standard) == nullptr && why.empty())
                why = std::string(al26 ? "al26" : "be10") + "-standard: '" + *standard + "' is not a standard QEX knows";
            block += Format("%s %s quartz %s %s %s;\n", name.c_str(), al26 ? "Al-26" : "Be-10", n.c_str(), dn.c_str(),
                            none ? reference.c_str() : standard->c_str());
        }
        if (why.empty()) {
            out.text += block;
            ++out.samples;
        } else {
            out.failures.push_back(Format("line %d (%s): %s", first.line, first.sample.c_str(), why.c_str()));
        }
        r = end;
    }
    return true;
}

} // namespace qex
