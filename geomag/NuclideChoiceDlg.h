#pragma once
// The piece of the exposure age and erosion rate dialogs that picks what a
// sample is: its nuclide (10Be or 26Al) and the AMS standard its
// concentration was measured against (the nuclide's standards, "none" for no
// conversion). Choosing the other nuclide puts its production rate of the
// stored constant set in the production boxes. The dialogs start from the
// stored constant set and half-lives (Options > Constants...).

#include "core/ConstantSets.h"
#include "geomag/NuclideSample.h"
#include "ui/ConstantSettings.h"
#include "ui/HalfLifeSettings.h"

#include <QObject>

class QComboBox;
class QLineEdit;

namespace qex {

// The grid of the exposure age and erosion rate dialogs (dialog units): two
// label/box pairs a row; the template's labels name few units, so each box has
// its unit beside it, the boxes narrower than the template's 56 units and the
// right column and the dialog wider by the units' room.
namespace sample_grid {
inline constexpr int kLabelWidth = 36;
inline constexpr int kLabelHeight = 11;
inline constexpr int kEditHeight = 12;
inline constexpr int kEditWidth = 44;
inline constexpr int kUnitRoom = 38;
inline constexpr int kRightLabelX = 114 + 24;
inline constexpr int kRightEditX = 152 + 24;
inline constexpr int kStandardWidth = 72; // room for the longest standard's name
} // namespace sample_grid

class CNuclideChoice : public QObject {
    Q_OBJECT
public:
    // `production` and `productionError` are the boxes of the production rate.
    CNuclideChoice(NuclideSample& sample, QComboBox* nuclide, QComboBox* standard, QLineEdit* production,
                   QLineEdit* productionError);

    // Shows the sample's nuclide and standard; takes the chosen ones.
    void ToControls();
    void FromControls();

private:
    void NuclideChanged();
    NuclideKind Chosen() const;

    NuclideSample& m_sample;
    QComboBox* m_nuclide;
    QComboBox* m_standard;
    QLineEdit* m_production;
    QLineEdit* m_productionError;
};

// The inputs a dialog opens with, and calculates with: the stored constant
// set (its production rate, error and attenuation length for the boxes when
// `boxes` is true) and the stored half-lives.
template <class Inputs>
void TakeStoredConstants(const InputTable<Inputs>& table, Inputs& inputs, bool boxes)
{
    inputs.constants = StoredConstantSet();
    if (boxes)
        ApplyConstantSet(table, inputs, NoInputGiven);
    const HalfLives halfLives = StoredHalfLives();
    inputs.be10HalfLife = halfLives.be10;
    inputs.al26HalfLife = halfLives.al26;
}

} // namespace qex
