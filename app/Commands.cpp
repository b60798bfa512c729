#include "app/Commands.h"

namespace qex {

const std::vector<FeatureCommand>& FeatureCommands()
{
    static const std::vector<FeatureCommand> commands = {
        // Named as its dialog's title names it.
        {ID_SIMULATION, "Climatic Proxy Curve Simulation", "Climatic Curve &Age Correction..."},
        {ID_CUT_RESULTS, "Climatic Proxy Curve Cut Results", "Proxy Curve &Cut Results..."},
        {ID_NORMALIZE_CURVE, "Read/write/Normalize Climatic Curve", "&Normalize an Intensity Curve File..."},
        {ID_SCALING_FACTOR, "Scaling factor", "Production-Rate Scaling &Factors of a Site..."},
        {ID_WORLD_TABLE, "Calulate SF around world", "Scaling-Factor Table around the &World..."},
        {ID_EXPOSURE_AGE, "Surface Exposure Age", "Surface &Exposure Age..."},
        {ID_THICKNESS, "Thickness Correction", "&Thickness Correction..."},
        {ID_SLOPE_THICKNESS, "Slope-Thickness correction", "S&lope-Thickness Correction..."},
        // The shielding command's own prompt; it once repeated the thickness one.
        {ID_SHIELDING, "Shielding by obstruction and slope", "Topographic S&hielding by Obstruction and Slope..."},
        {ID_BATCH, "Run a calculator over a CSV file of samples", "&Batch..."},
        {ID_TWO_NUCLIDE, "Draw the two-nuclide diagram of a CSV file of samples", "Two-Nuclide &Diagram..."},
    };
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
    {ID_HALF_LIVES, "Choose the half-lives of 10Be and 26Al the calculations decay with", "Nuclide Half-lives"},
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
} // namespace

QString CommandPrompt(int id)
{
    for (const auto& command : FeatureCommands())
        if (command.id == id)
            return QString::fromUtf8(command.prompt);
    for (const auto& other : kOtherPrompts)
        if (other.id == id)
            return QString::fromUtf8(other.statusTip);
    return QString();
}

QString CommandToolTip(int id)
{
    for (const auto& command : FeatureCommands())
        if (command.id == id)
            return QString::fromUtf8(command.prompt);
    for (const auto& other : kOtherPrompts)
        if (other.id == id)
            return QString::fromUtf8(other.toolTip);
    return QString();
}

} // namespace qex
