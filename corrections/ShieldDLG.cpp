#include "corrections/ShieldDLG.h"

#include "core/TextNumber.h"
#include "ui/HelpTopic.h"
#include "ui/InputBinding.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

namespace qex {

CShieldDLG::CShieldDLG(QWidget* parent) : CResultDialog(136, "Shielding by obstruction and slope", 200, 209, 9, parent)
{
    InstallHelpKey(*this, "shielding");
    AddGroup("Shielding Information:", 7, 8, 186, 110);
    // The horizon list under a header naming its two columns.
    QLabel* header = AddLabel("Azimuth, Angle (\u00b0)", 10, 18, 74, 8);
    header->setObjectName("horizonHeader");
    m_horizonList = AddList(1011, 9, 27, 76, 72);
    // The boxes are narrower than the template's, for the unit beside each.
    AddLabel("Azimuth:", 91, 20, 33, 10);
    m_azimuthBox = AddEdit(1015, 130, 19, 34, 12);
    AddLabel("Angle:", 91, 36, 33, 10);
    m_angleBox = AddEdit(1016, 130, 35, 34, 12);
    QPushButton* add = AddButton(1012, "Add", 89, 51, 48, 14);
    QPushButton* edit = AddButton(1018, "Edit", 144, 51, 47, 14);
    QPushButton* insert = AddButton(1021, "Insert", 89, 69, 48, 14);
    QPushButton* sort = AddButton(1017, "Sort by AZ", 144, 69, 47, 14);
    QPushButton* remove = AddButton(1013, "Remove", 89, 85, 48, 14);
    QPushButton* removeAll = AddButton(1014, "Remove All", 144, 85, 47, 14);
    AddLabel("Dip:", 10, 103, 18, 10);
    AddEdit(1019, 32, 103, 34, 12);
    AddLabel("Strike:", 97, 103, 28, 10);
    AddEdit(1020, 130, 103, 34, 12);
    AddGroup("Results:", 7, 121, 186, 67);
    QListWidget* results = AddList(1022, 11, 131, 177, 52);
    QPushButton* calculate = AddButton(1025, "C&alculate", 18, 189, 38, 14);
    QPushButton* cleanUp = AddButton(1026, "Clean Up", 59, 189, 38, 14);
    QPushButton* save = AddButton(1027, "&Save", 104, 189, 38, 14);
    QPushButton* close = AddButton(1, "&Close", 147, 189, 38, 14);
    SetTabOrder({1011, 1012, 1013, 1014, 1015, 1016, 1017, 1018, 1019, 1020, 1021, 1022, 1025, 1, 1026, 1027});
    SetUpResults(results, calculate, cleanUp, save, close);

    connect(add, &QPushButton::clicked, this, &CShieldDLG::Add);
    connect(edit, &QPushButton::clicked, this, &CShieldDLG::Edit);
    connect(remove, &QPushButton::clicked, this, &CShieldDLG::Remove);
    connect(removeAll, &QPushButton::clicked, this, &CShieldDLG::RemoveAll);
    connect(sort, &QPushButton::clicked, this, &CShieldDLG::SortByAzimuth);
    connect(insert, &QPushButton::clicked, this, &CShieldDLG::Insert);
    connect(m_horizonList, &QListWidget::itemSelectionChanged, this, &CShieldDLG::OnSelectionChanged);

    BindInputs(m_dx, *this, m_inputs, ShieldingInputTable(), {1019, 1020});
    BindInputs(m_dx, *this, m_point, HorizonPointInputTable(), {1016, 1015});
    // A point must be one the calculation can take: the same checks, in the same order.
    BindInputs(m_pointCheck, *this, m_point, HorizonPointInputTable(), {1016, 1015});
    AddUnitLabels(*this, ShieldingInputTable(), {1019, 1020});
    AddUnitLabels(*this, HorizonPointInputTable(), {1015, 1016});
    ShowData();
    m_horizonList->setFocus();
}

CShieldDLG::~CShieldDLG() = default;

int CShieldDLG::SelectedPoint() const
{
    const QList<QListWidgetItem*> selected = m_horizonList->selectedItems();
    return selected.isEmpty() ? -1 : m_horizonList->row(selected.front());
}

void CShieldDLG::SelectPoint(int index)
{
    const QSignalBlocker quiet(m_horizonList);
    if (index >= 0 && index < m_horizonList->count()) {
        m_horizonList->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    } else {
        m_horizonList->clearSelection();
        m_horizonList->setCurrentRow(-1);
    }
}

void CShieldDLG::OnSelectionChanged()
{
    const int index = SelectedPoint();
    if (index < 0 || index >= m_nPointCount)
        return;
    m_azimuthBox->setText(m_arrAzimuthText.at(index));
    m_angleBox->setText(m_arrAngleText.at(index));
}

bool CShieldDLG::EditBoxesHoldAPoint()
{
    return m_pointCheck.FromControls();
}

QString CShieldDLG::PointLine(int index) const
{
    return m_arrAzimuthText.at(index) + ", " + m_arrAngleText.at(index);
}

void CShieldDLG::InsertPoint(int index)
{
    m_arrAzimuthText.insert(index, m_azimuthBox->text());
    m_arrAngleText.insert(index, m_angleBox->text());
    m_horizonList->insertItem(index, PointLine(index));
    ++m_nPointCount;
    SelectPoint(index);
}

void CShieldDLG::Add()
{
    if (!EditBoxesHoldAPoint())
        return;
    InsertPoint(m_nPointCount);
}

void CShieldDLG::Insert()
{
    if (!EditBoxesHoldAPoint())
        return;
    const int selected = SelectedPoint();
    InsertPoint(selected >= 0 ? selected : m_nPointCount);
}

void CShieldDLG::Edit()
{
    const int index = SelectedPoint();
    if (index < 0 || !EditBoxesHoldAPoint())
        return;
    m_arrAzimuthText[index] = m_azimuthBox->text();
    m_arrAngleText[index] = m_angleBox->text();
    m_horizonList->item(index)->setText(PointLine(index));
    SelectPoint(index);
}

void CShieldDLG::Remove()
{
    const int index = SelectedPoint();
    if (index < 0)
        return;
    m_arrAzimuthText.removeAt(index);
    m_arrAngleText.removeAt(index);
    {
        const QSignalBlocker quiet(m_horizonList);
        delete m_horizonList->takeItem(index);
    }
    --m_nPointCount;
    SelectPoint(index < m_nPointCount ? index : index - 1);
    OnSelectionChanged();
}

void CShieldDLG::RemoveAll()
{
    m_arrAzimuthText.clear();
    m_arrAngleText.clear();
    m_nPointCount = 0;
    const QSignalBlocker quiet(m_horizonList);
    m_horizonList->clear();
}

void CShieldDLG::SortByAzimuth()
{
    if (m_nPointCount < 2)
        return;
    // Exchange sort by the azimuths' numeric values; a text that is not a number counts as 0.
    auto value = [this](int i) { return TextToNumberOrZero(m_arrAzimuthText.at(i).toStdString()); };
    for (int i = 0; i < m_nPointCount - 1; ++i) {
        double key = value(i);
        for (int j = i + 1; j < m_nPointCount; ++j) {
            if (value(j) < key) {
                m_arrAzimuthText.swapItemsAt(i, j);
                m_arrAngleText.swapItemsAt(i, j);
                key = value(i);
            }
        }
    }
    {
        const QSignalBlocker quiet(m_horizonList);
        m_horizonList->clear();
        for (int i = 0; i < m_nPointCount; ++i)
            m_horizonList->addItem(PointLine(i));
    }
    SelectPoint(m_nPointCount);
}

void CShieldDLG::accept()
{
    SortByAzimuth();
    CResultDialog::accept();
}

void CShieldDLG::OnCalculate()
{
    if (!UpdateData())
        return;
    m_inputs.points.clear();
    for (int i = 0; i < m_nPointCount; ++i)
        m_inputs.points.push_back({TextToNumberOrZero(m_arrAzimuthText.at(i).toStdString()),
                                   TextToNumberOrZero(m_arrAngleText.at(i).toStdString())});
    AppendShieldingResult(m_inputs, Results());
}

} // namespace qex
