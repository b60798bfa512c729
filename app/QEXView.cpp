#include "app/QEXView.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace qex {

CQEXView::CQEXView(QWidget* parent) : QWidget(parent)
{
    setObjectName("view");
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
}

namespace {
// The view draws nothing, so a printed page is blank.
void PrintEmptyPage(QPrinter* printer)
{
    QPainter painter(printer);
}
} // namespace

void CQEXView::OnFilePrint()
{
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        PrintEmptyPage(&printer);
}

void CQEXView::OnFilePrintDirect()
{
    QPrinter printer;
    PrintEmptyPage(&printer);
}

void CQEXView::OnFilePrintPreview()
{
    QPrintPreviewDialog preview(this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [](QPrinter* printer) { PrintEmptyPage(printer); });
    preview.exec();
}

} // namespace qex
