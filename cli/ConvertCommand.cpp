// qexcli convert: a file of samples in any format QEX reads written as a v3
// input block (for the online calculators) or as QEX's CSV.

#include "batch/BatchRun.h"
#include "batch/SampleConvert.h"
#include "cli/Command.h"
#include "core/AtomicFile.h"
#include "core/FileIdentity.h"
#include "core/Format.h"
#include "core/Message.h"

namespace qex::cli {
namespace {

constexpr const char* kConvertFailure = "Can not write the converted file!";
constexpr std::string_view kTargets[] = {"v3", "csv"};

struct ConvertOptions {
    std::string input;
    std::string output;
    std::string format = "auto";
    std::string to = "v3";
};

int Run(const ConvertOptions& options)
{
    if (!DistinctFiles({{"--input", options.input, FileRole::Input}, {"--output", options.output, FileRole::Output}}))
        return kUsage;
    std::string text;
    std::string error;
    ConvertedSamples converted;
    if (!ReadBatchFile(options.input, text, error) ||
        !ConvertSampleText(text, FindSampleFormat(options.format).value_or(SampleFormat::Auto), options.to == "v3",
                           converted, error)) {
        ShowMessage(PrintableText("convert: " + options.input + ": " + error));
        return kUsage;
    }
    for (const std::string& note : converted.notes)
        ShowMessage(PrintableText(options.input + ": " + note));
    if (!converted.failures.empty()) {
        for (const std::string& failure : converted.failures)
            ShowMessage(PrintableText(options.input + ", " + failure));
        ShowMessage(Format("convert: %d sample%s cannot be written; no file was written.",
                           static_cast<int>(converted.failures.size()), converted.failures.size() == 1 ? "" : "s"));
        return kFailure;
    }
    if (converted.samples == 0) {
        ShowMessage("convert: " + options.input + ": the file holds no samples");
        return kFailure;
    }
    if (!WriteFileAtomically(options.output, converted.text, kConvertFailure))
        return kFailure;
    ShowMessage(PrintableText(Format("convert: %d %s%s read as %s, written as %s to %s", converted.samples,
                                     options.to == "v3" ? "sample" : "row", converted.samples == 1 ? "" : "s",
                                     std::string(SampleFormatTitle(converted.format)).c_str(),
                                     options.to == "v3" ? "a v3 input block" : "CSV", options.output.c_str())));
    return kSuccess;
}

const bool registered = RegisterCommand(
    {"convert",
     [](CLI::App& command) -> Runner {
         static ConvertOptions options;
         AddPath(command, "--input", options.input, "file of samples in any format batch reads", true, -1);
         AddPath(command, "--output", options.output,
                 "file to write, replaced if it exists: a v3 input block, or QEX's CSV with --to csv", true, -1);
         AddChoice(command, "--format", options.format,
                   "the input's format (auto, csv, v3, expage, v2, icetea, crep); default auto: from its content",
                   SampleFormatNames());
         AddChoice(command, "--to", options.to,
                   "v3: the online calculators' input block (erosion in cm/yr, a sample line and a nuclide line "
                   "each); csv: the exposure age's batch columns; default v3",
                   kTargets);
         return [] {
             JsonInputs({{"input", "", options.input},
                         {"output", "", options.output},
                         {"format", "", options.format},
                         {"to", "", options.to}});
             return Run(options);
         };
     }});

} // namespace
} // namespace qex::cli
