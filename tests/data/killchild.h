// Kill tests: the test binary runs again as a child with arguments of its
// own, and dies by SIGKILL either at a counted step of the work (the
// program's hook "TARVO_KILL_AT_STEP") or after a time from the moment the
// child writes "go" on its output, just before the work starts.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <functional>

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

// Sees how a child ended (killed or not) and when ("Schritt 3", "nach 812 µs").
using TKillCheck = std::function<void(const TKillChildEnd &end, const QString &when)>;

// Runs the child killed at step 1, 2, ... until it runs to its end, then
// once more whole, and killed at `runs` random moments within the time of
// that run; reset comes before each run. The number of steps.
inline int KillAtEveryStepAndAtRandom(const QStringList &args, int runs, quint32 seed, const std::function<void()> &reset,
                                      const TKillCheck &check)
{
    int steps = 0;
    for (int step = 1; step < 100; ++step) {
        reset();
        const TKillChildEnd end = RunKillChild(args, step);
        check(end, QStringLiteral("Schritt %1").arg(step));
        if (!end.killed) {
            steps = step - 1;
            break;
        }
    }
    reset();
    QElapsedTimer clock;
    clock.start();
    check(RunKillChild(args, 0), QStringLiteral("ganz"));
    const quint32 whole = quint32(qMax<qint64>(1, clock.nsecsElapsed() / 1000));
    QRandomGenerator random(seed);
    for (int run = 0; run < runs; ++run) {
        reset();
        const qint64 at = random.bounded(whole);
        check(RunKillChild(args, 0, at), QStringLiteral("nach %1 µs").arg(at));
    }
    return steps;
}
