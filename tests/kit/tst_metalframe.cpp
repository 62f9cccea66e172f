// The metal frame and the form bases, headless: frame modes, title buttons,
// roll-up and maximise, resizing by the edges, the layout of FormResize, skin
// fallbacks, captions, the size hook, zoom, and growth to fit.
#include "kit/enterexitbutton.h"
#include "kit/framewidgets.h"
#include "kit/pzlabel.h"
#include "kit/kitfiles.h"
#include "kit/lockbutton.h"
#include "kit/oberformmetal.h"
#include "kit/ozowindowsizehook.h"
#include "kit/scriptedpresenter.h"

#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

// A window as a derived form describes it.
class TestForm : public tOzoFormMetal
{
public:
    TestForm(TFormBorderStyle style, int icons, int tag = 0, QSize size = QSize(400, 300))
    {
        BorderStyle = style;
        BorderIcons = icons;
        Tag = tag;
        resize(size);
        setWindowTitle(QStringLiteral("Testfenster"));
    }
};

void sendMouse(QWidget *w, QEvent::Type type, const QPoint &local, Qt::MouseButtons buttons)
{
    const QPointF global = w->mapToGlobal(QPointF(local));
    QMouseEvent e(type, QPointF(local), global, Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void clickTitle(TPZSpeedButton *b)
{
    b->MouseEnter();
    b->MouseDownLeft();
    b->MouseUpLeft();
    b->MouseLeave();
}

void dragBy(QWidget *piece, const QPoint &press, const QPoint &to)
{
    sendMouse(piece, QEvent::MouseButtonPress, press, Qt::LeftButton);
    sendMouse(piece, QEvent::MouseMove, to, Qt::LeftButton);
    sendMouse(piece, QEvent::MouseButtonRelease, to, Qt::NoButton);
}

bool copyTree(const QString &from, const QString &to)
{
    QDir src(from);
    if (!QDir().mkpath(to))
        return false;
    for (const QFileInfo &fi : src.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = to + QLatin1Char('/') + fi.fileName();
        if (fi.isDir() ? !copyTree(fi.filePath(), target) : !QFile::copy(fi.filePath(), target))
            return false;
    }
    return true;
}

} // namespace

class TstMetalFrame : public QObject
{
    Q_OBJECT
    QString progDir;

private slots:
    void initTestCase()
    {
        progDir = qEnvironmentVariable("TARVO_PROGDIR");
        QVERIFY(QFileInfo(progDir + "/Skins/Metal/brushedmetal.bmp").isFile());
        SetKitProgramFolder(progDir);
        ReloadMetalClassData();
    }

    void cleanup()
    {
        UseStandardFrames(false);
        SetKitProgramFolder(progDir);
        ReloadMetalClassData();
    }

    void componentsByName()
    {
        std::unique_ptr<TestForm> f(CreateForm<TestForm>(bsSizeable, biSystemMenu | biMinimize | biMaximize));
        for (const char *name : {"PanelHead", "ImgSysM", "RundLO", "RundRO", "PanelGraySpace", "PanelHeadShade",
                                 "HeadShade", "LabelWh", "LabelBl", "PanelX", "WinZoomButt", "WinDownButt",
                                 "WinUpButt", "WinBigButt", "WinXButt", "PanelClient", "ImgEcke", "ShapeO",
                                 "ShapeU", "ShapeL", "ShapeR", "ShapeLOL", "ShapeLOO", "ShapeROO", "ShapeROR",
                                 "ShapeLUL", "ShapeLUU", "ShapeRUU", "ShapeRUR", "RundLU", "RundRU", "SysMen"})
            QVERIFY2(f->findChild<QWidget *>(QLatin1String(name)), name);
        QVERIFY(f->findChild<QTimer *>("TimerActivateVerzoegerung"));
        QCOMPARE(f->TimerActivateVerzoegerung->interval(), 50);
        QCOMPARE(f->TimerDeActivateVerzoegerung->interval(), 100);
        QCOMPARE(f->MenSchlieen->text(), QStringLiteral("&Schließen"));
        QCOMPARE(f->GetCaptionText(), QStringLiteral("Testfenster"));
        QCOMPARE(f->TitleHeight(), 22);
        QVERIFY(f->windowFlags() & Qt::FramelessWindowHint);
    }

    void frameModes()
    {
        // A dialog keeps Tag 0, loses minimise and maximise, and is rounded.
        std::unique_ptr<TestForm> dlg(CreateForm<TestForm>(bsDialog, biSystemMenu | biMinimize | biMaximize));
        QCOMPARE(dlg->Tag, 0);
        QCOMPARE(dlg->BorderIcons, int(biSystemMenu));
        QVERIFY(dlg->Rounded());
        QCOMPARE(dlg->TitleHeight(), 18);
        QVERIFY(!dlg->mask().isEmpty());
        QCOMPARE(dlg->size(), QSize(396, 296)); // the system border went away
        // A fixed window gets Tag 1, no edges and no grip.
        std::unique_ptr<TestForm> fixed(CreateForm<TestForm>(bsSingle, biSystemMenu));
        QCOMPARE(fixed->Tag, 1);
        QVERIFY(fixed->ShapeU->isHidden());
        QVERIFY(fixed->ImgEcke->isHidden());
        // A sizeable window with Tag 3 ends with -3 and keeps its edges.
        std::unique_ptr<TestForm> sizeable(CreateForm<TestForm>(bsSizeable, biSystemMenu, 3));
        QCOMPARE(sizeable->Tag, -3);
        QVERIFY(!sizeable->ShapeU->isHidden());
        QVERIFY(!sizeable->ImgEcke->isHidden());
        // Border style none: the title is added to the height.
        std::unique_ptr<TestForm> none(CreateForm<TestForm>(bsNone, biSystemMenu));
        QCOMPARE(none->height(), 322);
    }

    void closeButtonOfDialogGivesCancel()
    {
        std::unique_ptr<TestForm> dlg(CreateForm<TestForm>(bsDialog, biSystemMenu));
        dlg->show();
        dlg->setResult(mrOk);
        clickTitle(dlg->WinXButt);
        QVERIFY(!dlg->isVisible());
        QCOMPARE(dlg->result(), int(mrCancel));
        // The menu's close item does the same.
        kit::ScriptedPresenter p;
        p.answerMenu(QStringLiteral("&Schließen"));
        dlg->show();
        dlg->setResult(mrOk);
        sendMouse(dlg->ImgSysM, QEvent::MouseButtonPress, {4, 4}, Qt::LeftButton);
        sendMouse(dlg->ImgSysM, QEvent::MouseButtonRelease, {4, 4}, Qt::NoButton);
        QCOMPARE(p.shown().size(), 1);
        QCOMPARE(p.last().kind, QStringLiteral("QMenu"));
        QVERIFY(!dlg->isVisible());
        QCOMPARE(dlg->result(), int(mrCancel));
        // A double click on the icon too.
        dlg->show();
        dlg->setResult(mrOk);
        sendMouse(dlg->ImgSysM, QEvent::MouseButtonDblClick, {4, 4}, Qt::LeftButton);
        QCOMPARE(dlg->result(), int(mrCancel));
        // A fixed window's close button closes it.
        std::unique_ptr<TestForm> fixed(CreateForm<TestForm>(bsSingle, biSystemMenu));
        fixed->show();
        clickTitle(fixed->WinXButt);
        QVERIFY(!fixed->isVisible());
    }

    void okButtonEndsDialogWithOk()
    {
        std::unique_ptr<TestForm> dlg(CreateForm<TestForm>(bsDialog, biSystemMenu));
        auto *ok = new TOzoNewButton(dlg->PanelClient);
        ok->SetKind(ibkOK);
        auto *cancel = new TOzoNewButton(dlg->PanelClient);
        cancel->SetKind(ibkCancel);
        dlg->show();
        ok->click();
        QCOMPARE(dlg->result(), int(mrOk));
        QVERIFY(!dlg->isVisible());
        // Escape presses the cancel button.
        dlg->show();
        QTest::keyClick(dlg.get(), Qt::Key_Escape);
        QCOMPARE(dlg->result(), int(mrCancel));
        // A window without a cancel button stays open on Escape.
        std::unique_ptr<TestForm> win(CreateForm<TestForm>(bsSizeable, biSystemMenu));
        win->show();
        QTest::keyClick(win.get(), Qt::Key_Escape);
        QVERIFY(win->isVisible());
    }

    void titleButtonsFollowBorderIcons()
    {
        auto shown = [](TOberFormAbs *f) {
            QStringList names;
            for (TPZSpeedButton *b : {f->WinZoomButt, f->WinDownButt, f->WinUpButt, f->WinBigButt, f->WinXButt})
                if (!b->isHidden())
                    names << b->objectName() + QLatin1Char('@') + QString::number(b->x());
            return names.join(QLatin1Char(' '));
        };
        std::unique_ptr<TestForm> a(CreateForm<TestForm>(bsSizeable, biSystemMenu | biMinimize));
        QCOMPARE(shown(a.get()), QStringLiteral("WinUpButt@0 WinXButt@16"));
        QCOMPARE(a->PanelX->width(), 32);
        QCOMPARE(a->PanelX->x() + a->PanelX->width(), a->PanelHead->width() - a->PanelHead->Inset());
        std::unique_ptr<TestForm> b(CreateForm<TestForm>(bsSizeable, biSystemMenu | biMinimize | biHelp));
        QCOMPARE(shown(b.get()), QStringLiteral("WinDownButt@0 WinUpButt@16 WinXButt@32"));
        std::unique_ptr<TestForm> c(CreateForm<TestForm>(bsSizeable, biSystemMenu | biMinimize | biMaximize));
        QCOMPARE(shown(c.get()), QStringLiteral("WinUpButt@0 WinBigButt@16 WinXButt@32"));
        QVERIFY(c->MenMaximieren->isVisible());
        QVERIFY(c->MenMinimieren->isVisible());
        std::unique_ptr<TestForm> d(CreateForm<TestForm>(bsSizeable, biSystemMenu));
        QCOMPARE(shown(d.get()), QStringLiteral("WinXButt@0"));
        QVERIFY(!d->MenMinimieren->isVisible());
        QVERIFY(!d->MenLinie->isVisible());
        // The zoom button, asked for before creation, comes first.
        auto *e = new TestForm(bsSizeable, biSystemMenu | biMaximize);
        e->ShowZoomButton();
        e->Create();
        QCOMPARE(shown(e), QStringLiteral("WinZoomButt@0 WinBigButt@16 WinXButt@32"));
        QCOMPARE(TitleGlyphName(e->WinZoomButt), QStringLiteral("ZOOMIN_M"));
        delete e;
    }

    void rollUpAndMaximise()
    {
        std::unique_ptr<TestForm> f(CreateForm<TestForm>(bsSizeable, biSystemMenu | biMinimize | biMaximize));
        f->setMinimumHeight(120);
        f->setGeometry(50, 60, 400, 300);
        f->show();
        clickTitle(f->WinBigButt);
        QVERIFY(f->isMaximized());
        QCOMPARE(TitleGlyphName(f->WinBigButt), QStringLiteral("RESTORE_M"));
        QVERIFY(f->MenMaximieren->isChecked());
        // Rolling up a maximised window restores it first.
        clickTitle(f->WinUpButt);
        QVERIFY(!f->isMaximized());
        QVERIFY(f->RolledUp());
        QCOMPARE(f->height(), f->TitleHeight());
        QCOMPARE(f->minimumHeight(), 0);
        QCOMPARE(TitleGlyphName(f->WinUpButt), QStringLiteral("RESTORE_M"));
        QVERIFY(f->MenMinimieren->isChecked());
        // Resizing is refused while rolled up.
        const QRect rolled = f->geometry();
        dragBy(f->ImgEcke, {5, 5}, {40, 40});
        QCOMPARE(f->geometry(), rolled);
        // Rolling down brings the height and the minimum back.
        f->SetRolledUp(false);
        QCOMPARE(f->height(), 300);
        QCOMPARE(f->minimumHeight(), 120);
        QCOMPARE(TitleGlyphName(f->WinUpButt), QStringLiteral("UP_M"));
        QVERIFY(!f->MenMinimieren->isChecked());
        // Maximising a rolled-up window rolls it down.
        f->SetRolledUp(true);
        clickTitle(f->WinBigButt);
        QVERIFY(!f->RolledUp());
        QVERIFY(f->isMaximized());
        clickTitle(f->WinBigButt);
        QVERIFY(!f->isMaximized());
        QCOMPARE(TitleGlyphName(f->WinBigButt), QStringLiteral("BIG_M"));
    }

    void resizeByEdges()
    {
        std::unique_ptr<TestForm> f(CreateForm<TestForm>(bsSizeable, biSystemMenu));
        f->setGeometry(100, 100, 400, 300);
        f->show();
        // The grip: bottom-right by the pointer's offset from the press point.
        dragBy(f->ImgEcke, {5, 5}, {25, 15});
        QCOMPARE(f->geometry(), QRect(100, 100, 420, 310));
        // The bottom edge dragged far up stops at 50.
        dragBy(f->ShapeU, {0, 1}, {0, -1000});
        QCOMPARE(f->height(), 50);
        // The left edge moves the left side.
        dragBy(f->ShapeL, {1, 0}, {-30, 0});
        QCOMPARE(f->geometry().left(), 70);
        QCOMPARE(f->width(), 450);
        // Layout follows: the grip stays in the corner.
        QCOMPARE(f->ImgEcke->pos(), QPoint(f->PanelClient->width() - 21, f->PanelClient->height() - 21));
    }

    void moveByTitle()
    {
        std::unique_ptr<TestForm> f(CreateForm<TestForm>(bsSizeable, biSystemMenu));
        f->setGeometry(100, 100, 400, 300);
        f->show();
        // The pointer, in screen coordinates, goes 30 right and 20 down.
        const QPoint g0 = f->LabelBl->mapToGlobal(QPoint(10, 5));
        sendMouse(f->LabelBl, QEvent::MouseButtonPress, {10, 5}, Qt::LeftButton);
        // While moving the caption pair shifts and the bevel is lowered.
        QCOMPARE(f->LabelBl->pos(), QPoint(5, 0));
        QCOMPARE(f->LabelWh->pos(), QPoint(6, 1));
        QCOMPARE(f->PanelHead->BevelOuter(), bvLowered);
        QVERIFY(f->ShapeO->isHidden());
        sendMouse(f->LabelBl, QEvent::MouseMove, f->LabelBl->mapFromGlobal(g0 + QPoint(30, 20)), Qt::LeftButton);
        QCOMPARE(f->pos(), QPoint(130, 120));
        sendMouse(f->LabelBl, QEvent::MouseButtonRelease, f->LabelBl->mapFromGlobal(g0 + QPoint(30, 20)), Qt::NoButton);
        QCOMPARE(f->LabelBl->pos(), QPoint(4, -1));
        QCOMPARE(f->PanelHead->BevelOuter(), bvRaised);
        QVERIFY(!f->ShapeO->isHidden());
    }

    void titleButtonsNeverStartAMove()
    {
        auto *f = new TestForm(bsSizeable, biSystemMenu | biMaximize);
        f->ShowZoomButton();
        f->Create();
        std::unique_ptr<TestForm> owner(f);
        f->setGeometry(100, 100, 400, 300);
        f->show();
        auto *lock = new TLockButton(f->PanelHead); // as the main window puts its lock there
        lock->setGeometry(100, 2, 20, 16);
        lock->show();
        for (QWidget *b : {static_cast<QWidget *>(f->WinZoomButt), static_cast<QWidget *>(lock)}) {
            // Delivered as the window system would: the press may travel up
            // to the title bar when the button lets it pass.
            sendMouse(b, QEvent::MouseButtonPress, {8, 8}, Qt::LeftButton);
            QCOMPARE(f->LabelBl->pos(), QPoint(4, -1)); // no move look
            sendMouse(b, QEvent::MouseMove, {60, 48}, Qt::LeftButton);
            QCOMPARE(f->pos(), QPoint(100, 100));
            sendMouse(b, QEvent::MouseButtonRelease, {60, 48}, Qt::NoButton);
            sendMouse(f->LabelBl, QEvent::MouseMove, {70, 50}, Qt::NoButton);
            QCOMPARE(f->pos(), QPoint(100, 100));
        }
        // The title bar's own press still moves; a press that a button
        // let through (mapped to the title bar) does not.
        const QPoint onZoom = f->WinZoomButt->mapTo(f->PanelHead, QPoint(8, 8));
        sendMouse(f->PanelHead, QEvent::MouseButtonPress, onZoom, Qt::LeftButton);
        QCOMPARE(f->LabelBl->pos(), QPoint(4, -1));
        sendMouse(f->PanelHead, QEvent::MouseButtonRelease, onZoom, Qt::NoButton);
        sendMouse(f->LabelBl, QEvent::MouseButtonPress, {10, 5}, Qt::LeftButton);
        QCOMPARE(f->LabelBl->pos(), QPoint(5, 0));
        sendMouse(f->LabelBl, QEvent::MouseButtonRelease, {10, 5}, Qt::NoButton);
    }

    void formResizeLayout()
    {
        std::unique_ptr<TestForm> f(CreateForm<TestForm>(bsSizeable, biSystemMenu | biMinimize));
        f->resize(500, 322);
        f->show();
        const int W = f->PanelClient->width(), H = f->PanelClient->height(), T = f->PanelHead->width();
        QCOMPARE(W, 500);
        QCOMPARE(H, 300);
        QCOMPARE(f->ShapeU->geometry().top(), H - 4);
        QCOMPARE(f->ShapeU->width(), W - 32);
        QCOMPARE(f->ShapeRUU->pos(), QPoint(W - 16, H - 4));
        QCOMPARE(f->ShapeR->x(), W - 4);
        QCOMPARE(f->ShapeR->height(), H - 24);
        QCOMPARE(f->ShapeRUR->pos(), QPoint(W - 4, H - 20));
        QCOMPARE(f->ShapeL->height(), H - 24);
        QCOMPARE(f->ShapeLUL->y(), H - 20);
        QCOMPARE(f->ShapeLUU->y(), H - 4);
        QCOMPARE(f->ShapeO->width(), T - 32);
        QCOMPARE(f->ShapeROO->x(), T - 16);
        QCOMPARE(f->ShapeROR->x(), T - 4);
        QCOMPARE(f->ImgEcke->pos(), QPoint(W - 21, H - 21));
        QCOMPARE(f->RundLU->pos(), QPoint(1, H - 6));
        QCOMPARE(f->RundRU->pos(), QPoint(W - 7, H - 6));
        QCOMPARE(f->LabelBl->width(), f->PanelHeadShade->width() - 5);
        QCOMPARE(f->LabelWh->pos(), QPoint(5, 0));
        QCOMPARE(f->LabelBl->pos(), QPoint(4, -1));
    }

    void headShadeWithoutSkins()
    {
        FreeMetalSkins();
        std::unique_ptr<TestForm> f(CreateForm<TestForm>(bsSizeable, biSystemMenu));
        f->resize(400, 300);
        f->show();
        QVERIFY(!f->SkinsInUse);
        QVERIFY(f->HeadShade);
        QCOMPARE(f->HeadShade->width(), f->PanelHeadShade->width() * 85 / 100);
        QCOMPARE(f->MetalFaceColor, QColor(192, 192, 192));
        QCOMPARE(f->LabelWh->FontColor(), QColor(Qt::black));
        // Without skins the looks change at once.
        f->FormActivate();
        QCOMPARE(f->LabelBl->FontColor(), QColor(Qt::white));
        QCOMPARE(f->HeadShade->StartColor(), QColor(0, 0, 255));
        f->FormDeactivate();
        QCOMPARE(f->LabelBl->FontColor(), QColor(192, 192, 192));
        QCOMPARE(f->HeadShade->StartColor(), QColor(Qt::black));
    }

    void skinsAndTheirFallbacks()
    {
        // All three skins: the title in blue metal, the client in metal.
        {
            std::unique_ptr<TestForm> f(CreateForm<TestForm>(bsSizeable, biSystemMenu));
            f->show();
            QVERIFY(f->SkinsInUse);
            QVERIFY(!f->HeadShade);
            QVERIFY(f->PanelGraySpace->isHidden());
            QCOMPARE(f->MetalFaceColor, QColor(210, 210, 210));
            QCOMPARE(f->PanelHead->Tile(), TOberFormMetal::SkinActive());
            QCOMPARE(f->PanelClient->Tile(), TOberFormMetal::SkinInactive());
            QCOMPARE(f->LabelBl->FontColor(), QColor(0, 0, 128));
            QCOMPARE(f->LabelWh->FontColor(), QColor(221, 224, 255));
            std::unique_ptr<TestForm> d(CreateForm<TestForm>(bsDialog, biSystemMenu));
            d->show();
            QCOMPARE(d->PanelClient->Tile(), TOberFormMetal::SkinLight());
        }
        QTemporaryDir tmp;
        QVERIFY(copyTree(progDir + "/Skins", tmp.path() + "/Skins"));
        SetKitProgramFolder(tmp.path());
        // Without the light skin, rounded dialogs show the brushed metal.
        QVERIFY(QFile::remove(tmp.path() + "/Skins/Metal/brushedmetallight.bmp"));
        ReloadMetalClassData();
        {
            std::unique_ptr<TestForm> d(CreateForm<TestForm>(bsDialog, biSystemMenu));
            d->show();
            QVERIFY(d->SkinsInUse);
            QCOMPARE(d->PanelClient->Tile(), TOberFormMetal::SkinInactive());
        }
        // Without "brushedmetal.bmp" every window uses the gradient look.
        QVERIFY(QFile::remove(tmp.path() + "/Skins/Metal/brushedmetal.bmp"));
        ReloadMetalClassData();
        QVERIFY(TOberFormMetal::SkinActive().isNull());
        {
            std::unique_ptr<TestForm> f(CreateForm<TestForm>(bsSizeable, biSystemMenu));
            f->show();
            QVERIFY(!f->SkinsInUse);
            QVERIFY(f->HeadShade);
            QVERIFY(f->PanelHead->Tile().isNull());
        }
        // A damaged skin counts as missing.
        SetKitProgramFolder(progDir);
        QVERIFY(copyTree(progDir + "/Skins", tmp.path() + "/Skins2"));
        QFile bad(tmp.path() + "/Skins2/Metal/brushedmetalblue.bmp");
        QVERIFY(bad.open(QIODevice::WriteOnly | QIODevice::Truncate));
        bad.write("BM not really a bitmap");
        bad.close();
        QVERIFY(QFile::rename(tmp.path() + "/Skins", tmp.path() + "/SkinsOld"));
        QVERIFY(QFile::rename(tmp.path() + "/Skins2", tmp.path() + "/Skins"));
        SetKitProgramFolder(tmp.path());
        ReloadMetalClassData();
        QVERIFY(TOberFormMetal::SkinInactive().isNull());
    }

    void captionLookFollowsActivation()
    {
        // Driven by the handlers alone: a shown window would also get the
        // window system's activation.
        std::unique_ptr<TestForm> f(CreateForm<TestForm>(bsSizeable, biSystemMenu));
        f->FormShow();
        QVERIFY(f->SkinsInUse);
        QVERIFY(f->ActiveLookShown);
        f->FormDeactivate();
        QVERIFY(!f->FormIsActive);
        QVERIFY(f->TimerDeActivateVerzoegerung->isActive());
        QTRY_VERIFY(!f->ActiveLookShown);
        QCOMPARE(f->PanelHead->Tile(), TOberFormMetal::SkinInactive());
        QCOMPARE(f->LabelBl->FontColor(), QColor(Qt::black));
        QCOMPARE(f->LabelWh->FontColor(), QColor(240, 240, 240));
        // Activation that is taken back before its timer fires shows nothing.
        f->FormActivate();
        f->FormDeactivate();
        QTest::qWait(150);
        QVERIFY(!f->ActiveLookShown);
        f->FormActivate();
        QTRY_VERIFY(f->ActiveLookShown);
        QCOMPARE(f->PanelHead->Tile(), TOberFormMetal::SkinActive());
        // Around a modal dialog the first active frame turns inactive and back.
        DeactivateMetalForm();
        QVERIFY(!f->ActiveLookShown);
        ReactivateMetalForm();
        QVERIFY(f->ActiveLookShown);
    }

    void standardFramesCaption()
    {
        UseStandardFrames(true);
        std::unique_ptr<TestForm> f(CreateForm<TestForm>(bsSizeable, biSystemMenu | biHelp, 2));
        QVERIFY(f->PanelHead->isHidden());
        QCOMPARE(f->Tag, 2);
        QVERIFY(!(f->windowFlags() & Qt::FramelessWindowHint));
        QVERIFY(!(f->BorderIcons & biHelp));
        f->SetCaption(QStringLiteral("\\BFilm\\b \\cRedliste"));
        QCOMPARE(f->windowTitle(), QStringLiteral("Film \\cRedliste"));
        QCOMPARE(f->GetCaptionText(), QStringLiteral("\\BFilm\\b \\cRedliste"));
        f->show();
        QVERIFY(f->SkinsInUse);
        QVERIFY(!f->PanelClient->Tile().isNull());
        // Without skins the client takes the form's own colour.
        FreeMetalSkins();
        std::unique_ptr<TestForm> plain(CreateForm<TestForm>(bsSizeable, biSystemMenu));
        plain->Color = QColor(200, 220, 240);
        plain->show();
        QVERIFY(!plain->SkinsInUse);
        QCOMPARE(plain->MetalFaceColor, QColor(200, 220, 240));
        QCOMPARE(plain->PanelClient->Color(), QColor(200, 220, 240));
        std::unique_ptr<TestForm> d(CreateForm<TestForm>(bsDialog, biSystemMenu | biMinimize));
        QVERIFY(!d->Rounded());
        QCOMPARE(d->BorderIcons, int(biSystemMenu));
        QCOMPARE(d->size(), QSize(400, 300));
        // A fixed window in the system's frame cannot be resized by it.
        d->show();
        QCOMPARE(d->minimumSize(), QSize(400, 300));
        QCOMPARE(d->maximumSize(), QSize(400, 300));
        QCOMPARE(f->maximumWidth(), QWIDGETSIZE_MAX);
    }

    void sizeHook()
    {
        // A hook whose corner lies at (420, 169) with both margins 3.
        std::unique_ptr<TestForm> f(new TestForm(bsSizeable, biSystemMenu));
        auto *hook = new TOzoWindowSizeHook(f.get());
        hook->setObjectName("OzoWindowSizeHook1");
        hook->setGeometry(404, 131, 16, 16);
        f->Create();
        QCOMPARE(hook->parentWidget(), static_cast<QWidget *>(f->PanelClient));
        QCOMPARE(hook->PlusX, 3);
        QCOMPARE(hook->PlusY, 3);
        QCOMPARE(f->LowestBottom, 0);
        f->show();
        QCOMPARE(f->size(), QSize(423, 172));
        // On a rounded dialog the margins are 1.
        std::unique_ptr<TestForm> d(new TestForm(bsDialog, biSystemMenu));
        auto *dh = new TOzoWindowSizeHook(d.get());
        d->Create();
        QCOMPARE(dh->PlusX, 1);
    }

    void twoHooks()
    {
        QWidget form;
        auto *first = new TOzoWindowSizeHook(&form);
        first->move(100, 100);
        auto *second = new TOzoWindowSizeHook(&form);
        second->move(200, 50);
        int before = 0, after = 0;
        connect(second, &TOzoWindowSizeHook::BeforeApply, [&] { ++before; });
        connect(second, &TOzoWindowSizeHook::AfterApply, [&] { ++after; });
        // Both active: the first in order wins.
        QVERIFY(ApplyWindowSizeHook(&form));
        QCOMPARE(form.size(), QSize(116, 116));
        second->PlusX = 4;
        second->SetActive(true);
        QVERIFY(!first->Active());
        QVERIFY(ApplyWindowSizeHook(&form));
        QCOMPARE(form.size(), QSize(220, 66));
        QCOMPARE(before, 1);
        QCOMPARE(after, 1);
        second->SetActive(false);
        QVERIFY(!ApplyWindowSizeHook(&form));
        QWidget empty;
        QVERIFY(!ApplyWindowSizeHook(&empty));
    }

    void zoom()
    {
        std::unique_ptr<TestForm> f(CreateForm<TestForm>(bsSizeable, biSystemMenu | biMaximize));
        auto *label = new QLabel(QStringLiteral("Titel"), f->PanelClient);
        QFont font = label->font();
        font.setPixelSize(11);
        label->setFont(font);
        label->setGeometry(101, 11, 100, 20);
        f->setMinimumSize(200, 150);
        f->setGeometry(101, 1, 1500, 600);
        std::unique_ptr<TestForm> big(CreateForm<TestForm>(bsSizeable, biSystemMenu));
        big->setGeometry(101, 1, 1500, 600);
        big->setMinimumSize(200, 150);
        big->ScaleForm(0.833);
        QCOMPARE(big->width(), 1250);
        QCOMPARE(big->minimumWidth(), 167);
        QCOMPARE(big->TitleHeight(), 18);
        f->setGeometry(101, 1, 500, 300);
        f->SetZoomed(true);
        QVERIFY(f->Zoomed);
        QCOMPARE(f->geometry(), QRect(121, 1, 600, 360));
        QCOMPARE(TitleGlyphName(f->WinZoomButt), QStringLiteral("ZOOMOUT_M"));
        QCOMPARE(f->TitleHeight(), 26);
        QCOMPARE(f->PanelClient->y(), 26);
        QCOMPARE(f->PanelClient->height(), 360 - 26);
        // Zooming out again: slightly smaller than at the start.
        f->SetZoomed(false);
        QCOMPARE(f->width(), 500); // 600 * 0.833 = 499.8
        QCOMPARE(TitleGlyphName(f->WinZoomButt), QStringLiteral("ZOOMIN_M"));
        f->SetZoomed(false);
        QCOMPARE(f->width(), 500);
    }

    void fontAndControlZoom()
    {
        std::unique_ptr<TestForm> f(CreateForm<TestForm>(bsSizeable, biSystemMenu));
        auto *label = new QLabel(QStringLiteral("Titel"), f->PanelClient);
        QFont font = label->font();
        font.setPixelSize(11);
        label->setFont(font);
        label->setGeometry(101, 51, 100, 20);
        auto *ok = new TOzoNewButton(f->PanelClient);
        ok->SetKind(ibkOK);
        ok->move(11, 11);
        auto *plain = new QWidget(f->PanelClient);
        QFont pf = plain->font();
        pf.setPixelSize(11);
        plain->setFont(pf);
        f->ScaleForm(1.2);
        QCOMPARE(label->font().pixelSize(), 13);
        QCOMPARE(label->geometry(), QRect(121, 61, 120, 24));
        QCOMPARE(ok->size(), QSize(120, 25));
        QCOMPARE(plain->font().pixelSize(), 11); // not a control whose font scales
    }

    void zoomRolledUp()
    {
        std::unique_ptr<TestForm> f(CreateForm<TestForm>(bsSizeable, biSystemMenu | biMinimize));
        f->setMinimumHeight(100);
        f->setGeometry(1, 1, 400, 300);
        f->SetRolledUp(true);
        f->SetZoomed(true);
        QCOMPARE(f->height(), 26);
        QCOMPARE(f->minimumHeight(), 0);
        f->SetRolledUp(false);
        QCOMPARE(f->height(), 360);
        QCOMPARE(f->minimumHeight(), 120);
    }

    void growsToFit()
    {
        // Designed controls move into the client and the form grows to show
        // the lowest of them, once.
        std::unique_ptr<TestForm> f(new TestForm(bsSizeable, biSystemMenu, 0, QSize(300, 200)));
        auto *edit = new QLabel(QStringLiteral("unten"), f.get());
        edit->setObjectName("Label1");
        edit->setGeometry(10, 250, 100, 30);
        auto *hidden = new QLabel(f.get());
        hidden->setGeometry(10, 20, 10, 10);
        hidden->hide();
        f->Create();
        QCOMPARE(edit->parentWidget(), static_cast<QWidget *>(f->PanelClient));
        QCOMPARE(edit->geometry(), QRect(10, 250, 100, 30));
        QVERIFY(hidden->isHidden());
        QCOMPARE(f->LowestBottom, 280);
        f->show();
        QCOMPARE(f->height(), 22 + 280 + 4);
        QVERIFY(f->GrownOnce);
        f->hide();
        f->resize(300, 100);
        f->show();
        QCOMPARE(f->height(), 100);
        // A form big enough never shrinks.
        std::unique_ptr<TestForm> g(new TestForm(bsSizeable, biSystemMenu, 0, QSize(300, 500)));
        (new QLabel(g.get()))->setGeometry(10, 10, 10, 10);
        g->Create();
        g->show();
        QCOMPARE(g->height(), 500);
    }

    void closeHandlers()
    {
        // FormClose decides: caNone keeps the window, caFree frees it.
        struct Closing : TestForm {
            Closing() : TestForm(bsSizeable, biSystemMenu) {}
            TCloseAction action = caHide;
            int calls = 0;
            void FormClose(TCloseAction &a) override
            {
                TestForm::FormClose(a);
                ++calls;
                a = action;
            }
        };
        QPointer<Closing> f = CreateForm<Closing>();
        f->show();
        f->action = caNone;
        QVERIFY(!f->close());
        QVERIFY(f->isVisible());
        f->action = caHide;
        QVERIFY(f->close());
        QVERIFY(!f->isVisible());
        QCOMPARE(f->calls, 2);
        f->show();
        f->action = caFree;
        clickTitle(f->WinXButt);
        QTRY_VERIFY(f.isNull());
    }

    void doubleClickOnTitleMaximises()
    {
        std::unique_ptr<TestForm> f(CreateForm<TestForm>(bsSizeable, biSystemMenu | biMaximize));
        f->show();
        sendMouse(f->LabelBl, QEvent::MouseButtonDblClick, {10, 5}, Qt::LeftButton);
        QVERIFY(f->isMaximized());
        sendMouse(f->PanelHeadShade, QEvent::MouseButtonDblClick, {100, 5}, Qt::LeftButton);
        QVERIFY(!f->isMaximized());
        // Without the maximise button a double click does nothing.
        std::unique_ptr<TestForm> g(CreateForm<TestForm>(bsSizeable, biSystemMenu));
        g->show();
        sendMouse(g->LabelBl, QEvent::MouseButtonDblClick, {10, 5}, Qt::LeftButton);
        QVERIFY(!g->isMaximized());
        // The zoom button toggles the zoom.
        auto *z = new TestForm(bsSizeable, biSystemMenu);
        z->ShowZoomButton();
        z->Create();
        clickTitle(z->WinZoomButt);
        QVERIFY(z->Zoomed);
        clickTitle(z->WinZoomButt);
        QVERIFY(!z->Zoomed);
        delete z;
    }

    void plainOberForm()
    {
        struct Plain : TOberForm {
            Plain()
            {
                BorderStyle = bsSizeable;
                BorderIcons = biSystemMenu | biMinimize;
                resize(300, 200);
            }
        };
        std::unique_ptr<Plain> f(CreateForm<Plain>());
        // Minimise and roll-up are alternatives on the plain frame.
        QVERIFY(!f->WinDownButt->isHidden());
        QVERIFY(f->WinUpButt->isHidden());
        QCOMPARE(TitleGlyphName(f->WinXButt), QStringLiteral("X"));
        QCOMPARE(f->ImgEcke->PictureName(), QStringLiteral("ECKE"));
        f->ShowActiveCaption();
        QCOMPARE(f->LabelBl->FontColor(), QColor(Qt::white));
        f->ShowInactiveCaption();
        QCOMPARE(f->HeadShade->StartColor(), QColor(Qt::black));
    }
};

QTEST_MAIN(TstMetalFrame)
#include "tst_metalframe.moc"
