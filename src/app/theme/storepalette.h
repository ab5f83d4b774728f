#pragma once

#include "app/theme/providedsingleton.h"

#include <QQmlEngine>
#include <QQmlPropertyMap>

// The colour tokens of the window as QML sees them ("Store.page", "Store.accent"…): one
// property per token of the core's table, resolved for the effective appearance. Switching
// the appearance rewrites the values, and every binding that reads them repaints at once.
class StorePalette : public QQmlPropertyMap, public ProvidedSingleton<StorePalette>
{
    Q_OBJECT
    QML_NAMED_ELEMENT(Store)
    QML_SINGLETON
    Q_PROPERTY(bool dark READ isDark NOTIFY darkChanged)

public:
    // No default: QML would construct its own palette instead of taking the provided one.
    explicit StorePalette(QObject *parent);

    bool isDark() const { return m_dark; }
    void setDark(bool dark);

Q_SIGNALS:
    void darkChanged();

private:
    void resolve();

    bool m_dark = false;
};
