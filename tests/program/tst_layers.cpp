// The layers stay as docs/architecture.md draws them: every #include "folder/..."
// of src/ and every DEPS entry of the folders' CMakeLists.txt points down (or
// sideways inside the band of print, query, exchange and online, where the
// folder names the other in its DEPS), the libraries link no cycle, an
// include is covered by what the folder links, and the layers without
// windows (app, data, online) include no header of Qt's widget library nor
// derive from one of its classes; app and data include no kit either.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

namespace {

// Lowest first; folders of one rank form a band.
const QHash<QString, int> &ranks()
{
    static const QHash<QString, int> r = {
        {"platform", 0}, {"engine", 1}, {"dbui", 2},     {"kit", 3},    {"app", 4},     {"data", 5},
        {"print", 6},    {"query", 6},  {"exchange", 6}, {"online", 6}, {"windows", 7}, {"program", 8},
    };
    return r;
}

QString srcDir()
{
    return QStringLiteral(TARVO_SOURCE_DIR "/src");
}

QString readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll());
}

// Folder -> the tarvo folders its library links.
QHash<QString, QSet<QString>> readDeps(QStringList *problems)
{
    QHash<QString, QSet<QString>> deps;
    static const QRegularExpression call(QStringLiteral("tarvo_library\\(\\s*(\\w+)\\s+DEPS([^)]*)\\)"));
    static const QRegularExpression lib(QStringLiteral("\\btarvo_(\\w+)\\b"));
    for (const QString &folder : ranks().keys()) {
        const QString text = readAll(srcDir() + QLatin1Char('/') + folder + QStringLiteral("/CMakeLists.txt"));
        if (text.isEmpty())
            continue;
        const auto m = call.match(text);
        if (!m.hasMatch() || m.captured(1) != folder) {
            *problems << folder + QStringLiteral(": no tarvo_library(") + folder + QStringLiteral(" DEPS ...)");
            continue;
        }
        QSet<QString> &d = deps[folder];
        for (auto it = lib.globalMatch(m.captured(2)); it.hasNext();)
            d.insert(it.next().captured(1));
    }
    return deps;
}

bool allowed(const QString &from, const QString &to, const QHash<QString, QSet<QString>> &deps)
{
    if (from == to)
        return true;
    const int a = ranks().value(from, -1), b = ranks().value(to, -1);
    if (b < a)
        return true;
    return a == b && deps.value(from).contains(to); // inside the band, named in DEPS
}

// A cycle through the DEPS, as "a -> b -> a", or empty.
QString findCycle(const QHash<QString, QSet<QString>> &deps)
{
    QHash<QString, int> mark; // 1: on the path, 2: done
    QStringList path;
    std::function<QString(const QString &)> visit = [&](const QString &n) -> QString {
        mark[n] = 1;
        path << n;
        for (const QString &m : deps.value(n)) {
            if (!ranks().contains(m))
                continue;
            if (mark.value(m) == 1)
                return (path.mid(path.indexOf(m)) << m).join(QStringLiteral(" -> "));
            if (mark.value(m) == 0) {
                const QString c = visit(m);
                if (!c.isEmpty())
                    return c;
            }
        }
        path.removeLast();
        mark[n] = 2;
        return QString();
    };
    for (const QString &n : deps.keys())
        if (mark.value(n) == 0) {
            const QString c = visit(n);
            if (!c.isEmpty())
                return c;
        }
    return QString();
}

QSet<QString> closure(const QString &folder, const QHash<QString, QSet<QString>> &deps)
{
    QSet<QString> seen;
    QStringList todo{folder};
    while (!todo.isEmpty()) {
        const QString n = todo.takeLast();
        for (const QString &m : deps.value(n))
            if (!seen.contains(m)) {
                seen.insert(m);
                todo << m;
            }
    }
    return seen;
}

// Every problem of the tree under src/.
QStringList layerProblems()
{
    QStringList problems;
    const auto deps = readDeps(&problems);
    for (auto it = deps.begin(); it != deps.end(); ++it)
        for (const QString &d : it.value())
            if (ranks().contains(d) && !allowed(it.key(), d, deps))
                problems << QStringLiteral("%1/CMakeLists.txt links tarvo_%2, a layer above it").arg(it.key(), d);
    const QString cycle = findCycle(deps);
    if (!cycle.isEmpty())
        problems << QStringLiteral("cycle of libraries: ") + cycle;

    static const QRegularExpression include(QStringLiteral("^\\s*#\\s*include\\s*([\"<])([^\">]+)[\">]"),
                                            QRegularExpression::MultilineOption);
    static const QRegularExpression base(QStringLiteral("\\b(?:public|protected|private)\\s+(Q\\w+)\\b"));
    // A header of Qt's widget library, as <QLabel> or <QtWidgets/QLabel>.
    const QString widgetHeaders = QLibraryInfo::path(QLibraryInfo::HeadersPath) + QStringLiteral("/QtWidgets/");
    const auto isWidgetHeader = [&](const QString &name) {
        return name.startsWith(QLatin1String("QtWidgets")) || QFileInfo::exists(widgetHeaders + name);
    };
    if (!isWidgetHeader(QStringLiteral("QLabel")) || isWidgetHeader(QStringLiteral("QString")))
        problems << QStringLiteral("Qt's widget headers are not in ") + widgetHeaders;
    QDirIterator files(srcDir(), {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        const QString rel = QDir(srcDir()).relativeFilePath(path);
        const QString folder = rel.contains(QLatin1Char('/')) ? rel.section(QLatin1Char('/'), 0, 0) : QStringLiteral("program");
        if (!ranks().contains(folder)) {
            problems << rel + QStringLiteral(": folder without a layer");
            continue;
        }
        const QSet<QString> linked = closure(folder, deps);
        const bool noKit = folder == QLatin1String("app") || folder == QLatin1String("data");
        const bool noWindows = noKit || folder == QLatin1String("online");
        const QString text = readAll(path);
        for (auto m = base.globalMatch(text); noWindows && m.hasNext();) {
            const QString name = m.next().captured(1);
            if (isWidgetHeader(name))
                problems << QStringLiteral("%1 derives from %2: no windows in %3").arg(rel, name, folder);
        }
        for (auto m = include.globalMatch(text); m.hasNext();) {
            const auto hit = m.next();
            const QString name = hit.captured(2);
            if (hit.captured(1) == QLatin1String("<")) {
                if (noWindows && isWidgetHeader(name))
                    problems << QStringLiteral("%1 includes <%2>: no windows in %3").arg(rel, name, folder);
                continue;
            }
            const QString to = name.section(QLatin1Char('/'), 0, 0);
            if (!name.contains(QLatin1Char('/')) || !ranks().contains(to))
                continue;
            if (!allowed(folder, to, deps))
                problems << QStringLiteral("%1 includes \"%2\", a layer above %3").arg(rel, name, folder);
            else if (to != folder && !linked.contains(to))
                problems << QStringLiteral("%1 includes \"%2\" but %3 does not link tarvo_%4").arg(rel, name, folder, to);
            if (noKit && to == QLatin1String("kit"))
                problems << QStringLiteral("%1 includes \"%2\": app and data reach the user through "
                                           "platform/userdialogs.h").arg(rel, name);
        }
    }
    return problems;
}

} // namespace

class TstLayers : public QObject
{
    Q_OBJECT
private slots:
    void everyIncludeAndLinkPointsDown()
    {
        const QStringList problems = layerProblems();
        if (!problems.isEmpty())
            qWarning().noquote() << problems.join(QLatin1Char('\n'));
        QCOMPARE(problems, QStringList());
    }

    void theCheckSeesUpwardLinksAndCycles()
    {
        QHash<QString, QSet<QString>> deps{{"data", {"engine", "app"}}, {"app", {"data"}}};
        QVERIFY(!allowed(QStringLiteral("app"), QStringLiteral("data"), deps));
        QVERIFY(allowed(QStringLiteral("data"), QStringLiteral("app"), deps));
        QCOMPARE(findCycle(deps).count(QStringLiteral("->")), 2);
        deps[QStringLiteral("app")].clear();
        QVERIFY(findCycle(deps).isEmpty());
        // Inside the band only where DEPS names the other folder.
        QVERIFY(!allowed(QStringLiteral("query"), QStringLiteral("print"), deps));
        deps[QStringLiteral("query")] = {QStringLiteral("print")};
        QVERIFY(allowed(QStringLiteral("query"), QStringLiteral("print"), deps));
        QCOMPARE(closure(QStringLiteral("data"), deps), (QSet<QString>{"engine", "app"}));
    }
};

QTEST_GUILESS_MAIN(TstLayers)
#include "tst_layers.moc"
