// The dialogs' buttons and round panels: kinds, faces by state, flat faces
// without bitmaps, accelerators, regions.
#include "kit/enterexitbutton.h"
#include "kit/kitfiles.h"
#include "kit/ozoroundrectpanel.h"

#include <QDialog>
#include <QSignalSpy>
#include <QtTest>

class TstOzoButtons : public QObject
{
    Q_OBJECT

    static QImage render(QWidget *w)
    {
        QImage img(w->size(), QImage::Format_RGB32);
        img.fill(Qt::magenta);
        w->render(&img);
        return img;
    }

private slots:
    void initTestCase()
    {
        SetKitProgramFolder(qEnvironmentVariable("TARVO_PROGDIR"));
        // The test's own command line has neither word: both switches stay on.
        QVERIFY(TOzoNewButton::UseBitmaps());
        QVERIFY(TOzoNewButton::UseRegions());
    }

    void cleanup()
    {
        TOzoNewButton::SetUseBitmaps(true);
        TOzoNewButton::SetUseRegions(true);
    }

    void newButton()
    {
        TOzoNewButton b;
        QCOMPARE(b.size(), QSize(100, 21));
        QCOMPARE(b.Kind(), ibkOther);
        QCOMPARE(b.ResBmpActive(), QStringLiteral("BLUE100"));
        QCOMPARE(b.ResBmpNormal(), QStringLiteral("SILVER100"));
        QVERIFY(b.font().bold());
        QCOMPARE(b.font().pointSize(), 10);
        QCOMPARE(b.FaceState(), 1);
        QVERIFY(b.FaceFile("OKGREEN").endsWith("/Skins/Buttons/OKGREEN.bmp"));
        b.SetBitmapPath("/tmp/faces");
        QCOMPARE(b.FaceFile("X"), QStringLiteral("/tmp/faces/X.bmp"));
        // Changing the kind to ibkOther changes nothing else.
        b.resize(77, 30);
        b.SetKind(ibkOther);
        QCOMPARE(b.size(), QSize(77, 30));
        QCOMPARE(b.ResBmpActive(), QStringLiteral("BLUE100"));
    }

    void kinds()
    {
        TOzoNewButton ok;
        ok.SetKind(ibkOK);
        QCOMPARE(ok.Caption(), QStringLiteral("OK"));
        QVERIFY(ok.isDefault());
        QCOMPARE(ok.ModalResult, int(mrOk));
        QCOMPARE(ok.CaptionLeft(), 50);
        QCOMPARE(ok.FontColor(), QColor(0, 128, 0));
        QCOMPARE(ok.minimumWidth(), 100);
        QCOMPARE(ok.maximumWidth(), 100);
        QCOMPARE(ok.height(), 21);
        ok.resize(300, 21);
        QCOMPARE(ok.width(), 100); // the width is fixed now
        TOzoNewButton cancel;
        cancel.SetKind(ibkCancel);
        QCOMPARE(cancel.Caption(), QStringLiteral("Abbruch"));
        QVERIFY(cancel.Cancel());
        QCOMPARE(cancel.ModalResult, int(mrCancel));
        TOzoNewButton blue;
        blue.resize(120, 21);
        blue.SetKind(ibkBlue);
        QCOMPARE(blue.width(), 100);
        QCOMPARE(blue.ResBmpActive(), QStringLiteral("BLUE100"));
        QCOMPARE(blue.ResBmpNormal(), QStringLiteral("SILVER100"));
        QVERIFY(blue.CaptionHCenter());
        TOzoNewButton small;
        small.resize(39, 21);
        small.SetKind(ibkBlue);
        QCOMPARE(small.width(), 35);
        QCOMPARE(small.ResBmpNormal(), QStringLiteral("SILVER35"));
        TOzoNewButton ppp;
        ppp.SetKind(ibkPPP);
        QCOMPARE(ppp.width(), 35);
        QVERIFY(ppp.Caption().isEmpty());
        TOzoNewButton help;
        help.SetKind(ibkHelp);
        QCOMPARE(help.Caption(), QStringLiteral("Hilfe"));
        QCOMPARE(help.ModalResult, int(mrNone));
        TOzoNewButton plus;
        plus.SetCaption("Neu");
        plus.SetKind(ibkPlus);
        QCOMPARE(plus.width(), 200);
        QCOMPARE(plus.Caption(), QStringLiteral("Neu"));
    }

    void facesByState()
    {
        TOzoNewButton ppp;
        ppp.SetKind(ibkPPP);
        ppp.setEnabled(false);
        QCOMPARE(ppp.FaceState(), 2);
        QCOMPARE(ppp.CurrentFaceName(), QStringLiteral("PPPDISABLED"));
        const QImage shot = render(&ppp);
        QVERIFY(ppp.PaintedOnce());
        QVERIFY(!ppp.LoadedFace().isNull());
        QCOMPARE(ppp.LoadedFace(), LoadKitImage(ppp.FaceFile("PPPDISABLED")));
        Q_UNUSED(shot);
        TOzoNewButton ok;
        ok.SetKind(ibkOK);
        ok.setEnabled(false);
        QCOMPARE(ok.CurrentFaceName(), QStringLiteral("OKSILVER"));
        render(&ok);
        QCOMPARE(ok.LoadedFace(), LoadKitImage(ok.FaceFile("OKSILVER")));
        ok.setEnabled(true);
        QCOMPARE(ok.FaceState(), 1);
        // Focus makes it hot.
        QDialog d;
        auto *b = new TOzoNewButton(&d);
        b->SetKind(ibkOK);
        auto *other = new TOzoNewButton(&d);
        other->move(0, 30);
        d.show();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        b->setFocus();
        QCOMPARE(b->FaceState(), 0);
        QCOMPARE(b->CurrentFaceName(), QStringLiteral("OKGREEN"));
        other->setFocus();
        QCOMPARE(b->FaceState(), 1);
    }

    void enterAndExit()
    {
        TOzoNewButton b;
        QSignalSpy enter(&b, &TEnterExitButton::MouseEnter), exit(&b, &TEnterExitButton::MouseExit);
        QEnterEvent ev(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(&b, &ev);
        QCOMPARE(enter.count(), 1);
        QCOMPARE(b.FaceState(), 0);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&b, &leave);
        QCOMPARE(exit.count(), 1);
        QCOMPARE(b.FaceState(), 1);
    }

    void flatFacesWithoutBitmaps()
    {
        TOzoNewButton::ReadCommandLine({"tarvo", "nobuttonbitmaps"});
        QVERIFY(!TOzoNewButton::UseBitmaps());
        QVERIFY(!TOzoNewButton::UseRegions());
        TOzoNewButton ppp;
        ppp.SetKind(ibkPPP);
        QCOMPARE(ppp.Caption(), QStringLiteral("..."));
        TOzoNewButton ok;
        ok.SetKind(ibkOK);
        const QImage img = render(&ok);
        QVERIFY(ok.LoadedFace().isNull());
        // The flat face: the normal colour framed in black.
        QCOMPARE(img.pixelColor(50, 3), QColor(210, 210, 210));
        QCOMPARE(img.pixelColor(0, 0), QColor(Qt::black));
        QVERIFY(ok.mask().isEmpty());
        TOzoNewButton::SetUseBitmaps(true);
        TOzoNewButton::SetUseRegions(true);
        TOzoNewButton::ReadCommandLine({"tarvo", "NOBUTTONSHAPES"});
        QVERIFY(TOzoNewButton::UseBitmaps());
        QVERIFY(!TOzoNewButton::UseRegions());
    }

    void regionAfterPaint()
    {
        QWidget host;
        auto *b = new TOzoNewButton(&host);
        b->SetKind(ibkBlue);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        QTRY_VERIFY(b->PaintedOnce());
        QVERIFY(!b->mask().isEmpty());
        QVERIFY(!b->mask().contains(QPoint(0, 0)));
        QVERIFY(b->mask().contains(QPoint(50, 10)));
    }

    void zoomedFace()
    {
        // A button scaled by the zoom stretches its face over all of itself.
        TOzoNewButton b;
        b.SetKind(ibkBlue);
        b.setFixedSize(120, 25);
        const QImage img = render(&b);
        QVERIFY(img.pixelColor(110, 22) != QColor(Qt::magenta));
        QCOMPARE(b.LoadedFace().size(), QSize(100, 21));
    }

    void accelerator()
    {
        QDialog d;
        auto *b = new TOzoNewButton(&d);
        b->SetCaption("Ab&brechen");
        QCOMPARE(b->shortcut(), QKeySequence::mnemonic("&b"));
        QSignalSpy clicked(b, &QAbstractButton::clicked);
        d.show();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        QTest::keyClick(&d, Qt::Key_B, Qt::AltModifier);
        QTRY_COMPARE(clicked.count(), 1);
        b->SetCaption("A&&B");
        QVERIFY(b->shortcut().isEmpty());
        b->SetCaption("&Speichern");
        b->SetShowAccelChar(false);
        QVERIFY(b->shortcut().isEmpty());
        // The caption is drawn without the "&" and the letter underlined.
        b->SetShowAccelChar(true);
        b->SetKind(ibkBlue);
        const QImage withAccel = render(b);
        b->SetShowAccelChar(false);
        QVERIFY(render(b) != withAccel);
    }

    void roundPanel()
    {
        TOzoRoundRectPanel p;
        QCOMPARE(p.height(), 21);
        QCOMPARE(p.RndRadius(), 20);
        p.SetRndRadius(-3);
        QCOMPARE(p.RndRadius(), 20);
        // Pen width and rectangle by border width.
        auto g1 = TOzoRoundRectPanel::BorderFor(1, QSize(100, 21));
        QCOMPARE(g1.penWidth, 1);
        QCOMPARE(g1.rect, QRect(QPoint(0, 0), QPoint(99, 20)));
        auto g2 = TOzoRoundRectPanel::BorderFor(2, QSize(100, 21));
        QCOMPARE(g2.penWidth, 3);
        QCOMPARE(g2.rect, QRect(QPoint(0, 0), QPoint(99, 20)));
        auto g3 = TOzoRoundRectPanel::BorderFor(3, QSize(100, 21));
        QCOMPARE(g3.penWidth, 3);
        QCOMPARE(g3.rect, QRect(QPoint(1, 1), QPoint(98, 19)));
        // Regions are made by the first paint and dropped by changes.
        QWidget host;
        auto *panel = new TOzoRoundRectPanel(&host);
        panel->setGeometry(10, 10, 200, 25);
        auto *edit = new QWidget(panel);
        edit->setGeometry(5, 3, 150, 19);
        panel->SetClipFirstControl(true);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        QTRY_VERIFY(panel->HasRegion());
        QVERIFY(panel->HasChildRegion());
        QCOMPARE(edit->mask().boundingRect(), QRect(QPoint(2, 2), QPoint(147, 16)));
        panel->SetClipLeft(4);
        QVERIFY(!panel->HasRegion());
        QVERIFY(edit->mask().isEmpty());
        QTRY_VERIFY(panel->HasChildRegion());
        QCOMPARE(edit->mask().boundingRect().left(), 4);
        TOzoRoundRectPanel::SetUseRegions(false);
        panel->resize(210, 25);
        panel->repaint();
        QVERIFY(!panel->HasRegion());
        TOzoRoundRectPanel::SetUseRegions(true);
    }
};

QTEST_MAIN(TstOzoButtons)
#include "tst_ozobuttons.moc"
