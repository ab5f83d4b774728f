#include "platform/detachedlaunch.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Between fork and exec only async-signal-safe calls are made; every string is ready before.
[[noreturn]] void runGrandchild(const char *program, const char *folder, int report)
{
    ::setsid();
    const int nothing = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    if (nothing >= 0) {
        ::dup2(nothing, STDIN_FILENO);
        ::dup2(nothing, STDOUT_FILENO);
        ::dup2(nothing, STDERR_FILENO);
    }
    if (::chdir(folder) == 0) {
        char *const arguments[] = {const_cast<char *>(program), nullptr};
        ::execv(program, arguments);
    }
    const int error = errno;
    [[maybe_unused]] const ssize_t written = ::write(report, &error, sizeof error);
    ::_exit(127);
}

} // namespace

Expected<Unit, int> launchDetached(const QString &program, const QString &workingDirectory)
{
    const QByteArray programPath = QFile::encodeName(program);
    const QByteArray folderPath = QFile::encodeName(workingDirectory);
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return errno;
    const pid_t child = ::fork();
    if (child < 0) {
        const int error = errno;
        ::close(report[0]);
        ::close(report[1]);
        return error;
    }
    if (child == 0) {
        // The middle process ends at once, so that the app is nobody's child here.
        ::close(report[0]);
        const pid_t grandchild = ::fork();
        if (grandchild == 0)
            runGrandchild(programPath.constData(), folderPath.constData(), report[1]);
        ::_exit(grandchild < 0 ? 1 : 0);
    }
    ::close(report[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t got = 0;
    do {
        got = ::read(report[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    ::close(report[0]);
    // Nothing to read: the pipe closed with the exec. A middle process that could not fork
    // closes it too, and tells by its status.
    if (got == ssize_t(sizeof error))
        return error;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return ECHILD;
    return Unit{};
}
