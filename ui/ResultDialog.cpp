#include "ui/ResultDialog.h"

#include "ui/DialogCommand.h"

#include <QListWidget>
#include <QPushButton>

namespace qex {

void CResultDialog::SetUpResults(QListWidget* list, QPushButton* calculate, QPushButton* cleanUp,
                                 QPushButton* save, QPushButton* close)
{
    m_results = std::make_unique<CResultListBox>(list);
    if (calculate != nullptr)
        connect(calculate, &QPushButton::clicked, this, &CResultDialog::Calculate);
    if (cleanUp != nullptr)
        connect(cleanUp, &QPushButton::clicked, this, &CResultDialog::CleanUp);
    if (save != nullptr)
        connect(save, &QPushButton::clicked, this, &CResultDialog::Save);
    if (close != nullptr)
        connect(close, &QPushButton::clicked, this, &CResultDialog::accept);
}

void CResultDialog::Calculate()
{
    RunDialogCommand([this] { OnCalculate(); });
    m_results->Refresh();
}

void CResultDialog::CleanUp()
{
    m_results->CleanUp();
}

void CResultDialog::Save()
{
    RunDialogCommand([this] { m_results->Save(this); }, false);
}

void CResultDialog::accept()
{
    if (UpdateData())
        QDialog::accept();
}

} // namespace qex
