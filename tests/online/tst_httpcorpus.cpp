// Every response of the reader's seed corpus: "good-" ones give the version
// file's three lines, "odd-" ones a body that is no version file, "bad-"
// ones no body at all; none crashes.
#include "online/httpresponse.h"
#include "platform/cp1252.h"

#include <QDir>
#include <QFile>
#include <QtTest>

class TstHttpCorpus : public QObject
{
    Q_OBJECT

private slots:
    void responses_data()
    {
        QTest::addColumn<QString>("file");
        const QDir dir(QStringLiteral(TARVO_SOURCE_DIR "/tests/online/corpus/httpresponse"));
        const QStringList files = dir.entryList({QStringLiteral("*.http")}, QDir::Files, QDir::Name);
        QVERIFY(files.size() >= 20);
        for (const QString &f : files)
            QTest::newRow(qPrintable(f)) << dir.filePath(f);
    }

    void responses()
    {
        QFETCH(QString, file);
        QFile in(file);
        QVERIFY(in.open(QIODevice::ReadOnly));
        const QByteArray raw = in.readAll();
        const QString name = QFileInfo(file).fileName();
        const std::optional<QStringList> body = HttpResponseBody(platform::fromCp1252(raw));
        if (name.startsWith(QLatin1String("good-"))) {
            QVERIFY(body);
            QCOMPARE(*body, QStringList({QStringLiteral("6"), QStringLiteral("6"), QStringLiteral("1")}));
        } else if (name.startsWith(QLatin1String("odd-"))) {
            QVERIFY(body);
            QVERIFY(body->size() != 3);
        } else {
            QVERIFY(!body);
        }
    }
};

QTEST_GUILESS_MAIN(TstHttpCorpus)
#include "tst_httpcorpus.moc"
