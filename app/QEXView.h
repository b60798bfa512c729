#pragma once

#include <QWidget>

namespace qex {

// The view draws nothing: every calculator lives in its own dialog.
class CQEXView : public QWidget {
    Q_OBJECT
public:
    explicit CQEXView(QWidget* parent = nullptr);

    // The framework's printing of the (empty) view.
    void OnFilePrint();
    void OnFilePrintDirect();
    void OnFilePrintPreview();
};

} // namespace qex
