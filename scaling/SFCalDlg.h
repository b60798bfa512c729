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

    double m_dStartLat = WorldTableGrid{}.startLatitude;         // deg
    double m_dStartAlt = WorldTableGrid{}.startAltitude;         // m
    double m_dEndLat = WorldTableGrid{}.endLatitude;             // deg
    double m_dEndAlt = WorldTableGrid{}.endAltitude;             // m
    double m_dLatInterval = WorldTableGrid{}.latitudeInterval;   // deg
    double m_dAltInterval = WorldTableGrid{}.altitudeInterval;   // m
    std::string m_strOutputFile;
    double m_dMuon = WorldTableGrid{}.muonFraction;              // fraction

private:
    CDataExchange m_dx;
};

} // namespace qex
