#pragma once
// The world table's grid dialog: latitude and altitude ranges with their
// steps, the muon contribution and the output file. It computes nothing; the
// command that runs it writes the table.

#include "scaling/WorldTable.h"
#include "ui/DataExchange.h"
#include "ui/TemplateDialog.h"

#include <string>

namespace qex {

class CSFCalDlg : public CTemplateDialog {
    Q_OBJECT
public:
    explicit CSFCalDlg(QWidget* parent = nullptr);
    ~CSFCalDlg() override;

    // The grid as last taken from the controls.
    WorldTableGrid Grid() const;

    // "Browse...": a save-type chooser fills the output-file box.
    void OnBrowse();

    // "OK": takes the values; a rejected field keeps the dialog open.
    void accept() override;

    WorldTableInputs m_inputs; // the fields, from the input table's defaults
    double& m_dStartLat = m_inputs.startLatitude;       // deg
    double& m_dStartAlt = m_inputs.startAltitude;       // m
    double& m_dEndLat = m_inputs.endLatitude;           // deg
    double& m_dEndAlt = m_inputs.endAltitude;           // m
    double& m_dLatInterval = m_inputs.latitudeInterval; // deg
    double& m_dAltInterval = m_inputs.altitudeInterval; // m
    std::string& m_strOutputFile = m_inputs.outputFile;
    double& m_dMuon = m_inputs.muonFraction;            // fraction

private:
    CDataExchange m_dx;
};

} // namespace qex
