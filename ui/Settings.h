#pragma once
// The program's settings, under the key the shell registers
// ("Local AppWizard-Generated Applications" / "QEX"), whoever reads them.

#include <QSettings>

namespace qex {

inline constexpr const char* kSettingsOrganization = "Local AppWizard-Generated Applications";
inline constexpr const char* kSettingsApplication = "QEX";

// Asking before a dialog with results that were not saved is closed; "Do not
// ask again" turns it off.
inline constexpr const char* kAskBeforeDiscardingKey = "Dialogs/AskBeforeDiscardingResults";

// The folder of the file chosen last: the next chooser opens there.
inline constexpr const char* kLastFolderKey = "Dialogs/LastFolder";

inline QSettings ApplicationSettings()
{
    return QSettings(kSettingsOrganization, kSettingsApplication);
}

} // namespace qex
