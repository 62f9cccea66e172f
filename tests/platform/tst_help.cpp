// The help: a topic opens its page at its anchor, every topic the program's
// code asks for has that page and anchor in the built help, and the help's
// own links lead somewhere.
#include "platform/help.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QString builtHelp()
{
    return QStringLiteral(TARVO_PROGDIR "/Hilfe/");
}

// The ids of a page of the built help.
QSet<QString> anchorsOf(const QString &page)
{
    static QMap<QString, QSet<QString>> cache;
    if (!cache.contains(page)) {
        static const QRegularExpression id(QStringLiteral("\\bid=\"([^\"]+)\""));
        QSet<QString> ids;
        for (auto it = id.globalMatch(readAll(builtHelp() + page)); it.hasNext();)
            ids.insert(it.next().captured(1));
        cache.insert(page, ids);
    }
    return cache.value(page);
}

// Why a page and anchor of the built help do not exist, or empty.
QString missing(const QString &page, const QString &anchor)
{
    if (!QFileInfo(builtHelp() + page).isFile())
        return QStringLiteral("no page ") + page;
    if (!anchor.isEmpty() && !anchorsOf(page).contains(anchor))
        return QStringLiteral("no anchor ") + page + QLatin1Char('#') + anchor;
    return QString();
}

// The help topics the sources ask for, by where they are written:
// - the argument of a call of showHelp, the topic of MakeHelpOkCancel;
// - a form's Tag set to a number (outside the kit, whose own Tag is its
//   frame's mode), which its Help button shows;
// - a named help context "hc... = n";
// - the topic of an export dialog's layout ({"Name", n, QSize...}).
// A name is looked up in its definitions ("name = n"); a name that only
// passes a topic on (Tag, context ...) counts where its value is set. Any
// other name is an error: the test could not see its topic.
QSet<int> topicsAskedFor(const QString &srcDir, QStringList *unresolved)
{
    static const QRegularExpression call(QStringLiteral("(?:::|\\.|->)showHelp\\(\\s*(\\w+)\\s*\\)"));
    static const QRegularExpression okCancel(QStringLiteral("MakeHelpOkCancel\\(\\s*\\w+\\s*,\\s*(\\w+)\\s*,"));
    static const QRegularExpression tag(QStringLiteral("\\bTag\\s*=\\s*(\\d+)\\s*;"));
    static const QRegularExpression named(QStringLiteral("\\bhc\\w+\\s*=\\s*(\\d+)"));
    static const QRegularExpression exportLayout(
        QStringLiteral("TExportDialog\\(\\s*\\w+\\s*,\\s*\\{\\s*\"\\w+\"\\s*,\\s*(\\d+)\\s*,"));
    static const QSet<QString> passOn = {QStringLiteral("Tag"), QStringLiteral("context"),
                                         QStringLiteral("helpContext"), QStringLiteral("HelpContext")};
    QMap<QString, QString> files;
    for (QDirIterator it(srcDir, {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString path = it.next();
        files.insert(path, readAll(path));
    }
    QSet<int> topics;
    QStringList names;
    for (auto f = files.cbegin(); f != files.cend(); ++f) {
        const QString &text = f.value();
        for (const auto *re : {&call, &okCancel})
            for (auto it = re->globalMatch(text); it.hasNext();)
                names << it.next().captured(1);
        if (!f.key().startsWith(srcDir + QStringLiteral("/kit/")))
            for (auto it = tag.globalMatch(text); it.hasNext();)
                topics.insert(it.next().captured(1).toInt());
        for (const auto *re : {&named, &exportLayout})
            for (auto it = re->globalMatch(text); it.hasNext();)
                topics.insert(it.next().captured(1).toInt());
    }
    for (const QString &name : names) {
        bool isNumber = false;
        const int n = name.toInt(&isNumber);
        if (isNumber) {
            topics.insert(n);
            continue;
        }
        if (passOn.contains(name))
            continue;
        const QRegularExpression definition(QStringLiteral("\\b%1\\s*=\\s*(\\d+)").arg(name));
        bool found = false;
        for (const QString &text : files)
            for (auto it = definition.globalMatch(text); it.hasNext(); found = true)
                topics.insert(it.next().captured(1).toInt());
        if (!found)
            *unresolved << name;
    }
    return topics;
}

} // namespace

class TstHelp : public QObject
{
    Q_OBJECT

private slots:
    void topicOpensItsPageAtItsAnchor()
    {
        QTemporaryDir dir;
        const auto opened = [](QUrl *seen) { return [seen](const QUrl &u) { *seen = u; return true; }; };
        QUrl seen;
        QVERIFY(platform::openHelp(dir.path(), 0, opened(&seen)).startsWith(QStringLiteral("Die Hilfe ist nicht installiert")));
        QVERIFY(seen.isEmpty());

        writeFile(dir.filePath(QStringLiteral("Hilfe/index.html")), "<html></html>");
        const platform::THelpPlace firstSteps = platform::helpPlace(84);
        QVERIFY(!firstSteps.anchor.isEmpty());
        // Its page is missing: the start page, without an anchor.
        QCOMPARE(platform::openHelp(dir.path(), 84, opened(&seen)), QString());
        QCOMPARE(seen, QUrl::fromLocalFile(dir.filePath(QStringLiteral("Hilfe/index.html"))));

        writeFile(dir.filePath(QStringLiteral("Hilfe/") + firstSteps.page), "<html></html>");
        QCOMPARE(platform::openHelp(dir.path(), 84, opened(&seen)), QString());
        QCOMPARE(seen.toLocalFile(), dir.filePath(QStringLiteral("Hilfe/") + firstSteps.page));
        QCOMPARE(seen.fragment(), firstSteps.anchor);

        // A topic the help does not know: the contents.
        bool known = true;
        QCOMPARE(platform::helpPlace(99999, &known).page, QStringLiteral("index.html"));
        QVERIFY(!known);

        // No browser: the message names the file to open by hand.
        const QString why = platform::openHelp(dir.path(), 84, [](const QUrl &) { return false; });
        QVERIFY(why.contains(QDir::toNativeSeparators(dir.filePath(QStringLiteral("Hilfe/") + firstSteps.page))));

        // With its forwarding page, that page: the desktop's opener drops anchors.
        const QString forward = dir.filePath(QStringLiteral("Hilfe/") + platform::helpTopicFile(84));
        writeFile(forward, "<html></html>");
        QCOMPARE(platform::openHelp(dir.path(), 84, opened(&seen)), QString());
        QCOMPARE(seen, QUrl::fromLocalFile(forward));
    }

    void everyTopicAskedForHasItsAnchor()
    {
        QStringList unresolved;
        const QSet<int> asked = topicsAskedFor(QStringLiteral(TARVO_SOURCE_DIR "/src"), &unresolved);
        QVERIFY2(unresolved.isEmpty(), qPrintable(QStringLiteral("help topics the test cannot read: ")
                                                  + unresolved.join(QStringLiteral(", "))));
        // Topics of the dialogs the program's users know by number.
        for (int t : {84, 118, 61, 53, 29, 89})
            QVERIFY2(asked.contains(t), qPrintable(QString::number(t)));

        QStringList problems;
        QSet<int> all = asked;
        for (int t : platform::helpTopics())
            all.insert(t);
        for (int t : all) {
            bool known = false;
            const platform::THelpPlace place = platform::helpPlace(t, &known);
            if (!known)
                problems << QStringLiteral("topic %1 has no place in the help").arg(t);
            else if (const QString why = missing(place.page, place.anchor); !why.isEmpty())
                problems << QStringLiteral("topic %1: %2").arg(t).arg(why);
            else if (!place.anchor.isEmpty() && !QFileInfo(builtHelp() + platform::helpTopicFile(t)).isFile())
                problems << QStringLiteral("topic %1: no forwarding page").arg(t);
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
    }

    void linksOfTheHelpLeadSomewhere()
    {
        static const QRegularExpression href(QStringLiteral("\\bhref=\"([^\"]+)\""));
        QStringList problems;
        const QStringList pages = QDir(builtHelp()).entryList({QStringLiteral("*.html")}, QDir::Files);
        QVERIFY(pages.size() >= 15);
        for (const QString &page : pages) {
            for (auto it = href.globalMatch(readAll(builtHelp() + page)); it.hasNext();) {
                const QString link = it.next().captured(1);
                if (link.contains(QLatin1Char(':')))
                    continue; // a web or mail address
                const int hash = link.indexOf(QLatin1Char('#'));
                const QString target = hash < 0 ? link : link.left(hash);
                const QString why = missing(target.isEmpty() ? page : target, hash < 0 ? QString() : link.mid(hash + 1));
                if (!why.isEmpty())
                    problems << page + QStringLiteral(": ") + link + QStringLiteral(" (") + why + QLatin1Char(')');
            }
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(TstHelp)
#include "tst_help.moc"
