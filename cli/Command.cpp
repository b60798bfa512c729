#include "cli/Command.h"


#include <algorithm>
#include <cstdio>

namespace qex::cli {

namespace {

std::vector<Registration>& Registry()
{
    static std::vector<Registration> registry;
    return registry;
}

// The order of the calculators in `qexcli --help`.
int Rank(const std::string& name)
{
    static const char* const order[] = {"simulate", "cut", "scaling", "world-table", "thickness",
                                        "slope-thickness", "shielding", "exposure", "normalize"};
    for (int i = 0; i < static_cast<int>(std::size(order)); ++i)
        if (name == order[i])
            return i;
    return static_cast<int>(std::size(order));
}

} // namespace

bool RegisterCommand(Registration registration)
{
    Registry().push_back(std::move(registration));
    return true;
}

std::vector<Registration> RegisteredCommands()
{
    std::vector<Registration> commands = Registry();
    std::stable_sort(commands.begin(), commands.end(),
                     [](const Registration& a, const Registration& b) { return Rank(a.name) < Rank(b.name); });
    return commands;
}

CLI::Option* AddNumber(CLI::App& command, const std::string& name, double& value, const std::string& help,
                       const std::optional<InputRange>& range)
{
    CLI::Option* option = command.add_option(name, value, help);
    option->type_name("NUMBER");
    option->check(CLI::Validator(
        [range](std::string& text) -> std::string {
            double number = 0.0;
            return ReadInputNumber(text, range, number);
        },
        "", ""));
    return option;
}

CLI::Option* AddPath(CLI::App& command, const std::string& name, std::string& value, const std::string& help,
                     bool required, int maxChars)
{
    CLI::Option* option = command.add_option(name, value, help);
    option->type_name("FILE");
    if (required)
        option->required();
    if (maxChars >= 0)
        option->check(CLI::Validator([maxChars](std::string& path) { return CheckInputLength(path, maxChars); }, "",
                                     ""));
    return option;
}

CLI::Option* AddCommandFlag(CLI::App& command, const std::string& name, bool& value, const std::string& help)
{
    return command.add_flag(name, value, help + "; default off");
}

void PrintList(const CResultList& list)
{
    const std::string text = list.Text();
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

} // namespace qex::cli
