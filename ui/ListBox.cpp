#include "ui/ListBox.h"

#include <QScrollBar>

namespace qex {

CListBox::CListBox(QWidget* parent) : QListWidget(parent)
{
    // One line a scroll step, so the scroll bar's value is the top line.
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
}

void CListBox::SetScrollPastEnd(bool on)
{
    m_scrollPastEnd = on;
    updateGeometries();
}

int CListBox::TopRow() const
{
    return count() == 0 ? -1 : indexAt(QPoint(1, 1)).row();
}

void CListBox::ShowFromTop(int row)
{
    if (row < 0 || row >= count())
        return;
    setCurrentRow(row);
    doItemsLayout();
    verticalScrollBar()->setValue(row);
}

void CListBox::updateGeometries()
{
    QListWidget::updateGeometries();
    if (m_scrollPastEnd && count() > 0)
        verticalScrollBar()->setMaximum(count() - 1);
}

} // namespace qex
