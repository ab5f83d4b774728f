// tessel-demo-app: the main executable of every sample app of the demo service. It shows
// which app and version it is, read from its own bundle, and quits cleanly on SIGTERM so
// that the store's polite quit works on it.
#include "platform/bundle.h"

#include <QApplication>
#include <QLabel>
#include <QSocketNotifier>
#include <QVBoxLayout>
#include <QWidget>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

// A signal handler may only write to a file descriptor; the event loop does the rest.
void onTerminate(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    const Bundle bundle = Bundle::main();
    const QString name = bundle.string(QStringLiteral("CFBundleName"));
    const QString version = bundle.string(QStringLiteral("CFBundleShortVersionString"));
    const QString build = bundle.string(QStringLiteral("CFBundleVersion"));

    ::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe);
    QSocketNotifier notifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &application, &QApplication::quit);
    struct sigaction action = {};
    action.sa_handler = onTerminate;
    sigaction(SIGTERM, &action, nullptr);

    QWidget window;
    window.setWindowTitle(name.isEmpty() ? QStringLiteral("Demo app") : name);
    auto *layout = new QVBoxLayout(&window);
    auto *title = new QLabel(name.isEmpty() ? QStringLiteral("(not inside an app bundle)") : name);
    QFont large = title->font();
    large.setPointSize(large.pointSize() * 2);
    large.setBold(true);
    title->setFont(large);
    layout->addWidget(title);
    layout->addWidget(new QLabel(QApplication::translate("DemoApp", "Version %1 (build %2)").arg(version, build)));
    layout->addWidget(new QLabel(bundle.path()));
    window.resize(420, 160);
    window.show();
    return QApplication::exec();
}
