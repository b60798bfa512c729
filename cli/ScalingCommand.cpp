// qexcli scaling: the four scaling factors of one site, as the scaling factor
// dialog lists them.

#include "cli/Command.h"
#include "scaling/ScalingFactorBlock.h"

namespace {

const bool registered = qex::cli::RegisterCommand(
    {"scaling", "Stone 2000, Lal 1991 (10Be, 26Al) and Dunai 2000 scaling factors of one site",
     [](CLI::App& cmd) -> qex::cli::Runner {
         static qex::ScalingSite site;
         qex::cli::AddNumber(cmd, "--latitude", site.latitude, "Site latitude", "degrees",
                             qex::kSiteLatitudeRangeDeg.Bounds());
         qex::cli::AddNumber(cmd, "--altitude", site.altitude, "Site altitude above sea level", "m",
                             qex::kSiteAltitudeRangeM.Bounds());
         qex::cli::AddNumber(cmd, "--muon", site.muonFraction, "Muon contribution to sea-level production",
                             "fraction", qex::kSiteMuonFractionRange.Bounds());
         return [] {
             qex::CResultList list;
             qex::AppendScalingFactorResults(site, list);
             qex::cli::PrintList(list);
             return qex::cli::kSuccess;
         };
     }});

} // namespace
