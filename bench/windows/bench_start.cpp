// A returning user's start up to the painted main window, with a stored
// database of 25,000 media and 100,000 films against the same start without
// a database. Each start is a fresh process (this program run as a child),
// so time and memory are the whole program's; the figures are the medians
// of the pairs and their ratios.
#include "bench/common/collection.h"
#include "app/settings.h"
#include "data/databasefiles.h"
#include "data/tableschemas.h"
#include "kit/scriptedpresenter.h"
#include "kit/textfit.h"
#include "platform/registry.h"
#include "program/controlhandlers.h"
#include "program/introbox.h"
#include "program/programdialogs.h"
#include "program/tarvomain.h"
#include "windows/main/mainform.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

const char *const kChildArg = "--start-child";

double residentMB()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> v = f.readAll().split(' ');
    return v.size() > 1 ? v[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0) : 0;
}

// The settings store and program folders of one start, below root.
void useStore(const QString &root)
{
    platform::setUserRegistryFile(root + QStringLiteral("/config/user.reg"));
    platform::setMachineRegistryFiles(root + QStringLiteral("/nosys/machine.reg"),
                                      root + QStringLiteral("/config/machine.reg"));
    SetProfileBaseDir(root + QStringLiteral("/data"));
}

// Any paint of the main window or one of its parts.
struct PaintWatch : QObject {
    bool painted = false;
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (e->type() == QEvent::Paint && o->isWidgetType() && static_cast<QWidget *>(o)->window() == Mainform)
            painted = true;
        return QObject::eventFilter(o, e);
    }
};

// The child: the program's own start on the store below root, until the
// main window has been painted once; prints milliseconds and resident MB.
int startChild(int argc, char **argv, const QString &root)
{
    QElapsedTimer t;
    t.start();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvo"));
    QApplication::setOrganizationName(QStringLiteral("Ozo-Software"));
    kit::UseProgramFont();
    InstallGermanTranslations(app);
    ProgramDialogs dialogs;
    kit::ScriptedPresenter presenter; // a box before the first paint must not block
    InstallControlHandlers();
    useStore(root);
    StartTarvo({});
    PaintWatch watch;
    app.installEventFilter(&watch);
    while (!watch.painted && t.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const qint64 ms = t.nsecsElapsed() / 1000;
    const double mb = residentMB();
    std::printf("%lld %.3f %d\n", static_cast<long long>(ms), mb, watch.painted ? 1 : 0);
    std::fflush(stdout);
    delete Introbox;
    delete Mainform;
    return 0;
}

struct Setup {
    benchdata::Collection c;
    QTemporaryDir withDb, withoutDb;

    static void seed(const QString &root, const QString &dbFile)
    {
        useStore(root);
        QDir().mkpath(root + QStringLiteral("/data"));
        platform::Registry r;
        r.openKey(QStringLiteral("Software\\Ozo-Software\\TARVO"), true);
        r.writeString(QStringLiteral("FirstRun"), QStringLiteral("No"));
        r.writeString(QStringLiteral("UpdChk"), QStringLiteral("no"));
        r.writeString(QStringLiteral("ShowTipODay"), QStringLiteral("No"));
        r.writeBool(QStringLiteral("AutoMahnliste"), false);
        if (!dbFile.isEmpty())
            r.writeString(QStringLiteral("DBFile"), dbFile);
    }

    Setup() : c(benchdata::makeCollection(benchdata::benchMedia()))
    {
        // A database made as the program makes one, then given the
        // collection's tables.
        useStore(withDb.path());
        InitSettingsDefaults(withDb.filePath(QStringLiteral("prog")) + QLatin1Char('/'));
        QDir().mkpath(ProgDir);
        CreateTemplateTables(ProgDir);
        for (const char *f : {"Def60.KAT", "Def60.Pers.LAB"}) {
            QFile file(ProgDir + QLatin1String(f));
            file.open(QIODevice::WriteOnly);
        }
        const QString db = withDb.filePath(QStringLiteral("dbs/A"));
        CreateDatabaseFiles(db, true, true);
        for (const char *t : {"Med.DB", "Film.DB", "Pers.DB"}) {
            const QString to = db + QStringLiteral("/DB/") + QLatin1String(t);
            QFile::remove(to);
            QFile::copy(c.folder + QLatin1Char('/') + QLatin1String(t), to);
        }
        seed(withDb.path(), db + QLatin1Char('/'));
        seed(withoutDb.path(), QString());
    }
};

struct Start {
    double ms = 0, mb = 0;
};

Start runChild(const QString &root)
{
    QProcess p;
    p.start(QCoreApplication::applicationFilePath(), {QLatin1String(kChildArg), root});
    Start s;
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return s;
    }
    const QByteArray out = p.readAllStandardOutput().trimmed();
    const QList<QByteArray> v = out.split(' ');
    if (v.size() == 3 && v[2] == "1") {
        s.ms = v[0].toDouble() / 1000.0;
        s.mb = v[1].toDouble();
    } else {
        std::fprintf(stderr, "%s\n%s\n", out.constData(), p.readAllStandardError().constData());
    }
    return s;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

void BM_StartToPaintedMainWindow(benchmark::State &state)
{
    Setup setup;
    std::vector<double> msDb, msNone, mbDb, mbNone;
    for (auto _ : state) {
        // One start of each, alternating, so a busy moment hits both alike.
        const Start none = runChild(setup.withoutDb.path());
        const Start db = runChild(setup.withDb.path());
        if (!none.ms || !db.ms) {
            state.SkipWithError("a start did not paint its main window");
            return;
        }
        msNone.push_back(none.ms);
        msDb.push_back(db.ms);
        mbNone.push_back(none.mb);
        mbDb.push_back(db.mb);
    }
    state.counters["ms_db"] = median(msDb);
    state.counters["ms_nodb"] = median(msNone);
    state.counters["MB_db"] = median(mbDb);
    state.counters["MB_nodb"] = median(mbNone);
    state.counters["time_ratio"] = median(msDb) / median(msNone);
    state.counters["mem_ratio"] = median(mbDb) / median(mbNone);
}
BENCHMARK(BM_StartToPaintedMainWindow)->Unit(benchmark::kMillisecond)->Iterations(7);

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && qstrcmp(argv[1], kChildArg) == 0) {
        const QString root = QString::fromLocal8Bit(argv[2]);
        return startChild(1, argv, root);
    }
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
