#include "ui/ResultDialog.h"

#include "ui/DialogCommand.h"

#include <QLabel>
#include <QLineEdit>
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

std::vector<QLineEdit*> CResultDialog::AddEditColumn(const std::vector<std::pair<int, QString>>& fields,
                                                     const Column& column)
{
    constexpr int kEditHeight = 13;
    constexpr int kLabelHeight = 10;
    std::vector<QLineEdit*> edits;
    int y = column.top;
    for (const auto& [id, label] : fields) {
        AddLabel(label, column.labelX, y + 2, column.labelWidth, kLabelHeight)
            ->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        edits.push_back(AddEdit(id, column.editX, y, column.editWidth, kEditHeight));
        y += column.step;
    }
    return edits;
}

void CResultDialog::AddStandardResults(int top, bool calculateIsDefault)
{
    constexpr int kMargin = 7;
    constexpr int kGap = 6;
    constexpr int kButtonHeight = 14;
    const int width = WidthDlu();
    const int buttonTop = HeightDlu() - kMargin - kButtonHeight;
    AddGroup("Results:", kMargin, top, width - 2 * kMargin, buttonTop - kGap - top);
    QListWidget* list = AddList(1011, kMargin + 6, top + 12, width - 2 * kMargin - 12, buttonTop - kGap - top - 18);
    const int buttonWidth = (width - 2 * kMargin - 3 * kGap) / 4;
    auto button = [&](int index, int id, const char* text, bool isDefault) {
        return AddButton(id, text, kMargin + index * (buttonWidth + kGap), buttonTop, buttonWidth, kButtonHeight,
                         isDefault);
    };
    QPushButton* calculate = button(0, 1025, "C&alculate", calculateIsDefault);
    QPushButton* cleanUp = button(1, 1026, "Clean Up", false);
    QPushButton* save = button(2, 1027, "&Save", false);
    QPushButton* close = button(3, 1, "&Close", !calculateIsDefault);
    SetUpResults(list, calculate, cleanUp, save, close);
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
