#include "geomag/ExpDlg.h"

#include "geomag/ExposureAgeResult.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace qex {

namespace {
constexpr int kTemplateId = 141;
constexpr int kLabelWidth = 36;
constexpr int kLabelHeight = 11;
constexpr int kEditWidth = 56;
constexpr int kEditHeight = 12;
} // namespace

CExpDlg::CExpDlg(QWidget* parent) : CResultDialog(kTemplateId, "Surface Exposure Age Calculation", 223, 197, 9, parent)
{
    AddGroup("Sample site", 7, 7, 209, 77);
    // Two label/edit pairs a row: labels at 13 and 114, edits at 50 and 152.
    auto row = [this](const char* left, int leftId, const char* right, int rightId, int labelTop, int editTop) {
        AddLabel(left, 13, labelTop, kLabelWidth, kLabelHeight);
        QLineEdit* a = AddEdit(leftId, 50, editTop, kEditWidth, kEditHeight);
        AddLabel(right, 114, labelTop, kLabelWidth, kLabelHeight);
        QLineEdit* b = AddEdit(rightId, 152, editTop, kEditWidth, kEditHeight);
        return std::make_pair(a, b);
    };
    auto [latitude, longitude] = row("Latitude:", 1021, "Longitude:", 1022, 18, 18);
    auto [altitude, thickness] = row("Altitude(m):", 1023, "Thick(cm):", 1024, 36, 36);
    auto [density, freePath] = row("Density:", 1025, "FreePath:", 1026, 54, 52);
    auto [shield, erosion] = row("Shield:", 1027, "Erosion:", 1028, 69, 67);
    auto [n, delN] = row("N:", 1016, "Del_N:", 1017, 88, 88);
    auto [p, delP] = row("P:", 1019, "Del_P:", 1020, 103, 103);
    QCheckBox* magnetic = AddCheck(1018, "Earth's magnetic change correction", 7, 114, 128, 14);
    AddGroup("Results:", 7, 127, 209, 49);
    m_ctlResults = AddList(1011, 11, 136, 198, 35);
    QPushButton* calculate = AddButton(1030, "C&alculate", 23, 178, 38, 14);
    QPushButton* cleanUp = AddButton(1031, "Clean Up", 64, 178, 38, 14);
    QPushButton* save = AddButton(1032, "&Save", 109, 178, 38, 14);
    QPushButton* close = AddButton(1, "&Close", 152, 178, 38, 14, true);
    SetTabOrder({1021, 1022, 1023, 1024, 1025, 1026, 1027, 1028, 1016, 1017, 1019, 1020, 1018, 1011, 1030, 1, 1031, 1032});
    SetUpResults(m_ctlResults, calculate, cleanUp, save, close);

    m_dx.Double(altitude, m_dAltitude, kExposureAltitudeRange.minimum, kExposureAltitudeRange.maximum);
    m_dx.Double(delP, m_dDelP, kExposureProductionErrorRange.minimum, kExposureProductionErrorRange.maximum);
    m_dx.Double(delN, m_dDelN, kExposureConcentrationErrorRange.minimum, kExposureConcentrationErrorRange.maximum);
    m_dx.Double(density, m_dDensity, kExposureDensityRange.minimum, kExposureDensityRange.maximum);
    m_dx.Double(erosion, m_dErosion, kExposureErosionRange.minimum, kExposureErosionRange.maximum);
    m_dx.Double(freePath, m_dFreePath, kExposureFreePathRange.minimum, kExposureFreePathRange.maximum);
    m_dx.Double(latitude, m_dLatitude, kExposureLatitudeRange.minimum, kExposureLatitudeRange.maximum);
    m_dx.Double(longitude, m_dLongitude, kExposureLongitudeRange.minimum, kExposureLongitudeRange.maximum);
    m_dx.Double(n, m_dN, kExposureConcentrationRange.minimum, kExposureConcentrationRange.maximum);
    m_dx.Double(p, m_dP, kExposureProductionRange.minimum, kExposureProductionRange.maximum);
    m_dx.Double(shield, m_dShield, kExposureShieldRange.minimum, kExposureShieldRange.maximum);
    m_dx.Double(thickness, m_dThickness, kExposureThicknessRange.minimum, kExposureThicknessRange.maximum);
    m_dx.Check(magnetic, m_bMagneticCorrection);
    ShowData();
    latitude->setFocus();
}

void CExpDlg::OnCalculate()
{
    if (!UpdateData())
        return;
    ExposureInputs inputs;
    inputs.latitude = m_dLatitude;
    inputs.longitude = m_dLongitude;
    inputs.altitude = m_dAltitude;
    inputs.thickness = m_dThickness;
    inputs.density = m_dDensity;
    inputs.freePath = m_dFreePath;
    inputs.shield = m_dShield;
    inputs.erosion = m_dErosion;
    inputs.concentration = m_dN;
    inputs.concentrationError = m_dDelN;
    inputs.productionRate = m_dP;
    inputs.productionRateError = m_dDelP;
    inputs.magneticCorrection = m_bMagneticCorrection != 0;
    AppendExposureAge(inputs, Results());
}

} // namespace qex
