#pragma once
// The scaling factor dialog: the four scaling factors of one site (latitude,
// altitude, muon contribution) appended side by side to its results list.

#include "scaling/ScalingFactorBlock.h"
#include "ui/ResultDialog.h"

namespace qex {

class CScalingFactorDLG : public CResultDialog {
    Q_OBJECT
public:
    explicit CScalingFactorDLG(QWidget* parent = nullptr);
    ~CScalingFactorDLG() override;

    ScalingSite m_inputs; // the fields, from the input table's defaults
    double& m_dLatitude = m_inputs.latitude;   // deg
    double& m_dAltitude = m_inputs.altitude;   // m
    double& m_dMuon = m_inputs.muonFraction;   // fraction of sea-level production due to muons

protected:
    void OnCalculate() override;
};

} // namespace qex
