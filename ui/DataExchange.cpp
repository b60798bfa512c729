#include "ui/DataExchange.h"

#include "core/Format.h"
#include "core/InputTable.h"
#include "core/Message.h"
#include "core/TextNumber.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <functional>

namespace qex {

void CDataExchange::Double(QLineEdit* edit, double& member)
{
    m_bindings.emplace_back(DoubleBinding{edit, &member, std::nullopt});
}

void CDataExchange::Double(QLineEdit* edit, double& member, double minimum, double maximum)
{
    m_bindings.emplace_back(DoubleBinding{edit, &member, std::make_pair(minimum, maximum)});
}

void CDataExchange::Text(QLineEdit* edit, std::string& member, int maxChars)
{
    m_bindings.emplace_back(TextBinding{edit, &member, maxChars});
}

void CDataExchange::Check(QCheckBox* box, int& member)
{
    m_bindings.emplace_back(CheckBinding{box, &member});
}

void CDataExchange::Check(QCheckBox* box, bool& member)
{
    m_bindings.emplace_back(CheckBinding{box, &member});
}

QString CDataExchange::NumberText(double value)
{
    return QString::fromStdString(InputNumberText(value));
}

std::string CDataExchange::RangeMessage(double minimum, double maximum)
{
    return Format("Enter a number between %.15g and %.15g.", minimum, maximum);
}

std::string CDataExchange::NotANumberMessage(const QString& field, const QString& text,
                                              const std::optional<std::pair<double, double>>& range)
{
    const std::string name = field.toStdString();
    const QString trimmed = text.trimmed();
    // "2,5" typed where a decimal point is read.
    double value = 0.0;
    if (trimmed.contains(',') && ParseNumber(QString(trimmed).replace(',', '.').toStdString(), value))
        return Format("%s: %s is not a number (use a decimal point)", name.c_str(), trimmed.toStdString().c_str());
    const std::string enter =
        range ? Format("enter a number between %.15g and %.15g", range->first, range->second) : "enter a number";
    if (trimmed.isEmpty())
        return Format("%s: the box is empty (%s)", name.c_str(), enter.c_str());
    return Format("%s: %s is not a number (%s)", name.c_str(), trimmed.toStdString().c_str(), enter.c_str());
}

QString CDataExchange::FieldName(const QWidget* control)
{
    // The label left of the box on its row, as the dialog shows it, without
    // its colon and unit: "10Be N(atoms/g):" names "10Be N".
    const QWidget* parent = control->parentWidget();
    const QLabel* best = nullptr;
    if (parent != nullptr) {
        const QRect box = control->geometry();
        for (const QLabel* label : parent->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
            const QRect r = label->geometry();
            if (label->objectName().startsWith("unit") || label->text().isEmpty() || r.right() > box.left() + 2 ||
                r.center().y() < box.top() - 2 || r.center().y() > box.bottom() + 2)
                continue;
            if (best == nullptr || r.right() > best->geometry().right())
                best = label;
        }
    }
    QString name = best != nullptr ? best->text() : control->toolTip().section('\n', 0, 0);
    name.remove('&');
    name = name.trimmed();
    if (name.endsWith(':'))
        name.chop(1);
    if (name.endsWith(')') && name.lastIndexOf('(') > 0)
        name.truncate(name.lastIndexOf('('));
    name = name.trimmed();
    return name.isEmpty() ? control->objectName() : name;
}

std::string CDataExchange::LengthMessage(int maxChars)
{
    return Format("Enter no more than %d characters.", maxChars);
}

void CDataExchange::ToControls() const
{
    for (const auto& binding : m_bindings) {
        if (const auto* d = std::get_if<DoubleBinding>(&binding))
            d->edit->setText(NumberText(*d->member));
        else if (const auto* t = std::get_if<TextBinding>(&binding))
            t->edit->setText(QString::fromStdString(*t->member));
        else if (const auto* c = std::get_if<CheckBinding>(&binding))
            c->box->setChecked(std::visit([](auto* member) { return *member != 0; }, c->member));
    }
}

bool CDataExchange::FromControls() const
{
    // Every value is taken into a staging list first, so a rejection leaves
    // every member as it was.
    std::vector<std::function<void()>> commits;
    for (const auto& binding : m_bindings) {
        QWidget* control = nullptr;
        std::string message;
        if (const auto* d = std::get_if<DoubleBinding>(&binding)) {
            // A box the dialog has disabled is not in use: its member keeps its value.
            if (!d->edit->isEnabledTo(d->edit->window()))
                continue;
            double value = 0.0;
            const bool number = ParseNumber(d->edit->text().toStdString(), value);
            if (!number) {
                control = d->edit;
                message = NotANumberMessage(FieldName(d->edit), d->edit->text(), d->range);
            } else if (d->range && (value < d->range->first || value > d->range->second)) {
                control = d->edit;
                message = RangeMessage(d->range->first, d->range->second);
            } else {
                commits.emplace_back([member = d->member, value] { *member = value; });
            }
        } else if (const auto* t = std::get_if<TextBinding>(&binding)) {
            const QString text = t->edit->text();
            if (t->maxChars >= 0 && text.size() > t->maxChars) {
                control = t->edit;
                message = LengthMessage(t->maxChars);
            } else {
                commits.emplace_back([member = t->member, value = text.toStdString()] { *member = value; });
            }
        } else if (const auto* c = std::get_if<CheckBinding>(&binding)) {
            const bool checked = c->box->isChecked();
            commits.emplace_back([member = c->member, checked] {
                std::visit([checked](auto* m) { *m = checked; }, member);
            });
        }
        if (control != nullptr) {
            ShowMessage(message);
            control->setFocus(Qt::OtherFocusReason);
            if (auto* edit = qobject_cast<QLineEdit*>(control))
                edit->selectAll();
            return false;
        }
    }
    for (const auto& commit : commits)
        commit();
    return true;
}

} // namespace qex
