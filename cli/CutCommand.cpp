// qexcli cut: the cut results of one proxy curve, one cut and one exposure age.

#include "cli/Command.h"
#include "proxy/CutResults.h"

namespace {

struct CutOptions {
    qex::CutInputs inputs;
    CLI::Option* cutValue = nullptr;
};

const bool registered = qex::cli::RegisterCommand(
    {"cut",
     [](CLI::App& cmd) -> qex::cli::Runner {
         static CutOptions state;
         qex::cli::AddInputOptions(cmd, state.inputs, qex::CutInputTable());
         // The dialog's cut-by-age box: a cut value given is a cut by value.
         state.cutValue = cmd.get_option("--cut-value");
         cmd.get_option("--cut-age")->excludes(state.cutValue);
         return [] {
             if (!qex::cli::DistinctFiles(qex::InputFileUses(state.inputs, qex::CutInputTable())))
                 return qex::cli::kUsage;
             state.inputs.cutByAge = state.cutValue->count() == 0;
             qex::cli::JsonInputs(qex::InputValues(state.inputs, qex::CutInputTable()));
             qex::CResultList list;
             qex::COutputBlocks blocks;
             const qex::CutOutcome outcome = qex::AppendCutResults(state.inputs, list, nullptr, &blocks);
             qex::cli::JsonBlocks(blocks);
             qex::cli::PrintList(list);
             return outcome == qex::CutOutcome::Result ? qex::cli::kSuccess : qex::cli::kFailure;
         };
     }});

} // namespace
