#include "scaling/ScalingFactorDLG.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace qex {

CScalingFactorDLG::CScalingFactorDLG(QWidget* parent) : CResultDialog(133, "Scaling Factor Dialog", 197, 167, 9, parent)
{
    AddLabel("Latitude:", 10, 10, 50, 8);
    QLineEdit* latitude = AddEdit(1000, 62, 8, 70, 12);
    AddLabel("Altitude(m):", 10, 26, 50, 8);
    QLineEdit* altitude = AddEdit(1001, 62, 24, 70, 12);
    AddLabel("Muon:", 10, 42, 50, 8);
    QLineEdit* muon = AddEdit(1002, 62, 40, 70, 12);

    AddGroup("Results:", 7, 58, 183, 83);
    QListWidget* list = AddList(1011, 13, 70, 171, 66);

    QPushButton* calculate = AddButton(1025, "C&alculate", 7, 147, 43, 14, true);
    QPushButton* cleanUp = AddButton(1026, "Clean Up", 54, 147, 43, 14);
    QPushButton* save = AddButton(1027, "&Save", 101, 147, 43, 14);
    QPushButton* close = AddButton(1, "&Close", 148, 147, 42, 14);
    SetTabOrderFromTemplate();

    SetUpResults(list, calculate, cleanUp, save, close);
    m_dx.Double(latitude, m_dLatitude, kSiteLatitudeRangeDeg.minimum, kSiteLatitudeRangeDeg.maximum);
    m_dx.Double(altitude, m_dAltitude, kSiteAltitudeRangeM.minimum, kSiteAltitudeRangeM.maximum);
    m_dx.Double(muon, m_dMuon, kSiteMuonFractionRange.minimum, kSiteMuonFractionRange.maximum);
    ShowData();
}

CScalingFactorDLG::~CScalingFactorDLG() = default;

void CScalingFactorDLG::OnCalculate()
{
    if (!UpdateData())
        return;
    AppendScalingFactorResults({m_dLatitude, m_dAltitude, m_dMuon}, Results());
}

} // namespace qex
