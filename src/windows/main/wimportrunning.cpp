#include "windows/main/wimportrunning.h"

#include "data/database.h"
#include "exchange/importrunning.h"
#include "exchange/oldimport.h"
#include "kit/pzlabel.h"

#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QScreen>

TWImportRunning *WImportRunning = nullptr;

TWImportRunning::TWImportRunning(QWidget *parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool)
{
    setObjectName(QStringLiteral("WImportRunning"));
    resize(330, 110);
    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setLineWidth(2);
    panel->setGeometry(0, 0, 330, 110);
    Panel1 = panel;
    auto label = [panel](const char *name, const QString &text, const QColor &colour, const QFont &font, int top, int height) {
        auto *l = new TPZLabel(panel);
        l->setObjectName(QString::fromLatin1(name));
        l->setFont(font);
        l->SetFontColor(colour);
        l->SetHorzAlignment(haCenter);
        l->SetVertAlignment(vaCenter);
        l->SetCaption(text);
        l->setGeometry(8, top, 314, height);
        return l;
    };
    QFont times(QStringLiteral("Times New Roman"));
    times.setPixelSize(32);
    times.setBold(true);
    times.setItalic(true);
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(16);
    arial.setBold(true);
    PZLabel1 = label("PZLabel1", QStringLiteral("Import läuft..."), QColor(0x00, 0x80, 0x80), times, 12, 48);
    PZLabel2 = label("PZLabel2", QStringLiteral("Bitte haben Sie etwas Geduld!"), QColor(0x00, 0x00, 0x80), arial, 64, 30);
}

namespace {

void showImportRunning()
{
    delete WImportRunning;
    WImportRunning = new TWImportRunning;
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect r = screen->availableGeometry();
        WImportRunning->move(r.center() - QPoint(WImportRunning->width() / 2, WImportRunning->height() / 2));
    }
    WImportRunning->show();
    // Painted at once: the transfer that follows keeps the event loop busy.
    WImportRunning->repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void hideImportRunning()
{
    if (!WImportRunning)
        return;
    WImportRunning->hide();
    delete WImportRunning;
    WImportRunning = nullptr;
}

} // namespace

void InstallOldDatabaseImport()
{
    ImportRunningDoor.Show = showImportRunning;
    ImportRunningDoor.Hide = hideImportRunning;
}
