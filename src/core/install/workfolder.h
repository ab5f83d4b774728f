#pragma once

#include "support/expected.h"

#include <QString>

// A private folder "PREFIX-UUID" of an install, removed when the object ends: its work folder
// in the temporary folder, or where a bundle is staged beside an Applications folder. While it
// lives the folder itself is locked (flock): a folder whose lock can be taken has lost its
// owner, so a later install may remove it; one another store process (or another install of
// this one) holds is left alone.
class WorkFolder
{
public:
    // An install's work folder in the temporary folder.
    static inline const QString installPrefix = QStringLiteral("tessel-store-");

    // Removes the stale folders of this prefix in parent, then makes and locks a new one.
    static Expected<WorkFolder, QString> create(const QString &parent, const QString &prefix = installPrefix);

    // Removes every folder of this prefix in parent, of this user, that no live install holds.
    static void removeStale(const QString &parent, const QString &prefix = installPrefix);

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
