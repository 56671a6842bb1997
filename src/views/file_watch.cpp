#include "views/file_watch.h"

#include "base/file_identity.h"
#include "framework/byte_text.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>
#include <QSet>

#include <algorithm>

FileWatch& FileWatch::Shared()
{
    static QPointer<FileWatch> shared;
    if (!shared) shared = new FileWatch(QCoreApplication::instance());
    return *shared;
}

FileWatch::FileWatch(QObject* parent) : QObject(parent)
{
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, [this](const QString& path) { Changed(path, false); });
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this,
            [this](const QString& path) { Changed(path, true); });
}

void FileWatch::Follow(QObject* window, const std::string& path, std::function<void()> look)
{
    auto it = std::find_if(followers_.begin(), followers_.end(), [&](const Follower& f) { return f.window == window; });
    if (it == followers_.end()) {
        followers_.push_back({window, {}, {}, {}});
        it = followers_.end() - 1;
        connect(window, &QObject::destroyed, this, [this, window] { Forget(window); });
    }
    const QFileInfo file(bytetext::FileNameToQString(path));
    it->file = file.absoluteFilePath();
    it->directories = QStringList{file.absolutePath()};
    const QString target = file.canonicalFilePath();
    if (!target.isEmpty() && QFileInfo(target).absolutePath() != file.absolutePath())
        it->directories << QFileInfo(target).absolutePath();
    it->look = std::move(look);
    Rewatch();
}

void FileWatch::Forget(QObject* window)
{
    const auto end =
        std::remove_if(followers_.begin(), followers_.end(), [&](const Follower& f) { return f.window == window; });
    if (end == followers_.end()) return;
    followers_.erase(end, followers_.end());
    Rewatch();
}

QStringList FileWatch::WatchedPaths() const
{
    return watcher_.files() + watcher_.directories();
}

void FileWatch::Changed(const QString& path, bool directory)
{
    // A look may make a window follow again (or close it): the callbacks
    // are taken first.
    std::vector<std::function<void()>> looks;
    for (const Follower& f : followers_)
        if (directory ? f.directories.contains(path) : f.file == path) looks.push_back(f.look);
    for (const auto& look : looks) look();
    Rewatch();
}

void FileWatch::Rewatch()
{
    QSet<QString> wanted;
    for (const Follower& f : followers_) {
        // Only a regular file has contents to follow: a pipe is read once.
        if (QFileInfo(f.file).isFile()) wanted.insert(f.file);
        for (const QString& d : f.directories)
            if (QFileInfo(d).isDir()) wanted.insert(d);
    }
    const QStringList watched = WatchedPaths();
    QStringList drop, add;
    for (const QString& p : watched)
        if (!wanted.contains(p)) drop << p;
    for (const QString& p : wanted) {
        // A watch follows the file it was put on: after a new file was
        // renamed over the name it watches a file that no longer has it.
        const FileIdentity now = IdentityOfPath(bytetext::FileNameFromQString(p));
        const auto put = watched_files_.constFind(p);
        const bool moved = put != watched_files_.constEnd() && (put->device != now.device || put->inode != now.inode);
        if (moved && watched.contains(p)) drop << p;
        if (moved || !watched.contains(p)) add << p;
        watched_files_.insert(p, now);
    }
    for (const QString& p : drop)
        if (!wanted.contains(p)) watched_files_.remove(p);
    if (!drop.isEmpty()) watcher_.removePaths(drop);
    if (!add.isEmpty()) watcher_.addPaths(add);
}
