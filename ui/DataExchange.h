#pragma once
// Data exchange between a dialog's controls and its members: an ordered list
// of bindings, each with its optional inclusive range. Taking values from the
// controls stops at the first rejected field, shows a range message, puts the
// focus there and changes no member at all. A number box the dialog has
// disabled is not taken (its member keeps its value).

#include <QString>
#include <optional>
#include <string>
#include <variant>
#include <vector>

class QCheckBox;
class QLineEdit;
class QWidget;

namespace qex {

class CDataExchange {
public:
    // A number, with an inclusive range when both bounds are given.
    void Double(QLineEdit* edit, double& member);
    void Double(QLineEdit* edit, double& member, double minimum, double maximum);
    // A text of at most maxChars characters (no limit when negative).
    void Text(QLineEdit* edit, std::string& member, int maxChars = -1);
    // A check box state, 0 or 1.
    void Check(QCheckBox* box, int& member);
    void Check(QCheckBox* box, bool& member);

    // Members to controls (numbers shown with up to 15 significant digits).
    void ToControls() const;
    // Controls to members. False (and no member changed) when a field is rejected.
    bool FromControls() const;

    // The texts shown for a rejected field: a number outside its range, and
    // a text that is not a number, naming the field and what is wrong ("10Be
    // N: 2,5 is not a number (use a decimal point)", "... the box is empty").
    static std::string RangeMessage(double minimum, double maximum);
    static std::string NotANumberMessage(const QString& field, const QString& text,
                                         const std::optional<std::pair<double, double>>& range);
    static std::string LengthMessage(int maxChars);
    // How a member's number is shown in its edit box.
    static QString NumberText(double value);
    // The name of a box as its dialog shows it: the label left of it on its
    // row, without colon and unit ("10Be N"); its tooltip's first line when it has none.
    static QString FieldName(const QWidget* control);

private:
    struct DoubleBinding {
        QLineEdit* edit;
        double* member;
        std::optional<std::pair<double, double>> range;
    };
    struct TextBinding {
        QLineEdit* edit;
        std::string* member;
        int maxChars;
    };
    struct CheckBinding {
        QCheckBox* box;
        std::variant<int*, bool*> member;
    };
    std::vector<std::variant<DoubleBinding, TextBinding, CheckBinding>> m_bindings;
};

} // namespace qex
