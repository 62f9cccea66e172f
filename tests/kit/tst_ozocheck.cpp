#include "kit/kitresources.h"
#include "kit/ozocheck.h"

#include <QtTest>

class TstOzoCheck : public QObject
{
    Q_OBJECT
private slots:
    void newControl()
    {
        TOzoCheck c;
        QCOMPARE(c.size(), QSize(97, 19));
        QCOMPARE(c.State(), cbUnchecked);
        QCOMPARE(c.ImageType(), igHookRed);
        QVERIFY(c.Flat());
        QVERIFY(c.ShowFocused());
        QCOMPARE(c.Alignment(), taRightJustify);
        QCOMPARE(c.focusPolicy(), Qt::StrongFocus);
    }

    void grayedNeedsPermission()
    {
        TOzoCheck c;
        int changes = 0;
        c.OnStateChange = [&](QObject *) { ++changes; };
        c.SetState(cbGrayed);
        QCOMPARE(c.State(), cbUnchecked);
        QCOMPARE(changes, 0);
        c.SetAllowGrayed(true);
        c.SetState(cbGrayed);
        QCOMPARE(c.State(), cbGrayed);
        QCOMPARE(changes, 1);
        c.SetState(cbGrayed); // no change, no event
        QCOMPARE(changes, 1);
        c.SetAllowGrayed(false);
        QCOMPARE(c.State(), cbUnchecked);
        QVERIFY(!c.GrayedPermitted());
        c.SetChecked(true);
        QVERIFY(c.Checked());
        QCOMPARE(changes, 3);
    }

    void clickCycle()
    {
        TOzoCheck c;
        int clicks = 0;
        c.OnClick = [&](QObject *) { ++clicks; };
        c.Click();
        QCOMPARE(c.State(), cbChecked);
        c.Click();
        QCOMPARE(c.State(), cbUnchecked);
        c.SetAllowGrayed(true);
        c.Click();
        c.Click();
        QCOMPARE(c.State(), cbGrayed);
        c.Click();
        QCOMPARE(c.State(), cbUnchecked);
        QCOMPARE(clicks, 5);
    }

    void keysAndMouse()
    {
        QWidget w;
        auto *c = new TOzoCheck(&w);
        c->SetCaption(QStringLiteral("&Wide"));
        int clicks = 0;
        c->OnClick = [&](QObject *) { ++clicks; };
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::keyClick(c, Qt::Key_Space);
        QCOMPARE(c->State(), cbChecked);
        QTest::keyClick(c, Qt::Key_Return); // OnClick only
        QCOMPARE(c->State(), cbChecked);
        QCOMPARE(clicks, 2);
        QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(c->State(), cbUnchecked);
        QTest::mouseDClick(c, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(clicks >= 4);
        c->setEnabled(false);
        const auto before = c->State();
        QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(c->State(), before);
    }

    void radioGroups()
    {
        QWidget w;
        TOzoCheck *g1[3];
        for (auto &r : g1) {
            r = new TOzoCheck(&w);
            r->SetIsRadioButton(true);
            r->SetRadioGroup(1);
        }
        auto *g0 = new TOzoCheck(&w);
        g0->SetIsRadioButton(true);
        g0->SetChecked(true);
        g1[0]->SetChecked(true);
        g1[1]->Click();
        QVERIFY(!g1[0]->Checked());
        QVERIFY(g1[1]->Checked());
        QVERIFY(!g1[2]->Checked());
        QVERIFY(g0->Checked());
        g1[1]->Click(); // a checked radio button stays checked
        QVERIFY(g1[1]->Checked());
        // Radio buttons on nested panels of one window are one group too.
        auto *panel = new QWidget(&w);
        auto *nested = new TOzoCheck(panel);
        nested->SetIsRadioButton(true);
        nested->SetRadioGroup(1);
        nested->SetChecked(true);
        QVERIFY(!g1[1]->Checked());
    }

    void picturesByState()
    {
        TOzoCheck c;
        QCOMPARE(c.BoxBitmapName(), QStringLiteral("BlankFlat"));
        QVERIFY(c.MarkBitmapName().isEmpty());
        c.SetChecked(true);
        QCOMPARE(c.MarkBitmapName(), QStringLiteral("CheckOkR"));
        c.SetImageType(igCrossRed);
        QCOMPARE(c.MarkBitmapName(), QStringLiteral("CheckIks"));
        c.SetAllowGrayed(true);
        c.SetState(cbGrayed);
        QCOMPARE(c.MarkBitmapName(), QStringLiteral("IKSGRAY"));
        c.SetGrayedQuestionMark(true);
        QCOMPARE(c.MarkBitmapName(), QStringLiteral("QMR"));
        c.SetFlat(false);
        c.SetIsRadioButton(true);
        QCOMPARE(c.BoxBitmapName(), QStringLiteral("BlankRnd"));
        c.setEnabled(false);
        QCOMPARE(c.BoxBitmapName(), QStringLiteral("EnabledRnd"));
        // A disabled box shows the disabled box picture in place of its mark,
        // round for a radio button.
        QCOMPARE(c.MarkBitmapName(), QStringLiteral("EnabledRnd"));
        for (const char *name : {"BlankFlat", "Blank", "EnabledFlatRnd", "CheckOk", "CHECKELLI", "QMG", "CHECKGRAY"})
            QVERIFY2(!LoadResourceBitmap(QLatin1String(name)).isNull(), name);
        QVERIFY(LoadResourceData(QStringLiteral("klik"), QStringLiteral("wav")).startsWith("RIFF"));
    }

    void layoutAndPainting()
    {
        TOzoCheck c;
        c.SetCaption(QStringLiteral("&Ja"));
        const QFontMetrics fm(c.font());
        QRect cr = c.CaptionRect();
        QCOMPARE(cr.left(), 22);
        QCOMPARE(cr.width(), fm.horizontalAdvance(QStringLiteral("&Ja")) - fm.horizontalAdvance(u'&') + 3);
        QCOMPARE(cr.top(), (c.height() - fm.height()) / 2);
        c.SetAlignment(taLeftJustify);
        QCOMPARE(c.CaptionRect().left(), 2);

        // The box sits 18 pixels from the right edge with the caption left of it;
        // its inside is white, and the magenta key colour never shows.
        c.SetColor(QColor(10, 20, 30));
        c.SetChecked(true);
        const QImage img = c.grab().toImage();
        const int top = (c.height() - 16) / 2;
        QCOMPARE(img.pixelColor(c.width() - 18 + 3, top + 3), QColor(Qt::white));
        QCOMPARE(img.pixelColor(c.width() - 18, top + 15), QColor(10, 20, 30));
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                QVERIFY(img.pixelColor(x, y) != QColor(255, 0, 255));
        // Grayed (an empty field) fills the middle of the box with one grey,
        // which nobody reads as a tick or a cross.
        c.SetAllowGrayed(true);
        c.SetState(cbGrayed);
        const QImage grayed = c.grab().toImage();
        const QColor middle = grayed.pixelColor(c.width() - 18 + 7, top + 7);
        QVERIFY(qGray(middle.rgb()) < 200);
        for (int y = top + 5; y <= top + 9; ++y)
            for (int x = c.width() - 18 + 5; x <= c.width() - 18 + 9; ++x)
                QCOMPARE(grayed.pixelColor(x, y), middle);
    }

    void hotTracking()
    {
        QWidget w;
        auto *c = new TOzoCheck(&w);
        c->SetHotTrack(true);
        int enter = 0, exit = 0;
        c->OnMouseEnter = [&](QObject *) { ++enter; };
        c->OnMouseExit = [&](QObject *) { ++exit; };
        QEnterEvent ev(QPointF(3, 3), QPointF(3, 3), QPointF(3, 3));
        QApplication::sendEvent(c, &ev);
        QVERIFY(c->IsHot());
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(c, &leave);
        QVERIFY(!c->IsHot());
        QCOMPARE(enter, 1);
        QCOMPARE(exit, 1);
        c->setEnabled(false);
        QApplication::sendEvent(c, &ev);
        QVERIFY(!c->IsHot());
        c->SetHint(QStringLiteral("Erste"));
        c->SetHintSecondLine(QStringLiteral("Zweite"));
        QCOMPARE(c->toolTip(), QStringLiteral("Erste\nZweite"));
    }
};

QTEST_MAIN(TstOzoCheck)
#include "tst_ozocheck.moc"
