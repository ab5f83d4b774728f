#pragma once

#include <QPointer>
#include <QQmlEngine>

// A QML singleton whose one instance the program makes and owns (its composition root, or a
// test), provided before QML first asks for it. The class must not be default-constructible:
// QML would then construct an instance of its own and never call create().
template<typename T> class ProvidedSingleton
{
public:
    static void provide(T *instance) { slot() = instance; }

    // The provided instance, for C++ that QML creates (items); null before provide().
    static T *provided() { return slot(); }

    static T *create(QQmlEngine *, QJSEngine *)
    {
        T *instance = slot();
        Q_ASSERT_X(instance, "ProvidedSingleton", "the program provides the instance before QML is loaded");
        QJSEngine::setObjectOwnership(instance, QJSEngine::CppOwnership);
        return instance;
    }

private:
    static QPointer<T> &slot()
    {
        static QPointer<T> instance;
        return instance;
    }
};
