#pragma once
// "Nuclide Half-lives" (Options menu): the half-lives of 10Be and 26Al that
// the simulation, the exposure age and the two-nuclide diagram decay with,
// kept in the settings. Two buttons fill in today's values or the original
// ones; OK takes and keeps them, Cancel changes nothing.

#include "core/HalfLives.h"
#include "ui/DataExchange.h"
#include "ui/TemplateDialog.h"

namespace qex {

class CHalfLivesDlg : public CTemplateDialog {
    Q_OBJECT
public:
    enum : int {
        IDC_BE10 = 1000,
        IDC_AL26 = 1001,
        IDC_USE_CURRENT = 1002,
        IDC_USE_ORIGINAL = 1003,
    };

    // Opens with the stored half-lives.
    explicit CHalfLivesDlg(QWidget* parent = nullptr);

    // Fill the boxes with 1.387 / 0.705 Myr or with 1.5 / 0.71 Myr.
    void UseCurrent();
    void UseOriginal();

    // "OK": takes the values and stores them; a rejected field keeps the dialog open.
    void accept() override;

    HalfLives m_inputs; // the fields
    double& m_dBe10HalfLife = m_inputs.be10; // yr
    double& m_dAl26HalfLife = m_inputs.al26; // yr

private:
    void Show(double be10, double al26);

    CDataExchange m_dx;
};

} // namespace qex
