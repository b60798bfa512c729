#pragma once
// A modal dialog laid out from a dialog template: each control at its
// rectangle in dialog units, converted with the dialog font's metrics (a
// horizontal unit is a quarter of the font's average character width, a
// vertical unit an eighth of its height). Each numbered control carries its
// number as object name, so tests find controls exactly as the template
// numbers them.
//
// The dialog opens at its template's size. A dialog that allows it can be
// enlarged, never made smaller: each control anchored to the right or bottom
// edge moves or grows with it, the others keep their rectangles.

#include <QDialog>
#include <QRect>
#include <map>
#include <vector>

class QCheckBox;
class QComboBox;
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

    // Lets the user enlarge the dialog (it opens at, and never shrinks below, its template's size).
    void AllowEnlarging();

    // How a control follows the dialog's right and bottom edges when it is enlarged.
    enum Anchor : unsigned {
        Fixed = 0,
        MoveRight = 1, // keeps its distance to the right edge
        MoveDown = 2,  // keeps its distance to the bottom edge
        GrowRight = 4, // its right side keeps its distance to the right edge
        GrowDown = 8,  // its bottom keeps its distance to the bottom edge
    };
    void SetAnchor(QWidget* control, unsigned anchor);
    unsigned AnchorOf(QWidget* control) const;

    // A small label right of control `id` naming the unit of its number.
    QLabel* AddUnitLabel(int id, const QString& unit);

    // A box holding a path the dialog remembers, with its size and
    // position, between openings (ui/DialogMemory.h).
    void RememberPath(QLineEdit* box);

    // Closing keeps what the dialog remembers.
    void done(int result) override;

protected:
    QLineEdit* AddEdit(int id, int x, int y, int w, int h);
    QPushButton* AddButton(int id, const QString& text, int x, int y, int w, int h, bool isDefault = false);
    QLabel* AddLabel(const QString& text, int x, int y, int w, int h);
    QGroupBox* AddGroup(const QString& text, int x, int y, int w, int h);
    QListWidget* AddList(int id, int x, int y, int w, int h);
    QCheckBox* AddCheck(int id, const QString& text, int x, int y, int w, int h);
    // A drop-down list of fixed words (not editable).
    QComboBox* AddCombo(int id, int x, int y, int w, int h);

    // A control whose text is wider than its rectangle in this platform's
    // face takes a smaller font, in half points down to `smallestPointSize`.
    static void ShrinkToFit(QWidget* control, qreal smallestPointSize = 6.0);

    // Chains the focus-taking controls in the order they were added (the
    // template order), or in the given id order.
    void SetTabOrderFromTemplate();
    void SetTabOrder(const std::vector<int>& ids);

    // Called once, before the dialog is first laid out, for the anchors a
    // kind of dialog gives every control that was not anchored explicitly.
    virtual void DefaultAnchors() {}
    // Whether a control was anchored explicitly.
    bool IsAnchored(QWidget* control) const { return m_anchors.count(control) != 0; }

    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Place(QWidget* widget, int x, int y, int w, int h);
    // Each direct child at its template rectangle moved and grown by how much
    // larger than its template the dialog is.
    void FollowSize();

    int m_templateId;
    int m_widthDlu;
    int m_heightDlu;
    double m_baseX = 6.0; // pixels per four horizontal dialog units
    double m_baseY = 13.0; // pixels per eight vertical dialog units
    std::vector<QWidget*> m_focusOrder;
    QSize m_templateSize;
    std::map<QWidget*, unsigned> m_anchors;
    std::map<QWidget*, QRect> m_templateRects; // where each control sits at the template's size
    bool m_defaultsAnchored = false;
    std::vector<QLineEdit*> m_rememberedPaths;
    bool m_memoryRestored = false;
};

} // namespace qex
