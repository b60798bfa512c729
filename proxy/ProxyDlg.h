#pragma once
// The climatic proxy curve simulation dialog (template 140): the sample's
// concentrations with their uncertainties, production rates, density, free
// path and erosion rates, the proxy curve and report files; "Calculation"
// runs the simulation with uncertainties, command 1025 the single calculation.

#include "proxy/PlotData.h"
#include "ui/ResultDialog.h"

#include <QPointer>
#include <string>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace qex {

class CPlotDlg;
struct SimulationDetail;
struct SimulationInputs;

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
    // The plot window opened last, while it is open.
    CPlotDlg* PlotWindow() const;

    QLineEdit* m_editOutput = nullptr;
    QListWidget* m_listResults = nullptr;
    QLineEdit* m_editProxy = nullptr;
    double m_dAlN;
    double m_dAlP;
    double m_dBeN;
    double m_dBeP;
    double m_dBeNErr;
    double m_dAlNErr;
    std::string m_strProxyFile;
    std::string m_strOutputFile;
    double m_dAerialE;
    double m_dFreePath;
    double m_dGlacialE;
    double m_dDensity;

protected:
    void OnCalculate() override;

private:
    SimulationInputs Inputs() const;
    void KeepPlots(const SimulationInputs& inputs, const SimulationDetail& detail);

    bool m_single = false; // the calculation under way is the single one
    QPushButton* m_plotButton = nullptr;
    PlotSet m_plots; // of the latest successful calculation
    QPointer<CPlotDlg> m_plotWindow;
};

} // namespace qex
