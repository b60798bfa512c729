#include "scaling/WorldTableWriterDlg.h"

#include "ui/FileReplacement.h"
#include "ui/ProgressWindow.h"
#include "ui/StatusNotifier.h"

#include <QMessageBox>

namespace qex {

namespace {
constexpr int kProgressShowAfterMs = 500;
} // namespace

bool WriteWorldTableWithProgress(const WorldTableGrid& grid, const std::string& path,
                                 const ModalDialogRunner& runModal, QWidget* parent)
{
    const std::uint64_t rows = WorldTableRowCount(grid);
    if (rows > kWorldTableConfirmRows) {
        QMessageBox question(QMessageBox::Question, "QEX",
                             QString::fromStdString(WorldTableSizeQuestion(rows, WorldTableApproximateBytes(grid))),
                             QMessageBox::Yes | QMessageBox::No, parent);
        question.setDefaultButton(QMessageBox::No);
        if (runModal(question) != QMessageBox::Yes)
            return false;
    }

    CProgressWindow progress(parent, "Calculate SF around the World", kProgressShowAfterMs);
    const auto outcome = WriteWorldTable(grid, path, [&](std::uint64_t written, std::uint64_t total) {
        if (!progress.Due())
            return !progress.Cancelled();
        return progress.Step(static_cast<long long>(written), static_cast<long long>(total),
                             QString("Writing row %1 of %2...").arg(written).arg(total));
    });
    if (outcome != WorldTableOutcome::Written)
        return false;
    NotifyWritten(rows, "rows", path);
    NoteFileWritten(kWorldTableWriter, QString::fromStdString(path));
    return true;
}

} // namespace qex
