#pragma once
// Writing the world table from the desktop: a question before a very large
// table, then a progress dialog with Cancel while the rows are written.

#include "scaling/WorldTable.h"

#include <functional>
#include <string>

class QDialog;
class QWidget;

namespace qex {

// The world table's files, as FileReplacement knows their writer.
inline constexpr const char* kWorldTableWriter = "world table";

// Runs a dialog modally and returns its result (the document's runner, which
// tests replace to answer without a modal loop).
using ModalDialogRunner = std::function<int(QDialog&)>;

// Above kWorldTableConfirmRows rows, asks (through runModal) whether to write
// the table, naming its rows and approximate size; then writes it with a
// progress dialog whose Cancel leaves no file behind. True when the file was written.
bool WriteWorldTableWithProgress(const WorldTableGrid& grid, const std::string& path,
                                 const ModalDialogRunner& runModal, QWidget* parent = nullptr);

} // namespace qex
