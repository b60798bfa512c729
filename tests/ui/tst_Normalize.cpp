// The normalisation command: two choosers around the intensity reader.

#include "app/Commands.h"
#include "app/QEXDoc.h"
#include "core/Message.h"
#include "tests/support/TestSupport.h"
#include "ui/FileChooser.h"

#include <QTest>

using namespace qex;

class NormalizeTest : public QObject {
    Q_OBJECT

private slots:
    void loadsAndSavesThroughTheTwoChoosers()
    {
        // State: an intensity file with a 1000-year gap. Action: choose it, then an output.
        // Expected: the output holds three fixed-width records; the output chooser confirms overwriting.
        test::TempDir dir;
        test::WriteFile(dir.File("in.dat"), "Geomagnetic_Intensity_Data\nStack\n0 1.0\n1000 0.8\n");
        CScriptedFileChooser chooser;
        chooser.Answer(QString::fromStdString(dir.File("in.dat")));
        chooser.Answer(QString::fromStdString(dir.File("out.dat")));
        CQEXDoc doc;
        QVERIFY(doc.OnCommand(ID_NORMALIZE_CURVE));
        QCOMPARE(QString::fromStdString(test::ReadFile(dir.File("out.dat"))),
                 QString("Geomagnetic_Intensity_Data\nStack\n       0.0      1.000\n     500.0      0.900\n"
                         "    1000.0      0.800\n"));
        QCOMPARE(int(chooser.Requests().size()), 2);
        QVERIFY(chooser.Requests()[0].kind == ChooserKind::Open);
        QVERIFY(!chooser.Requests()[0].confirmOverwrite);
        QVERIFY(chooser.Requests()[1].kind == ChooserKind::Save);
        QVERIFY(chooser.Requests()[1].confirmOverwrite);
        QCOMPARE(chooser.Requests()[1].defaultExtensionText, QString("Climatic proxy data Curve"));
        QCOMPARE(chooser.Requests()[1].filter, QString("Proxy Curve Data (*.dat)|*.dat|All Files (*.*)|*.*||"));
    }

    void aFailedLoadEndsWithoutAskingForAnOutput()
    {
        // State: a proxy file, not an intensity file. Action: choose it. Expected: the message, no output chooser.
        test::TempDir dir;
        test::WriteFile(dir.File("in.dat"), "Proxy_Data\nLR04\n0 3.2\n");
        CScriptedFileChooser chooser;
        chooser.Answer(QString::fromStdString(dir.File("in.dat")));
        CMessageRecorder messages;
        CQEXDoc doc;
        doc.OnCommand(ID_NORMALIZE_CURVE);
        QCOMPARE(int(chooser.Requests().size()), 1);
        QVERIFY(messages.Contains("Geomagnetic Intensity file is not correct!"));
    }

    void cancellingTheInputDoesNothingFurther()
    {
        // State: no files. Action: cancel the input chooser. Expected: no message, no second chooser.
        CScriptedFileChooser chooser;
        chooser.Cancel();
        CMessageRecorder messages;
        CQEXDoc doc;
        doc.OnCommand(ID_NORMALIZE_CURVE);
        QCOMPARE(int(chooser.Requests().size()), 1);
        QVERIFY(messages.Messages().empty());
    }
};

QTEST_MAIN(NormalizeTest)
#include "tst_Normalize.moc"
