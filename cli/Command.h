#pragma once
// How a calculator joins qexcli: its command comes from the one list of
// calculators (calculators/CalculatorList.h), in the list's order, with the
// list's description. A calculator whose inputs and calculation say it all
// needs nothing more; one that asks for more of the command line (progress,
// files beside the list, options of its own) registers a set-up function by
// its name that adds the options to its subcommand and returns the function
// that runs it.

#include "calculators/Calculator.h"
#include "core/ConstantSets.h"
#include "core/FileIdentity.h"
#include "core/InputTable.h"
#include "core/Message.h"
#include "core/OutputTable.h"
#include "core/ResultList.h"

#include <CLI/CLI.hpp>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace qex::cli {

enum ExitCode : int {
    kSuccess = 0,      // the calculation gave its result
    kFailure = 1,      // the calculation failed or had no valid result
    kUsage = 2,        // bad usage, or a value outside its range
};

using Runner = std::function<int()>;
using Setup = std::function<Runner(CLI::App& command)>;

struct Registration {
    std::string name; // a calculator of the list
    Setup setup;
};

// Registers a command's own set-up; used as
// `static const bool registered = RegisterCommand({...});`.
bool RegisterCommand(Registration registration);
// The set-up registered for a calculator; null when it has none.
const Setup* RegisteredSetup(std::string_view name);
// Names registered that the list does not hold (none, unless a command file
// was added without its calculator).
std::vector<std::string> UnlistedCommands();

// The command of a calculator that registered nothing: its input table as
// options, its calculation, its list on standard output.
Runner GenericCommand(CLI::App& command, const Calculator& calculator);

// A number option with its help line; a value that is not a number, outside
// the inclusive range, or (when `whole`) with a fraction is a usage error
// naming the option and why.
CLI::Option* AddNumber(CLI::App& command, const std::string& name, double& value, const std::string& help,
                       const std::optional<InputRange>& range, bool whole = false);
// A path option (FILE) with its help line; required when asked; longer than
// maxChars (when not negative) is a usage error.
CLI::Option* AddPath(CLI::App& command, const std::string& name, std::string& value, const std::string& help,
                     bool required, int maxChars);
// A word of a fixed list, read in any case and kept as the list writes it;
// any other word is a usage error listing the words.
CLI::Option* AddChoice(CLI::App& command, const std::string& name, std::string& value, const std::string& help,
                       std::span<const std::string_view> choices);
// A flag that belongs to the command rather than to the calculation, with its
// default in the help as every option has it.
CLI::Option* AddCommandFlag(CLI::App& command, const std::string& name, bool& value, const std::string& help);

// An input as an option "--NAME" bound to where its value lives: a number
// with its range, a file to read held to the dialog's length, a flag; with
// the help line its row gives (unit, default and range).
void AddInputOption(CLI::App& command, std::string_view name, const InputDescription& description,
                    const InputTarget& target);

// The options given on the command line, by their names without dashes: an
// option given overrides its value in the chosen constant set.
GivenInputs GivenOptions(const CLI::App& command);

// Completes a command's inputs once its options are read (the constant set,
// the inputs that need or exclude each other); after a message, false: the
// command then exits with kUsage.
template <class Inputs>
bool CompleteOptions(const CLI::App& command, Inputs& inputs, const InputTable<Inputs>& table);

// Every row of a calculator's input table that qexcli takes, in the table's
// order, as AddInputOption adds it.
template <class Inputs>
void AddInputOptions(CLI::App& command, Inputs& inputs, const InputTable<Inputs>& table)
{
    for (const InputRow<Inputs>& row : table.Rows())
        if (row.option)
            AddInputOption(command, row.name, DescribeInput(row), TargetOf(row, inputs));
}

template <class Inputs>
bool CompleteOptions(const CLI::App& command, Inputs& inputs, const InputTable<Inputs>& table)
{
    const std::string why = CompleteInputs(table, inputs, GivenOptions(command));
    if (why.empty())
        return true;
    ShowMessage(why);
    return false;
}

// Writes a result list to standard output exactly as a saved list file (once
// the command has run and its files are in place).
void PrintList(const CResultList& list);

// What --json prints instead of the lines: the inputs as the command used
// them and the values of the blocks it listed. Messages are gathered by the
// command line itself; the lines are those PrintList was given.
void JsonInputs(std::vector<InputValue> inputs);
void JsonBlocks(const COutputBlocks& blocks);
// Whether the command prints JSON (--json was given).
bool JsonWanted();
// Adds --json to a command: one JSON document on standard output instead of the lines.
void AddJsonFlag(CLI::App& command);
// Starts gathering the messages for the document (once the command line is read).
void GatherJsonMessages(const std::string& command);
// For a command line that could not be read: whether it asked for JSON, and the message.
void JsonUsageError(int argc, char** argv, const std::string& message);

// Refuses, with a message naming both, an output that names the same file as
// an input, as another output or as standard output (redirected to a file):
// the caller then exits with kUsage before anything is calculated.
bool DistinctFiles(std::vector<FileUse> uses);

// Makes sure descriptors 0, 1 and 2 are open before any file is: a command
// started with standard output closed must fail to write it, not write into
// the first file it opens.
void GuardStandardStreams();

// While one lives, Ctrl+C or a termination request does not end the process
// but asks long work to stop: the command then cleans up (no temporary file,
// the previous output intact) and says so. A second one ends the process at
// once, as the handler before would have. The handlers before (with all their
// flags) are restored after; a signal the process ignores stays ignored.
class CStopRequest {
public:
    CStopRequest();
    ~CStopRequest();
    CStopRequest(const CStopRequest&) = delete;
    CStopRequest& operator=(const CStopRequest&) = delete;
    bool Requested() const;
};

// Writes what the command printed, flushes and closes standard output. A
// failed write (full disk, /dev/full, a closed descriptor) is reported and
// turns success into kFailure.
int FinishStandardOutput(int status);

} // namespace qex::cli
