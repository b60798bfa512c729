#pragma once
// The files of samples the field exchanges, read as the rows of a batch: the
// online calculators' v3 input block, the expage tables (a named header, or
// 16 columns in a fixed order), CREp rows, iceTEA tables and QEX's own CSV
// (with ',', ';', tabs or blanks between fields, and the column names users
// type). Every reader gives the same thing, a sample's fields under one
// vocabulary of names; one mapping then turns them into the cells of the
// calculator asked for, converting units and splitting a sample measured for
// both 10Be and 26Al into a row per nuclide. So every calculator, and every
// command reading a file of samples, reads all of them alike.

#include "batch/BatchCalculator.h"

#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qex {

enum class SampleFormat { Auto, Csv, V3, Expage, V2, IceTea, Crep };

// The text in lower case (ASCII letters): the formats' words are read in any case.
std::string LowerCase(std::string_view text);

// The words of --format: auto, csv, v3, expage, v2, icetea, crep.
std::span<const std::string_view> SampleFormatNames();
std::string_view SampleFormatName(SampleFormat format);
std::optional<SampleFormat> FindSampleFormat(std::string_view name);
// What the format is, for a person ("v3 input block", ...).
std::string_view SampleFormatTitle(SampleFormat format);

// The format of the text, from its first statement or line: a v3 block when
// it ends with ';' and has blank-separated fields; a table without a header
// by its number of fields (16 with a pressure flag: expage option 2, 10:
// CREp, 15 or 22: iceTEA); a header with "pflag": expage option 1; one with
// "be10_unc" or "al26_unc": iceTEA; QEX's CSV otherwise.
SampleFormat DetectSampleFormat(std::string_view text);

// One sample as a file gives it: its fields by the vocabulary's names (the
// calculators' column names, and "pflag", "erosion_mm_ka", "erosion_cm_yr",
// "erosion_m_myr", "be10", "be10-err", "be10-standard", the same for al26,
// "samplingyr"), the text as written.
struct SampleRecord {
    int line = 0; // where the sample starts in the file, from 1
    std::string name;
    std::map<std::string, std::string, std::less<>> fields;
    std::string error; // why it cannot run, naming the line and the field
};

// A v3 block's samples: sample lines and nuclide lines matched by name (the
// first 10Be and 26Al lines of a sample in one record, any further one in a
// record of its own), statements over several lines, any blanks. Calibration
// lines and nuclides QEX does not calculate go to `notes`. A line that is not
// a statement of the block fails the sample of its name (or a record of its
// own), naming the line and the field.
std::vector<SampleRecord> ReadV3Block(std::string_view text, std::vector<std::string>& notes);

// The vocabulary name a table's column is read as, in the calculator's terms:
// its own column names, then the aliases (case-insensitive: lat, lon, long,
// elv, elevation, alt, thick, dens, shield, shielding, N10, Be10, N10unc,
// dN10, Be10_unc, delN10, std10, the same for 26Al, erosion_mm_ka,
// erosion_cm_yr, erosion_m_Myr, pflag, samplingyr...). An expage table's or a
// CREp row's plain "erosion" is in mm/ka, an iceTEA table's in cm/yr. Empty
// for a name it does not know.
std::string SampleColumn(const BatchCalculator& calculator, std::string_view name, SampleFormat format);
// The names a table may give beside the calculator's columns, for a message.
std::string SampleColumnAliases();

// The column names of a format whose rows have no header (expage option 2,
// CREp, iceTEA with 15 or 22 fields), in the vocabulary; empty when the
// format has a header.
std::vector<std::string> PositionalColumns(SampleFormat format, std::size_t fields);

// A record as the calculator's cells: units converted to the calculator's
// (erosion; the pressure flag to the atmosphere), standards normalised where
// the calculator takes none, one row per nuclide where the calculator takes
// one concentration. `needsNuclide`: a record without a concentration fails
// (every format but QEX's own CSV, whose rows may leave it to the default).
// Fields the calculator does not use are named in `unused`.
struct MappedRow {
    std::string nuclide; // "be10" or "al26" when the record was split by nuclide
    std::map<std::string, std::string, std::less<>> cells;
    std::string error;
};
std::vector<MappedRow> MapSampleRecord(const BatchCalculator& calculator, const SampleRecord& record,
                                       bool decimalComma, bool needsNuclide, std::set<std::string>& unused);

} // namespace qex
