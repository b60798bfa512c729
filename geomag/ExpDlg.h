#pragma once
// "Surface Exposure Age Calculation" (template 141): a 10Be or 26Al exposure age from
// the site, the measured concentration and the production rate, optionally
// corrected for the past geomagnetic field with the records "pole02.dat" and
// "pmagstack1.dat" of the working folder (writing the scratch table "omr.txt").

#include "geomag/ExposureAgeResult.h"
#include "geomag/NuclideChoiceDlg.h"
#include "ui/ResultDialog.h"

class QCheckBox;
class QLabel;
class QListWidget;

namespace qex {

class CExpDlg : public CResultDialog {
    Q_OBJECT
public:
    // The controls added to the template: the nuclide, its concentration's
    // AMS standard and the uncertainties.
    enum : int {
        IDC_NUCLIDE = 1034,
        IDC_STANDARD = 1035,
        IDC_UNCERTAINTIES = 1036,
    };

    explicit CExpDlg(QWidget* parent = nullptr);

    ExposureInputs m_inputs; // the fields, from the input table's defaults
    double& m_dAltitude = m_inputs.altitude;          // metres
    double& m_dDelP = m_inputs.productionRateError;   // atoms/g/yr
    double& m_dDelN = m_inputs.concentrationError;    // atoms/g
    double& m_dDensity = m_inputs.density;            // g/cm3
    double& m_dErosion = m_inputs.erosion;            // cm/yr
    double& m_dFreePath = m_inputs.freePath;          // g/cm2
    double& m_dLatitude = m_inputs.latitude;          // degrees
    double& m_dLongitude = m_inputs.longitude;        // degrees
    double& m_dN = m_inputs.concentration;            // atoms/g
    double& m_dP = m_inputs.productionRate;           // atoms/g/yr at sea level, high latitude
    double& m_dShield = m_inputs.shield;              // topographic shielding factor
    double& m_dThickness = m_inputs.thickness;        // cm
    bool& m_bMagneticCorrection = m_inputs.magneticCorrection; // correct for the past geomagnetic field
    QListWidget* m_ctlResults = nullptr; // 1011
    QCheckBox* m_ctlUncertainties = nullptr;
    CNuclideChoice* m_nuclide = nullptr;

protected:
    void OnCalculate() override;

private:
    // The label beside the erosion box: "cm/yr = 10 m/Myr" for what is typed.
    void ShowErosionEquivalent();
    QLabel* m_erosionUnit = nullptr;
};

} // namespace qex
