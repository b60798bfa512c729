#pragma once
// The application object: start-up, the settings key with the recent-file
// list, and the application-level commands (New, Open, Print Setup). The
// document holds no data, so there is nothing to save.

#include <QObject>
#include <QStringList>
#include <memory>

namespace qex {

class CMainFrame;
class CQEXDoc;

class CQEXApp : public QObject {
    Q_OBJECT
public:
    static constexpr int kRecentFileCount = 4;

    CQEXApp();
    ~CQEXApp() override;

    // Start-up: settings, recent files, document and frame, the command line
    // (a file name opens that document, nothing opens an untitled one), then
    // shows the frame. False when the command line cannot be processed.
    bool InitInstance(const QStringList& arguments);

    CMainFrame* MainFrame() const { return m_frame.get(); }
    CQEXDoc* Document() const { return m_doc.get(); }
    QStringList RecentFiles() const { return m_recent; }

    void OnFileNew();
    void OnFileOpen();
    void OnFilePrintSetup();
    bool OpenDocumentFile(const QString& path);
    void AddToRecentFileList(const QString& path);

private:
    void LoadStdProfileSettings();
    void SaveRecentFileList() const;

    std::unique_ptr<CQEXDoc> m_doc;
    std::unique_ptr<CMainFrame> m_frame;
    QStringList m_recent;
};

} // namespace qex
