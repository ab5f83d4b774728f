#pragma once

#include "install/installfailure.h"
#include "net/transferlimits.h"
#include "support/expected.h"

#include <QString>
#include <QUrl>
#include <functional>
#include <qcorotask.h>

class QNetworkAccessManager;

// Called with the download's progress, 0 to 1; may be called from any thread.
using ProgressCallback = std::function<void(double)>;

namespace ArchiveDownload {

// The archive's file name: the address's last path component, percent-decoded, or "archive".
// A name that is not one plain path component (a decoded "/", "..") becomes "archive" too.
QString fileName(const QUrl &url);

// Streams the archive into the folder (never wholly into memory) and gives its path.
// Progress runs from 0.0, never above 0.99 during the transfer, to 1.0 once the file is in
// place. Only the body of a 200 or 206 answer is written. A transfer failure, a limit
// crossed or an answer that is not the whole resource is Download, a file that cannot be
// written FileSystem, each with the reason; neither leaves a file.
QCoro::Task<Expected<QString, InstallFailure>> download(QNetworkAccessManager *session, QUrl url, QString folder,
                                                        TransferLimits limits, ProgressCallback progress);

} // namespace ArchiveDownload
