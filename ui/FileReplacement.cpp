#include "ui/FileReplacement.h"

#include "ui/Question.h"

#include <QFileInfo>
#include <map>
#include <set>

namespace qex {

namespace {
std::map<QString, std::set<QString>>& Written()
{
    static std::map<QString, std::set<QString>> written;
    return written;
}

constexpr int kNamedFiles = 5; // more are counted, not named
} // namespace

QString FileKey(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

bool IsFileToReplace(const QString& path)
{
    const QFileInfo info(path);
    return !path.isEmpty() && info.exists() && !info.isDir();
}

QString ReplaceQuestion(const QString& path)
{
    return QString("%1 already exists. Replace it?").arg(path);
}

QString ReplaceQuestion(const QStringList& paths)
{
    if (paths.size() == 1)
        return ReplaceQuestion(paths.front());
    QString list = QStringList(paths.mid(0, kNamedFiles)).join("\n");
    if (paths.size() > kNamedFiles)
        list += QString("\nand %1 more").arg(paths.size() - kNamedFiles);
    return QString("These %1 files already exist:\n%2\nReplace them?").arg(paths.size()).arg(list);
}

bool MayReplaceFiles(const QString& writer, const QStringList& paths, QWidget* parent)
{
    std::set<QString>& own = Written()[writer];
    QStringList foreign;
    for (const QString& path : paths)
        if (IsFileToReplace(path) && own.count(FileKey(path)) == 0)
            foreign << QFileInfo(path).absoluteFilePath(); // the question names the whole path
    if (foreign.isEmpty())
        return true;
    if (!AskYesNo(ReplaceQuestion(foreign), parent))
        return false;
    for (const QString& path : foreign)
        own.insert(FileKey(path));
    return true;
}

bool MayReplaceFile(const QString& writer, const QString& path, QWidget* parent)
{
    return MayReplaceFiles(writer, QStringList{path}, parent);
}

void NoteFileWritten(const QString& writer, const QString& path)
{
    Written()[writer].insert(FileKey(path));
}

} // namespace qex
