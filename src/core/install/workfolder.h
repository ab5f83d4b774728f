#pragma once

#include "support/expected.h"

#include <QString>

// An install's private folder "tessel-store-UUID" in the temporary folder, removed when the
// object ends. While it lives the folder itself is locked (flock): a folder whose lock can be
// taken has lost its owner, so a later install may remove it; one another store process (or
// another install of this one) holds is left alone.
class WorkFolder
{
public:
    // Removes the stale work folders in temporary, then makes and locks a new one.
    static Expected<WorkFolder, QString> create(const QString &temporary);

    // Removes every work folder in temporary, of this user, that no live install holds.
    static void removeStale(const QString &temporary);

    WorkFolder(WorkFolder &&other) noexcept;
    WorkFolder &operator=(WorkFolder &&) = delete;
    WorkFolder(const WorkFolder &) = delete;
    WorkFolder &operator=(const WorkFolder &) = delete;
    ~WorkFolder();

    const QString &path() const { return m_path; }

private:
    WorkFolder(QString path, int lock) : m_path(std::move(path)), m_lock(lock) {}

    QString m_path;
    int m_lock = -1; // the open folder the lock is held on
};
