// qexcli exposure: the 10Be or 26Al surface exposure age of the exposure age dialog,
// optionally corrected for the past geomagnetic field.

#include "cli/Command.h"
#include "geomag/ExposureAgeResult.h"

namespace qex::cli {
namespace {

const bool registered = RegisterCommand(
    {"exposure",
     [](CLI::App& command) -> Runner {
         static ExposureInputs in;
         AddInputOptions(command, in, ExposureInputTable());
         return [&command] {
             if (!CompleteOptions(command, in, ExposureInputTable()))
                 return static_cast<int>(kUsage);
             // Only the fixed names may fall back to the installed records.
             in.poleMayBeInstalled = command.count("--pole") == 0;
             in.intensityMayBeInstalled = command.count("--intensity") == 0;
             if (in.magneticCorrection && !DistinctFiles(InputFileUses(in, ExposureInputTable())))
                 return static_cast<int>(kUsage);
             JsonInputs(InputValues(in, ExposureInputTable()));
             CResultList list;
             COutputBlocks blocks;
             if (!AppendExposureAge(in, list, &blocks))
                 return static_cast<int>(kFailure);
             JsonBlocks(blocks);
             PrintList(list);
             return static_cast<int>(kSuccess);
         };
     }});

} // namespace
} // namespace qex::cli
