// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/RecoveryStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

namespace files {

namespace {

bool writeAtomically(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

// A lock that only a stopped process leaves behind counts as free; the age of
// a running editor's lock says nothing.
std::unique_ptr<QLockFile> makeLock(const QString& path)
{
    auto lock = std::make_unique<QLockFile>(path);
    lock->setStaleLockTime(0);
    return lock;
}

} // namespace

RecoveryStore::RecoveryStore(QString folder)
    : folder_(std::move(folder)),
      ownId_(QStringLiteral("%1-%2")
                 .arg(QCoreApplication::applicationPid())
                 .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')))
{
}

RecoveryStore::~RecoveryStore()
{
    for (auto& [id, lock] : claimed_)
        lock->unlock();
}

QString RecoveryStore::defaultFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state)) {
#ifdef Q_OS_WIN
        state = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
#else
        state = QDir::home().filePath(QStringLiteral(".local/state"));
#endif
    }
    return QDir(state).filePath(QStringLiteral("pelmora/recovery"));
}

QString RecoveryStore::pathOf(const QString& id, const char* suffix) const
{
    return QDir(folder_).filePath(id + QLatin1String(suffix));
}

bool RecoveryStore::lockOwn()
{
    if (ownLock_)
        return true;
    if (!QDir().mkpath(folder_))
        return false;
    auto lock = makeLock(pathOf(ownId_, ".lock"));
    if (!lock->tryLock(0))
        return false;
    ownLock_ = std::move(lock);
    return true;
}

bool RecoveryStore::write(const QByteArray& document, const QString& documentPath)
{
    if (!lockOwn())
        return false;
    QJsonObject info;
    info.insert(QStringLiteral("pid"), QCoreApplication::applicationPid());
    info.insert(QStringLiteral("path"), documentPath);
    info.insert(QStringLiteral("time"), QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs));
    // The copy last, so a copy always has what it needs beside it.
    written_ = writeAtomically(pathOf(ownId_, ".json"), QJsonDocument(info).toJson()) &&
               writeAtomically(pathOf(ownId_, ".pmr"), document);
    return written_;
}

// The copy, what is known of it, and temporary files a killed write left.
void RecoveryStore::removeFiles(const QString& id) const
{
    const QDir dir(folder_);
    for (const QString& name : dir.entryList({id + QStringLiteral(".pmr*"), id + QStringLiteral(".json*")}, QDir::Files))
        QFile::remove(dir.filePath(name));
}

void RecoveryStore::remove()
{
    if (!ownLock_)
        return;
    removeFiles(ownId_);
    ownLock_->unlock();
    ownLock_.reset();
    written_ = false;
}

std::vector<RecoveryCopy> RecoveryStore::claimLeftCopies()
{
    std::vector<RecoveryCopy> copies;
    const QDir dir(folder_);
    for (const QString& name : dir.entryList({QStringLiteral("*.json")}, QDir::Files)) {
        const QString id = name.chopped(5);
        if (id == ownId_ || claimed_.count(id))
            continue;
        auto lock = makeLock(pathOf(id, ".lock"));
        if (!lock->tryLock(0))
            continue; // its editor is running
        claimed_[id] = std::move(lock);
        RecoveryCopy copy{id, pathOf(id, ".pmr"), {}, {}};
        if (!QFile::exists(copy.file)) { // stopped before its first copy was in place
            discard(copy);
            continue;
        }
        QFile file(pathOf(id, ".json"));
        const QJsonObject info = file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.read(1 << 16)).object()
                                                                : QJsonObject();
        copy.documentPath = info.value(QStringLiteral("path")).toString();
        copy.time = QDateTime::fromString(info.value(QStringLiteral("time")).toString(), Qt::ISODateWithMs);
        if (!copy.time.isValid())
            copy.time = QFileInfo(copy.file).lastModified();
        copies.push_back(std::move(copy));
    }
    std::sort(copies.begin(), copies.end(), [](const RecoveryCopy& a, const RecoveryCopy& b) { return a.time > b.time; });
    return copies;
}

void RecoveryStore::unclaim(const QString& id)
{
    const auto it = claimed_.find(id);
    if (it == claimed_.end())
        return;
    it->second->unlock();
    claimed_.erase(it);
}

void RecoveryStore::release(const RecoveryCopy& copy)
{
    unclaim(copy.id);
}

void RecoveryStore::discard(const RecoveryCopy& copy)
{
    if (!claimed_.count(copy.id))
        return;
    removeFiles(copy.id);
    unclaim(copy.id);
}

QString RecoveryStore::setAside(const RecoveryCopy& copy)
{
    const QDir damaged(QDir(folder_).filePath(QStringLiteral("damaged")));
    damaged.mkpath(QStringLiteral("."));
    const QString target = damaged.filePath(copy.id + QStringLiteral(".pmr"));
    QFile::remove(target);
    if (!QFile::rename(copy.file, target))
        return copy.file; // left where it is, still never offered as good
    QFile::remove(damaged.filePath(copy.id + QStringLiteral(".json")));
    QFile::rename(pathOf(copy.id, ".json"), damaged.filePath(copy.id + QStringLiteral(".json")));
    unclaim(copy.id);
    return target;
}

} // namespace files
