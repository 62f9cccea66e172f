// TLockButton: shows whether the collection is write-protected, and blinks
// red when the user tries to edit a protected record. The main window owns
// the real one; other windows make their own and give it the main window's
// click handler.
#pragma once

#include "kit/pzspeedbutton.h"

class QTimer;

class TLockButton : public TPZSpeedButton
{
    Q_OBJECT
public:
    explicit TLockButton(QWidget *parent = nullptr);

    bool LockedState() const { return m_locked; }
    // Stops a blink; shows "LOCKED" with the hint "Schreibschutz ausschalten",
    // or "UNLOCKED" with "Schreibschutz einschalten".
    void SetLocked(bool locked);
    // Locked: the lock turns red at once, then alternates every 400 ms and
    // ends on "LOCKED" after 8 changes. Unlocked: nothing.
    void BlinkIfLocked();

    // The picture shown now ("LOCKED", "LOCKEDRED" or "UNLOCKED").
    QString GlyphName() const { return m_glyphName; }
    bool Blinking() const;
    int BlinkCount() const { return m_blinkCount; }
    QTimer *BlinkTimer() const { return m_timer; }

private:
    void showGlyph(const QString &name);
    void blinkStep();

    bool m_locked = true;
    int m_blinkCount = 0;
    QTimer *m_timer;
    QString m_glyphName;
};
