#pragma once
// F1 in a dialog opens the help at that dialog's calculator. The dialogs do
// not know the help window (it belongs to the application): they ask through
// this seam, and the main window answers.

#include <QString>
#include <functional>

class QWidget;

namespace qex {

// Shows the help at `topic` (a calculator's qexcli name, "simulate"), over `from`.
using HelpHandler = std::function<void(const QString& topic, QWidget* from)>;
// Installs the handler; returns the previous one. Without one, F1 does nothing.
HelpHandler SetHelpHandler(HelpHandler handler);
void ShowHelpTopic(const QString& topic, QWidget* from);

// Makes F1 in `dialog` show the help at `topic`.
void InstallHelpKey(QWidget& dialog, const QString& topic);

} // namespace qex
