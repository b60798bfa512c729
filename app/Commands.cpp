#include "app/Commands.h"

namespace qex {

const std::vector<FeatureCommand>& FeatureCommands()
{
    // The list's texts are literals, so their data outlive any caller.
    static const std::vector<FeatureCommand> commands = [] {
        std::vector<FeatureCommand> features;
        for (const Calculator& calculator : Calculators())
            if (calculator.info.commandId != 0)
                features.push_back({calculator.info.commandId, calculator.info.prompt.data(),
                                    calculator.info.menuText.data(), calculator.info.name.data()});
        return features;
    }();
    return commands;
}

namespace {
struct OtherPrompt {
    int id;
    const char* statusTip;
    const char* toolTip;
};
const OtherPrompt kOtherPrompts[] = {
    {ID_APP_ABOUT, "Display program information, version number and copyright", "About"},
    {ID_APP_EXIT, "Quit the application", "Exit"},
    {ID_HALF_LIVES, "Choose the constant set and the half-lives of 10Be and 26Al the calculations use", "Constants"},
    {ID_ASK_BEFORE_DISCARDING, "Ask before a dialog with results that were not saved is closed",
     "Ask Before Discarding Results"},
    {ID_HELP_INDEX, "List the calculators and what each computes", "Help Topics"},
    {ID_HELP, "Display help for the calculators", "Help"},
    {ID_CONTEXT_HELP, "Display help for the calculators", "Help"},
    {ID_DEFAULT_HELP, "Display help for the calculators", "Help"},
    {ID_FILE_NEW, "Create a new document", "New"},
    {ID_FILE_OPEN, "Open an existing document", "Open"},
    {ID_FILE_SAVE, "Save the active document", "Save"},
    {ID_FILE_PRINT, "Print the active document", "Print"},
};
// A feature command's prompt serves as both; another command's text is `text`.
QString PromptOf(int id, const char* OtherPrompt::*text)
{
    for (const auto& command : FeatureCommands())
        if (command.id == id)
            return QString::fromUtf8(command.prompt);
    for (const auto& other : kOtherPrompts)
        if (other.id == id)
            return QString::fromUtf8(other.*text);
    return QString();
}
} // namespace

QString CommandPrompt(int id)
{
    return PromptOf(id, &OtherPrompt::statusTip);
}

QString CommandToolTip(int id)
{
    return PromptOf(id, &OtherPrompt::toolTip);
}

} // namespace qex
