#pragma once

#include "feeds/appcastrelease.h"
#include "platform/systemversion.h"

#include <QByteArray>
#include <QList>
#include <QXmlStreamAttributes>
#include <optional>

// Reads an update feed in the appcast dialect of RSS, event by event. Element and attribute
// names are matched exactly as written, prefix included ("sparkle:version"): no namespace
// resolution, so a feed that binds the prefix to another namespace still reads the same.
class AppcastParser
{
public:
    // The newest full release this system can run: the highest build among the releases
    // whose minimum system is not newer; on equal builds the earlier one. Nothing when
    // none qualifies or the document is not well-formed XML.
    static std::optional<AppcastRelease> newest(const QByteArray &feed, const SystemVersion &systemVersion);

    // Every usable release in document order, or nothing when the document is not well-formed.
    static std::optional<QList<AppcastRelease>> releases(const QByteArray &feed);

private:
    void elementStarted(QStringView name, const QXmlStreamAttributes &attributes);
    void charactersFound(QStringView characters);
    void elementEnded(QStringView name);
    std::optional<AppcastRelease> itemRelease() const;

    QList<AppcastRelease> m_releases;
    bool m_inItem = false;
    QString m_text;
    std::optional<QString> m_shortVersion;
    std::optional<QString> m_build;
    std::optional<QString> m_minimumSystem;
    std::optional<QXmlStreamAttributes> m_enclosure; // implicitly shared: remembering one copies nothing
};
