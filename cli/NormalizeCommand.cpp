// qexcli normalize INPUT OUTPUT: an intensity curve file read (midpoints in
// gaps wider than 501 years, ages closer than 0.001 year merged) and written
// back in fixed columns.

#include "cli/Command.h"
#include "geomag/GeomagneticIntensityData.h"

namespace qex::cli {
namespace {

struct NormalizeOptions {
    std::string input;
    std::string output;
};

const bool registered = RegisterCommand(
    {"normalize",
     [](CLI::App& command) -> Runner {
         static NormalizeOptions options;
         command.add_option("INPUT", options.input, "intensity curve file (keyword Geomagnetic_Intensity_Data)")
             ->required();
         command.add_option("OUTPUT", options.output, "file to write; replaced if it exists (may be INPUT)")->required();
         return [] {
             JsonInputs({{"input", "", options.input}, {"output", "", options.output}});
             const CGeomagneticIntensityData curve(options.input);
             if (!curve.IsLoaded())
                 return static_cast<int>(kFailure); // nothing is written
             return curve.SaveFile(options.output) == 1 ? static_cast<int>(kSuccess) : static_cast<int>(kFailure);
         };
     }});

} // namespace
} // namespace qex::cli
