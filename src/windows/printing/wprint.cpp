#include "windows/printing/wprint.h"

#include "kit/enterexitbutton.h"
#include "kit/pzlabel.h"
#include "windows/dialogs/dialogparts.h"
#include "windows/printing/printjob.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace {

QPointer<TWPrint> g_window;

// The animation's pictures: a sheet coming out of a printer, a little
// further each step.
QPixmap sheetPicture(int step)
{
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QColor(0, 128, 128));
    if (step == 0) {
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(2, 12, 27, 14);
        p.drawRect(8, 6, 15, 6);
    } else {
        p.setBrush(Qt::white);
        p.drawRect(6, 2, 19, 8 * step);
        for (int y = 6; y < 8 * step; y += 4)
            p.drawLine(9, y, 22, y);
    }
    return pm;
}

} // namespace

TWPrint::TWPrint(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("WPrint"));
    BorderStyle = bsDialog;
    BorderIcons = 0;
    setWindowFlag(Qt::WindowStaysOnTopHint);
    resize(330, 150);
    PZLabel1 = new TPZLabel(this);
    PZLabel1->setObjectName(QStringLiteral("PZLabel1"));
    PZLabel1->setGeometry(60, 12, 258, 70);
    PZLabel1->SetHorzAlignment(haCenter);
    PZLabel1->SetVertAlignment(vaCenter);
    PZLabel1->SetFontColor(QColor(0, 128, 128));
    QFont f(QStringLiteral("Times New Roman"));
    f.setPointSize(11);
    PZLabel1->setFont(f);
    QLabel **images[] = {&Image1, &Image2, &Image3, &Image4};
    for (int i = 0; i < 4; ++i) {
        QLabel *img = new QLabel(this);
        img->setObjectName(QStringLiteral("Image%1").arg(i + 1));
        img->setPixmap(sheetPicture(i));
        img->setGeometry(14, i == 0 ? 62 : 58 - 10 * i, 32, 32);
        img->setVisible(i == 0);
        *images[i] = img;
    }
    BtnAbbruch = MakeDialogButton(this, "BtnAbbruch", ibkCancel, QRect(115, 110, 100, 25), QStringLiteral("Abbruch"));
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(7000);
    Timer2->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &TWPrint::Timer1Timer);
    connect(Timer2, &QTimer::timeout, this, &TWPrint::Timer2Timer);
    connect(BtnAbbruch, &QPushButton::clicked, this, &TWPrint::BtnAbbruchClick);
    setAttribute(Qt::WA_DeleteOnClose);
    Create();
}

void TWPrint::Watch(TPrintJob *job, const QString &printingText)
{
    m_job = job;
    m_printingText = printingText;
    // A job given up, also one dropped by its owner on an error, takes its
    // progress window along.
    if (job)
        connect(job, &TPrintJob::jobAborted, this, &QWidget::close);
}

void TWPrint::Timer1Timer()
{
    if (m_job && m_job->aborted()) {
        close();
        return;
    }
    if ((!m_job || !m_job->printing()) && !Timer2->isActive()) {
        BtnAbbruch->setEnabled(false);
        PZLabel1->SetCaption(m_printingText);
        Timer2->start();
    }
    // One more picture each second; after the third they vanish together.
    if (Image4->isVisible()) {
        Image4->hide();
        Image3->hide();
        Image2->hide();
    } else if (Image3->isVisible()) {
        Image4->show();
    } else if (Image2->isVisible()) {
        Image3->show();
    } else {
        Image2->show();
    }
}

void TWPrint::Timer2Timer()
{
    close();
}

void TWPrint::BtnAbbruchClick()
{
    if (m_job)
        m_job->abort();
    close();
}

TWPrint *PrintProgressWindow()
{
    return g_window;
}

void ShowPrintProgress(TPrintJob *job, const QString &caption, const QString &creatingText,
                       const QString &printingText)
{
    if (g_window)
        g_window->close();
    g_window = CreateForm<TWPrint>();
    g_window->SetCaption(caption);
    g_window->PZLabel1->SetCaption(creatingText);
    g_window->Watch(job, printingText);
    if (QScreen *screen = QGuiApplication::primaryScreen())
        g_window->move(screen->availableGeometry().center() - g_window->rect().center());
    g_window->show();
    g_window->repaint();
}

void StartPrintProgress()
{
    if (g_window)
        g_window->Timer1->start();
}
