// qexcli world-table: the scaling factors over a grid of latitudes and
// altitudes, written to a file exactly as the desktop's command writes it.

#include "cli/Command.h"
#include "scaling/WorldTable.h"

#include <cstdio>
#include <optional>

namespace {

struct WorldTableOptions {
    qex::WorldTableInputs inputs;
    bool progress = false;
};

int Run(const WorldTableOptions& options)
{
    // Ctrl+C or a termination request stops the table cleanly, so the
    // temporary file is removed and a previous table stays as it was.
    std::optional<qex::cli::CStopRequest> stop(std::in_place);
    int lastPercent = -1;
    const auto outcome = qex::WriteWorldTable(
        options.inputs, options.inputs.outputFile, [&](std::uint64_t written, std::uint64_t total) {
            if (options.progress) {
                const int percent = total == 0 ? 100 : static_cast<int>(written * 100 / total);
                if (percent != lastPercent) {
                    lastPercent = percent;
                    std::fprintf(stderr, "world-table: %3d%% (%llu of %llu rows)\n", percent,
                                 static_cast<unsigned long long>(written), static_cast<unsigned long long>(total));
                }
            }
            return !stop->Requested();
        });
    stop.reset();
    switch (outcome) {
    case qex::WorldTableOutcome::Written:
        return qex::cli::kSuccess;
    case qex::WorldTableOutcome::Cancelled:
        std::fputs("world-table: stopped; no file was written.\n", stderr);
        return qex::cli::kFailure;
    case qex::WorldTableOutcome::CannotOpen:
    case qex::WorldTableOutcome::WriteFailed:
        break;
    }
    return qex::cli::kFailure;
}

const bool registered = qex::cli::RegisterCommand(
    {"world-table",
     [](CLI::App& cmd) -> qex::cli::Runner {
         static WorldTableOptions options;
         qex::cli::AddInputOptions(cmd, options.inputs, qex::WorldTableInputTable());
         qex::cli::AddCommandFlag(cmd, "--progress", options.progress, "Report progress on standard error");
         cmd.footer("Start and end may be given in either order. The file is written whole or not at all.");
         return [] {
             qex::cli::JsonInputs(qex::InputValues(options.inputs, qex::WorldTableInputTable()));
             return Run(options);
         };
     }});

} // namespace
