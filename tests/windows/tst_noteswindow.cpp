// The medium attachment window driven headless through its components:
// showing it posts the card's pending edit, a change of medium empties the
// value lists, the memo search finds every hit and then says so, the window's
// shape, its keys and the file-link switch of a field.
#include "cardfixture.h"

#include "kit/dragdrop.h"

#include <QApplication>
#include <QFile>
#include <QMimeData>

#include "data/freefieldlabels.h"
#include "dbui/dbcombobox.h"
#include "dbui/dbedit.h"
#include "dbui/dbmemo.h"
#include "engine/table.h"
#include "kit/lockbutton.h"
#include "kit/scriptedpresenter.h"
#include "windows/main/mainmenus.h"
#include "windows/cards/wnotes.h"

#include <QLabel>
#include <QTextCursor>

class TstNotesWindow : public QObject
{
    Q_OBJECT
    card::Fixture fx;
    kit::ScriptedPresenter &p() { return *fx.settings.presenter; }

    static QStringList items(const QComboBox *c)
    {
        QStringList out;
        for (int i = 0; i < c->count(); ++i)
            out << c->itemText(i);
        out.sort();
        return out;
    }
    void setFree1(const QString &v) { fx.field("Free1")->setAsString(v); }

private slots:
    void init() { fx.setUp(); }
    void cleanup()
    {
        delete WNotes;
        SetMediumFreeIsFileLink(2, false);
        fx.tearDown();
    }

    void showingPostsThePendingEdit()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240);
        TMainform &m = fx.open();
        fx.unlock();
        m.Table1->edit();
        setFree1(QStringLiteral("Regal 3"));
        // The menu entry and F6 run the same command.
        QVERIFY(m.Menus->Entry(QStringLiteral("AnhMedium1"))->isEnabled());
        m.Menus->Entry(QStringLiteral("AnhMedium1"))->trigger();
        QVERIFY(WNotes && WNotes->isVisible());
        QCOMPARE(m.Table1->state(), engine::DataSetState::Browse);
        engine::Table t;
        t.setTableName(MediaTablePath(fx.base));
        t.open();
        QCOMPARE(t.fieldByName(QStringLiteral("Free1"))->asString(), QStringLiteral("Regal 3"));
        // Bound to the card's table: the window shows what the card shows.
        QCOMPARE(WNotes->DBEF[0]->text(), QStringLiteral("Regal 3"));
        QCOMPARE(WNotes->DBEdit1->text(), QStringLiteral("VHS-SB"));
        QCOMPARE(WNotes->DBENr->text(), QStringLiteral("1"));
        // F6 in the window closes it; the card's notes button shows it again.
        QTest::keyClick(WNotes->DBEF[0], Qt::Key_F6);
        QVERIFY(!WNotes->isVisible());
        emit m.Component<TPZSpeedButton>("SpBNotesK")->Click();
        QVERIFY(WNotes->isVisible());
        // Escape while browsing closes it too.
        QTest::keyClick(WNotes->DBENr, Qt::Key_Escape);
        QVERIFY(!WNotes->isVisible());
    }

    void aChangeOfMediumEmptiesTheValueLists()
    {
        auto free1 = [](const char *v) {
            return [v](engine::Table &t) { t.fieldByName(QStringLiteral("Free1"))->setAsString(QLatin1String(v)); };
        };
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {}, free1("Anna"));
        fx.addMedium(QStringLiteral("VHS-SB"), 2, 240, {}, free1("Bert"));
        fx.addMedium(QStringLiteral("DVD"), 3, 0, {}, free1("Carl"));
        {
            // DVD has a caption of its own for field 1: its list holds DVD values only.
            engine::Table lab;
            lab.setTableName(fx.base + QStringLiteral("DB/LAB.DB"));
            lab.open();
            lab.append();
            lab.fieldByName(QStringLiteral("ANH"))->setAsString(QStringLiteral("DVD"));
            lab.fieldByName(QStringLiteral("FreeNr"))->setAsInteger(1);
            lab.fieldByName(QStringLiteral("Label"))->setAsString(QStringLiteral("&Regie"));
            lab.post();
        }
        TMainform &m = fx.open();
        QVERIFY(fx.locate(QStringLiteral("VHS-SB"), 1));
        ShowMediumNotes();
        TWNotes &w = *WNotes;
        w.DBEFDropDown(1);
        QCOMPARE(items(w.DBEF[0]), (QStringList{"Anna", "Bert", "Carl"}));
        QCOMPARE(w.DBEF[0]->text(), QStringLiteral("Anna"));
        QVERIFY(fx.locate(QStringLiteral("DVD"), 3));
        QCOMPARE(w.DBEF[0]->count(), 0);
        QCOMPARE(w.DBEF[0]->text(), QStringLiteral("Carl"));
        QCOMPARE(w.Label[0]->text(), QStringLiteral("&Regie"));
        w.DBEFDropDown(1);
        QCOMPARE(items(w.DBEF[0]), QStringList{"Carl"});
        // Closing the table empties them as well.
        m.Table1->close();
        QCOMPARE(w.DBEF[0]->count(), 0);
    }

    void memoSearchFindsEachHitThenSaysSo()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {}, [](engine::Table &t) {
            t.fieldByName(QStringLiteral("Memo"))->setAsString(QStringLiteral("Ein Hund und noch ein HUND."));
        });
        fx.open();
        ShowMediumNotes();
        TWNotes &w = *WNotes;
        p().answerInput(QStringLiteral("hund"));
        w.LabelMemoFindClick();
        QCOMPARE(p().last().caption, QStringLiteral("Memotext durchsuchen"));
        QCOMPARE(w.DBMemo->textCursor().selectionStart(), 4);
        QCOMPARE(w.DBMemo->textCursor().selectedText(), QStringLiteral("Hund"));
        QTest::keyClick(w.DBMemo, Qt::Key_F3);
        QCOMPARE(w.DBMemo->textCursor().selectionStart(), 22);
        QCOMPARE(w.DBMemo->textCursor().selectedText(), QStringLiteral("HUND"));
        const int shown = int(p().shown().size());
        w.LabelMemoFindNextClick();
        QCOMPARE(int(p().shown().size()), shown + 1);
        QCOMPARE(p().last().caption, QStringLiteral("Nicht gefunden!"));
        QCOMPARE(p().last().text, QStringLiteral("Kein weiteres Vorkommen gefunden."));
        // A term that is not there.
        p().answerInput(QStringLiteral("Katze"));
        QTest::keyClick(w.DBMemo, Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(p().last().caption, QStringLiteral("Nicht gefunden!"));
        QCOMPARE(p().last().text, QStringLiteral("Der Suchbegriff \"Katze\" kommt im Memo nicht vor."));
        QCOMPARE(FindMemoTerm(QStringLiteral("abcABC"), QStringLiteral("bc"), 2), 4);
        QCOMPARE(FindMemoTerm(QStringLiteral("abc"), QString(), 0), -1);
    }

    void shapeLockAndFileLinkFields()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 12, 240);
        TMainform &m = fx.open();
        ShowMediumNotes();
        TWNotes &w = *WNotes;
        // The dog-ear: the top right corner is cut off.
        const QRegion shape = w.mask();
        QVERIFY(shape.contains(QPoint(2, 2)));
        QVERIFY(shape.contains(QPoint(w.width() - 31, 1)));
        QVERIFY(!shape.contains(QPoint(w.width() - 3, 3)));
        QVERIFY(shape.contains(QPoint(w.width() - 2, 40)));
        QCOMPARE(MediumCollectionFolderName(w.DBEdit1->text(), w.DBENr->text()), QStringLiteral("VHS-SB-Nr12"));
        // Locked: a typed key blinks the lock and changes nothing.
        QVERIFY(w.LockButton1->LockedState());
        QTest::keyClick(w.DBENr, Qt::Key_5);
        QVERIFY(w.LockButton1->Blinking());
        QCOMPARE(m.Table1->state(), engine::DataSetState::Browse);
        // F12 is the lock button: it unlocks every window.
        QTest::keyClick(w.DBMemo, Qt::Key_F12);
        QVERIFY(!m.Table1->readOnly());
        QVERIFY(!w.LockButton1->LockedState());
        // A right click on the memo starts editing the medium.
        QTest::mousePress(w.DBMemo->viewport(), Qt::RightButton);
        QCOMPARE(m.Table1->state(), engine::DataSetState::Edit);
        m.Table1->cancel();
        // A file-link field shows the link edit and its button.
        QVERIFY(w.DBEF[1]->isVisibleTo(&w) && !w.DBEFL[1]->isVisibleTo(&w));
        SetMediumFreeIsFileLink(2, true);
        QVERIFY(!w.DBEF[1]->isVisibleTo(&w) && w.DBEFL[1]->isVisibleTo(&w) && w.ButtF[1]->isVisibleTo(&w));
        QCOMPARE(w.Label[1]->buddy(), static_cast<QWidget *>(w.DBEFL[1]));
        // The edit is the drop target of its field: a file of the LNK folder is linked.
        QDir().mkpath(fx.base + QStringLiteral("LNK"));
        QFile f(fx.base + QStringLiteral("LNK/brief.txt"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QCOMPARE(w.DragDropFiles[1]->objectName(), QStringLiteral("DragDropFiles2"));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(f.fileName())});
        QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w.DBEFL[1], &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &data, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w.DBEFL[1], &drop);
        QTRY_COMPARE(m.Table1->fieldByName(QStringLiteral("Free2"))->asString(), QStringLiteral("brief.txt"));
        m.Table1->cancel();
    }
};

QTEST_MAIN(TstNotesWindow)
#include "tst_noteswindow.moc"
