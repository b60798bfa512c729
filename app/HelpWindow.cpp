#include "app/HelpWindow.h"

#include "calculators/CalculatorList.h"
#include "core/InstalledFiles.h"

#include <QDialogButtonBox>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <optional>
#include <string>

#ifndef QEX_SOURCE_DIR
#define QEX_SOURCE_DIR "."
#endif

namespace qex {

QString CHelpWindow::HelpText()
{
    return QStringLiteral(
               "<h2>QEX help</h2>"
               "<p>QEX dates glacial boulders and buried sediment with the cosmogenic nuclides "
               "<sup>10</sup>Be and <sup>26</sup>Al. Every calculator opens from the <b>Calculators</b> menu "
               "(the first two also from the <b>Valdry</b> menu and the toolbar) and has a twin on the "
               "command line, <tt>qexcli</tt>, that prints the very same lines.</p>"
               "<table border='0' cellspacing='6'>%3</table>"
               "<p><a name='half-lives'></a><b>Options &gt; Nuclide Half-lives</b> chooses the half-lives the simulation, the exposure age "
               "and the two-nuclide diagram decay with (1.5 and 0.71 Myr unless you choose today's 1.387 and "
               "0.705 Myr); a result computed with others ends by naming them. For a curve where high means warm "
               "(sea level, ice-core temperature or &delta;D), tick <b>Exposure above the cut</b> in the simulation "
               "or the cut results.</p>"
               "<p>Every dialog lists its results; <b>Save</b> writes the list to a text file. "
               "<tt>qexcli --help</tt> describes every option with its unit, default and range.</p>"
               "<p>The README, with the file formats and a walk-through: <tt>%1</tt>.</p>"
               "%2")
        .arg(ReadmePath().toHtmlEscaped(), GeomagneticRecordsText(), CalculatorRows());
}

QString CHelpWindow::CalculatorRows()
{
    // One row per calculator of the list, in its order.
    QString rows;
    for (const Calculator& calculator : Calculators())
        // Anchored by the command's name, for F1 in the calculator's dialog.
        rows += QStringLiteral("<tr><td><a name='%3'></a><b>%1</b></td><td>%2 <tt>qexcli %3</tt></td></tr>")
                    .arg(QString::fromUtf8(calculator.info.title.data(), static_cast<int>(calculator.info.title.size())),
                         QString::fromUtf8(calculator.info.help.data(), static_cast<int>(calculator.info.help.size())),
                         QString::fromUtf8(calculator.info.name.data(), static_cast<int>(calculator.info.name.size())));
    return rows;
}

QString CHelpWindow::ReadmePath()
{
    if (const std::optional<std::string> docs = InstalledDocFolder())
        return QString::fromStdString(*docs + "/README.md");
    return QStringLiteral(QEX_SOURCE_DIR "/README.md");
}

QString CHelpWindow::GeomagneticRecordsText()
{
    QString text = QStringLiteral(
        "<p>The surface exposure age with the geomagnetic correction reads the pole positions from "
        "<tt>pole02.dat</tt> and the field intensity from <tt>pmagstack1.dat</tt> in the working folder, "
        "and writes its scratch table <tt>omr.txt</tt> there. ");
    const std::optional<std::string> pole = InstalledGeomagneticRecord("pole02.dat");
    const std::optional<std::string> intensity = InstalledGeomagneticRecord("pmagstack1.dat");
    if (pole && intensity) {
        text += QStringLiteral(
                    "A file that is not in the working folder is read from the records installed with QEX: "
                    "<tt>%1</tt> and <tt>%2</tt>. They are the LSD geomagnetic framework (Lifton, Sato and Dunai "
                    "2014): pole positions and dipole moments to 7 ka from the Korte and Constable field "
                    "reconstructions, then the GLOPIS-75 (to 18 ka) and PADM2M (to 2 Ma) dipole moments; "
                    "<tt>%3</tt> gives the full citations.</p>")
                    .arg(QString::fromStdString(*pole).toHtmlEscaped(),
                         QString::fromStdString(*intensity).toHtmlEscaped(),
                         QString::fromStdString(InstalledDataFolder().value_or("") + "/examples/README.md")
                             .toHtmlEscaped());
    } else {
        text += QStringLiteral("This copy of QEX is not installed and has no records to fall back on: both files "
                               "must be in the working folder (<tt>make gui</tt> puts the bundled ones there).</p>");
    }
    return text;
}

CHelpWindow::CHelpWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName("help");
    setWindowTitle("QEX Help");
    auto* layout = new QVBoxLayout(this);
    auto* text = new QTextBrowser(this);
    m_text = text;
    text->setObjectName("helpText");
    text->setHtml(HelpText());
    layout->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    layout->addWidget(buttons);
    resize(620, 480);
}

void CHelpWindow::ShowTopic(const QString& topic)
{
    m_text->scrollToAnchor(topic);
}

} // namespace qex
