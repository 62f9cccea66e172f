#include "kit/lockbutton.h"

#include "kit/kitfiles.h"

#include <QTimer>

TLockButton::TLockButton(QWidget *parent)
    : TPZSpeedButton(parent), m_timer(new QTimer(this))
{
    m_timer->setInterval(400);
    connect(m_timer, &QTimer::timeout, this, &TLockButton::blinkStep);
    // A new lock button holds an empty two-glyph picture until it is set.
    SetNumGlyphs(2);
    SetLocked(true);
}

void TLockButton::SetLocked(bool locked)
{
    m_timer->stop();
    m_locked = locked;
    showGlyph(locked ? QStringLiteral("LOCKED") : QStringLiteral("UNLOCKED"));
    setToolTip(locked ? QStringLiteral("Schreibschutz ausschalten") : QStringLiteral("Schreibschutz einschalten"));
}

void TLockButton::BlinkIfLocked()
{
    if (!m_locked)
        return;
    m_blinkCount = 0;
    blinkStep();
    m_timer->start();
}

bool TLockButton::Blinking() const
{
    return m_timer->isActive();
}

void TLockButton::blinkStep()
{
    ++m_blinkCount;
    showGlyph(m_blinkCount % 2 ? QStringLiteral("LOCKEDRED") : QStringLiteral("LOCKED"));
    if (m_blinkCount >= 8)
        m_timer->stop();
}

void TLockButton::showGlyph(const QString &name)
{
    if (name == m_glyphName)
        return;
    m_glyphName = name;
    const QPixmap picture = LoadResourceBitmap(name);
    if (!picture.isNull())
        SetGlyph(picture);
}
