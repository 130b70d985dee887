// SPDX-License-Identifier: MIT
#include "platform/webengine/webenginesandbox.h"

#include <QCoreApplication>
#include <QStringList>
#include <QtGlobal>

#include <cstdio>
#include <unistd.h>

namespace platform {

namespace {

bool sandboxAlreadyDecided()
{
    if (qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        return true;
    if (qEnvironmentVariable("QTWEBENGINE_CHROMIUM_FLAGS").contains(QLatin1String("--no-sandbox")))
        return true;
    return QCoreApplication::arguments().contains(QLatin1String("--no-sandbox"));
}

} // namespace

void allowWebEngineWithoutSandboxAsRoot()
{
    if (geteuid() != 0 || sandboxAlreadyDecided())
        return;
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    std::fputs("tarnix: running as root, so the browser pane runs without its sandbox\n", stderr);
}

} // namespace platform
