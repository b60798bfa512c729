#include "cli/Command.h"

#include "core/Format.h"
#include "core/TextNumber.h"

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

CLI::Option* AddNumber(CLI::App& command, const std::string& name, double& value, const std::string& description,
                       const std::string& unit, std::optional<std::pair<double, double>> range)
{
    std::string help = description;
    if (!unit.empty())
        help += " (" + unit + ")";
    help += Format("; default %.15g", value);
    if (range)
        help += Format("; range %.15g to %.15g", range->first, range->second);
    CLI::Option* option = command.add_option(name, value, help);
    option->type_name("NUMBER");
    option->check(CLI::Validator(
        [range](std::string& text) -> std::string {
            double number = 0.0;
            if (!ParseNumber(text, number))
                return Format("'%s' is not a number", text.c_str());
            if (range && (number < range->first || number > range->second))
                return Format("%.15g is outside the range %.15g to %.15g", number, range->first, range->second);
            return std::string();
        },
        "", ""));
    return option;
}

void PrintList(const CResultList& list)
{
    const std::string text = list.Text();
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

} // namespace qex::cli
