#pragma once

#include "support/expected.h"

#include <QString>

// Starts a program on its own, as a desktop would: in a new session, with its output going
// nowhere, never to be waited for by this process. Gives the errno of a failed fork or exec:
// the grandchild reports an exec failure through a close-on-exec pipe, which closes unread
// when the exec succeeds.
Expected<Unit, int> launchDetached(const QString &program, const QString &workingDirectory);
