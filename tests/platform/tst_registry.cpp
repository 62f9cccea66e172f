#include "platform/registry.h"

#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>
#include <QTemporaryDir>
#include <QtTest>

using platform::Registry;
using platform::RegistryError;
using platform::RegistryRoot;
using platform::RegValueKind;

class TstRegistry : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

    QString path(const char *name) const { return m_dir.filePath(QLatin1String(name)); }

private slots:
    void init()
    {
        for (const QString &f : QDir(m_dir.path()).entryList(QDir::Files))
            QFile::remove(m_dir.filePath(f));
        platform::setUserRegistryFile(path("user.reg"));
        platform::setMachineRegistryFiles(path("sys/machine.reg"), path("machine.reg"));
    }

    void kindsAreKeptApartAndNamesIgnoreCase()
    {
        {
            Registry r;
            bool created = false;
            QVERIFY(r.openKey(QStringLiteral("Software\\Ozo-Software\\TARVO"), true, &created));
            QVERIFY(created);
            r.writeString(QStringLiteral("LFont"), QStringLiteral("Arial Ü"));
            r.writeInteger(QStringLiteral("NetRefreshInterval"), -5);
            r.writeBool(QStringLiteral("ATTS"), true);
            const char raw[3] = {1, 2, char(255)};
            r.writeBinaryData(QStringLiteral("PrintFlags"), raw, 3);
            r.writeBinary(QStringLiteral("Empty"), QByteArray());
        }
        platform::resetRegistryStores(); // read back from disk
        Registry r;
        bool created = true;
        QVERIFY(r.openKey(QStringLiteral("software\\OZO-software\\tarvo"), false, &created));
        QVERIFY(!created);
        QCOMPARE(r.readString(QStringLiteral("lfont")), QStringLiteral("Arial Ü"));
        QCOMPARE(r.readInteger(QStringLiteral("NETREFRESHINTERVAL")), -5);
        QVERIFY(r.readBool(QStringLiteral("atts")));
        QCOMPARE(r.valueKind(QStringLiteral("PrintFlags")), RegValueKind::Binary);
        QCOMPARE(r.valueKind(QStringLiteral("Empty")), RegValueKind::Binary);
        QCOMPARE(r.valueKind(QStringLiteral("Nothing")), RegValueKind::None);
        unsigned char buf[4] = {9, 9, 9, 9};
        QCOMPARE(r.readBinaryData(QStringLiteral("printflags"), buf, 4), 3);
        QCOMPARE(buf[2], 255);
        QCOMPARE(buf[3], 9);
        // Missing values: strings read empty, raw values leave the buffer,
        // numbers fail.
        QCOMPARE(r.readString(QStringLiteral("Missing")), QString());
        unsigned char one = 7;
        QCOMPARE(r.readBinaryData(QStringLiteral("Missing"), &one, 1), -1);
        QCOMPARE(one, 7);
        QVERIFY_THROWS_EXCEPTION(RegistryError, r.readInteger(QStringLiteral("Missing")));
        // Wrong kinds and oversized raw values fail.
        QVERIFY_THROWS_EXCEPTION(RegistryError, r.readInteger(QStringLiteral("LFont")));
        QVERIFY_THROWS_EXCEPTION(RegistryError, r.readString(QStringLiteral("ATTS")));
        QVERIFY_THROWS_EXCEPTION(RegistryError, r.readBinaryData(QStringLiteral("LFont"), &one, 1));
        QVERIFY_THROWS_EXCEPTION(RegistryError, r.readBinaryData(QStringLiteral("PrintFlags"), &one, 1));
        // Writing under another case keeps one value, with its first name.
        r.writeString(QStringLiteral("LFONT"), QStringLiteral("Courier"));
        QCOMPARE(r.valueNames().count(QStringLiteral("LFont")), 1);
        QVERIFY(!r.valueNames().contains(QStringLiteral("LFONT")));
    }

    void subKeysAndDeletion()
    {
        Registry r;
        QVERIFY(!r.openKey(QStringLiteral("Software\\X"), false));
        QVERIFY(!r.lastError().isEmpty());
        QVERIFY(r.openKey(QStringLiteral("Software\\X\\FreeQueryMen3"), true));
        r.writeString(QStringLiteral("SQL"), QStringLiteral("SELECT 1"));
        QVERIFY(r.openKey(QStringLiteral("Software\\X"), false));
        QCOMPARE(r.subKeyNames(), QStringList{QStringLiteral("FreeQueryMen3")});
        QVERIFY(r.deleteKey(QStringLiteral("software\\x\\freequerymen3")));
        QVERIFY(!r.keyExists(QStringLiteral("Software\\X\\FreeQueryMen3")));
        QVERIFY(r.keyExists(QStringLiteral("Software\\X")));
    }

    void damagedFileIsCopiedAsideAndReported()
    {
        QFile f(path("user.reg"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("{ this is not a store");
        f.close();
        platform::resetRegistryStores();
        Registry r;
        const QString msg = platform::takeRegistryDamageMessage(RegistryRoot::CurrentUser);
        QVERIFY(msg.contains(QStringLiteral("beschädigt")));
        const QStringList copies = QDir(m_dir.path()).entryList({QStringLiteral("user.reg.beschaedigt-*")});
        QCOMPARE(copies.size(), 1);
        QFile c(m_dir.filePath(copies.first()));
        QVERIFY(c.open(QIODevice::ReadOnly));
        QCOMPARE(c.readAll(), QByteArray("{ this is not a store"));
        // The store starts empty and can be written again.
        QVERIFY(r.openKey(QStringLiteral("Software\\Ozo-Software\\TARVO"), true));
        r.writeString(QStringLiteral("A"), QStringLiteral("b"));
        QVERIFY(platform::takeRegistryDamageMessage(RegistryRoot::CurrentUser).isEmpty());
    }

    // The file as another program (or an attacker) might leave it.
    void writeStore(const QByteArray &keys)
    {
        QFile f(path("user.reg"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("{\"format\": \"Tarvo-Registry\", \"version\": 1, \"keys\": [" + keys + "]}");
        f.close();
        platform::resetRegistryStores();
    }

    void hostileStoreFiles()
    {
        // 200,000 levels: no recursion may walk it; the file is damaged.
        QByteArray deep = "{\"path\": \"";
        for (int i = 0; i < 200000; ++i)
            deep += "k\\\\";
        deep += "k\"}";
        writeStore(deep);
        {
            Registry r;
            QVERIFY(platform::takeRegistryDamageMessage(RegistryRoot::CurrentUser)
                        .contains(QStringLiteral("mehr als 512 Ebenen")));
            QVERIFY(r.openKey(QStringLiteral("Software"), true));
        }
        // The deepest allowed chain is written once, not once per level.
        QString chain;
        for (int i = 0; i < 512; ++i)
            chain += QStringLiteral("Ebene%1\\").arg(i);
        platform::resetRegistryStores();
        {
            Registry r;
            QVERIFY(r.openKey(chain, true));
            r.writeInteger(QStringLiteral("N"), 1);
            QVERIFY(!r.openKey(chain + QStringLiteral("zu tief"), true));
            QVERIFY(r.lastError().contains(QStringLiteral("zu tief")));
        }
        QVERIFY(QFileInfo(path("user.reg")).size() < 2 * chain.size() + 2000);
        platform::resetRegistryStores();
        {
            Registry r;
            QVERIFY(r.openKey(chain, false));
            QCOMPARE(r.readInteger(QStringLiteral("N")), 1);
            QVERIFY(r.openKey(QStringLiteral("Ebene0\\Ebene1"), false));
        }

        // Bad Base64 is a damaged value, not silently taken.
        writeStore("{\"path\": \"K\", \"values\": [{\"name\": \"Bild\", \"kind\": \"binary\", \"data\": \"a*b!\"}]}");
        {
            Registry r;
            const QString msg = platform::takeRegistryDamageMessage(RegistryRoot::CurrentUser);
            QVERIFY2(msg.contains(QStringLiteral("ungültige Binärdaten im Wert \"Bild\"")), qPrintable(msg));
            QVERIFY(!r.keyExists(QStringLiteral("K")));
        }
        writeStore("{\"path\": \"K\", \"values\": [{\"name\": \"Bild\", \"kind\": \"binary\", \"data\": \"AQID\"}]}");
        {
            Registry r;
            QVERIFY(platform::takeRegistryDamageMessage(RegistryRoot::CurrentUser).isEmpty());
            QVERIFY(r.openKey(QStringLiteral("K"), false));
            QCOMPARE(r.readBinary(QStringLiteral("Bild")), QByteArray("\x01\x02\x03"));
        }

        // A FIFO in place of the file: the start goes on with the defaults
        // and the FIFO is never written over.
        QFile::remove(path("user.reg"));
        QCOMPARE(::mkfifo(QFile::encodeName(path("user.reg")).constData(), 0600), 0);
        platform::resetRegistryStores();
        {
            Registry r;
            QVERIFY(platform::takeRegistryDamageMessage(RegistryRoot::CurrentUser)
                        .contains(QStringLiteral("kann nicht gelesen werden")));
            QVERIFY(!r.openKey(QStringLiteral("Software"), true));
        }
        QFile::remove(path("user.reg"));
    }

    void failedWriteChangesNothing()
    {
        // The store's folder cannot be made (a file stands in its place):
        // creating a key fails with a message and leaves nothing behind.
        QFile blocker(path("blocker"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        platform::setUserRegistryFile(path("blocker/user.reg"));
        Registry r;
        QVERIFY(!r.openKey(QStringLiteral("K"), true));
        QVERIFY(!r.lastError().isEmpty());
        QVERIFY(!r.keyExists(QStringLiteral("K")));
        QVERIFY(!r.hasCurrentKey());
    }

    void batchesStoreOnceOrNotAtAll()
    {
        Registry r;
        QVERIFY(r.openKey(QStringLiteral("K"), true));
        {
            platform::RegistryBatch batch(r);
            r.writeString(QStringLiteral("A"), QStringLiteral("1"));
            r.writeInteger(QStringLiteral("B"), 2);
            QCOMPARE(r.readString(QStringLiteral("A")), QStringLiteral("1")); // seen at once
            platform::resetRegistryStores();
            QVERIFY(!Registry().keyExists(QStringLiteral("K\\A")));
        }
        // Left without commit: forgotten.
        Registry r2;
        QVERIFY(r2.openKey(QStringLiteral("K"), false));
        {
            platform::RegistryBatch batch(r2);
            r2.writeString(QStringLiteral("A"), QStringLiteral("x"));
        }
        QVERIFY(!r2.valueExists(QStringLiteral("A")));
        {
            platform::RegistryBatch batch(r2);
            r2.writeString(QStringLiteral("A"), QStringLiteral("y"));
            r2.writeString(QStringLiteral("C"), QStringLiteral("z"));
            batch.commit();
        }
        platform::resetRegistryStores();
        Registry r3;
        QVERIFY(r3.openKey(QStringLiteral("K"), false));
        QCOMPARE(r3.readString(QStringLiteral("A")), QStringLiteral("y"));
        QCOMPARE(r3.readString(QStringLiteral("C")), QStringLiteral("z"));
    }

    void machineStoreFallsBackPerUser()
    {
        // No writable system folder: the per-user fallback is used.
        Registry m(RegistryRoot::LocalMachine);
        bool created = false;
        QVERIFY(m.openKey(QStringLiteral("SOFTWARE\\Ozo-Software\\TARVO"), true, &created, QStringLiteral("MyClass")));
        QVERIFY(created);
        QCOMPARE(m.keyClass(), QStringLiteral("MyClass"));
        m.writeInteger(QStringLiteral("ZFRTop"), 184);
        QVERIFY(QFile::exists(path("machine.reg")));
        QVERIFY(!QFile::exists(path("sys/machine.reg")));
        // A writable system folder takes the machine values there.
        QFile::remove(path("machine.reg"));
        QDir().mkpath(path("sys"));
        platform::resetRegistryStores();
        Registry m2(RegistryRoot::LocalMachine);
        QVERIFY(m2.openKey(QStringLiteral("SOFTWARE\\Ozo-Software\\TARVO"), true));
        m2.writeInteger(QStringLiteral("ZFRTop"), 185);
        QVERIFY(QFile::exists(path("sys/machine.reg")));
    }
};

QTEST_GUILESS_MAIN(TstRegistry)
#include "tst_registry.moc"
