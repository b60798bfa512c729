#pragma once
// The shielding dialog: the skyline as an editable list of horizon points
// (azimuth, elevation angle), the dip and strike of the sampled surface, and
// the topographic shielding factor.

#include "corrections/ShieldingResult.h"
#include "ui/ResultDialog.h"

#include <QStringList>

class QLineEdit;
class QListWidget;

namespace qex {

class CShieldDLG : public CResultDialog {
    Q_OBJECT
public:
    explicit CShieldDLG(QWidget* parent = nullptr);
    ~CShieldDLG() override;

    ShieldingInputs m_inputs; // dip and strike, from the input table's defaults
    HorizonPoint m_point;     // what the azimuth and angle boxes hold
    double& m_dDip = m_inputs.dip;         // degrees
    double& m_dStrike = m_inputs.strike;   // degrees
    double& m_dAngle = m_point.angle;      // degrees; only checks the angle box
    double& m_dAzimuth = m_point.azimuth;  // degrees; only checks the azimuth box
    int m_nPointCount = 0;    // lines of the horizon list
    // The points as typed; index i is line i of the horizon list.
    QStringList m_arrAzimuthText;
    QStringList m_arrAngleText;

    // The buttons' actions, callable directly.
    void Add();
    void Edit();
    void Insert();
    void Remove();
    void RemoveAll();
    void SortByAzimuth();

    // "&Close": sorts the points, then takes the values and closes.
    void accept() override;

protected:
    void OnCalculate() override;

private:
    // The selected line of the horizon list, or -1.
    int SelectedPoint() const;
    // Selects a line without the selection-change action (-1 or past the end: none).
    void SelectPoint(int index);
    // Shows the selected point in the edit boxes.
    void OnSelectionChanged();
    // False, after the range message, when the edit boxes do not hold a point.
    bool EditBoxesHoldAPoint();
    QString PointLine(int index) const;
    void InsertPoint(int index);

    QListWidget* m_horizonList;
    QLineEdit* m_azimuthBox;
    QLineEdit* m_angleBox;
    CDataExchange m_pointCheck;
};

} // namespace qex
