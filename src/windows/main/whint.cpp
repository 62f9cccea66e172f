#include "windows/main/whint.h"

#include "kit/enterexitbutton.h"
#include "kit/oberformmetal.h"
#include "kit/presenter.h"
#include "kit/pzlabel.h"
#include "windows/dialogs/dialogparts.h"

#include <QBitmap>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>

namespace {

constexpr int ArrowLen = 30;

// The arrow pictures: a red arrow pointing up or left, its tip at the middle
// of the edge it points to.
QPixmap arrowPicture(THintArrow a)
{
    QPixmap pm(ArrowLen, ArrowLen);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    const qreal m = ArrowLen / 2.0;
    path.moveTo(m, 0);
    path.lineTo(ArrowLen, m);
    path.lineTo(m + 5, m);
    path.lineTo(m + 5, ArrowLen);
    path.lineTo(m - 5, ArrowLen);
    path.lineTo(m - 5, m);
    path.lineTo(0, m);
    path.closeSubpath();
    if (a == THintArrow::Left) {
        QTransform t;
        t.translate(0, ArrowLen);
        t.rotate(-90);
        path = t.map(path);
    }
    p.setPen(QPen(QColor(120, 0, 0), 1.2));
    p.setBrush(QColor(220, 30, 30));
    p.drawPath(path);
    return pm;
}

// Runs the hint modally. The presenter learns its text; a hint that nobody
// answers goes on, as "Weiter" does.
void execHint(TWHint &hint, const QString &text)
{
    hint.LabelHint->SetCaption(text);
    kit::BoxInfo info = kit::describeDialog(hint);
    info.text = text;
    info.defaultResult = mrOk;
    ExecMetalModal(hint, info);
}

} // namespace

TWHint::TWHint(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("WHint"));
    setWindowTitle(QStringLiteral("Einführungs-Hinweis"));
    resize(ArrowLen + 380, ArrowLen + 170);
    const QRect b = body();
    LabelTitle = MakeDialogLabel(this, QStringLiteral("LabelTitle"), QStringLiteral("Einführungs-Hinweis"),
                                 QRect(b.x() + 10, b.y() + 6, 300, 20));
    QFont f = LabelTitle->font();
    f.setBold(true);
    LabelTitle->setFont(f);
    ImageArrowUp = MakeDialogLabel(this, QStringLiteral("ImageArrowUp"), QString(), QRect(0, 0, ArrowLen, ArrowLen));
    ImageArrowUp->setPixmap(arrowPicture(THintArrow::Up));
    ImageArrowLeft = MakeDialogLabel(this, QStringLiteral("ImageArrowLeft"), QString(), QRect(0, 0, ArrowLen, ArrowLen));
    ImageArrowLeft->setPixmap(arrowPicture(THintArrow::Left));
    LabelHint = new TPZLabel(this);
    LabelHint->setObjectName(QStringLiteral("LabelHint"));
    LabelHint->SetTransparent(true);
    LabelHint->setGeometry(b.x() + 10, b.y() + 30, b.width() - 20, b.height() - 70);
    ButtWeiter = MakeDialogButton(this, "ButtWeiter", ibkOK, QRect(b.right() - 110, b.bottom() - 34, 100, 25),
                                  QStringLiteral("Weiter"));
    ButtWeiter->ModalResult = mrOk;
    ButtWeiter->setDefault(true);
    connect(ButtWeiter, &QAbstractButton::clicked, this, &QDialog::accept);
    TimerBlink = new QTimer(this);
    TimerBlink->setObjectName(QStringLiteral("TimerBlink"));
    TimerBlink->setInterval(900);
    connect(TimerBlink, &QTimer::timeout, this, [this] { TimerBlinkTimer(); });
    PlaceArrow(ArrowTip, THintArrow::Up);
}

QRect TWHint::body() const
{
    // The arrow's band lies above (or left of) the body; both are kept, so
    // the body does not move when the arrow changes.
    return QRect(ArrowLen, ArrowLen, width() - ArrowLen, height() - ArrowLen);
}

void TWHint::PlaceArrow(int arrowPos, THintArrow arrow)
{
    m_arrow = arrow;
    ImageArrowUp->setVisible(arrow == THintArrow::Up);
    ImageArrowLeft->setVisible(arrow == THintArrow::Left);
    if (arrow == THintArrow::Up)
        ImageArrowUp->move(qBound(ArrowLen, arrowPos - ArrowTip, width() - ArrowLen), 0);
    else
        ImageArrowLeft->move(0, qBound(ArrowLen, arrowPos - ArrowTip, height() - ArrowLen));
    updateShape();
    TimerBlink->start();
}

QLabel *TWHint::Arrow() const
{
    return m_arrow == THintArrow::Left ? ImageArrowLeft : ImageArrowUp;
}

QPoint TWHint::ArrowTipPoint() const
{
    const QLabel *a = Arrow();
    return a == ImageArrowUp ? QPoint(a->x() + ArrowTip, a->y()) : QPoint(a->x(), a->y() + ArrowTip);
}

void TWHint::TimerBlinkTimer()
{
    QLabel *a = Arrow();
    a->setHidden(!a->isHidden());
    updateShape();
    // Follows the anchor, should its window have moved meanwhile.
    PlaceAtAnchor();
}

void TWHint::updateShape()
{
    // Only the arrow itself, not its square, reaches out of the body.
    QRegion r(body());
    const QLabel *a = Arrow();
    if (a->isHidden()) {
        setMask(r);
        return;
    }
    const QImage shape = arrowPicture(a == ImageArrowUp ? THintArrow::Up : THintArrow::Left).toImage();
    r += QRegion(QBitmap::fromImage(shape.createAlphaMask())).translated(a->pos());
    setMask(r);
}

void TWHint::resizeEvent(QResizeEvent *e)
{
    QDialog::resizeEvent(e);
    updateShape();
}

void TWHint::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect b = body();
    p.fillRect(b, QColor(255, 255, 225));
    p.setPen(QColor(90, 90, 90));
    p.drawRect(b.adjusted(0, 0, -1, -1));
    p.fillRect(QRect(b.x() + 1, b.y() + 1, b.width() - 2, 26), QColor(200, 210, 230));
}

void ShowPointingHint(const QPoint &windowPos, int arrowPos, const QString &text, THintArrow arrow)
{
    TWHint hint;
    hint.PlaceArrow(arrowPos, arrow);
    hint.move(windowPos);
    execHint(hint, text);
}

void TWHint::AnchorAt(QWidget *anchor, const QPoint &spot)
{
    m_anchor = anchor;
    m_spot = spot;
    PlaceAtAnchor();
}

void TWHint::PlaceAtAnchor()
{
    if (!m_anchor)
        return;
    const QPoint tip = m_anchor->mapToGlobal(m_spot);
    move(tip - ArrowTipPoint());
}

void TWHint::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    PlaceAtAnchor();
    // The window manager may still be placing the anchor's window.
    QTimer::singleShot(250, this, [this] { PlaceAtAnchor(); });
}

void ShowPointingHintAt(QWidget *anchor, int x, int y, const QString &text)
{
    // The arrow points up at the spot from just below it.
    TWHint hint;
    hint.PlaceArrow(ArrowLen + 40, THintArrow::Up);
    if (anchor)
        hint.AnchorAt(anchor, QPoint(x, y));
    else
        hint.move(QPoint(x, y) - hint.ArrowTipPoint());
    execHint(hint, text);
}
