#include "support/x_session.h"

#include <QProcess>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

bool XSession::Start(std::string& error)
{
    int pipe_fds[2];
    if (pipe(pipe_fds) != 0) {
        error = "no pipe";
        return false;
    }
    const pid_t pid = fork();
    if (pid < 0) {
        error = "no fork";
        return false;
    }
    if (pid == 0) {
        close(pipe_fds[0]);
        // The server ends with the test program, however that ends.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        const std::string fd = std::to_string(pipe_fds[1]);
        std::freopen("/dev/null", "w", stderr);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipe_fds[1]);
    pid_ = pid;
    // Xvfb writes the display number it took once it accepts clients.
    std::string number;
    char c = 0;
    while (read(pipe_fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(pipe_fds[0]);
    if (number.empty()) {
        error = "Xvfb did not start (scripts/install-deps.sh installs it)";
        return false;
    }
    const std::string display = ":" + number;
    setenv("DISPLAY", display.c_str(), 1);
    if (!Drive({"getmouselocation"})) {
        error = "xdotool does not run (scripts/install-deps.sh installs it)";
        return false;
    }
    return true;
}

XSession::~XSession()
{
    if (pid_ <= 0) return;
    kill(pid_t(pid_), SIGTERM);
    waitpid(pid_t(pid_), nullptr, 0);
}

bool XSession::Drive(const QStringList& arguments)
{
    QProcess xdotool;
    xdotool.setStandardOutputFile(QProcess::nullDevice());
    xdotool.start("xdotool", arguments);
    return xdotool.waitForFinished(10000) && xdotool.exitStatus() == QProcess::NormalExit && xdotool.exitCode() == 0;
}

bool XSession::Click(QPoint global)
{
    return Drive({"mousemove", "--sync", QString::number(global.x()), QString::number(global.y()), "click", "1"});
}

bool XSession::Type(const QString& text)
{
    return Drive({"type", "--delay", "2", text});
}

bool XSession::Key(const QString& key)
{
    return Drive({"key", key});
}
