#include "ui/TemplateDialog.h"

#include "ui/DialogMemory.h"
#include "ui/ListBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QResizeEvent>
#include <algorithm>
#include <cmath>

namespace qex {

CTemplateDialog::CTemplateDialog(int templateId, const QString& title, int widthDlu, int heightDlu, int pointSize,
                                 QWidget* parent)
    : QDialog(parent), m_templateId(templateId), m_widthDlu(widthDlu), m_heightDlu(heightDlu)
{
    setObjectName(QString("IDD_%1").arg(templateId));
    setWindowTitle(title);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setModal(true);
    QFont dialogFont = font();
    dialogFont.setPointSize(pointSize);
    setFont(dialogFont);
    const QFontMetrics metrics(dialogFont);
    // The average width of the 52 letters, as dialog base units are defined.
    // The templates were drawn for a narrow sans-serif face; the wider faces of
    // a Linux desktop need an eighth more width for the same texts to fit.
    const QString letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    constexpr double kWideFaceAllowance = 1.125;
    m_baseX = std::max(1.0, metrics.horizontalAdvance(letters) / 52.0 * kWideFaceAllowance);
    m_baseY = std::max(1.0, double(metrics.height()));
    m_templateSize = ToPixels(0, 0, widthDlu, heightDlu).size();
    setFixedSize(m_templateSize);
}

void CTemplateDialog::AllowEnlarging()
{
    setMinimumSize(m_templateSize);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

QRect CTemplateDialog::ToPixels(int x, int y, int w, int h) const
{
    auto px = [this](int v) { return int(std::lround(v * m_baseX / 4.0)); };
    auto py = [this](int v) { return int(std::lround(v * m_baseY / 8.0)); };
    return QRect(px(x), py(y), px(w), py(h));
}

void CTemplateDialog::Place(QWidget* widget, int x, int y, int w, int h)
{
    widget->setGeometry(ToPixels(x, y, w, h));
    m_templateRects[widget] = widget->geometry();
}

void CTemplateDialog::SetAnchor(QWidget* control, unsigned anchor)
{
    if (control == nullptr)
        return;
    m_anchors[control] = anchor;
    if (m_templateRects.count(control) == 0)
        m_templateRects[control] = control->geometry();
}

unsigned CTemplateDialog::AnchorOf(QWidget* control) const
{
    const auto it = m_anchors.find(control);
    return it == m_anchors.end() ? Fixed : it->second;
}

QLabel* CTemplateDialog::AddUnitLabel(int id, const QString& unit)
{
    QWidget* control = Control(id);
    if (control == nullptr || unit.isEmpty())
        return nullptr;
    auto* label = new QLabel(unit, this);
    label->setObjectName(QString("unit%1").arg(id));
    QFont small = font();
    small.setPointSizeF(std::max(7.0, small.pointSizeF() - 1.0));
    label->setFont(small);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    const QRect box = m_templateRects.count(control) != 0 ? m_templateRects[control] : control->geometry();
    const int gap = std::max(2, int(std::lround(m_baseX / 4.0)));
    label->setGeometry(box.right() + 1 + gap, box.top(), label->sizeHint().width() + 1, box.height());
    m_templateRects[label] = label->geometry();
    // The unit stays beside its box, wherever the box goes.
    if (const unsigned anchor = AnchorOf(control); anchor & (MoveRight | GrowRight))
        SetAnchor(label, MoveRight);
    return label;
}

void CTemplateDialog::RememberPath(QLineEdit* box)
{
    if (box != nullptr)
        m_rememberedPaths.push_back(box);
}

void CTemplateDialog::showEvent(QShowEvent* event)
{
    if (!m_memoryRestored) {
        m_memoryRestored = true;
        RestoreDialogMemory(*this, m_rememberedPaths);
    }
    QDialog::showEvent(event);
}

void CTemplateDialog::done(int result)
{
    if (isVisible())
        KeepDialogMemory(*this, m_rememberedPaths);
    QDialog::done(result);
}

void CTemplateDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    FollowSize();
}

void CTemplateDialog::FollowSize()
{
    if (!m_defaultsAnchored) {
        m_defaultsAnchored = true;
        DefaultAnchors();
    }
    const int dx = std::max(0, width() - m_templateSize.width());
    const int dy = std::max(0, height() - m_templateSize.height());
    for (const auto& [control, anchor] : m_anchors) {
        QRect r = m_templateRects[control];
        if (anchor & MoveRight)
            r.translate(dx, 0);
        if (anchor & MoveDown)
            r.translate(0, dy);
        if (anchor & GrowRight)
            r.setWidth(r.width() + dx);
        if (anchor & GrowDown)
            r.setHeight(r.height() + dy);
        control->setGeometry(r);
    }
}

QLineEdit* CTemplateDialog::AddEdit(int id, int x, int y, int w, int h)
{
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::number(id));
    Place(edit, x, y, w, h);
    m_focusOrder.push_back(edit);
    return edit;
}

QPushButton* CTemplateDialog::AddButton(int id, const QString& text, int x, int y, int w, int h, bool isDefault)
{
    auto* button = new QPushButton(text, this);
    button->setObjectName(QString::number(id));
    button->setAutoDefault(false);
    button->setDefault(isDefault);
    Place(button, x, y, w, h);
    m_focusOrder.push_back(button);
    return button;
}

QLabel* CTemplateDialog::AddLabel(const QString& text, int x, int y, int w, int h)
{
    auto* label = new QLabel(text, this);
    Place(label, x, y, w, h);
    return label;
}

QGroupBox* CTemplateDialog::AddGroup(const QString& text, int x, int y, int w, int h)
{
    auto* group = new QGroupBox(text, this);
    Place(group, x, y, w, h);
    group->lower();
    group->setFocusPolicy(Qt::NoFocus);
    return group;
}

QListWidget* CTemplateDialog::AddList(int id, int x, int y, int w, int h)
{
    auto* list = new CListBox(this);
    list->setObjectName(QString::number(id));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    list->setUniformItemSizes(true);
    Place(list, x, y, w, h);
    m_focusOrder.push_back(list);
    return list;
}

QCheckBox* CTemplateDialog::AddCheck(int id, const QString& text, int x, int y, int w, int h)
{
    auto* box = new QCheckBox(text, this);
    box->setObjectName(QString::number(id));
    Place(box, x, y, w, h);
    m_focusOrder.push_back(box);
    return box;
}

QComboBox* CTemplateDialog::AddCombo(int id, int x, int y, int w, int h)
{
    auto* box = new QComboBox(this);
    box->setObjectName(QString::number(id));
    Place(box, x, y, w, h);
    m_focusOrder.push_back(box);
    return box;
}

void CTemplateDialog::ShrinkToFit(QWidget* control, qreal smallestPointSize)
{
    QFont font = control->font();
    while (control->sizeHint().width() > control->width() && font.pointSizeF() - 0.5 >= smallestPointSize) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        control->setFont(font);
    }
}

void CTemplateDialog::SetTabOrderFromTemplate()
{
    for (std::size_t i = 1; i < m_focusOrder.size(); ++i)
        QWidget::setTabOrder(m_focusOrder[i - 1], m_focusOrder[i]);
}

void CTemplateDialog::SetTabOrder(const std::vector<int>& ids)
{
    QWidget* previous = nullptr;
    for (int id : ids) {
        QWidget* widget = Control(id);
        if (widget == nullptr)
            continue;
        if (previous != nullptr)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

} // namespace qex
