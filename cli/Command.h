#pragma once
// How a calculator joins qexcli: each command file registers itself with its
// name, a one-line description and a set-up function that adds the options
// to its subcommand and returns the function that runs it.

#include "core/FileIdentity.h"
#include "core/InputTable.h"
#include "core/ResultList.h"

#include <CLI/CLI.hpp>
#include <functional>
#include <optional>
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
    std::string name;
    std::string description;
    Setup setup;
};

// Registers a command; used as `static const bool registered = RegisterCommand({...});`.
bool RegisterCommand(Registration registration);
// Every registered command, in the order qexcli lists them.
std::vector<Registration> RegisteredCommands();

// A number option with its help line; a value that is not a number, outside
// the inclusive range, or (when `whole`) with a fraction is a usage error
// naming the option and why.
CLI::Option* AddNumber(CLI::App& command, const std::string& name, double& value, const std::string& help,
                       const std::optional<InputRange>& range, bool whole = false);
// A path option (FILE) with its help line; required when asked; longer than
// maxChars (when not negative) is a usage error.
CLI::Option* AddPath(CLI::App& command, const std::string& name, std::string& value, const std::string& help,
                     bool required, int maxChars);
// A flag that belongs to the command rather than to the calculation, with its
// default in the help as every option has it.
CLI::Option* AddCommandFlag(CLI::App& command, const std::string& name, bool& value, const std::string& help);

// Every row of a calculator's input table that qexcli takes, in the table's
// order, as an option "--NAME" bound to its field in `inputs`: numbers with
// their range, files to read held to the dialog's length, flags; each with
// the help line the row gives (unit, default and range).
template <class Inputs>
void AddInputOptions(CLI::App& command, Inputs& inputs, const InputTable<Inputs>& table)
{
    for (const InputRow<Inputs>& row : table.Rows()) {
        if (!row.option)
            continue;
        const std::string name = "--" + std::string(row.name);
        const std::string help = InputHelpLine(DescribeInput(row));
        if (const auto* number = std::get_if<double Inputs::*>(&row.field))
            AddNumber(command, name, inputs.**number, help, row.range, row.whole);
        else if (const auto* path = std::get_if<std::string Inputs::*>(&row.field))
            AddPath(command, name, inputs.**path, help, row.required,
                    row.kind == InputKind::FileToRead ? row.maxChars : -1);
        else
            command.add_flag(name, inputs.*std::get<bool Inputs::*>(row.field), help);
    }
}

// Writes a result list to standard output exactly as a saved list file (once
// the command has run and its files are in place).
void PrintList(const CResultList& list);

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
