#pragma once
// "Constants" (Options menu, grown out of the half-lives dialog): the
// constant set the calculations start from (core/ConstantSets.h), its
// values shown with their sources, and the half-lives of 10Be and 26Al that
// the simulation, the exposure age, the erosion rate and the two-nuclide
// diagram decay with, still editable. Choosing a set fills the half-lives
// with its own; two buttons fill in today's half-lives or the original ones.
// OK takes and keeps them, Cancel changes nothing.

#include "core/HalfLives.h"
#include "ui/DataExchange.h"
#include "ui/TemplateDialog.h"

#include <string>

class QComboBox;
class QLabel;

namespace qex {

class CHalfLivesDlg : public CTemplateDialog {
    Q_OBJECT
public:
    enum : int {
        IDC_BE10 = 1000,
        IDC_AL26 = 1001,
        IDC_USE_CURRENT = 1002,
        IDC_USE_ORIGINAL = 1003,
        IDC_SET = 1004,
    };

    // Opens with the stored set and half-lives.
    explicit CHalfLivesDlg(QWidget* parent = nullptr);

    // Fill the boxes with 1.387 / 0.705 Myr or with 1.5 / 0.71 Myr.
    void UseCurrent();
    void UseOriginal();

    // "OK": takes the values and stores them; a rejected field keeps the dialog open.
    void accept() override;

    HalfLives m_inputs; // the fields
    double& m_dBe10HalfLife = m_inputs.be10; // yr
    double& m_dAl26HalfLife = m_inputs.al26; // yr
    std::string m_strConstantSet;            // the set's name

private:
    void Show(double be10, double al26);
    // The chosen set's values and sources in the label; its half-lives in the boxes when `fill`.
    void ShowSet(bool fill);

    CDataExchange m_dx;
    QComboBox* m_set = nullptr;
    QLabel* m_values = nullptr;
};

} // namespace qex
