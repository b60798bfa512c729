// qexcli cut: the cut results of one proxy curve, one cut and one exposure age.

#include "cli/Command.h"
#include "core/Message.h"
#include "proxy/CutResults.h"

#include <string>

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
             std::string failure;
             qex::COutputBlocks blocks;
             const qex::CutOutcome outcome = qex::AppendCutResults(state.inputs, list, nullptr, &blocks, &failure);
             qex::cli::JsonBlocks(blocks);
             if (outcome != qex::CutOutcome::NoValidResult) {
                 qex::cli::PrintList(list);
                 return outcome == qex::CutOutcome::Result ? qex::cli::kSuccess : qex::cli::kFailure;
             }
             // Scripts read the one no-valid-results line, as they always
             // have; the dialog's heading and reason line are not printed,
             // the reason line goes to standard error.
             qex::CResultList line;
             line.AppendLine(qex::kNoValidResultsLine);
             qex::cli::PrintList(line);
             qex::ShowMessage(qex::CutFailureLines(failure).back());
             return qex::cli::kFailure;
         };
     }});

} // namespace
