#include "program/introbox.h"

#include "windows/main/introboxdoor.h"

#include "kit/presenter.h"
#include "platform/version.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTimer>

TIntrobox *Introbox = nullptr;

QString TarvoVersionText()
{
    return QStringLiteral("Version ") + platform::TarvoVersionString();
}

namespace {
// The intro picture: drawn here, the program carries no picture files of
// its own for it.
QPixmap introPicture()
{
    QPixmap pm(360, 140);
    pm.fill(QColor(0x30, 0x34, 0x3c));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 140);
    g.setColorAt(0, QColor(0x70, 0x78, 0x88));
    g.setColorAt(1, QColor(0x20, 0x22, 0x28));
    p.fillRect(pm.rect(), g);
    // A tape: two reels in a case.
    p.setPen(QPen(QColor(0xd0, 0xd4, 0xdc), 3));
    p.drawRoundedRect(QRectF(20, 30, 110, 80), 8, 8);
    p.drawEllipse(QPointF(50, 70), 16, 16);
    p.drawEllipse(QPointF(100, 70), 16, 16);
    QFont f(QStringLiteral("Arial"), 40, QFont::Bold);
    p.setFont(f);
    p.drawText(QRectF(145, 20, 210, 100), Qt::AlignCenter, QStringLiteral("Tarvo"));
    return pm;
}
} // namespace

TIntrobox::TIntrobox(QWidget *parent) : QDialog(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("Introbox"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    resize(380, 220);
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setGeometry(0, 0, 380, 220);
    Image1 = new QLabel(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(10, 10, 360, 140);
    Image1->setPixmap(introPicture());
    LabelVersion = new QLabel(Panel1);
    LabelVersion->setObjectName(QStringLiteral("LabelVersion"));
    LabelVersion->setGeometry(10, 158, 360, 20);
    LabelVersion->setAlignment(Qt::AlignCenter);
    LabelVersion->setText(QStringLiteral("Tarvo – Videokatalog und Etikettendruck, ") + TarvoVersionText());
    LinkLabel = new QLabel(Panel1);
    LinkLabel->setObjectName(QStringLiteral("LinkLabel"));
    LinkLabel->setGeometry(10, 186, 360, 20);
    LinkLabel->setAlignment(Qt::AlignCenter);
    LinkLabel->setText(QStringLiteral("www.ozo-software.de"));
    for (QWidget *w : {static_cast<QWidget *>(Panel1), static_cast<QWidget *>(Image1),
                       static_cast<QWidget *>(LabelVersion), static_cast<QWidget *>(LinkLabel)})
        w->installEventFilter(this);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(5000);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &TIntrobox::Timer1Timer);
    // A modal box of the start (the first-start question, a password) must
    // not open underneath: the intro box stays on top and would block it.
    qApp->installEventFilter(this);
    if (QScreen *s = QGuiApplication::primaryScreen())
        move(s->geometry().center() - rect().center());
}

TIntrobox::~TIntrobox()
{
    if (Introbox == this)
        Introbox = nullptr;
}

void TIntrobox::FormActivate()
{
    if (m_activated)
        return;
    m_activated = true;
    Timer1->start();
}

void TIntrobox::Timer1Timer()
{
    close();
}

bool TIntrobox::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate)
        FormActivate();
    return QDialog::event(e);
}

bool TIntrobox::eventFilter(QObject *watched, QEvent *e)
{
    auto *w = qobject_cast<QWidget *>(watched);
    const bool own = w && (w == this || isAncestorOf(w));
    if (e->type() == QEvent::MouseButtonPress && own) {
        close();
        return true;
    }
    // Another modal window opens: the intro box gives way to it.
    if (e->type() == QEvent::Show && w && !own && w->isWindow() && w->isModal() && isVisible()
        && !isModal()) {
        QTimer::singleShot(0, this, [this] { close(); });
        hide();
    }
    return QDialog::eventFilter(watched, e);
}

void TIntrobox::keyPressEvent(QKeyEvent *)
{
    close();
}

void TIntrobox::done(int r)
{
    Timer1->stop();
    QDialog::done(r);
}

void TIntrobox::closeEvent(QCloseEvent *e)
{
    Timer1->stop();
    if (Introbox == this)
        Introbox = nullptr;
    // Frees itself once its modal loop (if any) has ended.
    if (!isModal())
        deleteLater();
    QDialog::closeEvent(e);
}

void ShowIntroboxAsAbout(QWidget *parent)
{
    delete Introbox;
    Introbox = nullptr;
    TIntrobox box(parent);
    box.setWindowFlags(Qt::FramelessWindowHint | Qt::Dialog);
    box.DisableAutoClose();
    kit::execDialog(box);
}

void InstallIntroboxDoor()
{
    IntroboxDoor.ShowNow = [] {
        if (Introbox) {
            Introbox->show();
            Introbox->repaint();
        }
    };
    IntroboxDoor.Visible = [] { return Introbox && Introbox->isVisible(); };
    IntroboxDoor.Raise = [] {
        if (Introbox)
            Introbox->raise();
    };
    IntroboxDoor.ShowAsAbout = [](QWidget *parent) { ShowIntroboxAsAbout(parent); };
}
