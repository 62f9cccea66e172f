#include "kit/ozocheck.h"

#include "kit/assignchanged.h"
#include "kit/kitresources.h"
#include "platform/progdir.h"

#include <QApplication>
#include <QFile>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QAudioDevice>
#include <QKeyEvent>
#include <QMediaDevices>
#include <QPainter>
#include <QShortcutEvent>
#include <QSoundEffect>
#include <QUrl>

namespace {

// The 8 x 8 hot-tracking pattern: highlight where x and y have the same
// parity, the control's colour elsewhere. Made once per colour pair.
QBrush hotBrush(const QColor &face)
{
    static QColor cachedFace;
    static QPixmap tile;
    const QColor hl = QApplication::palette().color(QPalette::Light);
    if (tile.isNull() || cachedFace != face) {
        QImage img(8, 8, QImage::Format_RGB32);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                img.setPixelColor(x, y, (x % 2) == (y % 2) ? hl : face);
        tile = QPixmap::fromImage(img);
        cachedFace = face;
    }
    return QBrush(tile);
}

const char *const kMarks[] = {"CheckIks", "CheckOk", "CHECKELLI", "CHECKEIKSB", "CHECKIKSG", "CHECKOKG", "CheckOkR"};
const char *const kQuestionMarks[] = {"QMR", "QMB", "QMB", "QMB", "QMG", "QMG", "QMR"};
const char *const kGrayMarks[] = {"IKSGRAY", "CHECKGRAY", "IKSGRAY", "IKSGRAY", "IKSGRAY", "CHECKGRAY", "CHECKGRAY"};

constexpr int kBoxSize = 16;

} // namespace

// --- TQCustomCheck -----------------------------------------------------------

TQCustomCheck::TQCustomCheck(QWidget *parent) : QWidget(parent)
{
    resize(97, 19);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
    m_color = palette().color(QPalette::Button);
}

TQCustomCheck::~TQCustomCheck() = default;

void TQCustomCheck::StoreState(TCheckBoxState state)
{
    if (m_state == state)
        return;
    m_state = state;
    if (OnStateChange)
        OnStateChange(this);
    update();
}

void TQCustomCheck::ApplyState(TCheckBoxState state)
{
    // Two states only at this level.
    if (state == cbGrayed)
        return;
    StoreState(state);
}

void TQCustomCheck::SetState(TCheckBoxState state)
{
    ApplyState(state);
}

void TQCustomCheck::SetChecked(bool checked)
{
    if (checked != Checked())
        SetState(checked ? cbChecked : cbUnchecked);
}

TCheckBoxState TQCustomCheck::NextClickState() const
{
    if (m_isRadio)
        return cbChecked;
    return m_state == cbUnchecked ? cbChecked : cbUnchecked;
}

void TQCustomCheck::Click()
{
    if (!isEnabled())
        return;
    setFocus(Qt::MouseFocusReason);
    if (BeforeUserChange()) {
        SetState(NextClickState());
        AfterUserChange();
    }
    if (m_playMusic)
        PlayClick();
    if (OnClick)
        OnClick(this);
}

void TQCustomCheck::SetCaption(const QString &caption)
{
    if (m_caption == caption)
        return;
    if (m_shortcutId) {
        releaseShortcut(m_shortcutId);
        m_shortcutId = 0;
    }
    m_caption = caption;
    const QKeySequence mnemonic = QKeySequence::mnemonic(caption);
    if (!mnemonic.isEmpty())
        m_shortcutId = grabShortcut(mnemonic);
    update();
}

void TQCustomCheck::SetTransparent(bool on) { if (AssignChanged(m_transparent, on)) update(); }
void TQCustomCheck::SetShowFocused(bool on) { if (AssignChanged(m_showFocused, on)) update(); }
void TQCustomCheck::SetFlat(bool on) { if (AssignChanged(m_flat, on)) update(); }
void TQCustomCheck::SetHotTrack(bool on) { if (AssignChanged(m_hotTrack, on)) update(); }
void TQCustomCheck::SetAlignment(TAlignment a) { if (AssignChanged(m_alignment, a)) update(); }
void TQCustomCheck::SetImageType(TOzoImageType t) { if (AssignChanged(m_imageType, t)) update(); }
void TQCustomCheck::SetStyle(TOzoCheckStyle s) { if (AssignChanged(m_style, s)) update(); }
void TQCustomCheck::SetColorSipleMargine(const QColor &c) { if (AssignChanged(m_marginColor, c)) update(); }
void TQCustomCheck::SetColor(const QColor &c) { if (AssignChanged(m_color, c)) update(); }
void TQCustomCheck::SetGrayedQuestionMark(bool on) { if (AssignChanged(m_grayedQuestionMark, on)) update(); }
void TQCustomCheck::SetIsRadioButton(bool on) { if (AssignChanged(m_isRadio, on)) update(); }

void TQCustomCheck::SetHintSecondLine(const QString &s)
{
    if (m_hintSecondLine == s)
        return;
    m_hintSecondLine = s;
    UpdateHint();
}

void TQCustomCheck::SetHint(const QString &hint)
{
    if (m_hintFirstLine == hint)
        return;
    m_hintFirstLine = hint;
    UpdateHint();
}

void TQCustomCheck::UpdateHint()
{
    QString hint = m_hintFirstLine;
    if (!m_hintSecondLine.isEmpty())
        hint += u'\n' + m_hintSecondLine;
    setToolTip(hint);
}

QString TQCustomCheck::BoxBitmapName() const
{
    QString name = isEnabled() ? QStringLiteral("Blank") : QStringLiteral("Enabled");
    if (m_flat)
        name += QStringLiteral("Flat");
    if (m_isRadio)
        name += QStringLiteral("Rnd");
    return name;
}

QString TQCustomCheck::MarkBitmapName() const
{
    if (m_state == cbUnchecked)
        return {};
    if (!isEnabled())
        return BoxBitmapName(); // a round box stays round
    const int t = int(m_imageType);
    if (m_state == cbChecked)
        return QLatin1String(kMarks[t]);
    return QLatin1String(m_grayedQuestionMark ? kQuestionMarks[t] : kGrayMarks[t]);
}

QRect TQCustomCheck::CaptionRect() const
{
    const QFontMetrics fm(font());
    const int th = fm.height();
    int tw = fm.horizontalAdvance(m_caption);
    if (m_caption.contains(u'&'))
        tw -= fm.horizontalAdvance(QLatin1Char('&'));
    const int left = m_alignment == taLeftJustify ? 2 : 22;
    return QRect(left, (height() - th) / 2, tw + 3, th);
}

void TQCustomCheck::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect r = rect();
    const QPalette pal = palette();
    const QColor light = pal.color(QPalette::Light);
    const QColor shadow = pal.color(QPalette::Dark);

    // 1. Background and frame.
    if (m_hot && m_hotTrack)
        p.fillRect(r, hotBrush(m_color));
    else if (!m_transparent)
        p.fillRect(r, m_color);
    auto frame = [&](const QColor &topLeft, const QColor &bottomRight) {
        p.setPen(topLeft);
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(bottomRight);
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
    };
    switch (m_style) {
    case bmLowered: frame(shadow, light); break;
    case bmRaised: frame(light, shadow); break;
    case bmSimple: frame(m_marginColor, m_marginColor); break;
    case bmNone: break;
    }

    // 2./3. Caption with focus frame; embossed when disabled.
    const QRect cr = CaptionRect();
    if (m_showFocused && hasFocus()) {
        QStyleOptionFocusRect opt;
        opt.initFrom(this);
        opt.rect = cr.adjusted(-1, -1, 1, 1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &opt, &p, this);
    }
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic | Qt::TextSingleLine;
    if (!isEnabled()) {
        p.setPen(light);
        p.drawText(cr.translated(1, 1), flags, m_caption);
        p.setPen(shadow);
    } else {
        p.setPen(m_hot && m_hotTrack ? QColor(0, 0, 255) : pal.color(QPalette::WindowText));
    }
    p.drawText(cr, flags, m_caption);

    // 4. Box and mark.
    const int bx = m_alignment == taLeftJustify ? width() - 18 : 2;
    const QPixmap box = LoadResourceBitmapTransparent(BoxBitmapName());
    const int by = (height() - (box.isNull() ? kBoxSize : box.height())) / 2;
    if (!box.isNull())
        p.drawPixmap(bx, by, box);
    const QString mark = MarkBitmapName();
    if (!mark.isEmpty()) {
        const QPixmap pm = LoadResourceBitmapTransparent(mark);
        if (!pm.isNull())
            p.drawPixmap(bx, by, pm);
    }
}

void TQCustomCheck::mousePressEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton && isEnabled())
        m_pressed = true;
    QWidget::mousePressEvent(e);
}

void TQCustomCheck::mouseReleaseEvent(QMouseEvent *e)
{
    const bool wasPressed = m_pressed;
    m_pressed = false;
    if (e->button() == Qt::LeftButton && wasPressed && rect().contains(e->position().toPoint()))
        Click();
    QWidget::mouseReleaseEvent(e);
}

void TQCustomCheck::mouseDoubleClickEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton && isEnabled() && OnClick)
        OnClick(this);
}

void TQCustomCheck::keyPressEvent(QKeyEvent *e)
{
    switch (e->key()) {
    case Qt::Key_Space:
        Click();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (OnClick)
            OnClick(this);
        return;
    case Qt::Key_Escape:
        ResetRequested();
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(e);
}

void TQCustomCheck::SetHot(bool hot)
{
    if (m_hot == hot)
        return;
    m_hot = hot;
    if (m_handCursor) {
        if (hot)
            setCursor(Qt::PointingHandCursor);
        else
            unsetCursor();
    }
    if (m_hotTrack)
        update();
    const TNotifyEvent &ev = hot ? OnMouseEnter : OnMouseExit;
    if (ev)
        ev(this);
}

void TQCustomCheck::enterEvent(QEnterEvent *e)
{
    if (isEnabled())
        SetHot(true);
    QWidget::enterEvent(e);
}

void TQCustomCheck::leaveEvent(QEvent *e)
{
    SetHot(false);
    QWidget::leaveEvent(e);
}

void TQCustomCheck::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::EnabledChange) {
        if (!isEnabled())
            SetHot(false);
        update();
    }
    QWidget::changeEvent(e);
}

bool TQCustomCheck::event(QEvent *e)
{
    if (e->type() == QEvent::Shortcut) {
        auto *se = static_cast<QShortcutEvent *>(e);
        if (se->shortcutId() == m_shortcutId) {
            Click();
            return true;
        }
    }
    return QWidget::event(e);
}

void TQCustomCheck::PlayClick()
{
    PlayClickSound();
}

void PlayClickSound()
{
    static QSoundEffect *effect = nullptr;
    static bool checked = false;
    if (!checked) {
        checked = true;
        const QString path = platform::programDir() + QStringLiteral("Resources/klik.wav");
        if (QMediaDevices::audioOutputs().isEmpty() || !QFile::exists(path))
            return;
        effect = new QSoundEffect(qApp);
        effect->setSource(QUrl::fromLocalFile(path));
    }
    if (effect)
        effect->play();
}

// --- TOzoCustomCheck ---------------------------------------------------------

TOzoCustomCheck::TOzoCustomCheck(QWidget *parent) : TQCustomCheck(parent) {}

void TOzoCustomCheck::SetAllowGrayed(bool on)
{
    m_allowGrayed = on;
    if (on)
        m_grayedPermitted = true;
    else if (m_state == cbGrayed)
        StoreState(cbUnchecked);
}

void TOzoCustomCheck::SetGrayedPermitted(bool on)
{
    m_grayedPermitted = on;
    if (!on)
        m_allowGrayed = false;
}

TCheckBoxState TOzoCustomCheck::NextClickState() const
{
    if (IsRadioButton())
        return cbChecked;
    switch (m_state) {
    case cbUnchecked: return cbChecked;
    case cbChecked: return m_allowGrayed ? cbGrayed : cbUnchecked;
    case cbGrayed: return cbUnchecked;
    }
    return cbUnchecked;
}

void TOzoCustomCheck::ApplyState(TCheckBoxState state)
{
    if (state == m_state || !m_changesPermitted)
        return;
    if (state == cbGrayed && !m_grayedPermitted)
        return;
    StoreState(state);
    if (IsRadioButton() && state == cbChecked && m_radioGroup >= 1 && parentWidget()) {
        // Radio buttons of one owner and group exclude each other; the owner
        // is the window, so look through all of its controls.
        QWidget *owner = window();
        for (TOzoCustomCheck *other : owner->findChildren<TOzoCustomCheck *>()) {
            if (other != this && other->IsRadioButton() && other->m_radioGroup == m_radioGroup
                && other->m_state == cbChecked)
                other->SetState(cbUnchecked);
        }
    }
}

// --- TOzoCheck ---------------------------------------------------------------

TOzoCheck::TOzoCheck(QWidget *parent) : TOzoCustomCheck(parent) {}

void TOzoCheck::SetAllowGrayed(bool on)
{
    TOzoCustomCheck::SetAllowGrayed(on);
    if (!on)
        m_grayedPermitted = false;
}
