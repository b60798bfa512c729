#pragma once
// The climatic proxy curve simulation dialog (template 140): the sample's
// concentrations with their uncertainties, production rates, density, free
// path and erosion rates, the proxy curve and report files; "Calculation"
// runs the simulation with uncertainties, command 1025 the single calculation.

#include "proxy/PlotData.h"
#include "proxy/SimulationCalculation.h"
#include "ui/ChoiceBinding.h"
#include "ui/ResultDialog.h"

#include <QPointer>
#include <string>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace qex {

class CPlotDlg;

// The Monte Carlo's production-rate uncertainties: each rate's own
// (atoms/g/yr) and the scaling error they share (percent).
struct ProductionErrors {
    double be10 = 0.0, al26 = 0.0, scaling = 0.0;
};

class CProxyDlg : public CResultDialog {
    Q_OBJECT
public:
    // Command ids of the template (1025 has no control).
    enum : int {
        IDC_CALCULATION = 1004,
        IDC_RESULTS = 1011,
        IDC_PROXY_BROWSE = 1024,
        IDC_SINGLE = 1025,
        IDC_CLEAR = 1026,
        IDC_OUTPUT_BROWSE = 1028,
        IDC_SAVE = 1029,
        IDC_PLOT = 1040, // below the template's controls
        IDC_EXPOSURE_ABOVE_CUT = 1041, // beside it
        IDC_MONTE_CARLO = 1042, // below Plot
        IDC_FROM_SITE = 1043,   // beside it
        IDC_BE10_STANDARD = 1044, // below them
        IDC_AL26_STANDARD = 1045,
    };

    explicit CProxyDlg(QWidget* parent = nullptr);

    // Handles a command the way the dialog's buttons send them; false for an
    // id it does not handle. 1025 reaches the single calculation.
    bool OnCommand(int id);

    // The single calculation: one run with the measured values.
    void SingleCalculation();
    void BrowseProxyFile();
    void BrowseOutputFile();
    // "&Plot...": the latest successful calculation's central run.
    void OnPlot();
    // "Monte Carlo...": asks the draws and the seed, then runs them.
    void OnMonteCarlo();
    // "From site...": both production rates computed from the site.
    void OnFromSite();
    // The Monte Carlo of the latest calculation's sample: appends its block
    // and adds its charts to the plot; false when stopped or after a message.
    // "Monte Carlo..." first calculates the sample the boxes show when it is
    // not the latest calculation's.
    bool RunMonteCarloDraws(double draws, double seed);
    // The plot window opened last, while it is open.
    CPlotDlg* PlotWindow() const;

    QLineEdit* m_editOutput = nullptr;
    QListWidget* m_listResults = nullptr;
    QLineEdit* m_editProxy = nullptr;
    SimulationInputs m_inputs; // the fields, from the input table's defaults
    double& m_dAlN = m_inputs.al26;
    double& m_dAlP = m_inputs.al26Production;
    double& m_dBeN = m_inputs.be10;
    double& m_dBeP = m_inputs.be10Production;
    double& m_dBeNErr = m_inputs.be10Error;
    double& m_dAlNErr = m_inputs.al26Error;
    std::string& m_strProxyFile = m_inputs.proxyFile;
    std::string& m_strOutputFile = m_inputs.outputFile;
    double& m_dAerialE = m_inputs.aerialErosion;
    double& m_dFreePath = m_inputs.freePath;
    double& m_dGlacialE = m_inputs.glacialErosion;
    double& m_dDensity = m_inputs.density;
    bool& m_bExposureAboveCut = m_inputs.exposureAboveCut;

protected:
    void OnCalculate() override;
    void OnCleanedUp() override;

private:
    // The fields and the science settings into m_inputs; false after a message.
    bool TakeInputs();
    // False when the report would replace a file the user does not want replaced.
    bool MayWriteReport();
    void KeepPlots(const SimulationDetail& detail);

    // The reports' writer, as FileReplacement knows it.
    static constexpr const char* kReportWriter = "simulation report";

    QPushButton* m_plotButton = nullptr;
    QPushButton* m_monteCarloButton = nullptr;
    double m_monteCarloDraws = 1000.0; // asked last; 1000 and 1 at first
    double m_monteCarloSeed = 1.0;
    ProductionErrors m_productionErrors; // asked last
    PlotSet m_plots; // of the latest successful calculation
    SimulationInputs m_lastCalculated; // its inputs
    bool m_calculated = false;         // whether the latest Calculate listed a result
    QPointer<CPlotDlg> m_plotWindow;
    CChoiceBindings m_choices; // the AMS standards
};

} // namespace qex
