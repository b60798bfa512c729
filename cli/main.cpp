// qexcli: the calculators of QEX on the command line. Each prints exactly the
// lines its dialog appends to its results list; messages go to standard error.

#include "calculators/CalculatorList.h"
#include "cli/Command.h"
#include "core/AtomicFile.h"
#include "core/CommandGuard.h"
#include "core/HeapRetention.h"
#include "core/Message.h"
#include "core/TemporaryFiles.h"

#include <CLI/CLI.hpp>
#include <clocale>
#include <cstdio>
#include <map>
#include <new>

#ifndef QEX_VERSION
#define QEX_VERSION "unknown"
#endif

namespace {

int Run(int argc, char** argv)
{
    std::setlocale(LC_NUMERIC, "C");
    using namespace qex::cli;
    GuardStandardStreams();
    qex::RetainFreedHeapMemory();
    qex::InstallTemporaryFileCleanup();

    CLI::App app("QEX: cosmogenic-nuclide (10Be, 26Al) exposure and burial dating calculators.\n"
                 "Each command prints the lines of its desktop dialog's results list.",
                 "qexcli");
    app.set_version_flag("--version", std::string("qexcli ") + QEX_VERSION);
    app.require_subcommand(0, 1);
    app.footer("Exit status: 0 success; 1 the calculation failed or had no valid result; "
               "2 bad usage or a value outside its range.\nRun 'qexcli COMMAND --help' for a command's options.");

    // A command file whose calculator is missing from the list would never run.
    for (const std::string& name : UnlistedCommands()) {
        std::fprintf(stderr, "qexcli: the command %s is not in the list of calculators\n", name.c_str());
        return kUsage;
    }
    // Every calculator of the list is a command, in the list's order.
    std::map<CLI::App*, Runner> runners;
    for (const qex::Calculator& calculator : qex::Calculators()) {
        const std::string name(calculator.info.name);
        CLI::App* command = app.add_subcommand(name, std::string(calculator.info.description));
        const Setup* setup = RegisteredSetup(name);
        runners[command] = setup != nullptr ? (*setup)(*command) : GenericCommand(*command, calculator);
        AddJsonFlag(*command);
    }

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return FinishStandardOutput(app.exit(e));
    } catch (const CLI::CallForAllHelp& e) {
        return FinishStandardOutput(app.exit(e));
    } catch (const CLI::CallForVersion& e) {
        return FinishStandardOutput(app.exit(e));
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        JsonUsageError(argc, argv, e.what());
        return FinishStandardOutput(kUsage);
    }

    for (auto& [command, runner] : runners) {
        if (command->parsed()) {
            GatherJsonMessages(command->get_name());
            int status = kFailure;
            // The command's files are put in place together once it has
            // run, or none of them when one could not be written; a command
            // that failed or was stopped leaves every file as it was.
            qex::CFileTransaction outputs;
            if (!qex::RunGuarded([&] { status = runner(); }))
                status = kFailure;
            else if (status == kSuccess && !outputs.Commit())
                status = kFailure;
            return FinishStandardOutput(status);
        }
    }
    std::fputs(app.help().c_str(), stderr);
    return FinishStandardOutput(kUsage);
}

} // namespace

int main(int argc, char** argv)
{
    // Out of memory outside a command (reading the options, printing the
    // result) ends with a message too, not with an abort.
    try {
        return Run(argc, argv);
    } catch (const std::bad_alloc&) {
        qex::ShowMessage(qex::kOutOfMemoryMessage);
        return qex::cli::kFailure;
    }
}
