#pragma once
// How a calculator joins qexcli: each command file registers itself with its
// name, a one-line description and a set-up function that adds the options
// to its subcommand and returns the function that runs it.

#include "core/FileIdentity.h"
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

// A number option whose help names its unit, default and range; a value that
// is not a number, or outside the inclusive range, is a usage error naming the
// option and the range.
CLI::Option* AddNumber(CLI::App& command, const std::string& name, double& value, const std::string& description,
                       const std::string& unit, std::optional<std::pair<double, double>> range);

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

// Writes what the command printed, flushes and closes standard output. A
// failed write (full disk, /dev/full, a closed descriptor) is reported and
// turns success into kFailure.
int FinishStandardOutput(int status);

} // namespace qex::cli
