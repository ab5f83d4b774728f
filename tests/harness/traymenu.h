#pragma once

#include <QDBusMessage>
#include <QList>
#include <QString>
#include <QStringList>

// A tray item's menu as the desktop reads it over the menu protocol: opened, read, clicked.
class TrayMenu
{
public:
    struct Entry
    {
        int id = 0;
        QString label;
        bool enabled = true;
        bool separator = false;
    };

    // The menu of the item registered under this service.
    explicit TrayMenu(QString service) : m_service(std::move(service)) {}

    // Opens the menu as the desktop does, then reads what it shows; empty when it cannot be read.
    QList<Entry> open() const;
    void click(const Entry &entry) const;
    // The first entry of the last reading with this label.
    Entry entry(const QString &label) const;

    // The labels, a separator as "-".
    static QStringList labels(const QList<Entry> &entries);

    // A call into what may be this very process: its answer comes while events go on.
    static QDBusMessage callAndWait(const QDBusMessage &call);

private:
    QDBusMessage call(const QString &method) const;

    QString m_service;
    mutable QList<Entry> m_last;
};
