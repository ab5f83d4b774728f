#pragma once

#include "app/theme/theme.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

// The main() of a test that opens the store's window: the store keeps its settings and
// caches in a home of the test's own, under the store's names, with its fonts and style.
template<typename Test> int runWindowTest(int argc, char *argv[])
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    for (const char *variable : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"})
        qunsetenv(variable);
    QGuiApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Orvel"));
    QCoreApplication::setApplicationName(QStringLiteral("Tessel Store"));
    Theme::prepareApplication();
    Test test;
    return QTest::qExec(&test, argc, argv);
}
