// qexcli scaling: the four scaling factors of one site, as the scaling factor
// dialog lists them.

#include "cli/Command.h"
#include "scaling/ScalingFactorBlock.h"

namespace {

const bool registered = qex::cli::RegisterCommand(
    {"scaling", "Stone 2000, Lal 1991 (10Be, 26Al) and Dunai 2000 scaling factors of one site",
     [](CLI::App& cmd) -> qex::cli::Runner {
         static qex::ScalingSite site;
         qex::cli::AddInputOptions(cmd, site, qex::ScalingInputTable());
         return [] {
             qex::CResultList list;
             qex::AppendScalingFactorResults(site, list);
             qex::cli::PrintList(list);
             return qex::cli::kSuccess;
         };
     }});

} // namespace
