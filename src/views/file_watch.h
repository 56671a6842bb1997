#pragma once
// One file-system watcher for every window that shows a file. Each file is
// watched for its contents, and its directory for a file renamed over it,
// removed or made anew (the watch on a file that was replaced is lost with
// it; the window's next Follow puts one on the new file). A watch only says
// "look again": the window compares the file with what it recorded
// (docs/disk_check.h) and decides.

#include "base/file_identity.h"

#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QStringList>

#include <functional>
#include <string>
#include <vector>

class FileWatch : public QObject {
    Q_OBJECT
public:
    // The watcher of the application (made on first use, gone with it).
    static FileWatch& Shared();

    // `window` follows `path`: `look` runs whenever the file or its
    // directory changes. Calling it again renews the watches (a new file
    // under the name, a new name).
    void Follow(QObject* window, const std::string& path, std::function<void()> look);
    void Forget(QObject* window);

    // The paths watched now (for tests).
    QStringList WatchedPaths() const;

private:
    explicit FileWatch(QObject* parent);

    struct Follower {
        QObject* window = nullptr;
        QString file;
        QStringList directories;  // of the name, and of the file a link leads to
        std::function<void()> look;
    };

    void Changed(const QString& path, bool directory);
    // Adds the watches the followers need and drops the others.
    void Rewatch();

    QFileSystemWatcher watcher_;
    // The file each watched path led to when its watch was put on.
    QHash<QString, FileIdentity> watched_files_;
    std::vector<Follower> followers_;
};
