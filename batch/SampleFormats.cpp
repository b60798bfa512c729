#include "batch/SampleFormats.h"

#include "batch/BatchRun.h"

#include "core/AmsStandards.h"
#include "core/Format.h"
#include "core/OutputTable.h"
#include "core/TextNumber.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace qex {

namespace {

constexpr std::string_view kFormatNames[] = {"auto", "csv", "v3", "expage", "v2", "icetea", "crep"};
constexpr SampleFormat kFormats[] = {SampleFormat::Auto,   SampleFormat::Csv,    SampleFormat::V3,  SampleFormat::Expage,
                                     SampleFormat::V2,     SampleFormat::IceTea, SampleFormat::Crep};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::vector<std::string> Words(std::string_view text)
{
    std::vector<std::string> words;
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && IsBlank(text[at]))
            ++at;
        const std::size_t start = at;
        while (at < text.size() && !IsBlank(text[at]))
            ++at;
        if (at > start)
            words.emplace_back(text.substr(start, at - start));
    }
    return words;
}

std::string_view WithoutByteOrderMark(std::string_view text)
{
    constexpr std::string_view kMark = "\xEF\xBB\xBF";
    if (text.substr(0, kMark.size()) == kMark)
        text.remove_prefix(kMark.size());
    return text;
}

// The names a table's header may give, beside the calculators' own columns.
struct Alias {
    std::string_view name;
    std::string_view column;
};
constexpr Alias kAliases[] = {
    {"lat", "latitude"},         {"lon", "longitude"},         {"long", "longitude"},
    {"elv", "altitude"},         {"elevation", "altitude"},    {"elev", "altitude"},
    {"alt", "altitude"},         {"thick", "thickness"},       {"dens", "density"},
    {"shielding", "shield"},     {"n10", "be10"},              {"be10", "be10"},
    {"n10unc", "be10-err"},      {"dn10", "be10-err"},         {"be10_unc", "be10-err"},
    {"deln10", "be10-err"},      {"be10-err", "be10-err"},     {"std10", "be10-standard"},
    {"be10_std", "be10-standard"}, {"n26", "al26"},            {"al26", "al26"},
    {"n26unc", "al26-err"},      {"dn26", "al26-err"},         {"al26_unc", "al26-err"},
    {"deln26", "al26-err"},      {"al26-err", "al26-err"},     {"std26", "al26-standard"},
    {"al26_std", "al26-standard"}, {"erosion_mm_ka", "erosion_mm_ka"}, {"erosion_cm_yr", "erosion_cm_yr"},
    {"erosion_m_myr", "erosion_m_myr"}, {"pflag", "pflag"},    {"samplingyr", "samplingyr"},
    {"year", "samplingyr"},
};

// Fields a file may hold that no calculator takes; read and left aside.
constexpr std::string_view kIgnored[] = {"samplingyr", "c14", "c14_unc", "ne21", "ne21_unc", "he3", "he3_unc"};

// The site and sample fields every reader may give, whether or not the
// calculator asked for takes them.
constexpr std::string_view kSiteFields[] = {"latitude", "longitude", "altitude", "pressure", "atmosphere",
                                            "thickness", "density",  "shield"};

bool Has(const BatchCalculator& calculator, std::string_view name)
{
    return std::any_of(calculator.inputColumns.begin(), calculator.inputColumns.end(),
                       [name](const BatchColumn& column) { return column.name == name; });
}

const BatchColumn* Column(const BatchCalculator& calculator, std::string_view name)
{
    for (const BatchColumn& column : calculator.inputColumns)
        if (column.name == name)
            return &column;
    return nullptr;
}

bool TakesOneConcentration(const BatchCalculator& calculator)
{
    return Has(calculator, "concentration") && Has(calculator, "nuclide");
}

bool IsNuclideField(std::string_view name)
{
    return name.starts_with("be10") || name.starts_with("al26");
}

bool IsErosionField(std::string_view name)
{
    return name.starts_with("erosion_");
}

// Erosion rates in cm/kyr, as a fraction num/den: exact for the units the
// field writes (1 mm/ka = 1 m/Myr = 0.1 cm/kyr), so that a rate converted
// back and forth does not drift.
struct ErosionUnit {
    std::string_view name;
    double num;
    double den;
};
constexpr ErosionUnit kErosionUnits[] = {
    {"cm/yr", 1000.0, 1.0}, {"cm/kyr", 1.0, 1.0}, {"mm/ka", 1.0, 10.0}, {"m/myr", 1.0, 10.0}};

const ErosionUnit* FindErosionUnit(std::string_view name)
{
    const std::string lower = LowerCase(name);
    for (const ErosionUnit& unit : kErosionUnits)
        if (unit.name == lower)
            return &unit;
    return nullptr;
}

// The unit a vocabulary erosion field is in: "erosion_mm_ka" is mm/ka.
std::string ErosionFieldUnit(std::string_view field)
{
    std::string unit(field.substr(std::string_view("erosion_").size()));
    const std::size_t bar = unit.find('_');
    if (bar != std::string::npos)
        unit[bar] = '/';
    return unit;
}

bool IsZero(const std::string& text, bool decimalComma)
{
    double value = 0.0;
    return ParseNumber(WithDecimalPoint(text, decimalComma), value) && value == 0.0;
}

const std::string* FindField(const SampleRecord& record, std::string_view name)
{
    const auto found = record.fields.find(name);
    return found == record.fields.end() || found->second.empty() ? nullptr : &found->second;
}

} // namespace

std::string LowerCase(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

std::span<const std::string_view> SampleFormatNames()
{
    return kFormatNames;
}

std::string_view SampleFormatName(SampleFormat format)
{
    for (std::size_t i = 0; i < std::size(kFormats); ++i)
        if (kFormats[i] == format)
            return kFormatNames[i];
    return "csv";
}

std::optional<SampleFormat> FindSampleFormat(std::string_view name)
{
    const std::string lower = LowerCase(name);
    for (std::size_t i = 0; i < std::size(kFormats); ++i)
        if (kFormatNames[i] == lower)
            return kFormats[i];
    return std::nullopt;
}

std::string_view SampleFormatTitle(SampleFormat format)
{
    switch (format) {
    case SampleFormat::V3:
        return "v3 input block";
    case SampleFormat::Expage:
        return "expage table with a header (option 1)";
    case SampleFormat::V2:
        return "expage/v2 table of 16 columns (option 2)";
    case SampleFormat::IceTea:
        return "iceTEA table";
    case SampleFormat::Crep:
        return "CREp rows";
    case SampleFormat::Auto:
    case SampleFormat::Csv:
        break;
    }
    return "CSV table";
}

SampleFormat DetectSampleFormat(std::string_view text)
{
    text = WithoutByteOrderMark(text);
    // The first line that holds something.
    std::string_view line;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
        line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (!Words(line).empty())
            break;
        line = {};
    }
    const std::vector<std::string> words = Words(line);
    if (words.empty())
        return SampleFormat::Csv;
    // A v3 statement: blank-separated fields ending in ';' on its first line.
    const std::size_t semicolon = line.find(';');
    if (words.back().ends_with(';') && line.find(',') == std::string_view::npos &&
        line.find('"') == std::string_view::npos && Words(line.substr(0, semicolon)).size() >= 3)
        return SampleFormat::V3;
    if (semicolon != std::string_view::npos)
        return SampleFormat::Csv;

    std::vector<std::string> fields;
    const char separator = line.find(',') != std::string_view::npos ? ',' : line.find('\t') != std::string_view::npos ? '\t' : ' ';
    if (separator == ' ') {
        fields = words;
    } else {
        std::size_t at = 0;
        while (at <= line.size()) {
            const std::size_t end = std::min(line.find(separator, at), line.size());
            fields.push_back(LowerCase(line.substr(at, end - at)));
            fields.back().erase(0, fields.back().find_first_not_of(" \t\""));
            while (!fields.back().empty() && (IsBlank(fields.back().back()) || fields.back().back() == '"'))
                fields.back().pop_back();
            at = end + 1;
        }
    }
    double value = 0.0;
    if (fields.size() > 2 && ParseNumber(fields[1], value) && ParseNumber(fields[2], value)) {
        const std::string flag = LowerCase(fields.size() > 4 ? fields[4] : "");
        if (fields.size() == 16 && (flag == "std" || flag == "ant" || flag == "pre"))
            return SampleFormat::V2;
        if (fields.size() == 10 && separator != ',')
            return SampleFormat::Crep;
        if (fields.size() == 15 || fields.size() == 22)
            return SampleFormat::IceTea;
        return SampleFormat::Csv;
    }
    for (std::string& field : fields)
        field = LowerCase(field);
    if (std::find(fields.begin(), fields.end(), "pflag") != fields.end())
        return SampleFormat::Expage;
    if (std::find(fields.begin(), fields.end(), "be10_unc") != fields.end() ||
        std::find(fields.begin(), fields.end(), "al26_unc") != fields.end())
        return SampleFormat::IceTea;
    return SampleFormat::Csv;
}

std::vector<std::string> PositionalColumns(SampleFormat format, std::size_t fields)
{
    switch (format) {
    case SampleFormat::V2:
        return {"sample", "lat", "long", "elv", "pflag", "thick", "dens", "shield", "erosion",
                "n10",    "n10unc", "std10", "n26", "n26unc", "std26", "samplingyr"};
    case SampleFormat::Crep:
        return {"sample", "lat", "lon", "elv", "n10", "n10unc", "shield", "dens", "thick", "erosion"};
    case SampleFormat::IceTea: {
        std::vector<std::string> columns = {"sample", "lat",  "lon",      "elevation", "pressure",
                                            "thick",  "dens", "shield",   "erosion",   "be10",
                                            "be10_unc", "be10_std", "al26", "al26_unc", "al26_std"};
        if (fields >= 22)
            columns.insert(columns.end(), {"samplingyr", "c14", "c14_unc", "ne21", "ne21_unc", "he3", "he3_unc"});
        return columns;
    }
    case SampleFormat::Auto:
    case SampleFormat::Csv:
    case SampleFormat::V3:
    case SampleFormat::Expage:
        break;
    }
    return {};
}

std::string SampleColumn(const BatchCalculator& calculator, std::string_view name, SampleFormat format)
{
    const std::string lower = LowerCase(name);
    if (lower == "sample")
        return lower;
    // The exchange formats' plain erosion has their unit, not the calculator's.
    if (lower == "erosion" && format != SampleFormat::Csv)
        return format == SampleFormat::IceTea ? "erosion_cm_yr" : "erosion_mm_ka";
    if (Has(calculator, lower))
        return lower;
    std::string column;
    for (const Alias& alias : kAliases)
        if (alias.name == lower)
            column = alias.column;
    if (column.empty() && format != SampleFormat::Csv &&
        std::find(std::begin(kIgnored), std::end(kIgnored), lower) != std::end(kIgnored))
        column = lower;
    if (column.empty() && format != SampleFormat::Csv &&
        std::find(std::begin(kSiteFields), std::end(kSiteFields), lower) != std::end(kSiteFields))
        column = lower;
    if (column.empty() || format != SampleFormat::Csv || Has(calculator, column))
        return column;
    // QEX's own tables name only what the calculator takes.
    if (IsNuclideField(column) && (TakesOneConcentration(calculator) || Has(calculator, "be10")))
        return column;
    if (IsErosionField(column) && (Has(calculator, "erosion") || Has(calculator, "aerial-erosion")))
        return column;
    if (column == "pflag" && Has(calculator, "atmosphere"))
        return column;
    return std::string();
}

std::string SampleColumnAliases()
{
    std::string list;
    for (const Alias& alias : kAliases)
        if (alias.name != alias.column || IsErosionField(alias.name) || alias.name == "pflag" ||
            alias.name == "samplingyr")
            list += (list.empty() ? "" : ", ") + std::string(alias.name);
    return list;
}

std::vector<SampleRecord> ReadV3Block(std::string_view text, std::vector<std::string>& notes)
{
    text = WithoutByteOrderMark(text);
    struct Statement {
        int line = 0;
        std::vector<std::string> words;
    };
    std::vector<Statement> statements;
    {
        int line = 1;
        Statement current;
        std::string word;
        auto endWord = [&] {
            if (!word.empty())
                current.words.push_back(std::move(word));
            word.clear();
        };
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            if (c == ';') {
                endWord();
                if (!current.words.empty())
                    statements.push_back(std::move(current));
                current = Statement();
            } else if (IsBlank(c)) {
                endWord();
            } else {
                if (current.words.empty() && word.empty())
                    current.line = line;
                word += c;
            }
            if (c == '\n' || (c == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
                ++line;
        }
        endWord(); // the last statement may leave out its ';'
        if (!current.words.empty())
            statements.push_back(std::move(current));
    }

    // Each name's statements, in the order the names first appear.
    struct Nuclide {
        int line = 0;
        std::string symbol; // "be10" or "al26"
        std::string value, error, standard;
    };
    struct Entry {
        std::string name;
        int firstLine = 0;
        const Statement* sample = nullptr;
        std::vector<Nuclide> nuclides;
        std::string error;
    };
    std::vector<Entry> entries;
    auto entryOf = [&entries](const Statement& statement) -> Entry& {
        for (Entry& entry : entries)
            if (entry.name == statement.words.front())
                return entry;
        Entry entry;
        entry.name = statement.words.front();
        entry.firstLine = statement.line;
        entries.push_back(std::move(entry));
        return entries.back();
    };
    auto fail = [](Entry& entry, const std::string& why) {
        if (entry.error.empty())
            entry.error = why;
    };
    auto numberAt = [](const Statement& statement, std::size_t index, const char* field) -> std::string {
        double value = 0.0;
        if (ParseNumber(statement.words[index], value))
            return std::string();
        return Format("line %d, field %d (%s): '%s' is not a number", statement.line, static_cast<int>(index + 1),
                      field, statement.words[index].c_str());
    };

    for (const Statement& statement : statements) {
        Entry& entry = entryOf(statement);
        const std::vector<std::string>& w = statement.words;
        const std::string kind = w.size() > 1 ? LowerCase(w[1]) : std::string();
        if (kind == "be-10" || kind == "al-26") {
            if (w.size() != 6) {
                fail(entry, Format("line %d: a nuclide line has 6 fields (name, nuclide, mineral, N, delN, "
                                   "standard); this one has %d", statement.line, static_cast<int>(w.size())));
                continue;
            }
            const bool be10 = kind == "be-10";
            std::string why = numberAt(statement, 3, "N");
            if (why.empty())
                why = numberAt(statement, 4, "delN");
            if (why.empty() && LowerCase(w[2]) != "quartz")
                why = Format("line %d, field 3 (mineral): '%s': 10Be and 26Al are calculated in quartz",
                             statement.line, w[2].c_str());
            if (why.empty() && FindAmsStandard(be10 ? kBe10 : kAl26, w[5]) == nullptr)
                why = Format("line %d, field 6 (standard): '%s' is not a %s standard QEX knows", statement.line,
                             w[5].c_str(), be10 ? "10Be" : "26Al");
            if (!why.empty())
                fail(entry, why);
            entry.nuclides.push_back({statement.line, be10 ? "be10" : "al26", w[3], w[4], w[5]});
        } else if (kind == "true_t") {
            notes.push_back(Format("line %d: the calibration line of %s is not used", statement.line, w[0].c_str()));
        } else if (kind == "he-3" || kind == "ne-21" || kind == "c-14" || kind == "cl-36") {
            notes.push_back(Format("line %d: the %s line of %s is not used (QEX calculates 10Be and 26Al)",
                                   statement.line, w[1].c_str(), w[0].c_str()));
        } else if (w.size() == 9 || w.size() == 10) {
            if (entry.sample != nullptr) {
                fail(entry, Format("line %d: a second sample line for %s (the first is on line %d)", statement.line,
                                   w[0].c_str(), entry.sample->line));
                continue;
            }
            entry.sample = &statement;
            constexpr const char* kNames[] = {"", "lat", "long", "elv", "", "thick", "dens", "shield", "erosion",
                                              "year"};
            for (std::size_t i = 1; i < w.size(); ++i) {
                const std::string why = i == 4 ? std::string() : numberAt(statement, i, kNames[i]);
                if (!why.empty()) {
                    fail(entry, why);
                    break;
                }
            }
            const std::string flag = LowerCase(w[4]);
            if (flag != "std" && flag != "ant" && flag != "pre")
                fail(entry, Format("line %d, field 5 (flag): '%s' is not std, ant or pre", statement.line,
                                   w[4].c_str()));
        } else {
            fail(entry, Format("line %d: not a sample line (9 or 10 fields), a nuclide line or a calibration line "
                               "(%d field%s)", statement.line, static_cast<int>(w.size()), w.size() == 1 ? "" : "s"));
        }
    }

    std::vector<SampleRecord> records;
    for (const Entry& entry : entries) {
        if (entry.sample == nullptr && entry.nuclides.empty() && entry.error.empty())
            continue; // only lines that are not used
        SampleRecord base;
        base.name = entry.name;
        base.line = entry.sample != nullptr ? entry.sample->line : entry.firstLine;
        base.error = entry.error;
        if (entry.sample == nullptr && base.error.empty())
            base.error = Format("line %d: no sample line for %s", entry.firstLine, entry.name.c_str());
        if (entry.sample != nullptr && entry.sample->words.size() >= 9) {
            const std::vector<std::string>& w = entry.sample->words;
            base.fields = {{"latitude", w[1]},  {"longitude", w[2]}, {"altitude", w[3]},
                           {"pflag", w[4]},     {"thickness", w[5]}, {"density", w[6]},
                           {"shield", w[7]},    {"erosion_cm_yr", w[8]}};
            if (w.size() == 10)
                base.fields["samplingyr"] = w[9];
        }
        // The first 10Be and 26Al lines go together; any further one makes a record of its own.
        std::vector<SampleRecord> own = {base};
        for (const Nuclide& nuclide : entry.nuclides) {
            SampleRecord* into = nullptr;
            for (SampleRecord& record : own)
                if (into == nullptr && record.fields.count(nuclide.symbol) == 0)
                    into = &record;
            if (into == nullptr) {
                own.push_back(base);
                into = &own.back();
            }
            into->fields[nuclide.symbol] = nuclide.value;
            into->fields[nuclide.symbol + "-err"] = nuclide.error;
            into->fields[nuclide.symbol + "-standard"] = nuclide.standard;
        }
        records.insert(records.end(), own.begin(), own.end());
    }
    return records;
}

std::vector<MappedRow> MapSampleRecord(const BatchCalculator& calculator, const SampleRecord& record,
                                       bool decimalComma, bool needsNuclide, std::set<std::string>& unused)
{
    MappedRow row;
    std::vector<std::pair<std::string, std::string>> nuclideFields;
    auto failed = [&row](std::string why) {
        if (row.error.empty())
            row.error = std::move(why);
    };
    for (const auto& [name, value] : record.fields) {
        if (IsNuclideField(name) && !Has(calculator, name)) {
            nuclideFields.emplace_back(name, value);
        } else if (IsErosionField(name)) {
            const char* target = Has(calculator, "erosion")          ? "erosion"
                                 : Has(calculator, "aerial-erosion") ? "aerial-erosion"
                                                                     : nullptr;
            if (target == nullptr) {
                unused.insert(name);
                continue;
            }
            if (record.fields.count(target) != 0) {
                failed(Format("%s and %s both give the erosion rate", name.c_str(), target));
                continue;
            }
            const ErosionUnit* from = FindErosionUnit(ErosionFieldUnit(name));
            const ErosionUnit* to = FindErosionUnit(Column(calculator, target)->description.unit);
            double rate = 0.0;
            if (value.empty() || from == to || from == nullptr || to == nullptr)
                row.cells[target] = value;
            else if (!ParseNumber(WithDecimalPoint(value, decimalComma), rate))
                failed(name + ": '" + value + "' is not a number");
            else
                row.cells[target] = ShortestText(rate * (from->num * to->den) / (from->den * to->num));
        } else if (Has(calculator, name) || IsCarriedColumn(name)) {
            row.cells[name] = value;
        } else if (name != "pflag") {
            unused.insert(name);
            // The year of collection is kept for a v3 block written back; no calculator reads it.
            if (name == "samplingyr")
                row.cells[name] = value;
        }
    }

    // The pressure flag: the elevation is a pressure (hPa) with "pre".
    if (const std::string* flag = FindField(record, "pflag")) {
        const std::string word = LowerCase(*flag);
        if (word != "std" && word != "ant" && word != "pre")
            failed("pflag: '" + *flag + "' is not std, ant or pre");
        else if (!Has(calculator, "atmosphere"))
            unused.insert("pflag");
        else if (word == "pre") {
            row.cells["atmosphere"] = "pressure";
            row.cells["pressure"] = row.cells["altitude"];
            row.cells.erase("altitude");
        } else {
            row.cells["atmosphere"] = word == "ant" ? "antarctic" : "std";
        }
    }
    // A pressure given without an atmosphere is the atmosphere (0 or empty: none given).
    if (const auto found = row.cells.find("pressure"); found != row.cells.end() && row.cells.count("atmosphere") == 0) {
        if (found->second.empty() || IsZero(found->second, decimalComma))
            row.cells.erase(found);
        else
            row.cells["atmosphere"] = "pressure";
    }

    // The concentrations: a 0 stands for a nuclide not measured.
    struct Measured {
        std::string symbol, value, error, standard;
    };
    std::vector<Measured> measured;
    for (const char* symbol : {"be10", "al26"}) {
        Measured m{symbol, "", "", ""};
        for (const auto& [name, value] : nuclideFields) {
            if (name == m.symbol)
                m.value = value;
            else if (name == m.symbol + "-err")
                m.error = value;
            else if (name == m.symbol + "-standard")
                m.standard = value;
        }
        if (!m.value.empty() && !IsZero(m.value, decimalComma))
            measured.push_back(m);
    }
    std::vector<MappedRow> rows;
    if (TakesOneConcentration(calculator)) {
        if (!measured.empty() && (row.cells.count("concentration") != 0 || row.cells.count("nuclide") != 0))
            failed("the concentration is given twice: by concentration or nuclide, and by be10 or al26");
        if (measured.empty() && needsNuclide && row.cells.count("concentration") == 0)
            failed("no 10Be or 26Al concentration");
        for (const Measured& m : measured) {
            MappedRow split = row;
            split.nuclide = m.symbol;
            split.cells["nuclide"] = m.symbol;
            split.cells["concentration"] = m.value;
            split.cells["concentration-err"] = m.error;
            if (!m.standard.empty())
                split.cells[m.symbol + "-standard"] = m.standard;
            rows.push_back(std::move(split));
        }
    } else if (Has(calculator, "be10")) {
        // The concentrations are columns of their own; a standard the
        // calculator does not take is applied here, as it would have.
        if (needsNuclide && row.cells.count("be10") == 0 && row.cells.count("al26") == 0)
            failed("no 10Be or 26Al concentration");
        for (const auto& [name, standard] : nuclideFields) {
            if (!name.ends_with("-standard") || standard.empty())
                continue;
            const std::string symbol = name.substr(0, 4);
            const NuclideKind kind = symbol == "be10" ? kBe10 : kAl26;
            std::string& value = row.cells[symbol];
            std::string& error = row.cells[symbol + "-err"];
            Concentration c;
            if (FindAmsStandard(kind, standard) == nullptr && LowerCase(standard) != kNoStandard)
                failed(name + ": '" + standard + "' is not a standard QEX knows");
            else if (value.empty())
                continue;
            else if (!ParseNumber(WithDecimalPoint(value, decimalComma), c.value) ||
                     !(error.empty() || ParseNumber(WithDecimalPoint(error, decimalComma), c.error)))
                failed(symbol + ": '" + value + "' is not a number");
            else {
                c = NormaliseConcentration(kind, standard, c);
                value = ShortestText(c.value);
                error = error.empty() ? error : ShortestText(c.error);
            }
        }
    } else {
        for (const auto& field : nuclideFields)
            unused.insert(field.first);
    }
    if (rows.empty()) {
        rows.push_back(std::move(row));
    } else if (!row.error.empty()) {
        for (MappedRow& split : rows)
            split.error = row.error;
    }
    return rows;
}

} // namespace qex
