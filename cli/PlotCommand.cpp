// qexcli plot KIND: a figure of many samples written as PNG (300 dpi) or SVG,
// the format chosen by the output's extension. Each kind has its own options,
// read from its input table as every command's are.

#include "cli/Command.h"
#include "core/AtomicFile.h"
#include "figure/FigureRenderer.h"
#include "figure/SummaryFigure.h"
#include "figure/TwoNuclideFigure.h"

#include <cstdio>
#include <functional>
#include <map>

namespace qex::cli {
namespace {

constexpr const char* kImageFailure = "Can not write the image file!";

// What every kind takes besides its own options.
struct PlotOptions {
    std::string output;
    std::string title;
};

// Writes the figure `make` draws from the kind's inputs.
template <class Inputs>
int DrawFigure(const std::string& kind, const Inputs& inputs, const InputTable<Inputs>& table,
               const PlotOptions& options,
               const std::function<bool(const Inputs&, figure::Figure&, std::string&)>& make)
{
    const std::optional<figure::ImageFormat> format = figure::ImageFormatOf(options.output);
    if (!format) {
        std::fprintf(stderr, "plot %s: --output must name a .png or a .svg file: %s\n", kind.c_str(),
                     options.output.c_str());
        return kUsage;
    }
    std::vector<FileUse> uses = InputFileUses(inputs, table);
    uses.push_back({"--output", options.output, FileRole::Output});
    if (!DistinctFiles(uses))
        return kUsage;
    figure::Figure figure;
    std::string error;
    if (!make(inputs, figure, error)) {
        std::fprintf(stderr, "plot %s: %s\n", kind.c_str(), error.c_str());
        return kUsage;
    }
    figure.title = options.title;
    std::string bytes;
    if (!figure::RenderFigure(figure, *format, bytes, error)) {
        std::fprintf(stderr, "plot %s: %s\n", kind.c_str(), error.c_str());
        return kFailure;
    }
    return WriteFileAtomically(options.output, bytes, kImageFailure) ? kSuccess : kFailure;
}

// A figure kind as a subcommand of plot: its table's options, --output and --title.
template <class Inputs>
void AddKind(CLI::App& plot, std::map<CLI::App*, Runner>& runners, PlotOptions& options, const std::string& kind,
             const std::string& description, Inputs& inputs, const InputTable<Inputs>& table,
             std::function<bool(const Inputs&, figure::Figure&, std::string&)> make, const std::string& footer)
{
    CLI::App* command = plot.add_subcommand(kind, description);
    AddInputOptions(*command, inputs, table);
    AddPath(*command, "--output", options.output,
            "Image file to write, replaced if it exists: .png (170 x 110 mm at 300 dpi) or .svg (the same drawing)",
            true, -1);
    command->add_option("--title", options.title, "Title above the figure; default none")->type_name("TEXT");
    command->footer(footer);
    runners[command] = [kind, &inputs, &table, &options, make] { return DrawFigure(kind, inputs, table, options, make); };
}

const bool registered = RegisterCommand(
    {"plot",
     [](CLI::App& cmd) -> Runner {
         static PlotOptions options;
         static std::map<CLI::App*, Runner> runners;
         static TwoNuclideFigureInputs twoNuclide;
         AddKind<TwoNuclideFigureInputs>(
             cmd, runners, options, "two-nuclide",
             "26Al/10Be against 10Be of every sample with its 68% error ellipse, the constant-exposure and "
             "steady-erosion lines, lines of constant burial time and of constant source erosion",
             twoNuclide, TwoNuclideFigureInputTable(),
             [](const TwoNuclideFigureInputs& in, figure::Figure& figure, std::string& error) {
                 std::vector<TwoNuclideSample> samples;
                 if (!ReadTwoNuclideSamples(in, samples, error))
                     return false;
                 std::optional<IsochronLine> isochron;
                 if (in.isochron && !FitTwoNuclideIsochron(in, samples, isochron.emplace(), error))
                     return false;
                 figure = MakeTwoNuclideFigure(in, samples, isochron);
                 return true;
             },
             "The input is a CSV file with a header naming its columns, read as a batch file is read: sample, "
             "be10, be10-err, al26, al26-err (atoms/g, 1 sigma) and optionally be10-production, al26-production "
             "(atoms/g/yr, the options' values where left out). By default the diagram is normalised: "
             "10Be/P10 (yr, logarithmic) against (26Al/P26)/(10Be/P10); --raw draws 10Be (atoms/g) against "
             "26Al/10Be. Ellipses hold 68% of each sample's bivariate normal error, correlated through the "
             "shared 10Be.\nExit status: 0 the image was written; 1 it could not be written; 2 bad usage or an "
             "unusable input file.");
         static SummaryFigureInputs summary;
         const std::string summaryFooter =
             "The input is a batch output (CSV) of exposure ages or erosion rates, read as qexcli summary reads it: "
             "groups by a group or landform column, outliers by --outliers.\nExit status: 0 the image was written; "
             "1 it could not be written; 2 bad usage or an unusable input file.";
         AddKind<SummaryFigureInputs>(
             cmd, runners, options, "summary",
             "Summed probability plot of a group's ages: each sample's normal curve and their sum, the weighted "
             "mean with its band, the outliers apart",
             summary, SummaryFigureInputTable(),
             [](const SummaryFigureInputs& in, figure::Figure& figure, std::string& error) {
                 SummaryTable table;
                 if (!ReadSummaryFigureTable(in, table, error))
                     return false;
                 figure = MakeProbabilityFigure(table);
                 return true;
             },
             summaryFooter);
         static SummaryFigureInputs transect;
         AddKind<SummaryFigureInputs>(
             cmd, runners, options, "transect",
             "Ages against elevation or distance with error bars, the weighted line with its band and the "
             "thinning or retreat rate",
             transect, SummaryFigureInputTable(),
             [](const SummaryFigureInputs& in, figure::Figure& figure, std::string& error) {
                 SummaryTable table;
                 return ReadSummaryFigureTable(in, table, error) && MakeTransectFigure(table, {}, figure, error);
             },
             summaryFooter + " The file needs an elevation (m) or distance (km) column.");
         // The default form, named for scripts that want to say so.
         static bool normalized = false;
         CLI::App* diagram = cmd.get_subcommand("two-nuclide");
         diagram->add_flag("--normalized", normalized, "Normalised by the production rates (the default)")
             ->excludes(diagram->get_option("--raw"));
         return []() -> int {
             for (auto& [command, runner] : runners)
                 if (command->parsed())
                     return runner();
             std::fputs("plot: name the figure to draw: two-nuclide, summary or transect (qexcli plot KIND --help)\n",
                        stderr);
             return kUsage;
         };
     }});

} // namespace
} // namespace qex::cli
