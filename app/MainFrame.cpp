#include "app/MainFrame.h"

#include "app/AboutDlg.h"
#include "app/Commands.h"
#include "app/HalfLivesDlg.h"
#include "app/HelpWindow.h"
#include "app/Icons.h"
#include "app/LockKeys.h"
#include "app/QEXApp.h"
#include "app/QEXDoc.h"
#include "app/QEXView.h"
#include "ui/HelpTopic.h"
#include "ui/Settings.h"
#include "ui/StatusNotifier.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>
#include <algorithm>

namespace qex {

CMainFrame::CMainFrame(CQEXApp& app, CQEXDoc& doc) : m_app(app), m_doc(doc)
{
    setObjectName("mainFrame");
    setWindowIcon(ApplicationIcon());
    m_view = new CQEXView(this);
    setCentralWidget(m_view);
    // Status bar first, then toolbar, as the frame builds them.
    CreateActions();
    CreateStatusBar();
    CreateToolBar();
    CreateMenus();
    connect(&m_doc, &CQEXDoc::TitleChanged, this, [this] { UpdateTitle(); });
    // The dialogs have no parent: what they write they tell the notifier.
    connect(&CStatusNotifier::Instance(), &CStatusNotifier::Notice, this, &CMainFrame::ShowNotice);
    UpdateTitle();
    resize(640, 420);
    // F1 in a dialog shows the help at its calculator.
    SetHelpHandler([this](const QString& topic, QWidget* from) { ShowHelpTopic(topic, from); });
}

CMainFrame::~CMainFrame()
{
    SetHelpHandler(nullptr);
}

QAction* CMainFrame::MakeAction(int id, const QString& text)
{
    auto* action = new QAction(text, this);
    action->setObjectName(QString::number(id));
    action->setData(id);
    action->setStatusTip(CommandPrompt(id));
    action->setToolTip(CommandToolTip(id).isEmpty() ? QString(text).remove('&') : CommandToolTip(id));
    connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    addAction(action); // keyboard accelerators work without a menu entry
    m_actions[id] = action;
    return action;
}

QAction* CMainFrame::Action(int id) const
{
    auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

void CMainFrame::CreateActions()
{
    // The two feature commands of "&Valdry" and the toolbar, enabled where the
    // document routes them (a command without a handler shows disabled).
    // The simulation is named as its dialog's title names it.
    MakeAction(ID_SIMULATION, "Climatic Curve Age Correction...")->setEnabled(m_doc.HandlesCommand(ID_SIMULATION));
    MakeAction(ID_CUT_RESULTS, "Climatic Proxy Curve Cut Results...")->setEnabled(m_doc.HandlesCommand(ID_CUT_RESULTS));
    MakeAction(ID_APP_ABOUT, "&About Program...");
    MakeAction(ID_HALF_LIVES, "&Constants...");
    // Turns the discard question back on after its "Do not ask again".
    QAction* ask = MakeAction(ID_ASK_BEFORE_DISCARDING, "Ask Before &Discarding Results");
    ask->setCheckable(true);
    ask->setChecked(ApplicationSettings().value(kAskBeforeDiscardingKey, true).toBool());
    MakeAction(ID_APP_EXIT, "E&xit");

    // Accelerator table.
    MakeAction(ID_FILE_NEW, "&New")->setShortcut(QKeySequence("Ctrl+N"));
    MakeAction(ID_FILE_OPEN, "&Open...")->setShortcut(QKeySequence("Ctrl+O"));
    MakeAction(ID_FILE_PRINT, "&Print...")->setShortcut(QKeySequence("Ctrl+P"));
    MakeAction(ID_FILE_PRINT_DIRECT, "Print");
    MakeAction(ID_FILE_PRINT_PREVIEW, "Print Pre&view");
    MakeAction(ID_FILE_PRINT_SETUP, "P&rint Setup...");
    MakeAction(ID_HELP, "QEX &Help")->setShortcut(QKeySequence("F1"));
    MakeAction(ID_CONTEXT_HELP, "&What's This?")->setShortcut(QKeySequence("Shift+F1"));
    MakeAction(ID_HELP_INDEX, "Help &Topics");
    MakeAction(ID_DEFAULT_HELP, "Help");
    // The edit and pane keys have no handler: their commands stay disabled.
    // So do Save and Save As: the document holds no data, and saving it
    // would only empty the file it was opened from.
    const struct {
        int id;
        const char* text;
        std::initializer_list<const char*> keys;
    } inert[] = {
        {ID_FILE_SAVE, "&Save", {"Ctrl+S"}},
        {ID_FILE_SAVE_AS, "Save &As...", {}},
        {ID_EDIT_UNDO, "&Undo", {"Ctrl+Z", "Alt+Backspace"}},
        {ID_EDIT_CUT, "Cu&t", {"Ctrl+X", "Shift+Del"}},
        {ID_EDIT_COPY, "&Copy", {"Ctrl+C", "Ctrl+Ins"}},
        {ID_EDIT_PASTE, "&Paste", {"Ctrl+V", "Shift+Ins"}},
        {ID_NEXT_PANE, "Next Pane", {"F6"}},
        {ID_PREV_PANE, "Previous Pane", {"Shift+F6"}},
    };
    for (const auto& command : inert) {
        QAction* action = MakeAction(command.id, command.text);
        QList<QKeySequence> keys;
        for (const char* key : command.keys)
            keys << QKeySequence(key);
        action->setShortcuts(keys);
        action->setEnabled(false);
    }
}

void CMainFrame::CreateMenus()
{
    // "&Calculators" has its own actions: its labels say what each dialog does.
    QMenu* valdry = menuBar()->addMenu("&Valdry");
    valdry->setObjectName("menuValdry");
    valdry->addAction(Action(ID_SIMULATION));
    valdry->addAction(Action(ID_CUT_RESULTS));
    valdry->addSeparator();
    valdry->addAction(Action(ID_APP_ABOUT));
    valdry->addSeparator();
    valdry->addAction(Action(ID_APP_EXIT));

    QMenu* calculators = menuBar()->addMenu("&Calculators");
    calculators->setObjectName("menuCalculators");
    for (const auto& command : FeatureCommands()) {
        auto* action = new QAction(QString::fromUtf8(command.calculatorsLabel), this);
        action->setObjectName(QString::number(command.id));
        action->setData(command.id);
        action->setStatusTip(QString::fromUtf8(command.prompt));
        action->setEnabled(m_doc.HandlesCommand(command.id));
        const int id = command.id;
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
        calculators->addAction(action);
    }

    QMenu* options = menuBar()->addMenu("&Options");
    options->setObjectName("menuOptions");
    options->addAction(Action(ID_HALF_LIVES));
    options->addSeparator();
    options->addAction(Action(ID_ASK_BEFORE_DISCARDING));
    // The discard question's own box may have changed the setting.
    connect(options, &QMenu::aboutToShow, this, [this] {
        Action(ID_ASK_BEFORE_DISCARDING)->setChecked(ApplicationSettings().value(kAskBeforeDiscardingKey, true).toBool());
    });

    QMenu* help = menuBar()->addMenu("&Help");
    help->setObjectName("menuHelp");
    help->addAction(Action(ID_HELP));
    help->addAction(Action(ID_HELP_INDEX));
}

void CMainFrame::CreateToolBar()
{
    m_toolBar = new QToolBar("Standard", this);
    m_toolBar->setObjectName(QString::number(0xE800));
    m_toolBar->setIconSize(QSize(16, 15));
    m_toolBar->setMovable(true);
    m_toolBar->setFloatable(true);
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    Action(ID_SIMULATION)->setIcon(SimulationIcon());
    Action(ID_CUT_RESULTS)->setIcon(CutResultsIcon());
    Action(ID_APP_ABOUT)->setIcon(AboutIcon());
    m_toolBar->addAction(Action(ID_SIMULATION));
    m_toolBar->addAction(Action(ID_CUT_RESULTS));
    m_toolBar->addAction(Action(ID_APP_ABOUT));
    addToolBar(Qt::TopToolBarArea, m_toolBar);
}

void CMainFrame::CreateStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QString::number(0xE801));
    bar->setSizeGripEnabled(true);
    m_prompt = new QLabel(IdleText(), bar);
    m_prompt->setObjectName("promptPane");
    bar->addWidget(m_prompt, 1);
    auto indicator = [bar](const QString& text, const char* name) {
        auto* label = new QLabel(text, bar);
        label->setObjectName(name);
        label->setAlignment(Qt::AlignCenter);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(" SCRL "));
        bar->addPermanentWidget(label);
        return label;
    };
    m_caps = indicator("CAP", "indicatorCaps");
    m_num = indicator("NUM", "indicatorNum");
    m_scroll = indicator("SCRL", "indicatorScroll");
    UpdateLockIndicators();
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &CMainFrame::UpdateLockIndicators);
    timer->start(250);
}

void CMainFrame::UpdateLockIndicators()
{
    const LockKeyState state = QueryLockKeys();
    m_caps->setEnabled(state.caps);
    m_num->setEnabled(state.num);
    m_scroll->setEnabled(state.scroll);
}

bool CMainFrame::event(QEvent* event)
{
    // Fly-by prompts go to the prompt pane; without one it shows the idle text.
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        m_prompt->setText(tip.isEmpty() ? IdleText() : tip);
        m_prompt->setToolTip(QString());
        return true;
    }
    return QMainWindow::event(event);
}

void CMainFrame::ShowNotice(const QString& text)
{
    // The whole text in the tooltip; the pane elides a long path in its middle.
    m_prompt->setToolTip(text);
    m_prompt->setText(m_prompt->fontMetrics().elidedText(text, Qt::ElideMiddle, std::max(m_prompt->width(), 1)));
}

void CMainFrame::UpdateTitle()
{
    setWindowTitle(m_doc.Title() + " - QEX");
}

void CMainFrame::ShowHelp()
{
    if (m_help == nullptr)
        m_help = new CHelpWindow(this);
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void CMainFrame::ShowHelpTopic(const QString& topic, QWidget* from)
{
    // Over a modal dialog the help must be its child to take the mouse and keys.
    CHelpWindow* help = m_help;
    if (from != nullptr && from->isModal()) {
        help = new CHelpWindow(from);
        help->setAttribute(Qt::WA_DeleteOnClose);
    } else {
        ShowHelp();
    }
    help->show();
    help->raise();
    help->activateWindow();
    help->ShowTopic(topic);
}

void CMainFrame::OnCommand(int id)
{
    if (m_doc.OnCommand(id))
        return;
    switch (id) {
    case ID_APP_ABOUT: {
        CAboutDlg about;
        CQEXDoc::RunModal(about);
        break;
    }
    case ID_APP_EXIT:
        close();
        break;
    case ID_HALF_LIVES: {
        CHalfLivesDlg halfLives;
        CQEXDoc::RunModal(halfLives);
        break;
    }
    case ID_ASK_BEFORE_DISCARDING:
        ApplicationSettings().setValue(kAskBeforeDiscardingKey, Action(id)->isChecked());
        break;
    case ID_FILE_NEW:
        m_app.OnFileNew();
        break;
    case ID_FILE_OPEN:
        m_app.OnFileOpen();
        break;
    case ID_FILE_PRINT_SETUP:
        m_app.OnFilePrintSetup();
        break;
    case ID_FILE_PRINT:
        m_view->OnFilePrint();
        break;
    case ID_FILE_PRINT_DIRECT:
        m_view->OnFilePrintDirect();
        break;
    case ID_FILE_PRINT_PREVIEW:
        m_view->OnFilePrintPreview();
        break;
    case ID_HELP:
    case ID_HELP_INDEX:
    case ID_DEFAULT_HELP:
    case ID_CONTEXT_HELP:
        ShowHelp();
        break;
    default:
        break; // a command without a handler does nothing
    }
}

} // namespace qex
