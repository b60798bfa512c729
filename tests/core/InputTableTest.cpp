// The input tables every face reads: each row well formed, and text read as
// qexcli reads its options, with its messages.

#include "tests/support/InputTables.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <set>

namespace qex {
namespace {

template <class Inputs>
void ExpectWellFormed(const std::string& command, const InputTable<Inputs>& table)
{
    std::set<std::string_view> names;
    std::set<int> controls;
    const Inputs defaults{};
    for (const InputRow<Inputs>& row : table.Rows()) {
        SCOPED_TRACE(command + " " + std::string(row.name));
        EXPECT_FALSE(row.name.empty() || row.label.empty());
        EXPECT_TRUE(names.insert(row.name).second) << "two rows of one name";
        EXPECT_TRUE(row.option || row.controlId != 0) << "no face takes it";
        if (row.controlId != 0) {
            EXPECT_TRUE(controls.insert(row.controlId).second) << "two rows of one control";
            EXPECT_EQ(row.member.substr(0, 2), "m_");
        }
        // The field's type follows the kind, and a number's default lies in its range.
        switch (row.kind) {
        case InputKind::Number: {
            const auto* field = std::get_if<double Inputs::*>(&row.field);
            ASSERT_TRUE(field != nullptr && *field != nullptr);
            // NaN: a value not given by default.
            if (row.range && !std::isnan(defaults.**field)) {
                EXPECT_LE(row.range->minimum, defaults.**field);
                EXPECT_LE(defaults.**field, row.range->maximum);
            }
            break;
        }
        case InputKind::FileToRead:
        case InputKind::FileToWrite:
            EXPECT_TRUE(std::holds_alternative<std::string Inputs::*>(row.field));
            break;
        case InputKind::Flag:
            EXPECT_TRUE(std::holds_alternative<bool Inputs::*>(row.field));
            break;
        case InputKind::Choice: {
            const auto* field = std::get_if<std::string Inputs::*>(&row.field);
            ASSERT_TRUE(field != nullptr);
            EXPECT_NE(std::find(row.choices.begin(), row.choices.end(), defaults.**field), row.choices.end());
            break;
        }
        }
        EXPECT_TRUE(!row.required || row.kind == InputKind::FileToRead || row.kind == InputKind::FileToWrite);
    }
}

TEST(InputTables, EveryRowIsWellFormed)
{
    test::ForEveryInputTable([](const std::string& command, const auto& table) { ExpectWellFormed(command, table); });
}

TEST(InputTables, TextIsReadAsQexcliReadsItsOptions)
{
    // The scaling dialog's muon contribution: 0.026, from 0 to 0.3.
    ScalingSite site;
    const InputRow<ScalingSite>& muon = *ScalingInputTable().Find("muon");
    EXPECT_EQ(SetInputFromText(muon, site, "abc"), "'abc' is not a number");
    EXPECT_EQ(SetInputFromText(muon, site, "0.31"), "0.31 is outside the range 0 to 0.3");
    EXPECT_EQ(site.muonFraction, 0.026);
    EXPECT_EQ(SetInputFromText(muon, site, "0.3"), "");
    EXPECT_EQ(site.muonFraction, 0.3);
    EXPECT_EQ(ScalingInputTable().FindControl(1002), &muon);

    // A curve's path is held to the dialog's 1000 characters; flags read on and off.
    CutInputs cut;
    EXPECT_EQ(SetInputFromText(*CutInputTable().Find("proxy"), cut, std::string(1001, 'x')),
              "the path is longer than 1000 characters");
    ExposureInputs exposure;
    const InputRow<ExposureInputs>& geomagnetic = *ExposureInputTable().Find("geomagnetic");
    EXPECT_EQ(SetInputFromText(geomagnetic, exposure, "Yes"), "");
    EXPECT_TRUE(exposure.magneticCorrection);
    EXPECT_EQ(SetInputFromText(geomagnetic, exposure, "maybe"), "'maybe' is not on or off");
    EXPECT_TRUE(exposure.magneticCorrection);
    // A word of a list is read in any case and kept as the list writes it.
    EXPECT_EQ(SetInputFromText(*ExposureInputTable().Find("be10-standard"), exposure, "nist_30000"), "");
    EXPECT_EQ(exposure.be10Standard, "NIST_30000");
    EXPECT_EQ(SetInputFromText(*ExposureInputTable().Find("nuclide"), exposure, "cl36"),
              "'cl36' is not one of: be10, al26");
    EXPECT_EQ(exposure.nuclide, "be10");

    // The help line and the tooltip: label, unit, help, default and range.
    EXPECT_EQ(InputHelpLine(DescribeInput(*CutInputTable().Find("cut-age"))),
              "Cut age (years): cut at the proxy value the curve has at this age (the default cut); default 9700; "
              "range 0 to 100000000");
    EXPECT_EQ(InputToolTip(DescribeInput(muon)),
              "Muon contribution (fraction)\nshare of sea-level production due to muons\nDefault 0.026; range 0 to 0.3.");
}

} // namespace
} // namespace qex
