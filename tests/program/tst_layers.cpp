// The layers stay as docs/architecture.md draws them: every #include "folder/..."
// of src/ and every DEPS entry of the folders' CMakeLists.txt points down (or
// sideways inside the band of print, query, exchange and online, where the
// folder names the other in its DEPS), the libraries link no cycle, an
// include is covered by what the folder links, the layers without windows
// (app, data) include no kit header, and the models and renderers (print,
// query, exchange, online) like them neither include a widget header (of Qt
// Widgets, a print dialog, or one of ours that makes a widget or shows a
// message) nor derive a class from a widget: they return results and errors,
// and the windows show them. The windows' files lie in the folders of their
// areas.
#include <QDir>
#include <QDirIterator>
#include <QFile>
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

// The areas of the windows, one folder each (docs/architecture.md).
const QSet<QString> &windowAreas()
{
    static const QSet<QString> a = {"main", "cards", "labels", "printing", "queries", "exchange", "tables", "dialogs"};
    return a;
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

// The folders whose code makes no window and shows no message.
bool withoutWidgets(const QString &folder)
{
    static const QSet<QString> f = {"app", "data", "print", "query", "exchange", "online"};
    return f.contains(folder);
}

// The class names of Qt's widget headers (QWidget, QDialog, QPrintDialog ...).
const QSet<QString> &qtWidgetClasses()
{
    static const QSet<QString> names = [] {
        QSet<QString> n;
        const QString headers = QLibraryInfo::path(QLibraryInfo::HeadersPath);
        for (const char *module : {"QtWidgets", "QtCharts"})
            for (const QString &h : QDir(headers + QLatin1Char('/') + QLatin1String(module)).entryList(QDir::Files))
                if (h.startsWith(QLatin1Char('Q')) && !h.contains(QLatin1Char('.')))
                    n.insert(h);
        n.unite({"QPrintDialog", "QAbstractPrintDialog", "QPageSetupDialog", "QPrintPreviewDialog",
                 "QPrintPreviewWidget"});
        return n;
    }();
    return names;
}

const QRegularExpression &includePattern()
{
    static const QRegularExpression include(QStringLiteral("^\\s*#\\s*include\\s*([\"<])([^\">]+)[\">]"),
                                            QRegularExpression::MultilineOption);
    return include;
}

// "class A : public B, ..." -> the bases named.
QStringList baseClasses(const QString &text, QStringList *derived = nullptr)
{
    static const QRegularExpression decl(
        QStringLiteral("\\b(?:class|struct)\\s+(?:\\w+\\s+)?(\\w+)\\s*(?:final\\s*)?:(?!:)\\s*([^{;]+)\\{"));
    static const QRegularExpression base(QStringLiteral("(?:public|protected|private)?\\s*([\\w:]+)"));
    QStringList bases;
    for (auto m = decl.globalMatch(text); m.hasNext();) {
        const auto hit = m.next();
        for (const QString &part : hit.captured(2).split(QLatin1Char(','))) {
            const auto b = base.match(part.trimmed());
            if (b.hasMatch()) {
                bases << b.captured(1).section(QStringLiteral("::"), -1);
                if (derived)
                    *derived << hit.captured(1);
            }
        }
    }
    return bases;
}

// What makes a file a widget user: the widget classes of Qt and of src/ (every
// class that derives from one, to any depth), and the headers under src/ that
// declare such a class, include one, or show messages (the presenter).
struct WidgetWorld {
    QSet<QString> classes;
    QSet<QString> headers; // "kit/waitbox.h"
};

bool usesWidgets(const QString &text, const WidgetWorld &w, QString *what)
{
    for (auto m = includePattern().globalMatch(text); m.hasNext();) {
        const auto hit = m.next();
        const QString name = hit.captured(2);
        const bool qt = hit.captured(1) == QLatin1String("<");
        if ((qt && w.classes.contains(name.section(QLatin1Char('/'), -1))) || (!qt && w.headers.contains(name))) {
            *what = QStringLiteral("includes ") + name;
            return true;
        }
    }
    for (const QString &b : baseClasses(text))
        if (w.classes.contains(b)) {
            *what = QStringLiteral("derives from ") + b;
            return true;
        }
    return false;
}

WidgetWorld widgetWorld()
{
    WidgetWorld w;
    w.classes = qtWidgetClasses();
    w.headers = {QStringLiteral("kit/presenter.h")};
    QHash<QString, QString> texts; // "kit/x.h" -> text
    QDirIterator files(srcDir(), {QStringLiteral("*.h")}, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        texts.insert(QDir(srcDir()).relativeFilePath(path), readAll(path));
    }
    for (bool grew = true; grew;) {
        grew = false;
        for (auto it = texts.cbegin(); it != texts.cend(); ++it) {
            QStringList derived;
            const QStringList bases = baseClasses(it.value(), &derived);
            for (int i = 0; i < bases.size(); ++i)
                if (w.classes.contains(bases[i]) && !w.classes.contains(derived[i])) {
                    w.classes.insert(derived[i]);
                    grew = true;
                }
            QString what;
            if (!w.headers.contains(it.key()) && usesWidgets(it.value(), w, &what)) {
                w.headers.insert(it.key());
                grew = true;
            }
        }
    }
    return w;
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

    const WidgetWorld widgets = widgetWorld();
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
        if (folder == QLatin1String("windows") && rel.count(QLatin1Char('/')) == 2
            && !windowAreas().contains(rel.section(QLatin1Char('/'), 1, 1)))
            problems << rel + QStringLiteral(": windows/ holds its files in the folders of its areas");
        else if (folder == QLatin1String("windows") && rel.count(QLatin1Char('/')) != 2)
            problems << rel + QStringLiteral(": a window file belongs in one folder of windows/");
        const QSet<QString> linked = closure(folder, deps);
        const bool noWindows = folder == QLatin1String("app") || folder == QLatin1String("data");
        const QString text = readAll(path);
        QString what;
        if (withoutWidgets(folder) && usesWidgets(text, widgets, &what))
            problems << QStringLiteral("%1 %2: no widgets and no messages in %3").arg(rel, what, folder);
        for (auto m = includePattern().globalMatch(text); m.hasNext();) {
            const auto hit = m.next();
            const QString name = hit.captured(2);
            if (hit.captured(1) == QLatin1String("<"))
                continue;
            const QString to = name.section(QLatin1Char('/'), 0, 0);
            if (!name.contains(QLatin1Char('/')) || !ranks().contains(to))
                continue;
            if (!allowed(folder, to, deps))
                problems << QStringLiteral("%1 includes \"%2\", a layer above %3").arg(rel, name, folder);
            else if (to != folder && !linked.contains(to))
                problems << QStringLiteral("%1 includes \"%2\" but %3 does not link tarvo_%4").arg(rel, name, folder, to);
            if (noWindows && to == QLatin1String("kit"))
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

    void theCheckSeesWidgetsInModels()
    {
        const WidgetWorld w = widgetWorld();
        QString what;
        QVERIFY(usesWidgets(QStringLiteral("#include <QString>\n#include <QMessageBox>\n"), w, &what));
        QCOMPARE(what, QStringLiteral("includes QMessageBox"));
        QVERIFY(usesWidgets(QStringLiteral("#include <QtWidgets/QDialog>\n"), w, &what));
        // Our own widgets are found through their bases, to any depth.
        QVERIFY(usesWidgets(QStringLiteral("#include \"kit/waitbox.h\"\n"), w, &what));
        QVERIFY(usesWidgets(QStringLiteral("#include \"kit/presenter.h\"\n"), w, &what));
        QVERIFY(usesWidgets(QStringLiteral("class TBox final : public QObject, private TWaitbox\n{\n};"), w, &what));
        QCOMPARE(what, QStringLiteral("derives from TWaitbox"));
        QVERIFY(!usesWidgets(QStringLiteral("#include <QPrinter>\n#include \"kit/textconv.h\"\n"
                                            "class TJob : public QObject\n{\n};"),
                             w, &what));
    }
};

QTEST_GUILESS_MAIN(TstLayers)
#include "tst_layers.moc"
