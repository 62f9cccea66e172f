// "Datensicherung / Rücksicherung" over a real database: the dialog's
// buttons, the questions in their order, the copy, and the tables (the
// caption table too) open again afterwards.
#include "cardfixture.h"

#include "app/settings.h"
#include "data/backup.h"
#include "kit/enterexitbutton.h"
#include "windows/exchange/backuprestore.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDirIterator>
#include <QFile>
#include <QListWidget>

class TestBackupRestore : public QObject
{
    Q_OBJECT
    card::Fixture fx;

    kit::ScriptedPresenter &p() { return *fx.settings.presenter; }
    QString source() const { return fx.base.left(fx.base.size() - 1); }

    static void writeFile(const QString &path, const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static void setAge(const QString &path, const QDateTime &when)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(when, QFileDevice::FileModificationTime));
    }
    // The dialog's answer: the folder chosen, the file selected, the button.
    static kit::ScriptedPresenter::Fill choose(const QString &folder, const QString &file = {})
    {
        return [folder, file](QDialog &d) {
            auto &dlg = static_cast<TDBackupRestore &>(d);
            dlg.SetCurrentFolder(folder);
            if (!file.isEmpty()) {
                const auto items = dlg.FileListBox1->findItems(file, Qt::MatchExactly);
                QCOMPARE(items.size(), 1);
                dlg.FileListBox1->setCurrentItem(items.first());
                QVERIFY(dlg.ButtRestore->isEnabled());
            }
        };
    }
    // Every file below folder with its bytes, by name.
    static QMap<QString, QByteArray> snapshot(const QString &folder)
    {
        QMap<QString, QByteArray> out;
        QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile f(it.next());
            f.open(QIODevice::ReadOnly);
            out.insert(f.fileName(), QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1));
        }
        return out;
    }
    bool tablesOpen() const
    {
        return fx.form->Table1->active() && fx.form->Table2->active() && DBTables.TableLAB
            && DBTables.TableLAB->active();
    }
    QStringList captions() const
    {
        QStringList c;
        for (const auto &b : fx.settings.presenter->shown())
            c << b.caption;
        return c;
    }

private slots:
    void init()
    {
        fx.setUp();
        fx.addMedium(QStringLiteral("DVD"), 1, 120, card::numberedFilms(2, 50));
        writeFile(source() + QStringLiteral(".tarvo"), "Tarvo-Datenbank");
        DBsDir = fx.settings.path(QStringLiteral("DBs")) + QLatin1Char('/');
        SetBackupFreeProbe({});
    }
    void cleanup()
    {
        SetBackupFreeProbe({});
        fx.tearDown();
    }

    void dialogButtons()
    {
        QDir().mkpath(fx.settings.path("sich"));
        writeFile(fx.settings.path("sich/Alt.tarvo"), "x");
        TDBackupRestore closed(false, fx.settings.path("sich"));
        QVERIFY(!closed.ButtBackup->isEnabled());
        QVERIFY(!closed.ButtRestore->isEnabled());
        QCOMPARE(closed.FileListBox1->count(), 1);
        closed.FileListBox1->setCurrentRow(0);
        QVERIFY(closed.ButtRestore->isEnabled());
        QCOMPARE(closed.SelectedFile(), fx.settings.path("sich/Alt.tarvo"));
        closed.FileListBox1->clearSelection();
        QVERIFY(!closed.ButtRestore->isEnabled());
        TDBackupRestore open(true, fx.settings.path("sich"));
        QVERIFY(open.ButtBackup->isEnabled());
        // "Neuer Ordner..." makes the folder and goes into it.
        p().answerInput(QStringLiteral("Sicherung 2026"));
        open.NewFolderClick();
        QVERIFY(QFileInfo(fx.settings.path("sich/Sicherung 2026")).isDir());
        QCOMPARE(open.CurrentFolder(), fx.settings.path("sich/Sicherung 2026"));
        QCOMPARE(open.FileListBox1->count(), 0);
    }

    void backupCopiesAndReopensEveryTable()
    {
        fx.open();
        QVERIFY(tablesOpen());
        QDir().mkpath(fx.settings.path("usb"));
        p().answerDialog(choose(fx.settings.path("usb")), mrYes).answer(mrOk);
        ExecBackupRestore();
        QCOMPARE(captions(), QStringList({"Datensicherung / Rücksicherung", "Kopiervorgang bestätigen",
                                          "Backup abgeschlossen"}));
        QVERIFY(p().shown().at(1).text.contains(source()));
        QVERIFY(QFileInfo::exists(fx.settings.path("usb/db.tarvo")));
        QVERIFY(QFileInfo::exists(fx.settings.path("usb/db/DB/Film.DB")));
        QVERIFY(QFileInfo::exists(fx.settings.path("usb/db/DB/LAB.DB")));
        QVERIFY(tablesOpen());
        QCOMPARE(fx.form->Table1->fieldByName("Medium")->asString(), QStringLiteral("DVD"));
    }

    void tooLittleSpaceAsksAndNoLeavesTheTargetAlone()
    {
        fx.open();
        QDir().mkpath(fx.settings.path("voll"));
        SetBackupFreeProbe([](const QString &) { return qint64(10); });
        p().answerDialog(choose(fx.settings.path("voll")), mrYes).answer(mrOk).answer(mrNo);
        ExecBackupRestore();
        QCOMPARE(captions(), QStringList({"Datensicherung / Rücksicherung", "Kopiervorgang bestätigen",
                                          "Zieldatenträger zu klein!"}));
        const auto &box = p().shown().at(2);
        QVERIFY(box.text.contains(QStringLiteral("Es sind 10 Bytes frei, benötigt werden aber %1 Bytes.")
                                      .arg(BackupNeed(source()))));
        QCOMPARE(box.icon, kit::BoxIcon::Warning);
        QVERIFY(!QFileInfo::exists(fx.settings.path("voll/db")));
        QVERIFY(!QFileInfo::exists(fx.settings.path("voll/db.tarvo")));
        QVERIFY(tablesOpen());
    }

    void newerTargetWarnsForBackupAndRestore()
    {
        fx.open();
        // An earlier backup whose film table is newer than the open one.
        const QString usb = fx.settings.path("usb");
        writeFile(usb + "/db.tarvo", "alt");
        writeFile(usb + "/db/DB/Film.DB", "neuer");
        setAge(fx.base + "DB/Film.DB", QDateTime::currentDateTime().addDays(-2));
        p().answerDialog(choose(usb), mrYes).answer(mrNo);
        ExecBackupRestore();
        QCOMPARE(captions(), QStringList({"Datensicherung / Rücksicherung", "WARNUNG!"}));
        QCOMPARE(p().shown().at(1).buttons.size(), 2);
        QVERIFY(p().shown().at(1).text.contains(QStringLiteral("Zurückspielen der Sicherung würden")));
        QFile film(usb + "/db/DB/Film.DB");
        QVERIFY(film.open(QIODevice::ReadOnly));
        QCOMPARE(film.readAll(), QByteArray("neuer"));

        // Restoring an older backup over a newer database in the default folder.
        p().clear();
        writeFile(fx.settings.path("alt/Videos.tarvo"), "x");
        writeFile(fx.settings.path("alt/Videos/DB/Film.DB"), "alt");
        setAge(fx.settings.path("alt/Videos/DB/Film.DB"), QDateTime::currentDateTime().addDays(-5));
        writeFile(DBsDir + "Videos/DB/Film.DB", "jetzt");
        p().answerDialog(choose(fx.settings.path("alt"), "Videos.tarvo"), mrNo).answer(mrOk).answer(mrNo);
        ExecBackupRestore();
        QCOMPARE(captions(), QStringList({"Datensicherung / Rücksicherung", "Bestätigen!", "WARNUNG!"}));
        QFile kept(DBsDir + "Videos/DB/Film.DB");
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("jetzt"));
    }

    void restoreGoesToTheDefaultFolderWithoutDatabaseOpen()
    {
        fx.open();
        CloseDatabaseTables();
        DBBase.clear();
        QString error;
        QVERIFY2(CopyDatabaseFiles(source(), fx.settings.path("irgendwo/Videos"), {}, &error), qPrintable(error));
        writeFile(DBsDir + "Videos/DB/Veraltet.DB", "weg damit");
        p().answerDialog(choose(fx.settings.path("irgendwo"), "Videos.tarvo"), mrNo).answer(mrOk).answer(mrOk);
        ExecBackupRestore();
        QCOMPARE(captions(), QStringList({"Datensicherung / Rücksicherung", "Bestätigen!", "Kopiervorgang bestätigen",
                                          "Backup abgeschlossen"}));
        QVERIFY(p().shown().at(1).text.endsWith(QStringLiteral("Exakter Zielpfad ist: ") + DBsDir + "Videos"));
        QVERIFY(QFileInfo::exists(DBsDir + "Videos.tarvo"));
        QVERIFY(QFileInfo::exists(DBsDir + "Videos/DB/Med.DB"));
        // The folder was replaced as a whole.
        QVERIFY(!QFileInfo::exists(DBsDir + "Videos/DB/Veraltet.DB"));
        // A restore never switches to another database.
        QVERIFY(DBBase.isEmpty());
    }

    // A set without its table folder, or with a table missing, foreign or
    // cut short, is refused with its reason before the database in the
    // default folder is touched.
    void damagedSetsAreRefused()
    {
        fx.open();
        CloseDatabaseTables();
        DBBase.clear();
        const QString set = fx.settings.path("sich/Videos"), live = DBsDir + "Videos";
        QString error;
        QVERIFY2(CopyDatabaseFiles(source(), live, {}, &error), qPrintable(error));
        writeFile(live + ".tarvo", "die laufende");
        // An older database, so that no warning about newer data comes first.
        for (const char *n : {"Med.DB", "Film.DB", "Pers.DB"})
            setAge(live + "/DB/" + n, QDateTime::currentDateTime().addDays(-30));
        const auto liveBefore = snapshot(DBsDir);
        // A table missing from the set makes the database there count as
        // newer: the warning comes, and the user goes on.
        const QList<std::pair<std::function<void()>, QString>> damages = {
            {[&] { QDir(set + "/DB").removeRecursively(); }, QStringLiteral("mit den Tabellen fehlt")},
            {[&] { QFile::remove(set + "/DB/Med.DB"); }, QStringLiteral("Med.DB\" fehlt")},
            {[&] { writeFile(set + "/DB/Film.DB", QByteArray("kein Tisch ").repeated(300)); },
             QStringLiteral("keine Tarvo-Tabelle")},
            {[&] {
                 QFile f(set + "/DB/Pers.DB");
                 QVERIFY(f.resize(f.size() - 100));
             },
             QStringLiteral("unvollständig")},
        };
        for (const auto &[damage, reason] : damages) {
            QVERIFY2(CopyDatabaseFiles(source(), set, {}, &error), qPrintable(error));
            damage();
            const bool missing = !QFileInfo::exists(set + "/DB/Med.DB");
            p().clear();
            p().answerDialog(choose(fx.settings.path("sich"), "Videos.tarvo"), mrNo).answer(mrOk);
            if (missing)
                p().answer(mrYes);
            p().answer(mrOk);
            ExecBackupRestore();
            // The reason, then the copy's failure.
            QStringList expected = {"Datensicherung / Rücksicherung", "Bestätigen!", "Kopiervorgang bestätigen", "Fehler"};
            if (missing)
                expected.insert(2, "WARNUNG!");
            QCOMPARE(captions(), expected << "Fehler");
            QVERIFY2(p().shown().at(expected.size() - 2).text.contains(reason), qPrintable(reason));
            QCOMPARE(snapshot(DBsDir), liveBefore);
        }
    }

    void backupIntoItselfIsRefused()
    {
        fx.open();
        p().answerDialog(choose(source()), mrYes);
        ExecBackupRestore();
        QCOMPARE(captions(), QStringList({"Datensicherung / Rücksicherung", "Fehler"}));
        QVERIFY(!QFileInfo::exists(fx.base + "db"));
        QVERIFY(tablesOpen());
    }
};

QTEST_MAIN(TestBackupRestore)
#include "tst_backuprestore.moc"
