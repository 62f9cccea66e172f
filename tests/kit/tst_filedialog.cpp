// The file chooser takes a typed name with double quotes whole, in every mode,
// and still asks before it replaces a file or accepts a name that is not there.
#include "kit/filedialog.h"
#include "kit/scriptedpresenter.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace kit;

class TstFileDialog : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

    QString path(const QString &name) const { return m_dir.path() + u'/' + name; }

    FileRequest request(FileMode mode, const QString &suffix = QString()) const
    {
        FileRequest r;
        r.mode = mode;
        r.caption = QStringLiteral("Neue Datenbank");
        r.folder = m_dir.path();
        r.defaultSuffix = suffix;
        return r;
    }

    // Types the name and presses OK; the dialog's result and choice.
    static bool typeAndAccept(FileDialog &d, const QString &name)
    {
        d.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(name);
        d.setResult(QDialog::Rejected);
        d.accept();
        return d.result() == QDialog::Accepted;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("Sam\"mlung")));
        QFile existing(path(QStringLiteral("alt\"e Liste.txt")));
        QVERIFY(existing.open(QIODevice::WriteOnly));
    }

    void quotedNamesAreTakenWhole()
    {
        ScriptedPresenter p;
        {
            FileDialog d(request(FileMode::Save));
            QVERIFY(typeAndAccept(d, QStringLiteral("Neu\"e DB")));
            QCOMPARE(d.chosen(), path(QStringLiteral("Neu\"e DB")));
        }
        {
            // An absolute name into a folder with a quote; a default suffix.
            FileDialog d(request(FileMode::Save, QStringLiteral("txt")));
            QVERIFY(typeAndAccept(d, path(QStringLiteral("Sam\"mlung/Liste \"2\""))));
            QCOMPARE(d.chosen(), path(QStringLiteral("Sam\"mlung/Liste \"2\".txt")));
        }
        {
            // A name ending in a quote can be confirmed at all.
            FileDialog d(request(FileMode::Save));
            d.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("Filme\""));
            QVERIFY(d.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Save)->isEnabled());
        }
        {
            // The name of a folder opens it, as for any typed folder.
            FileDialog d(request(FileMode::Save));
            QVERIFY(!typeAndAccept(d, QStringLiteral("Sam\"mlung")));
            QCOMPARE(d.directory().absolutePath(), path(QStringLiteral("Sam\"mlung")));
        }
        {
            FileDialog d(request(FileMode::Folder));
            QVERIFY(typeAndAccept(d, QStringLiteral("Sam\"mlung")));
            QCOMPARE(d.chosen(), path(QStringLiteral("Sam\"mlung")));
        }
        {
            FileDialog d(request(FileMode::Open));
            QVERIFY(typeAndAccept(d, QStringLiteral("alt\"e Liste.txt")));
            QCOMPARE(d.chosen(), path(QStringLiteral("alt\"e Liste.txt")));
        }
        {
            // Names without quotes go the dialog's usual way.
            FileDialog d(request(FileMode::Save));
            QVERIFY(typeAndAccept(d, QStringLiteral("Filme")));
            QCOMPARE(d.chosen(), path(QStringLiteral("Filme")));
        }
        QCOMPARE(p.shown().size(), 0);
    }

    void askedBeforeReplacingOrMissing()
    {
        ScriptedPresenter p;
        FileDialog save(request(FileMode::Save));
        p.answer(mrNo);
        QVERIFY(!typeAndAccept(save, QStringLiteral("alt\"e Liste.txt")));
        QCOMPARE(p.last().caption, QStringLiteral("Neue Datenbank"));
        QVERIFY(p.last().text.contains(QStringLiteral("alt\"e Liste.txt existiert bereits")));
        p.answer(mrYes);
        QVERIFY(typeAndAccept(save, QStringLiteral("alt\"e Liste.txt")));
        QCOMPARE(save.chosen(), path(QStringLiteral("alt\"e Liste.txt")));

        FileDialog open(request(FileMode::Open));
        QVERIFY(!typeAndAccept(open, QStringLiteral("fehlt\"")));
        QVERIFY(p.last().text.contains(QStringLiteral("Datei nicht gefunden")));
        FileDialog folder(request(FileMode::Folder));
        QVERIFY(!typeAndAccept(folder, QStringLiteral("kein\"Ordner")));
        QVERIFY(p.last().text.contains(QStringLiteral("Ordner nicht gefunden")));
        QCOMPARE(p.shown().size(), 4);
    }
};

QTEST_MAIN(TstFileDialog)
#include "tst_filedialog.moc"
