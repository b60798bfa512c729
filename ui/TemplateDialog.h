#pragma once
// A modal dialog laid out from a dialog template: each control at its
// rectangle in dialog units, converted with the dialog font's metrics (a
// horizontal unit is a quarter of the font's average character width, a
// vertical unit an eighth of its height). Each numbered control carries its
// number as object name, so tests find controls exactly as the template
// numbers them.

#include <QDialog>
#include <QRect>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace qex {

class CTemplateDialog : public QDialog {
    Q_OBJECT
public:
    // Size in dialog units; the font is the application's at the given size.
    CTemplateDialog(int templateId, const QString& title, int widthDlu, int heightDlu, int pointSize = 9,
                    QWidget* parent = nullptr);

    int TemplateId() const { return m_templateId; }
    // The dialog's size in dialog units.
    int WidthDlu() const { return m_widthDlu; }
    int HeightDlu() const { return m_heightDlu; }

    // The control with the given id, or nullptr.
    template <class T = QWidget>
    T* Control(int id) const
    {
        return findChild<T*>(QString::number(id));
    }

    // Dialog units to pixels for this dialog's font.
    QRect ToPixels(int x, int y, int w, int h) const;

protected:
    QLineEdit* AddEdit(int id, int x, int y, int w, int h);
    QPushButton* AddButton(int id, const QString& text, int x, int y, int w, int h, bool isDefault = false);
    QLabel* AddLabel(const QString& text, int x, int y, int w, int h);
    QGroupBox* AddGroup(const QString& text, int x, int y, int w, int h);
    QListWidget* AddList(int id, int x, int y, int w, int h);
    QCheckBox* AddCheck(int id, const QString& text, int x, int y, int w, int h);

    // A control whose text is wider than its rectangle in this platform's
    // face takes a smaller font, in half points down to `smallestPointSize`.
    static void ShrinkToFit(QWidget* control, qreal smallestPointSize = 6.0);

    // Chains the focus-taking controls in the order they were added (the
    // template order), or in the given id order.
    void SetTabOrderFromTemplate();
    void SetTabOrder(const std::vector<int>& ids);

private:
    void Place(QWidget* widget, int x, int y, int w, int h);

    int m_templateId;
    int m_widthDlu;
    int m_heightDlu;
    double m_baseX = 6.0; // pixels per four horizontal dialog units
    double m_baseY = 13.0; // pixels per eight vertical dialog units
    std::vector<QWidget*> m_focusOrder;
};

} // namespace qex
