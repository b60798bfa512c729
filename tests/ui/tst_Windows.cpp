// Every window the program opens looks finished: each control lies inside its
// window, no two numbered controls overlap, and nothing is cut off. With
// QEX_SCREENSHOT_DIR set, each window is also written there as a PNG.

#include "app/Commands.h"
#include "app/MainFrame.h"
#include "app/QEXApp.h"
#include "app/QEXDoc.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/FileChooser.h"

#include <QDialog>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QTest>

using namespace qex;

namespace {

using test::Snap;

// Checks the layout of a dialog; returns a description of the first fault.
QString LayoutFault(QDialog& dialog)
{
    const QRect inside = dialog.rect();
    QList<QWidget*> numbered;
    for (QWidget* child : dialog.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child->isWindow() || !child->isVisibleTo(&dialog))
            continue;
        if (!inside.contains(child->geometry()))
            return QString("%1 '%2' lies outside the window").arg(child->metaObject()->className(), child->objectName());
        bool isNumber = false;
        child->objectName().toInt(&isNumber);
        if (isNumber)
            numbered << child;
        if (auto* label = qobject_cast<QLabel*>(child); label != nullptr && !label->text().isEmpty() &&
                                                        label->pixmap().isNull() &&
                                                        label->sizeHint().width() > label->width() + 2)
            return QString("label '%1' is cut off").arg(label->text());
    }
    for (int i = 0; i < numbered.size(); ++i)
        for (int j = i + 1; j < numbered.size(); ++j)
            // A template may let neighbours touch by a dialog unit; more is a fault.
            if (const QRect common = numbered[i]->geometry().intersected(numbered[j]->geometry());
                common.width() > 2 && common.height() > 2)
                return QString("controls %1 and %2 overlap").arg(numbered[i]->objectName(), numbered[j]->objectName());
    return QString();
}

} // namespace

class WindowsTest : public QObject {
    Q_OBJECT

private slots:
    void mainWindowAndEveryDialogLookFinished()
    {
        // State: the program started. Action: open About, the half-lives and every routed calculator.
        // Expected: each window's controls inside it, none overlapping, no label cut off.
        CQEXApp app;
        QVERIFY(app.InitInstance({"qex"}));
        CMainFrame* frame = app.MainFrame();
        QVERIFY(QTest::qWaitForWindowExposed(frame));
        Snap(*frame, "main-window");

        CScriptedFileChooser chooser; // unanswered requests cancel
        QStringList faults;
        int opened = 0;
        CQEXDoc::SetModalRunner([&](QDialog& dialog) {
            dialog.show();
            QTest::qWait(20);
            ++opened;
            const QString fault = LayoutFault(dialog);
            if (!fault.isEmpty())
                faults << dialog.windowTitle() + ": " + fault;
            Snap(dialog, dialog.objectName());
            dialog.hide();
            return int(QDialog::Rejected);
        });
        frame->OnCommand(ID_APP_ABOUT);
        frame->OnCommand(ID_HALF_LIVES);
        int expected = 2;
        for (const auto& command : FeatureCommands()) {
            if (app.Document()->HandlesCommand(command.id)) {
                frame->OnCommand(command.id);
                if (command.id != ID_NORMALIZE_CURVE && command.id != ID_CONVERT_SAMPLES) // files only
                    ++expected;
            }
        }
        CQEXDoc::SetModalRunner(nullptr);
        QCOMPARE(opened, expected);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join("\n")));
    }
};

QTEST_MAIN(WindowsTest)
#include "tst_Windows.moc"
