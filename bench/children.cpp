#include "children.h"

#include "results.h"
#include "workload.h"

#include <QByteArray>
#include <QFile>

#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

double now()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

} // namespace

Child runChild(const std::string &program, const std::vector<std::string> &args,
               const std::vector<std::string> &extraEnv, int expectedStatus, const char *outputFile)
{
    std::vector<std::string> env;
    for (char **e = environ; *e; ++e) {
        if (std::strncmp(*e, "QT_QPA_PLATFORM=", 16) != 0
            && std::strncmp(*e, "QT_QPA_GENERIC_PLUGINS=", 23) != 0
            && std::strncmp(*e, "GLIBC_TUNABLES=", 15) != 0)
            env.emplace_back(*e);
    }
    env.emplace_back("QT_QPA_PLATFORM=offscreen");
    env.insert(env.end(), extraEnv.begin(), extraEnv.end());
    std::vector<char *> envp;
    for (std::string &e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> argStore{program};
    argStore.insert(argStore.end(), args.begin(), args.end());
    std::vector<char *> argv;
    for (std::string &a : argStore)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const std::string output = outputFile ? outputFile : Workload::scratchPath(QStringLiteral("child.out")).toStdString();
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);

    Child child;
    const double start = now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return child;
    // A child that never ends (a window that is never painted, say) is killed
    // after two minutes and fails its benchmark instead of hanging the run.
    // Waiting on a pidfd returns the moment the child ends, so it adds nothing
    // to the times measured.
    const int pidfd = int(syscall(SYS_pidfd_open, pid, 0));
    bool hung = false;
    if (pidfd >= 0) {
        pollfd ended{pidfd, POLLIN, 0};
        hung = poll(&ended, 1, 120'000) == 0;
        close(pidfd);
    }
    if (hung)
        kill(pid, SIGKILL);
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || hung)
        return child;
    child.wallSeconds = now() - start;
    child.cpuSeconds = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
    child.ok = WIFEXITED(status) && WEXITSTATUS(status) == expectedStatus;
    QFile printed(QString::fromStdString(output));
    if (printed.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : printed.readAll().split('\n')) {
            if (line.startsWith("peak-rss-bytes "))
                child.peakBytes = line.mid(15).toDouble();
        }
    }
    return child;
}

std::vector<std::string> quitAfterPaint()
{
    return {"QT_PLUGIN_PATH=" ZN7_BENCH_PLUGINS, "QT_QPA_GENERIC_PLUGINS=zn7quitafterpaint"};
}

void record(const std::string &name, const Child &child)
{
    auto &values = Results::processes();
    values[name].push_back(child.wallSeconds);
    values[name + "/cpu"].push_back(child.cpuSeconds);
    values[name + "/peak"].push_back(child.peakBytes);
}

