// Shows a sample dialog and a sizeable window on the kit's frame and saves
// screenshots of them:  tarvo-kitscreens <folder> [NOMETAL]
// (KITSCREENS_ZOOM=1 zooms the sizeable window first; KITSCREENS_DEBUG=1
// prints the dialog's region.)
#include "kit/enterexitbutton.h"
#include "kit/kitfiles.h"
#include "kit/msgboxmetal.h"
#include "kit/pzlabel.h"
#include "kit/oberformmetal.h"
#include "kit/ozoroundrectpanel.h"
#include "kit/ozowindowsizehook.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QTableWidget>
#include <QTimer>
#include <QWindow>
#include <QDebug>

namespace {

QLabel *label(QWidget *parent, const QString &text, int x, int y, int w = 120)
{
    auto *l = new QLabel(text, parent);
    l->setGeometry(x, y, w, 17);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(12);
    l->setFont(f);
    return l;
}

QLineEdit *roundEdit(QWidget *parent, const QString &name, const QString &text, int x, int y, int w)
{
    auto *panel = new TOzoRoundRectPanel(parent);
    panel->setObjectName(name + QStringLiteral("Panel"));
    panel->setGeometry(x, y, w, 21);
    panel->SetColor(Qt::white);
    auto *edit = new QLineEdit(text, panel);
    edit->setObjectName(name);
    edit->setFrame(false);
    edit->setGeometry(6, 2, w - 12, 17);
    return edit;
}

// A sample dialog: a label print setting of the program's kind.
class SampleDialog : public tOzoFormMetal
{
public:
    SampleDialog()
    {
        BorderStyle = bsDialog;
        BorderIcons = biSystemMenu;
        setWindowTitle(QStringLiteral("Etiketten drucken"));
        resize(400, 230);
        label(this, QStringLiteral("Etikettenart:"), 16, 20);
        auto *kind = new QComboBox(this);
        kind->addItems({QStringLiteral("Rückenetikett"), QStringLiteral("Cover-Oberseite"), QStringLiteral("Fensteretikett")});
        kind->setGeometry(140, 17, 230, 22);
        label(this, QStringLiteral("Von Medium:"), 16, 52);
        roundEdit(this, QStringLiteral("EditVon"), QStringLiteral("DVD 101"), 140, 50, 110);
        label(this, QStringLiteral("Bis Medium:"), 16, 80);
        roundEdit(this, QStringLiteral("EditBis"), QStringLiteral("DVD 148"), 140, 78, 110);
        auto *ppp = new TOzoNewButton(this);
        ppp->move(256, 78);
        ppp->SetKind(ibkPPP);
        auto *cb = new QCheckBox(QStringLiteral("Nur noch nicht gedruckte Etiketten"), this);
        cb->setGeometry(140, 108, 250, 20);
        cb->setChecked(true);
        auto *help = new TOzoNewButton(this);
        help->move(16, 150);
        help->SetKind(ibkHelp);
        auto *ok = new TOzoNewButton(this);
        ok->move(166, 150);
        ok->SetKind(ibkOK);
        auto *cancel = new TOzoNewButton(this);
        cancel->move(274, 150);
        cancel->SetKind(ibkCancel);
        auto *hook = new TOzoWindowSizeHook(this);
        hook->setGeometry(368, 155, 16, 16);
    }
};

// A sizeable window with a list, as the record windows are.
class SampleWindow : public tOzoFormMetal
{
public:
    SampleWindow()
    {
        BorderStyle = bsSizeable;
        BorderIcons = biSystemMenu | biMinimize | biMaximize | biHelp;
        setWindowTitle(QStringLiteral("Verliehene Medien"));
        resize(560, 400);
        ShowZoomButton();
        table = new QTableWidget(8, 4, this);
        table->setObjectName(QStringLiteral("DBGrid1"));
        table->setHorizontalHeaderLabels({QStringLiteral("Medium"), QStringLiteral("Titel"),
                                          QStringLiteral("Verliehen an"), QStringLiteral("seit")});
        const char *rows[8][4] = {
            {"DVD 12", "Metropolis", "Anna Berger", "03.11.2026"},
            {"DVD 57", "Der dritte Mann", "Jonas Weber", "17.11.2026"},
            {"VHS-SB 4", "Das Boot", "Anna Berger", "21.11.2026"},
            {"DVD 101", "Lola rennt", "Lena Hoffmann", "24.11.2026"},
            {"DVD 118", "Good Bye, Lenin!", "Paul Schneider", "28.11.2026"},
            {"VHS-SB 19", "M – Eine Stadt sucht einen Mörder", "Jonas Weber", "30.11.2026"},
            {"DVD 133", "Die Blechtrommel", "Marie Fischer", "02.12.2026"},
            {"DVD 140", "Das Leben der Anderen", "Lena Hoffmann", "06.12.2026"},
        };
        for (int r = 0; r < 8; ++r)
            for (int c = 0; c < 4; ++c)
                table->setItem(r, c, new QTableWidgetItem(QString::fromUtf8(rows[r][c])));
        table->verticalHeader()->hide();
        table->horizontalHeader()->setStretchLastSection(true);
        table->setColumnWidth(0, 80);
        table->setColumnWidth(1, 220);
        table->setColumnWidth(2, 120);
        table->selectRow(3);
        mahn = new TOzoNewButton(this);
        mahn->SetCaption(QStringLiteral("&Mahnliste"));
        mahn->resize(150, 21);
        mahn->SetKind(ibkBlue);
        back = new TOzoNewButton(this);
        back->SetCaption(QStringLiteral("&Zurückgeben"));
        back->resize(150, 21);
        back->SetKind(ibkBlue);
    }
    void FormResize() override
    {
        tOzoFormMetal::FormResize();
        if (!table || table->parentWidget() != PanelClient)
            return;
        const int W = PanelClient->width(), H = PanelClient->height();
        table->setGeometry(10, 10, W - 20, H - 52);
        mahn->move(10, H - 33);
        back->move(170, H - 33);
        table->setStyleSheet(QStringLiteral("QHeaderView::section { background: %1; }").arg(MetalFaceColor.name()));
    }
    QTableWidget *table = nullptr;
    TOzoNewButton *mahn = nullptr, *back = nullptr;
};

// The desktop behind the windows: a calm gradient.
class Backdrop : public QWidget
{
protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        QLinearGradient g(0, 0, 0, height());
        g.setColorAt(0, QColor(58, 86, 120));
        g.setColorAt(1, QColor(28, 44, 66));
        p.fillRect(rect(), g);
    }
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    const bool noMetal = argc > 2 && QString::fromLocal8Bit(argv[2]).toUpper() == QLatin1String("NOMETAL");
    SetKitProgramFolder(QStringLiteral(TARVO_PROGDIR));
    if (noMetal)
        FreeMetalSkins();
    const QString suffix = noMetal ? QStringLiteral("-nometal") : QString();

    Backdrop backdrop;
    backdrop.setWindowFlags(Qt::FramelessWindowHint);
    backdrop.setGeometry(0, 0, 1060, 600);
    backdrop.show();

    auto *win = CreateForm<SampleWindow>();
    win->move(30, 30);
    win->show();
    auto *dlg = CreateForm<SampleDialog>();
    dlg->move(640, 290);
    dlg->show();
    if (qEnvironmentVariableIsSet("KITSCREENS_ZOOM"))
        win->SetZoomed(true);
    auto *box = CreateForm<TWMsgBoxMetal>();
    box->SetCaption(QStringLiteral("Hinweis"));
    box->PZLabel1->SetCaption(QStringLiteral(
        "Das Medium \\BDVD 101\\b ist seit dem 24.11.2026 an \\cNavyLena Hoffmann\\cN verliehen."
        "\\lb\\lbEs kann erst nach der Rückgabe gelöscht werden."));
    box->move(616, 36);
    // Shown beside the others, not modal, so that each window can be
    // activated for its own picture.
    box->setModal(false);
    box->show();
    // The window below a modal dialog shows the inactive look.
    win->FormIsActive = true;
    DeactivateMetalForm();

    QScreen *screen = QGuiApplication::primaryScreen();
    auto grab = [&](QWidget *w, const QString &name) {
        const QRect g = w->frameGeometry().adjusted(-12, -12, 12, 12);
        screen->grabWindow(0, g.x(), g.y(), g.width(), g.height()).save(out + QLatin1Char('/') + name + suffix + QStringLiteral(".png"));
    };
    // Without a window manager nothing activates a window by itself: each
    // window is activated in turn, then photographed.
    QTimer::singleShot(300, [&] { box->activateWindow(); });
    QTimer::singleShot(900, [&] {
        grab(box, QStringLiteral("message-box"));
        dlg->activateWindow();
    });
    QTimer::singleShot(1500, [&] {
        if (qEnvironmentVariableIsSet("KITSCREENS_DEBUG"))
            qInfo() << dlg->mask().boundingRect() << dlg->mask().contains(QPoint(0, 0)) << dlg->geometry();
        grab(dlg, QStringLiteral("sample-dialog"));
        win->ShowInactiveCaption();
        grab(win, QStringLiteral("sizeable-window"));
        screen->grabWindow(0, 0, 0, 1060, 600).save(out + QStringLiteral("/desktop") + suffix + QStringLiteral(".png"));
        app.quit();
    });
    return app.exec();
}
