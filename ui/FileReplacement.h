#pragma once
// Outputs whose paths the user types (the simulation's report, the world
// table, the batch's output and reports) replace an existing file only when
// the user agrees: once per file and writer, or when the same writer wrote
// that file itself since the program started. A writer is a kind of dialog
// ("simulation report"), so its files stay its own across openings.

#include <QString>
#include <QStringList>

class QWidget;

namespace qex {

// Whether a file is there to be replaced. A folder is not: writing there
// fails with its own message.
bool IsFileToReplace(const QString& path);

// The question asked before `path` is replaced.
QString ReplaceQuestion(const QString& path);
// The question for several files at once.
QString ReplaceQuestion(const QStringList& paths);

// True when the outputs may be written: none of the files exists, or each
// that does was written by `writer` since the program started, or the user
// agrees to replace those that were not (asked once, in one question; the
// files then count as the writer's).
bool MayReplaceFiles(const QString& writer, const QStringList& paths, QWidget* parent);
bool MayReplaceFile(const QString& writer, const QString& path, QWidget* parent);

// Records that `writer` wrote these files.
void NoteFileWritten(const QString& writer, const QString& path);

// The absolute path of a file, its links resolved where it exists.
QString FileKey(const QString& path);

} // namespace qex
