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

    double m_dLatitude = ScalingSite{}.latitude;    // deg
    double m_dAltitude = ScalingSite{}.altitude;    // m
    double m_dMuon = ScalingSite{}.muonFraction;    // fraction of sea-level production due to muons

protected:
    void OnCalculate() override;
};

} // namespace qex
