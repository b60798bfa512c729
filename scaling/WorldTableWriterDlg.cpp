#include "scaling/WorldTableWriterDlg.h"

#include <QApplication>
#include <QMessageBox>
#include <QProgressDialog>

namespace qex {

namespace {
constexpr int kProgressSteps = 1000;
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

    QProgressDialog progress(parent);
    progress.setWindowTitle("Calculate SF around the World");
    progress.setLabelText("Writing the scaling-factor table...");
    progress.setCancelButtonText("Cancel");
    progress.setRange(0, kProgressSteps);
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(kProgressShowAfterMs);
    progress.setValue(0);

    int shown = 0;
    const auto outcome = WriteWorldTable(grid, path, [&](std::uint64_t written, std::uint64_t total) {
        const int step = total == 0 ? kProgressSteps
                                    : static_cast<int>(static_cast<double>(written) / static_cast<double>(total) *
                                                       kProgressSteps);
        if (step != shown) {
            shown = step;
            progress.setLabelText(QString("Writing row %1 of %2...").arg(written).arg(total));
            progress.setValue(step);
        }
        QApplication::processEvents();
        return !progress.wasCanceled();
    });
    progress.reset();
    return outcome == WorldTableOutcome::Written;
}

} // namespace qex
