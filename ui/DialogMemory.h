#pragma once
// What a dialog remembers between openings: its size and position, and the
// paths its boxes held when it was last closed. Kept in the application's
// settings under the dialog's object name; a dialog that was never shown
// (one a test drives) neither restores nor keeps anything.

#include <vector>

class QLineEdit;
class QWidget;

namespace qex {

// On first showing: the size and position kept last, and the kept text of
// each path box that is still empty. A position off every screen is not taken.
void RestoreDialogMemory(QWidget& dialog, const std::vector<QLineEdit*>& paths);
// On closing a shown dialog: its size, position and the path boxes' texts.
void KeepDialogMemory(const QWidget& dialog, const std::vector<QLineEdit*>& paths);

} // namespace qex
