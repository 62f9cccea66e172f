// Kill tests: the test binary runs again as a child with arguments of its
// own, and dies by SIGKILL either at a counted step of the work (the
// program's hook "TARVO_KILL_AT_STEP") or after a time from the moment the
// child writes "go" on its output, just before the work starts.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

struct TKillChildEnd
{
    bool killed = false; // died by a signal
    int exitCode = -1;   // else its exit code
};

// atStep > 0: killed by the hook at that step; afterUs >= 0: killed from
// outside that many microseconds after "go".
inline TKillChildEnd RunKillChild(const QStringList &args, int atStep, qint64 afterUs = -1)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("TARVO_KILL_AT_STEP"));
    if (atStep > 0)
        env.insert(QStringLiteral("TARVO_KILL_AT_STEP"), QString::number(atStep));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), args);
    if (!child.waitForStarted(10000))
        return {};
    if (afterUs >= 0) {
        while (!child.canReadLine() && child.state() == QProcess::Running)
            child.waitForReadyRead(10000);
        QElapsedTimer clock;
        clock.start();
        while (clock.nsecsElapsed() / 1000 < afterUs)
            QThread::usleep(50);
        child.kill();
    }
    child.waitForFinished(60000);
    return {child.exitStatus() == QProcess::CrashExit, child.exitCode()};
}

// In the child: tells the parent that the work starts now.
inline void KillChildGo()
{
    fputs("go\n", stdout);
    fflush(stdout);
}
