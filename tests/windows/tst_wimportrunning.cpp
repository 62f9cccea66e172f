#include "data/database.h"
#include "exchange/importrunning.h"
#include "kit/pzlabel.h"
#include "windows/main/wimportrunning.h"

#include <QtTest>

class TstWImportRunning : public QObject
{
    Q_OBJECT
private slots:
    void shownForTheTransferAndGoneAfter()
    {
        InstallOldDatabaseImport();
        {
            TImportRunningScope running;
            QVERIFY(WImportRunning);
            QVERIFY(WImportRunning->isVisible());
            QVERIFY(WImportRunning->windowFlags() & Qt::FramelessWindowHint);
            QVERIFY(WImportRunning->windowFlags() & Qt::WindowStaysOnTopHint);
            auto *l1 = WImportRunning->findChild<TPZLabel *>(QStringLiteral("PZLabel1"));
            auto *l2 = WImportRunning->findChild<TPZLabel *>(QStringLiteral("PZLabel2"));
            QVERIFY(l1 && l2);
            QCOMPARE(l1->Caption(), QStringLiteral("Import läuft..."));
            QCOMPARE(l1->FontColor(), QColor(0x00, 0x80, 0x80));
            QCOMPARE(l1->font().pixelSize(), 32);
            QVERIFY(l1->font().italic() && l1->font().bold());
            QCOMPARE(l2->Caption(), QStringLiteral("Bitte haben Sie etwas Geduld!"));
            QCOMPARE(l2->FontColor(), QColor(0x00, 0x00, 0x80));
            QCOMPARE(l2->font().pixelSize(), 16);
        }
        QVERIFY(!WImportRunning);
    }
};

QTEST_MAIN(TstWImportRunning)
#include "tst_wimportrunning.moc"
