#pragma once
// "Calculate Cut results" (template 131): a proxy curve file, an exposure age
// and a cut (a proxy value or the year whose value is used); lists the
// exposure, burial and total ages and the years where the curve crosses the cut.

#include "proxy/CutResults.h"
#include "proxy/PlotData.h"
#include "ui/ResultDialog.h"

#include <QPointer>
#include <string>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace qex {

class CPlotDlg;

class CCutResDlg : public CResultDialog {
    Q_OBJECT
public:
    // "&Plot..." sits below the template's controls.
    enum : int { IDC_PLOT = 1040, IDC_EXPOSURE_ABOVE_CUT = 1041 };

    explicit CCutResDlg(QWidget* parent = nullptr);

    // "Browse...": picks the proxy curve file into the path box.
    void OnBrowse();
    // "&Plot...": the curve, cut and history of the latest successful calculation.
    void OnPlot();
    // The plot window opened last, while it is open.
    CPlotDlg* PlotWindow() const;
    // Enables the cut box of the chosen mode ("Cut By Age": the cut age) and disables the other.
    void ShowCutMode();

    QListWidget* m_ctlResults = nullptr;  // 1011
    QLineEdit* m_ctlProxyFile = nullptr;  // 1023
    CutInputs m_inputs; // the fields, from the input table's defaults
    std::string& m_strProxyFile = m_inputs.path;     // proxy curve file
    double& m_dCutAge = m_inputs.cutAge;             // years before present
    double& m_dCutValue = m_inputs.cutValue;         // proxy units
    bool& m_bCutByAge = m_inputs.cutByAge;           // cut at the value the curve has at the cut age
    double& m_dExposureAge = m_inputs.exposureAge;   // years
    bool& m_bExposureAboveCut = m_inputs.exposureAboveCut; // the curve's high values count as exposure

protected:
    void OnCalculate() override;
    void OnCleanedUp() override;

private:
    QPushButton* m_plotButton = nullptr;
    PlotSet m_plots; // of the latest successful calculation
    QPointer<CPlotDlg> m_plotWindow;
};

} // namespace qex
