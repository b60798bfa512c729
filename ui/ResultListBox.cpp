#include "ui/ResultListBox.h"

#include "core/Message.h"
#include "ui/FileChooser.h"
#include "ui/FileReplacement.h"
#include "ui/ListBox.h"
#include "ui/Question.h"
#include "ui/StatusNotifier.h"

#include <QFontDatabase>
#include <QListWidget>

namespace qex {

namespace {
// A list line may end in a line feed; the list box shows it without one.
QString DisplayText(const std::string& line)
{
    QString text = QString::fromStdString(line);
    text.remove('\r');
    text.replace('\n', ' ');
    return text;
}
} // namespace

CResultListBox::CResultListBox(QListWidget* list) : m_list(list), m_box(qobject_cast<CListBox*>(list))
{
    // The lines are formatted in columns: a fixed-width face keeps them aligned.
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(m_list->font().pointSizeF());
    m_list->setFont(fixed);
    // Long lines (a Monte Carlo block's) are shown whole, with a scroll bar:
    // each line is measured for its own width.
    m_list->setTextElideMode(Qt::ElideNone);
    m_list->setUniformItemSizes(false);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    if (m_box != nullptr)
        m_box->SetScrollPastEnd(true);
}

QListWidget* CResultListBox::Widget() const
{
    return m_list;
}

void CResultListBox::Refresh()
{
    const auto& lines = m_model.Lines();
    if (m_list->count() > static_cast<int>(lines.size()))
        m_list->clear();
    const int shown = m_list->count();
    for (std::size_t i = static_cast<std::size_t>(shown); i < lines.size(); ++i)
        m_list->addItem(DisplayText(lines[i]));

    const int selected = m_model.Selected();
    const bool newBlock = m_model.m_nResultCount != m_shownResults && selected >= shown;
    m_shownResults = m_model.m_nResultCount;
    if (newBlock) {
        m_unsaved = true;
        // The new block from its heading down.
        ShowFrom(selected);
    } else if (m_list->count() > shown) {
        // Lines without a result: a failure, shown from its first line down.
        ShowFrom(shown);
    } else if (selected >= 0 && selected < m_list->count()) {
        m_list->setCurrentRow(selected);
    }
}

void CResultListBox::ShowAddedLines(int row)
{
    if (row < 0 || row >= m_list->count())
        return;
    m_unsaved = true;
    ShowFrom(row);
}

void CResultListBox::ShowFrom(int row)
{
    if (m_box != nullptr) {
        m_box->ShowFromTop(row);
    } else {
        m_list->setCurrentRow(row);
        m_list->scrollToItem(m_list->item(row), QAbstractItemView::PositionAtTop);
    }
}

void CResultListBox::CleanUp()
{
    m_model.CleanUp();
    m_list->clear();
    m_shownResults = 0;
    m_unsaved = false;
}

bool CResultListBox::Save(QWidget* parent)
{
    // An empty list would only empty the file chosen.
    if (m_model.m_nLineCount == 0) {
        ShowMessage(EmptyListMessage());
        return false;
    }
    ChooserRequest request;
    request.kind = ChooserKind::Save;
    request.defaultExtensionText = "Output File";
    request.filter = "Output File (*.txt)|*.txt|All Files (*.*)|*.*||";
    const auto path = FileChooser().Choose(request, parent);
    if (!path)
        return false;
    // A mistyped name must not replace another file; saving again to the
    // file this list was last saved to replaces it without asking.
    const QString key = FileKey(*path);
    if (key != m_savedTo && IsFileToReplace(*path) && !AskYesNo(ReplaceQuestion(*path), parent))
        return false;
    if (!m_model.SaveToFile(path->toStdString()))
        return false;
    m_savedTo = FileKey(*path);
    m_unsaved = false;
    NotifyWritten(static_cast<std::uint64_t>(m_model.m_nLineCount), "lines", path->toStdString());
    return true;
}

} // namespace qex
