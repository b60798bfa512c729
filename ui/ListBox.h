#pragma once
// The list box of the dialogs. A results list may scroll its last lines up to
// the top, so that a short block appended at the end can be shown from its
// heading down, however little follows it.

#include <QListWidget>

namespace qex {

class CListBox : public QListWidget {
    Q_OBJECT
public:
    explicit CListBox(QWidget* parent = nullptr);

    // Lets any line, the last included, be scrolled to the top.
    void SetScrollPastEnd(bool on);
    bool ScrollPastEnd() const { return m_scrollPastEnd; }

    // The line shown at the top, or -1 for an empty list.
    int TopRow() const;
    // Scrolls `row` to the top and selects it.
    void ShowFromTop(int row);

protected:
    void updateGeometries() override;

private:
    bool m_scrollPastEnd = false;
};

} // namespace qex
