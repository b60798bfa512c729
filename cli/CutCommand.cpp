// qexcli cut: the cut results of one proxy curve, one cut and one exposure age.

#include "cli/Command.h"
#include "proxy/CutResults.h"

namespace {

struct CutOptions {
    qex::CutInputs inputs;
    CLI::Option* cutValue = nullptr;
};

const bool registered = qex::cli::RegisterCommand(
    {"cut", "Cut a proxy curve at a value or at the value it has at a year: exposure, burial and total age and "
            "the crossing years",
     [](CLI::App& cmd) -> qex::cli::Runner {
         static CutOptions state;
         cmd.add_option("--proxy", state.inputs.path, "Proxy curve file (keyword Proxy_Data)")
             ->type_name("FILE")
             ->required();
         qex::cli::AddNumber(cmd, "--exposure-age", state.inputs.exposureAge, "Exposure age", "years",
                             std::make_pair(0.0, 1e9));
         CLI::Option* cutAge =
             qex::cli::AddNumber(cmd, "--cut-age", state.inputs.cutAge,
                                 "Cut at the proxy value the curve has at this age (the default cut)", "years",
                                 std::make_pair(0.0, 1e8));
         state.cutValue = qex::cli::AddNumber(cmd, "--cut-value", state.inputs.cutValue,
                                              "Cut at this proxy value instead of at an age", "proxy units",
                                              std::nullopt);
         cutAge->excludes(state.cutValue);
         return [] {
             if (!qex::cli::DistinctFiles({{"--proxy", state.inputs.path, qex::FileRole::Input}}))
                 return qex::cli::kUsage;
             state.inputs.cutByAge = state.cutValue->count() == 0;
             qex::CResultList list;
             const qex::CutOutcome outcome = qex::AppendCutResults(state.inputs, list);
             qex::cli::PrintList(list);
             return outcome == qex::CutOutcome::Result ? qex::cli::kSuccess : qex::cli::kFailure;
         };
     }});

} // namespace
