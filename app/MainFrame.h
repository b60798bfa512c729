#pragma once
// The main frame: the "&Valdry", "&Calculators" and "&Options" menus, the
// toolbar, the status bar with its prompt pane and lock-key indicators, and
// the command routing from actions to the document, the view, the frame and
// the application.

#include <QMainWindow>
#include <map>

class QLabel;
class QToolBar;

namespace qex {

class CQEXApp;
class CQEXDoc;
class CQEXView;
class CHelpWindow;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    CMainFrame(CQEXApp& app, CQEXDoc& doc);
    ~CMainFrame() override;

    // The action of a command id, or nullptr.
    QAction* Action(int id) const;
    // Runs a command as its menu item, button or key would.
    void OnCommand(int id);

    QToolBar* ToolBar() const { return m_toolBar; }
    QLabel* PromptPane() const { return m_prompt; }
    CQEXView* View() const { return m_view; }
    // The idle text of the prompt pane.
    static QString IdleText() { return QStringLiteral("For Help, press F1"); }

protected:
    bool event(QEvent* event) override;

private:
    QAction* MakeAction(int id, const QString& text);
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void UpdateTitle();
    // A dialog's notice ("Wrote 90 rows to /data/t.txt") in the prompt pane.
    void ShowNotice(const QString& text);
    void UpdateLockIndicators();
    void ShowHelp();
    // The help at a calculator's entry, over the dialog that asked.
    void ShowHelpTopic(const QString& topic, QWidget* from);

    CQEXApp& m_app;
    CQEXDoc& m_doc;
    CQEXView* m_view = nullptr;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_prompt = nullptr;
    QLabel* m_caps = nullptr;
    QLabel* m_num = nullptr;
    QLabel* m_scroll = nullptr;
    CHelpWindow* m_help = nullptr;
    std::map<int, QAction*> m_actions;
};

} // namespace qex
