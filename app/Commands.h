#pragma once
// Command ids of the main window and the prompts shown for them in the status
// bar and as tool tips.

#include "calculators/CalculatorList.h"

#include <QString>
#include <vector>

namespace qex {

// The calculators' commands come with the list of calculators (ID_SIMULATION...).
enum CommandId : int {
    ID_HALF_LIVES = 32806, // "&Options" > "Nuclide &Half-lives..."
    ID_ASK_BEFORE_DISCARDING = 32809, // "&Options" > "Ask Before &Discarding Results"

    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_FILE_PRINT_SETUP = 57606,
    ID_FILE_PRINT = 57607,
    ID_FILE_PRINT_DIRECT = 57608,
    ID_FILE_PRINT_PREVIEW = 57609,
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_UNDO = 57643,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_HELP_INDEX = 57667,
    ID_CONTEXT_HELP = 57669,
    ID_HELP = 57670,
    ID_DEFAULT_HELP = 57671,
    ID_NEXT_PANE = 57680,
    ID_PREV_PANE = 57681,
};

// A feature command: its id, its prompt, the label of its "&Calculators"
// item, and its calculator's name.
struct FeatureCommand {
    int id;
    const char* prompt;
    const char* calculatorsLabel;
    const char* name;
};

// The feature commands in the order of the "&Calculators" menu: the
// calculators of the list that have a menu command, in its order.
const std::vector<FeatureCommand>& FeatureCommands();

// The status-bar prompt of a command ("" when it has none).
QString CommandPrompt(int id);
// The tool tip of a command (the second half of its prompt string).
QString CommandToolTip(int id);

} // namespace qex
