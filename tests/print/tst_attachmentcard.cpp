// Attachment cards laid out at 10 pixels per millimetre: the value cut,
// the picture limits, the order of the overflow ladder with its questions,
// and the heading of a medium's card.
#include "fakeart.h"
#include "pageitems.h"
#include "print/attachmentcard.h"

#include <QtTest>

namespace {

const TLabelScale kScale = PrinterLabelScale(2100, 210, 2970, 297);

TAttachmentCardData filmCard(const QString &text, bool picture)
{
    TAttachmentCardData d;
    d.values.Titel = QStringLiteral("Alien");
    d.values.Untertitel = QStringLiteral("Das unheimliche Wesen");
    d.text = text;
    if (picture) {
        d.values.Grafik = QImage(400, 300, QImage::Format_RGB32);
        d.values.Grafik.fill(Qt::gray);
    }
    AddCardField(d, QStringLiteral("Regie"), QStringLiteral("Ridley Scott"), false);
    AddCardField(d, QStringLiteral("Jahr"), QStringLiteral("1979"), false);
    AddCardField(d, QStringLiteral("Datei"), QStringLiteral("alien.jpg"), true); // a link: not on the card
    AddCardField(d, QStringLiteral("Leer"), QString(), false);
    return d;
}

} // namespace

class TestAttachmentCard : public QObject
{
    Q_OBJECT

private slots:
    void valuesAreCutToTheColumn()
    {
        const QFont f = PageFont(QString(), 12, kScale);
        QCOMPARE(FitCardValue(QStringLiteral("Abcdef"), f, TextWidth(f, QStringLiteral("Abc"))), QStringLiteral("Abc"));
        QCOMPARE(FitCardValue(QStringLiteral("Abc"), f, 10000), QStringLiteral("Abc"));
        QCOMPARE(FitCardValue(QStringLiteral("Abc"), f, -5), QString());
    }

    void onlyFilledFieldsThatAreNoLinks()
    {
        const TAttachmentCardData d = filmCard(QString(), false);
        QCOMPARE(d.captions, (std::vector<QString>{QStringLiteral("Regie"), QStringLiteral("Jahr")}));
    }

    void pictureLimits()
    {
        // 100 × 50 grows by × 1.1 (halves to even) to 889 × 449, 4005 mm²,
        // past the 3500 mm² of a card with a memo; one step of × 0.9 brings
        // it to 800 × 404, 3200 mm².
        QSize s = FitCardPicture(QSize(100, 50), 1000, 600, 3500, kScale);
        QCOMPARE(s, QSize(800, 404));

        // A huge picture comes down within the limits, and the loop ends.
        s = FitCardPicture(QSize(100000, 50000), 1790, 600, 20000, kScale);
        QVERIFY(s.width() <= 1790 && s.height() <= 600);
        QVERIFY(s.width() > 0 && s.height() > 0);

        // A picture of one pixel moves nowhere; no room gives no picture.
        QCOMPARE(FitCardPicture(QSize(1, 1), 1000, 600, 3500, kScale), QSize(1, 1));
        QVERIFY(FitCardPicture(QSize(100, 50), 1000, 0, 3500, kScale).isEmpty());
        QVERIFY(FitCardPicture(QSize(100, 50), 1000, -40, 3500, kScale).isEmpty());
        // Small pictures still grow: every step moves at least one pixel.
        s = FitCardPicture(QSize(2, 2), 100, 100, 3500, kScale);
        QVERIFY(s.width() > 2);
    }

    void pictureBesideOrCentred()
    {
        FakeArt art;
        const TCardAsk never = [](TCardQuestion) { return false; };
        // With a memo: at the top right, at most 100 × 60 mm.
        TCardResult r = DrawAttachmentCard(filmCard(QStringLiteral("Kurz."), true), TAttachmentOptions(), kScale,
                                           TLabelSettings(), art, never);
        QCOMPARE(r.attempts.size(), size_t(1));
        QRect p = r.attempts[0].picture;
        QCOMPARE(p.left() + p.width(), 1820);
        QCOMPARE(p.top(), r.attempts[0].ruleY + 20);
        QVERIFY(p.width() <= 1000 && p.height() <= 600);
        // Without one: large and centred on 92.5 mm.
        r = DrawAttachmentCard(filmCard(QString(), true), TAttachmentOptions(), kScale, TLabelSettings(), art, never);
        p = r.attempts[0].picture;
        QVERIFY(qAbs(p.left() + p.width() / 2 - 925) <= 1);
        QVERIFY(p.width() > 1000 || p.height() > 600);
        QVERIFY(p.top() + p.height() <= 1000 - 30);
    }

    void textThatFitsAtTenPrintsOnceInTen()
    {
        FakeArt art;
        // Enough lines to fail at 12 pt and fit at 10 pt on the front.
        const QFont f12 = PageFont(QString(), 12, kScale), f10 = PageFont(QString(), 10, kScale);
        int n = 5;
        TCardResult r;
        QList<TCardQuestion> asked;
        const TCardAsk ask = [&asked](TCardQuestion q) {
            asked << q;
            return true;
        };
        for (;; ++n) {
            asked.clear();
            r = DrawAttachmentCard(filmCard(numberedLines(n), false), TAttachmentOptions(), kScale, TLabelSettings(), art, ask);
            if (r.attempts.size() == 2)
                break;
            QVERIFY(r.attempts.size() == 1 && n < 200);
        }
        QCOMPARE(r.attempts[0].fontSize, 12);
        QVERIFY(!r.attempts[0].complete);
        QCOMPARE(r.attempts[1].fontSize, 10);
        QVERIFY(r.attempts[1].complete);
        QVERIFY(asked.isEmpty());
        // One card, and nothing on it in 12 pt: the failed attempt is not drawn.
        QCOMPARE(r.doc.sheets.size(), size_t(1));
        for (const TLabelItem *t : texts(r.doc.sheets[0].layout))
            if (t->text.startsWith(QStringLiteral("Zeile")))
                QCOMPARE(t->font.pixelSize(), f10.pixelSize());
    }

    void theLadderInOrder()
    {
        FakeArt art;
        TAttachmentOptions o;
        o.grScale = 12;
        QList<TCardQuestion> asked;
        const TCardAsk ask = [&asked](TCardQuestion q) {
            asked << q;
            return true;
        };
        const TCardResult r = DrawAttachmentCard(filmCard(numberedLines(75), true), o, kScale, TLabelSettings(), art, ask);
        QVERIFY(!r.aborted);
        QCOMPARE(asked, (QList<TCardQuestion>{TCardQuestion::BackHalf, TCardQuestion::SecondCard}));
        QList<int> sizes, scales;
        QList<bool> first;
        for (const TCardAttempt &a : r.attempts) {
            sizes << a.fontSize;
            scales << a.scaleTenths;
            first << a.firstPass;
        }
        // 12, 10, 8 pt; then the picture 1.1 and 1.0 (not lower); the back
        // half from 12 pt again; last the second card in 8 pt, no picture.
        QCOMPARE(sizes, (QList<int>{12, 10, 8, 8, 8, 12, 10, 8, 8, 8, 8}));
        QCOMPARE(scales, (QList<int>{12, 12, 12, 11, 10, 12, 12, 12, 11, 10, 0}));
        QCOMPARE(first, (QList<bool>{true, true, true, true, true, false, false, false, false, false, true}));
        QVERIFY(r.attempts[9].backHalf);
        QVERIFY(r.attempts.back().complete);
        QCOMPARE(r.doc.sheets.size(), size_t(2));
        // The fold mark on the first card, the continuation heading on the second.
        QVERIFY(hasTextStarting(r.doc.sheets[0].layout, QStringLiteral("knicken")));
        QVERIFY(hasTextStarting(r.doc.sheets[1].layout, QStringLiteral("Fortsetzung...")));
        QVERIFY(hasTextStarting(r.doc.sheets[1].layout, QStringLiteral("Alien")));
        // The second card goes on from where the first stopped.
        QVERIFY(hasTextStarting(r.doc.sheets[1].layout, QStringLiteral("Zeile 75")));
        QVERIFY(!hasTextStarting(r.doc.sheets[0].layout, QStringLiteral("Zeile 75")));

        // Without shrinking the picture keeps its scale.
        o.shrinkPicture = false;
        asked.clear();
        const TCardResult r2 = DrawAttachmentCard(filmCard(numberedLines(75), true), o, kScale, TLabelSettings(), art, ask);
        QCOMPARE(r2.attempts.size(), size_t(7));
    }

    void cancelPrintsNothing()
    {
        FakeArt art;
        const TCardAsk no = [](TCardQuestion) { return false; };
        TCardResult r = DrawAttachmentCard(filmCard(numberedLines(75), false), TAttachmentOptions(), kScale, TLabelSettings(),
                                           art, no);
        QVERIFY(r.aborted);
        QVERIFY(r.doc.sheets.empty());
        // OK for the back half, Cancel for the second card.
        int n = 0;
        const TCardAsk once = [&n](TCardQuestion) { return n++ == 0; };
        r = DrawAttachmentCard(filmCard(numberedLines(75), false), TAttachmentOptions(), kScale, TLabelSettings(), art, once);
        QVERIFY(r.aborted);
        QCOMPARE(n, 2);
        QVERIFY(r.doc.sheets.empty());
    }

    void unbreakableTextEnds()
    {
        FakeArt art;
        int asked = 0;
        const TCardAsk ask = [&asked](TCardQuestion) { return ++asked < 50; };
        const TCardResult r = DrawAttachmentCard(filmCard(QString(3000, QLatin1Char('W')), false), TAttachmentOptions(),
                                                 kScale, TLabelSettings(), art, ask);
        QVERIFY(!r.aborted);
        QVERIFY(r.attempts.back().complete);
        QVERIFY(asked < 50);
    }

    void mediumHeading()
    {
        FakeArt art;
        const TCardAsk never = [](TCardQuestion) { return false; };
        TAttachmentOptions o;
        o.mediumTimes = true;
        TAttachmentCardData d;
        d.film = false;
        d.mediumKind = QStringLiteral("VHS-SB");
        d.mediumNr = 12;
        d.tapeLength = QStringLiteral("240");
        d.mediumRest = 35;
        TCardResult r = DrawAttachmentCard(d, o, kScale, TLabelSettings(), art, never);
        QVERIFY(hasTextStarting(r.doc.sheets[0].layout, QStringLiteral("Anhang zu Kassette Nummer 12")));
        QVERIFY(hasTextStarting(r.doc.sheets[0].layout, QStringLiteral("E-240, Restspielzeit ca. 35 min")));
        for (const QString &kind : {QStringLiteral("DVD"), QStringLiteral("VHS-KK")}) {
            d.mediumKind = kind;
            r = DrawAttachmentCard(d, o, kScale, TLabelSettings(), art, never);
            QVERIFY(!hasTextStarting(r.doc.sheets[0].layout, QStringLiteral("E-")));
        }
        QCOMPARE(MediumCardHeading(QStringLiteral("VHS-KK"), 3), QStringLiteral("Anhang zu Kaufkassette Nummer 3"));
        QCOMPARE(MediumCardHeading(QStringLiteral("DVD"), 7), QStringLiteral("Anhang zu DVD Nummer 7"));
        // No switch, no line.
        d.mediumKind = QStringLiteral("VHS-SB");
        o.mediumTimes = false;
        r = DrawAttachmentCard(d, o, kScale, TLabelSettings(), art, never);
        QVERIFY(!hasTextStarting(r.doc.sheets[0].layout, QStringLiteral("E-")));
    }
};

QTEST_MAIN(TestAttachmentCard)
#include "tst_attachmentcard.moc"
