// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <map>
#include <memory>
#include <vector>

class QLockFile;

namespace files {

// A recovery copy left by an editor that is no longer running.
struct RecoveryCopy {
    QString id;           // the files' base name in the folder
    QString file;         // the copy: ordinary document bytes
    QString documentPath; // where the card was saved; empty for a card never saved
    QDateTime time;       // when the copy was written
};

// The folder of recovery copies. Each running editor writes its own copy
// (ID.pmr) with what it knows beside it (ID.json) and holds ID.lock while it
// runs, so another editor takes only copies whose editor has stopped. Every
// file is written to a temporary file first and then renamed.
class RecoveryStore {
public:
    explicit RecoveryStore(QString folder = defaultFolder());
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    // $XDG_STATE_HOME/pelmora/recovery, ~/.local/state/pelmora/recovery by default.
    static QString defaultFolder();
    const QString& folder() const { return folder_; }

    // This editor's copy of the card; false when it could not be written.
    bool write(const QByteArray& document, const QString& documentPath);
    // Takes this editor's copy away: the card is saved, or closed on purpose.
    void remove();
    bool hasCopy() const { return written_; }

    // The copies of editors no longer running, newest first. Each stays claimed
    // by this store, so no other editor offers it, until it is released,
    // discarded or set aside.
    std::vector<RecoveryCopy> claimLeftCopies();
    // Leaves a claimed copy for the next start.
    void release(const RecoveryCopy& copy);
    // Deletes a claimed copy.
    void discard(const RecoveryCopy& copy);
    // Moves a claimed copy that cannot be read into the folder "damaged" and
    // returns its new path.
    QString setAside(const RecoveryCopy& copy);

private:
    QString pathOf(const QString& id, const char* suffix) const;
    bool lockOwn();
    void removeFiles(const QString& id) const;
    void unclaim(const QString& id);

    QString folder_;
    QString ownId_;
    std::unique_ptr<QLockFile> ownLock_;
    bool written_ = false;
    std::map<QString, std::unique_ptr<QLockFile>> claimed_;
};

} // namespace files
