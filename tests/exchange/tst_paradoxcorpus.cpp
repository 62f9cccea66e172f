// The old-table reader over its seed corpus (tests/exchange/corpus/
// paradoxtable, written by "tst_paradoxcorpus --write-seeds <folder>" with
// pxlib's writer) and over a bounded run of damaged variants of the seeds:
// "good-" seeds read to their last record, "bad-" ones are refused, and no
// variant crashes or reads past a buffer (the sanitizer build watches that).
// TARVO_FUZZ_RUNS sets the number of variants (default 20000).
#include "paradoxfuzz.h"
#include "paradoxwriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString CorpusDir = QStringLiteral(TARVO_SOURCE_DIR "/tests/exchange/corpus/paradoxtable");

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void putLe(QByteArray &b, int at, quint32 value, int size)
{
    for (int i = 0; i < size && at + i < b.size(); ++i)
        b[at + i] = char((value >> (8 * i)) & 0xff);
}

// Writes the seeds into folder: tables made with pxlib's writer, some with
// their header or file damaged afterwards.
int writeSeeds(const QString &folder)
{
    QTemporaryDir tmp;
    QDir().mkpath(folder);
    const QString db = tmp.filePath(QStringLiteral("t.DB"));
    const auto table = [&](const QList<PxColumn> &columns, const QList<QVariantList> &rows, const QByteArray &password = {},
                           int codePage = 0) {
        QFile::remove(PxBlobPath(db));
        if (codePage)
            WriteParadoxTableWithPxlib(db, columns, rows, password, codePage);
        else
            WriteParadoxTable(db, columns, rows, password);
        QByteArray bytes = fileBytes(db);
        if (QFile::exists(PxBlobPath(db)))
            bytes += ParadoxFuzzBlobMark + fileBytes(PxBlobPath(db));
        return bytes;
    };
    const auto save = [&](const char *name, const QByteArray &bytes) {
        QFile f(folder + QLatin1Char('/') + QLatin1String(name));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
            qFatal("cannot write %s", name);
    };
    const QList<PxColumn> film = {{"KassNr", pxfShort, 2}, {"FilmNr", pxfShort, 2}, {"Titel", pxfAlpha, 40},
                                  {"Len", pxfLong, 4},    {"LP", pxfLogical, 1},  {"Datum", pxfDate, 4},
                                  {"Memo", pxfMemoBLOb, 11}, {"Grafik", pxfBLOb, 10}};
    const QList<QVariantList> films = {{1, 1, QStringLiteral("Der Bär"), 90, true, QDate(1999, 12, 31),
                                        QStringLiteral("Notiz ").repeated(40), QByteArray(600, 'g')},
                                       {1, 2, QStringLiteral("Kauf Nummer 1"), {}, false, {}, QStringLiteral("kurz")},
                                       {2, 1, {}, -3}};
    const QByteArray good = table(film, films);
    save("good-films.bin", good);
    save("good-empty.bin", table(film, {}));
    save("good-oldest.bin", table({{"Nr", pxfShort, 2}, {"Kaufkass", pxfLogical, 1}, {"Film1", pxfAlpha, 40}},
                                  {{1, false, QStringLiteral("Eins")}, {5, true, QStringLiteral("Fünf")}}));
    save("good-cp850.bin", table({{"Name", pxfAlpha, 20}}, {{QByteArray("Bj\x94rn")}}, {}, 850));
    save("bad-protected.bin", table({{"Name", pxfAlpha, 20}}, {{QStringLiteral("Jörg")}}, "geheim"));
    save("bad-not-a-table.bin", "Dies ist keine Tabelle, sondern ein Text.\r\n");
    const QByteArray plain = good.left(good.indexOf(ParadoxFuzzBlobMark));
    const QByteArray blobs = good.mid(good.indexOf(ParadoxFuzzBlobMark));
    QByteArray b = plain;
    putLe(b, 0, 8, 2); // a record of 8 bytes for fields of 74
    save("bad-record-size.bin", b + blobs);
    b = plain;
    putLe(b, 6, 1000, 4); // a thousand records in a file of three
    save("bad-record-count.bin", b + blobs);
    b = plain;
    b[0x79] = 1; // the first field, a short number, one byte long
    save("bad-field-length.bin", b + blobs);
    b = plain;
    b[0x78] = 0x30; // a type no table has
    save("bad-field-type.bin", b + blobs);
    b = plain;
    putLe(b, 0x21, 200, 2); // two hundred fields
    save("bad-field-count.bin", b + blobs);
    save("bad-cut-in-header.bin", plain.left(100));
    save("bad-cut-in-record.bin", plain.left(plain.indexOf("Kauf Nummer 1") + 4));
    save("bad-blob-file-cut.bin", plain + blobs.left(ParadoxFuzzBlobMark.size() + 300));
    return 0;
}

} // namespace

class TstParadoxCorpus : public QObject
{
    Q_OBJECT
    // Each variant is written to a file: in memory where the system has a
    // folder for that.
    QTemporaryDir m_work{QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm/tarvo-fuzz-XXXXXX")
                                                                             : QDir::tempPath() + QStringLiteral("/tarvo-fuzz-XXXXXX")};

    static QStringList seeds() { return QDir(CorpusDir).entryList({QStringLiteral("*.bin")}, QDir::Files, QDir::Name); }

private slots:
    void seedsReadOrAreRefused()
    {
        const QStringList names = seeds();
        QVERIFY(names.size() >= 14);
        for (const QString &name : names) {
            const bool read = ReadParadoxFuzzInput(fileBytes(CorpusDir + QLatin1Char('/') + name), m_work.path());
            QVERIFY2(read == name.startsWith(QLatin1String("good-")), qPrintable(name));
        }
    }

    // Random damage to the seeds, most of it in the header: bytes changed,
    // numbers of the header set to edge values, the file cut or grown.
    void damagedVariantsAreReadOrRefused()
    {
        QList<QByteArray> pool;
        for (const QString &name : seeds())
            pool << fileBytes(CorpusDir + QLatin1Char('/') + name);
        const int runs = qEnvironmentVariableIsSet("TARVO_FUZZ_RUNS") ? qEnvironmentVariableIntValue("TARVO_FUZZ_RUNS") : 20000;
        QRandomGenerator random(4130);
        static const int headerNumbers[] = {0x00, 0x02, 0x05, 0x06, 0x0a, 0x0c, 0x0e, 0x10, 0x21, 0x23, 0x25, 0x39, 0x78};
        static const quint32 edges[] = {0, 1, 0x7f, 0x80, 0xff, 0x7fff, 0x8000, 0xffff, 0x7fffffff, 0xffffffff};
        int read = 0, refused = 0;
        for (int run = 0; run < runs; ++run) {
            QByteArray b = pool.at(int(random.bounded(quint32(pool.size()))));
            for (int n = 1 + int(random.bounded(3u)); n > 0 && !b.isEmpty(); --n) {
                switch (random.bounded(5u)) {
                case 0: b[int(random.bounded(quint32(qMin<qsizetype>(b.size(), 0x100))))] = char(random.bounded(256u)); break;
                case 1: b[int(random.bounded(quint32(b.size())))] = char(random.bounded(256u)); break;
                case 2:
                    putLe(b, headerNumbers[random.bounded(quint32(std::size(headerNumbers)))],
                          edges[random.bounded(quint32(std::size(edges)))], 1 + int(random.bounded(4u)));
                    break;
                case 3: b.truncate(int(random.bounded(quint32(b.size())))); break;
                default: b.append(QByteArray(int(random.bounded(5000u)), char(random.bounded(256u)))); break;
                }
            }
            (ReadParadoxFuzzInput(b, m_work.path()) ? read : refused)++;
        }
        QVERIFY(read > 0 && refused > 0);
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--write-seeds") == 0)
        return writeSeeds(QString::fromLocal8Bit(argv[2]));
    TstParadoxCorpus test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_paradoxcorpus.moc"
