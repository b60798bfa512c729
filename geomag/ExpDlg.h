#pragma once
// "Surface Exposure Age Calculation" (template 141): a 10Be exposure age from
// the site, the measured concentration and the production rate, optionally
// corrected for the past geomagnetic field with the records "pole02.dat" and
// "pmagstack1.dat" of the working folder (writing the scratch table "omr.txt").

#include "ui/ResultDialog.h"

class QListWidget;

namespace qex {

class CExpDlg : public CResultDialog {
    Q_OBJECT
public:
    explicit CExpDlg(QWidget* parent = nullptr);

    double m_dAltitude = 0.0;        // metres
    double m_dDelP = 0.3;            // atoms/g/yr
    double m_dDelN = 6000.0;         // atoms/g
    double m_dDensity = 2.75;        // g/cm3
    double m_dErosion = 0.0;         // cm/yr
    double m_dFreePath = 150.0;      // g/cm2
    double m_dLatitude = 34.33375;   // degrees
    double m_dLongitude = 77.35;     // degrees
    double m_dN = 2139000.0;         // atoms/g
    double m_dP = 5.1;               // atoms/g/yr at sea level, high latitude
    double m_dShield = 1.0;          // topographic shielding factor
    double m_dThickness = 0.0;       // cm
    int m_bMagneticCorrection = 0;   // correct for the past geomagnetic field
    QListWidget* m_ctlResults = nullptr; // 1011

protected:
    void OnCalculate() override;
};

} // namespace qex
