#include "scaling/ScalingFactorDLG.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace qex {

CScalingFactorDLG::CScalingFactorDLG(QWidget* parent) : CResultDialog(133, "Scaling Factor Dialog", 197, 167, 9, parent)
{
    const auto edits = AddEditColumn({{1000, "Latitude:"}, {1001, "Altitude(m):"}, {1002, "Muon:"}},
                                     {10, 50, 62, 70, 8, 16});
    QLineEdit* latitude = edits[0];
    QLineEdit* altitude = edits[1];
    QLineEdit* muon = edits[2];
    AddStandardResults(58, true);
    SetTabOrderFromTemplate();
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
