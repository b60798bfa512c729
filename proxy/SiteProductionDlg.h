#pragma once
// "Production Rates from the Site" (the simulation dialog's "From site..."):
// the site's latitude, altitude, sample thickness and shielding, from which
// OK computes both production rates with Stone (2000) scaling, the stored
// constant set's rates and the thickness factor (proxy/SimulationSite.h).

#include "proxy/SimulationCalculation.h"
#include "ui/DataExchange.h"
#include "ui/TemplateDialog.h"

namespace qex {

class CSiteProductionDlg : public CTemplateDialog {
    Q_OBJECT
public:
    // Latitude, altitude, thickness and shielding, in that order.
    enum : int { IDC_LATITUDE = 1000 };

    // `inputs` are the simulation's (its density and constant set); OK leaves
    // the computed rates in be10Production and al26Production.
    explicit CSiteProductionDlg(const SimulationInputs& inputs, QWidget* parent = nullptr);

    void accept() override;

    SimulationInputs m_inputs;

private:
    CDataExchange m_dx;
};

} // namespace qex
