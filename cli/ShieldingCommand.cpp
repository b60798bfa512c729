// qexcli shielding: the shielding dialog's calculation, with the horizon points
// given one by one or read from a horizon file.

#include "cli/Command.h"
#include "core/Format.h"
#include "corrections/HorizonFile.h"
#include "corrections/ShieldingResult.h"

#include <string>
#include <vector>

namespace {

using namespace qex;

struct ShieldingOptions {
    std::vector<std::string> points; // "AZ,ANGLE", in the order given
    std::string horizonFile;
    CLI::Option* horizonFileOption = nullptr;
    ShieldingInputs inputs;
};

const bool registered = cli::RegisterCommand(
    {"shielding",
     [](CLI::App& command) -> cli::Runner {
         static ShieldingOptions options;
         command
             .add_option("--point", options.points,
                         "a horizon point: azimuth (0 to 360 degrees) and elevation angle of the skyline "
                         "(0 to 90 degrees); repeat for each point; default none")
             ->type_name("AZ,ANGLE")
             ->allow_extra_args(false)
             ->check(CLI::Validator(
                 [](std::string& text) -> std::string {
                     HorizonPoint point;
                     const std::string why = ParseHorizonPoint(text, point);
                     return why.empty() ? why : Format("'%s': %s", text.c_str(), why.c_str());
                 },
                 "", ""));
         options.horizonFileOption =
             cli::AddPath(command, "--horizon-file", options.horizonFile,
                          "file of horizon points, one \"azimuth angle\" pair a line (blanks or a comma between "
                          "them, '#' starts a comment); read before the --point points; default none",
                          false, -1);
         cli::AddInputOptions(command, options.inputs, ShieldingInputTable());
         return [] {
             if (!cli::DistinctFiles({{"--horizon-file", options.horizonFile, FileRole::Input}}))
                 return cli::kUsage;
             ShieldingInputs inputs = options.inputs;
             if (options.horizonFileOption->count() > 0 && !ReadHorizonFile(options.horizonFile, inputs.points))
                 return cli::kUsage;
             for (const std::string& text : options.points) {
                 HorizonPoint point;
                 if (!ParseHorizonPoint(text, point).empty())
                     return cli::kUsage;
                 inputs.points.push_back(point);
             }
             std::vector<InputValue> used = InputValues(inputs, ShieldingInputTable());
             std::string points;
             for (const HorizonPoint& point : inputs.points)
                 points += (points.empty() ? "" : " ") + InputNumberText(point.azimuth) + ":" + InputNumberText(point.angle);
             used.push_back({"horizon", "degrees", points});
             cli::JsonInputs(std::move(used));
             CResultList list;
             COutputBlocks blocks;
             AppendShieldingResult(inputs, list, &blocks);
             cli::JsonBlocks(blocks);
             cli::PrintList(list);
             return cli::kSuccess;
         };
     }});

} // namespace
