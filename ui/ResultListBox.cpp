#include "ui/ResultListBox.h"

#include "ui/FileChooser.h"

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

CResultListBox::CResultListBox(QListWidget* list) : m_list(list) {}

void CResultListBox::Refresh()
{
    const auto& lines = m_model.Lines();
    if (m_list->count() > static_cast<int>(lines.size()))
        m_list->clear();
    for (std::size_t i = static_cast<std::size_t>(m_list->count()); i < lines.size(); ++i)
        m_list->addItem(DisplayText(lines[i]));
    if (m_model.Selected() >= 0 && m_model.Selected() < m_list->count()) {
        m_list->setCurrentRow(m_model.Selected());
        m_list->scrollToItem(m_list->item(m_model.Selected()));
    }
}

void CResultListBox::CleanUp()
{
    m_model.CleanUp();
    m_list->clear();
}

void CResultListBox::Save(QWidget* parent)
{
    ChooserRequest request;
    request.kind = ChooserKind::Save;
    request.defaultExtensionText = "Output File";
    request.filter = "Output File (*.txt)|*.txt|All Files (*.*)|*.*||";
    const auto path = FileChooser().Choose(request, parent);
    if (!path)
        return;
    m_model.SaveToFile(path->toStdString());
}

} // namespace qex
