#pragma once

#include "feeds/appcastrelease.h"
#include "platform/systemversion.h"
#include "support/expected.h"

#include <QByteArray>
#include <QList>
#include <optional>

// Reads an update feed in the appcast dialect of RSS, event by event. Element and attribute
// names are matched exactly as written, prefix included ("sparkle:version"): no namespace
// resolution, so a feed that binds the prefix to another namespace still reads the same.
namespace AppcastParser {

enum class Failure {
    Malformed,       // not well-formed XML, or an entity that would have to be fetched
    NothingRunnable, // well-formed, but no full release this system can run
};

// The newest full release this system can run: the highest build among the releases whose
// minimum system is not newer; on equal builds the earlier one.
Expected<AppcastRelease, Failure> newest(const QByteArray &feed, const SystemVersion &systemVersion);

// Every usable release in document order (items on a "sparkle:channel" are not: they are
// offered only to those who opt in), or nothing when the document is not well-formed.
std::optional<QList<AppcastRelease>> releases(const QByteArray &feed);

// "malformed" or "nothing runnable", for logs and tools.
QString failureName(Failure failure);

} // namespace AppcastParser
