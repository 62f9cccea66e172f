#include "kit/kitfiles.h"
#include "kit/lockbutton.h"

#include <QTimer>
#include <QtTest>

class TstLockButton : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { SetKitProgramFolder(qEnvironmentVariable("TARVO_PROGDIR")); }

    void lockedAndUnlocked()
    {
        TLockButton b;
        // The padlock pictures of the program folder: two 16 x 16 glyphs each.
        QCOMPARE(b.Images().Count(), 3);
        QCOMPARE(b.Images().Width(), 16);
        QVERIFY(b.LockedState());
        QCOMPARE(b.GlyphName(), QStringLiteral("LOCKED"));
        QCOMPARE(b.toolTip(), QStringLiteral("Schreibschutz ausschalten"));
        QCOMPARE(b.NumGlyphs(), 2);
        b.SetLocked(false);
        QCOMPARE(b.GlyphName(), QStringLiteral("UNLOCKED"));
        QCOMPARE(b.toolTip(), QStringLiteral("Schreibschutz einschalten"));
        // Unlocked: a blink request changes nothing.
        b.BlinkIfLocked();
        QVERIFY(!b.Blinking());
        QCOMPARE(b.GlyphName(), QStringLiteral("UNLOCKED"));
    }

    void blinkSequence()
    {
        TLockButton b;
        QCOMPARE(b.BlinkTimer()->interval(), 400);
        b.BlinkIfLocked();
        QVERIFY(b.Blinking());
        QCOMPARE(b.GlyphName(), QStringLiteral("LOCKEDRED")); // red at once
        QStringList seen{b.GlyphName()};
        while (b.Blinking()) {
            QMetaObject::invokeMethod(b.BlinkTimer(), "timeout");
            seen << b.GlyphName();
        }
        QCOMPARE(seen.size(), 8);
        QCOMPARE(seen.last(), QStringLiteral("LOCKED"));
        QCOMPARE(seen.at(2), QStringLiteral("LOCKEDRED"));
        // Calling it during a blink restarts the sequence; SetLocked stops it.
        b.BlinkIfLocked();
        QMetaObject::invokeMethod(b.BlinkTimer(), "timeout");
        b.BlinkIfLocked();
        QCOMPARE(b.BlinkCount(), 1);
        b.SetLocked(true);
        QVERIFY(!b.Blinking());
        QCOMPARE(b.GlyphName(), QStringLiteral("LOCKED"));
    }
};

QTEST_MAIN(TstLockButton)
#include "tst_lockbutton.moc"
