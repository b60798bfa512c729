#include "ui/ResultDialog.h"

#include "ui/DialogCommand.h"
#include "ui/Question.h"
#include "ui/Settings.h"

#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>

namespace qex {

CResultDialog::CResultDialog(int templateId, const QString& title, int widthDlu, int heightDlu, int pointSize,
                             QWidget* parent)
    : CTemplateDialog(templateId, title, widthDlu, heightDlu, pointSize, parent)
{
    AllowEnlarging();
}

void CResultDialog::SetUpResults(QListWidget* list, QPushButton* calculate, QPushButton* cleanUp,
                                 QPushButton* save, QPushButton* close)
{
    m_results = std::make_unique<CResultListBox>(list);
    if (close != nullptr) {
        close->setDefault(false);
        connect(close, &QPushButton::clicked, this, &CResultDialog::accept);
    }
    if (calculate != nullptr) {
        // Enter calculates: typing a value and pressing Enter must never close
        // the dialog and throw its results away.
        calculate->setDefault(true);
        connect(calculate, &QPushButton::clicked, this, &CResultDialog::Calculate);
    }
    if (cleanUp != nullptr)
        connect(cleanUp, &QPushButton::clicked, this, &CResultDialog::CleanUp);
    if (save != nullptr)
        connect(save, &QPushButton::clicked, this, &CResultDialog::Save);
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

void CResultDialog::AddStandardResults(int top)
{
    constexpr int kMargin = 7;
    constexpr int kGap = 6;
    constexpr int kButtonHeight = 14;
    const int width = WidthDlu();
    const int buttonTop = HeightDlu() - kMargin - kButtonHeight;
    AddGroup("Results:", kMargin, top, width - 2 * kMargin, buttonTop - kGap - top);
    QListWidget* list = AddList(1011, kMargin + 6, top + 12, width - 2 * kMargin - 12, buttonTop - kGap - top - 18);
    const int buttonWidth = (width - 2 * kMargin - 3 * kGap) / 4;
    auto button = [&](int index, int id, const char* text) {
        return AddButton(id, text, kMargin + index * (buttonWidth + kGap), buttonTop, buttonWidth, kButtonHeight);
    };
    QPushButton* calculate = button(0, 1025, "C&alculate");
    QPushButton* cleanUp = button(1, 1026, "Clean Up");
    QPushButton* save = button(2, 1027, "&Save");
    QPushButton* close = button(3, 1, "&Close");
    SetUpResults(list, calculate, cleanUp, save, close);
}

void CResultDialog::DefaultAnchors()
{
    if (m_results == nullptr)
        return;
    const QRect list = m_results->Widget()->geometry();
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child->isWindow() || IsAnchored(child))
            continue;
        const QRect r = child->geometry();
        if (child == m_results->Widget())
            SetAnchor(child, GrowRight | GrowDown);
        else if (qobject_cast<QGroupBox*>(child) != nullptr && r.contains(list))
            SetAnchor(child, GrowRight | GrowDown);
        else if (qobject_cast<QGroupBox*>(child) != nullptr && r.bottom() < list.top())
            SetAnchor(child, GrowRight);
        else if (r.top() > list.bottom())
            SetAnchor(child, MoveDown);
    }
}

void CResultDialog::Calculate()
{
    RunDialogCommand([this] { OnCalculate(); });
    m_results->Refresh();
}

void CResultDialog::CalculateMore(const std::function<void()>& calculation)
{
    const int before = m_results->Widget()->count();
    const int results = m_results->Model().m_nResultCount;
    RunDialogCommand(calculation);
    m_results->Refresh();
    if (m_results->Model().m_nResultCount == results)
        m_results->ShowAddedLines(before);
}

void CResultDialog::CleanUp()
{
    m_results->CleanUp();
    OnCleanedUp();
}

void CResultDialog::Save()
{
    RunDialogCommand([this] { m_results->Save(this); }, false);
}

bool CResultDialog::MayDiscardResults()
{
    if (m_results == nullptr || !m_results->HasUnsavedResults())
        return true;
    QSettings settings = ApplicationSettings();
    if (!settings.value(kAskBeforeDiscardingKey, true).toBool())
        return true;
    QMessageBox question(QMessageBox::Question, "QEX", DiscardQuestion(), QMessageBox::Yes | QMessageBox::No, this);
    // A stray Enter keeps the results.
    question.setDefaultButton(QMessageBox::No);
    question.setEscapeButton(QMessageBox::No);
    auto* doNotAsk = new QCheckBox(DoNotAskAgainText(), &question);
    question.setCheckBox(doNotAsk);
    const bool discard = ExecWithArrowCursor(question) == QMessageBox::Yes;
    if (discard && doNotAsk->isChecked())
        settings.setValue(kAskBeforeDiscardingKey, false);
    return discard;
}

void CResultDialog::accept()
{
    if (MayDiscardResults())
        QDialog::accept();
}

void CResultDialog::reject()
{
    if (MayDiscardResults())
        QDialog::reject();
}

} // namespace qex
