// SPDX-License-Identifier: MIT
#include "platform/x11/altguardclient.h"

#include <cstdio>
#include <string>
#include <vector>

#include <QFileInfo>
#include <QSocketNotifier>

#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/x11/altguardprotocol.h"

extern char** environ;

namespace platform {

namespace {

QString findGuard(const QStringList& dirs)
{
    for (const QString& dir : dirs) {
        const QFileInfo program(dir + QLatin1Char('/') + QLatin1String(x11::kAltGuardProgram));
        if (program.isFile() && program.isExecutable())
            return program.filePath();
    }
    return {};
}

void warn(const char* what)
{
    std::fprintf(stderr, "tarnix: %s: keys typed in another program right after Alt may reach that program\n", what);
}

} // namespace

X11AltGuardClient::X11AltGuardClient(const char* displayName, const QStringList& guardDirs)
{
    const QByteArray program = findGuard(guardDirs).toLocal8Bit();
    if (program.isEmpty()) {
        warn(qPrintable(QStringLiteral("%1 not found in %2")
                            .arg(QLatin1String(x11::kAltGuardProgram), guardDirs.join(QLatin1String(", ")))));
        return;
    }
    int sockets[2];
    if (socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, sockets) != 0) {
        warn("no socket for the Alt guard");
        return;
    }
    std::vector<std::string> arguments{program.toStdString(), displayName, std::to_string(getpid())};
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, sockets[1], x11::kAltGuardSocket);
    // From the main thread, which lives as long as the program: the guard ends with it.
    const int failed = posix_spawn(&guardPid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(sockets[1]);
    if (failed) {
        close(sockets[0]);
        guardPid_ = -1;
        warn("the Alt guard did not start");
        return;
    }
    guard_ = sockets[0];
    // The guard sends nothing: the socket turns readable only when it has ended.
    guardEnded_ = std::make_unique<QSocketNotifier>(guard_, QSocketNotifier::Read);
    QObject::connect(guardEnded_.get(), &QSocketNotifier::activated, guardEnded_.get(), [this] {
        warn("the Alt guard ended");
        // Not deleted while it is telling of it.
        guardEnded_->setEnabled(false);
        guardEnded_.release()->deleteLater();
        endGuard();
    });
}

X11AltGuardClient::~X11AltGuardClient()
{
    endGuard();
}

void X11AltGuardClient::endGuard()
{
    guardEnded_.reset();
    if (guard_ >= 0)
        close(guard_); // the guard ends when it reads the end of the socket
    guard_ = -1;
    if (guardPid_ > 0) {
        kill(guardPid_, SIGTERM);
        waitpid(guardPid_, nullptr, 0);
    }
    guardPid_ = -1;
}

void X11AltGuardClient::tell(std::uint32_t time, std::uint32_t focusWindow)
{
    if (guard_ < 0)
        return;
    const x11::AltPressRead answer{time, focusWindow};
    // Never waits: the guard reads at once, and a guard gone is noticed by the notifier.
    send(guard_, &answer, sizeof answer, MSG_DONTWAIT | MSG_NOSIGNAL);
}

} // namespace platform
