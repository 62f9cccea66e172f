#include "kit/oberform.h"

#include "kit/framewidgets.h"
#include "kit/kitfiles.h"
#include "kit/presenter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QHash>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QPushButton>
#include <QScreen>
#include <QWindow>
#include <algorithm>

namespace {
bool standardFrames = false;

QHash<QString, QPixmap> &glyphCache()
{
    static QHash<QString, QPixmap> cache;
    return cache;
}

std::vector<TOberForm *> &plainForms()
{
    static std::vector<TOberForm *> list;
    return list;
}

Qt::Edges edgesOf(TFramePiece piece)
{
    switch (piece) {
    case TFramePiece::Top: return Qt::TopEdge;
    case TFramePiece::Bottom: return Qt::BottomEdge;
    case TFramePiece::Left: return Qt::LeftEdge;
    case TFramePiece::Right: return Qt::RightEdge;
    case TFramePiece::TopLeft: return Qt::TopEdge | Qt::LeftEdge;
    case TFramePiece::TopRight: return Qt::TopEdge | Qt::RightEdge;
    case TFramePiece::BottomLeft: return Qt::BottomEdge | Qt::LeftEdge;
    case TFramePiece::BottomRight: return Qt::BottomEdge | Qt::RightEdge;
    }
    return {};
}
} // namespace

void UseStandardFrames(bool on) { standardFrames = on; }
bool StandardFramesUsed() { return standardFrames; }

void SetModalResult(QWidget *w, int result)
{
    if (result == mrNone || !w)
        return;
    if (auto *dlg = qobject_cast<QDialog *>(w->window()))
        dlg->done(result);
}

void ClearFrameGlyphCache()
{
    glyphCache().clear();
}

// ---------------------------------------------------------------------------
// TOberFormAbs

TOberFormAbs::TOberFormAbs(QWidget *parent) : QDialog(parent)
{
    setWindowFlags(Qt::Window);
}

TOberFormAbs::~TOberFormAbs()
{
    if (Drag().source && Drag().source->window() == this)
        Drag() = DragState{};
}

TOberFormAbs::DragState &TOberFormAbs::Drag()
{
    static DragState state;
    return state;
}

void TOberFormAbs::Create()
{
    if (FCreated)
        return;
    FCreated = true;
    FormCreate();
}

void TOberFormAbs::setVisible(bool visible)
{
    if (visible && !FCreated)
        Create();
    QDialog::setVisible(visible);
}

void TOberFormAbs::SetCaption(const QString &s)
{
    if (LabelWh)
        LabelWh->SetCaption(s);
    if (LabelBl)
        LabelBl->SetCaption(s);
    // The window system shows the caption without mark-up (task bar, and the
    // title itself with standard frames); colour escapes stay in it.
    setWindowTitle(StripCaptionMarkup(s));
}

QString TOberFormAbs::GetCaptionText() const
{
    return LabelBl ? LabelBl->Caption() : windowTitle();
}

void TOberFormAbs::done(int r)
{
    if (FClosing)
        return;
    TCloseAction action = caHide;
    FClosing = true;
    FormClose(action);
    FClosing = false;
    if (action == caNone)
        return;
    if (action == caMinimize) {
        showMinimized();
        return;
    }
    QDialog::done(r);
    if (action == caFree)
        deleteLater();
}

void TOberFormAbs::closeEvent(QCloseEvent *e)
{
    // Closing ends a modal loop with Cancel, as the window system's close
    // does; FormClose may keep the window open.
    if (isVisible())
        done(mrCancel);
    e->setAccepted(!isVisible());
}

void TOberFormAbs::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        // Escape presses the form's cancel button; a form without one stays.
        for (auto *b : findChildren<QPushButton *>()) {
            if (b->property("tarvoCancel").toBool() && b->isVisibleTo(this) && b->isEnabled()) {
                b->click();
                return;
            }
        }
        e->ignore();
        return;
    }
    QDialog::keyPressEvent(e);
}

void TOberFormAbs::showEvent(QShowEvent *e)
{
    const bool placed = testAttribute(Qt::WA_Moved);
    QDialog::showEvent(e);
    if (e->spontaneous())
        return;
    // A fixed window in the system's own frame must not be resized by the
    // window manager: its size is held between shows (the size hook and the
    // growth to fit still set it on each show).
    const bool fixedInSystemFrame =
        FStandardFrames && BorderStyle != bsSizeable && BorderStyle != bsSizeToolWin;
    if (fixedInSystemFrame) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    FormShow();
    if (fixedInSystemFrame)
        setFixedSize(size());
    // A window the program did not place opens centred on its owner (or
    // the screen), measured with the size it has after FormShow.
    if (placed && !isMaximized()) {
        // A window the program placed (beside its owner, at a button) is
        // never left partly off the screen.
        if (QScreen *scr = screen()) {
            const QPoint at = PlaceOnScreen(frameGeometry(), scr->availableGeometry());
            if (at != frameGeometry().topLeft())
                move(at + (pos() - frameGeometry().topLeft()));
        }
    } else if (!placed && !isMaximized()) {
        QWidget *owner = parentWidget() ? parentWidget()->window() : nullptr;
        QScreen *scr = owner ? owner->screen() : screen();
        const QPoint at = CentredPlace(frameGeometry().size(), owner ? owner->frameGeometry() : QRect(),
                                       scr ? scr->availableGeometry() : QRect());
        move(at);
        setAttribute(Qt::WA_Moved, false);
    }
    FPlacedAt = pos();
    FPlaceCheck = true;
    if (QWindow *h = windowHandle())
        h->installEventFilter(this);
}

void TOberFormAbs::moveEvent(QMoveEvent *e)
{
    QDialog::moveEvent(e);
    // The program's own moves place the window; the window system's do not.
    if (!e->spontaneous() && isVisible())
        FPlacedAt = pos();
}

void TOberFormAbs::resizeEvent(QResizeEvent *e)
{
    QDialog::resizeEvent(e);
    if (FLayoutSuspended || !FCreated)
        return;
    LayoutFrame();
    FormResize();
}

void TOberFormAbs::changeEvent(QEvent *e)
{
    QDialog::changeEvent(e);
    if (e->type() == QEvent::ActivationChange) {
        if (isActiveWindow())
            FormActivate();
        else
            FormDeactivate();
        restoreSysResizeMinimum();
    } else if (e->type() == QEvent::WindowStateChange) {
        FMaximized = isMaximized();
        if (MenMaximieren)
            MenMaximieren->setChecked(FMaximized);
    }
}

QPixmap TOberFormAbs::Glyph(const QString &name) const
{
    auto &cache = glyphCache();
    auto it = cache.find(name);
    if (it == cache.end())
        it = cache.insert(name, LoadResourceBitmap(name));
    return *it;
}

void TOberFormAbs::SetButtonGlyph(TPZSpeedButton *b, const QString &name)
{
    if (!b)
        return;
    b->SetGlyph(Glyph(name + FStyle.suffix));
    b->setProperty("GlyphName", name + FStyle.suffix);
}

QString TitleGlyphName(const TPZSpeedButton *b)
{
    return b ? b->property("GlyphName").toString() : QString();
}

TFrameShape *TOberFormAbs::makeShape(QWidget *parent, const char *name, bool light, Qt::CursorShape cursor)
{
    auto *s = new TFrameShape(parent);
    s->setObjectName(QLatin1String(name));
    s->PenColor = light ? QColor(255, 255, 255) : QColor(128, 128, 128);
    s->setCursor(cursor);
    s->installEventFilter(this);
    return s;
}

void TOberFormAbs::BuildFrame(const FrameStyle &style)
{
    FStyle = style;
    auto named = [](QWidget *w, const char *name) {
        w->setObjectName(QLatin1String(name));
        return w;
    };
    PanelHead = new TFramePanel(this);
    named(PanelHead, "PanelHead");
    PanelHead->SetBevelOuter(bvRaised);
    PanelHead->SetBevelWidth(2);
    PanelHead->SetFrameBorder(true);
    PanelHead->setGeometry(0, 0, 300, 22);

    RundLO = new TFrameImage(PanelHead);
    named(RundLO, "RundLO")->setGeometry(0, 0, 3, 16);
    RundLO->hide();
    ImgSysM = new TFrameImage(PanelHead);
    named(ImgSysM, "ImgSysM")->setGeometry(0, 0, 16, 16);
    PanelGraySpace = new TFramePanel(PanelHead);
    named(PanelGraySpace, "PanelGraySpace")->setGeometry(0, 0, 2, 16);
    PanelHeadShade = new TFramePanel(PanelHead);
    named(PanelHeadShade, "PanelHeadShade")->setGeometry(0, 0, 200, 16);
    HeadShade = new TPZShaded(PanelHeadShade);
    named(HeadShade, "HeadShade");
    HeadShade->SetStartColor(QColor(0, 0, 255));
    HeadShade->SetEndColor(QColor(192, 192, 192));
    HeadShade->SetGraduation(25);
    HeadShade->SetDirection(drHorizontal);
    QFont captionFont(QStringLiteral("Arial"));
    captionFont.setPixelSize(12);
    captionFont.setBold(true);
    LabelWh = new TPZLabel(PanelHeadShade);
    named(LabelWh, "LabelWh")->setGeometry(5, 0, 65, 17);
    LabelWh->setFont(captionFont);
    LabelWh->SetFontColor(Qt::white);
    LabelBl = new TPZLabel(PanelHeadShade);
    named(LabelBl, "LabelBl")->setGeometry(4, -1, 65, 17);
    LabelBl->setFont(captionFont);
    RundRO = new TFrameImage(PanelHead);
    named(RundRO, "RundRO")->setGeometry(0, 0, 3, 16);
    RundRO->hide();
    PanelX = new TFramePanel(PanelHead);
    named(PanelX, "PanelX")->setGeometry(0, 0, 16, 16);
    auto titleButton = [&](const char *name, void (TOberFormAbs::*slot)()) {
        auto *b = new TPZSpeedButton(PanelX);
        named(b, name)->setGeometry(0, 0, 16, 16);
        if (slot)
            connect(b, &TPZSpeedButton::Click, this, [this, slot] { (this->*slot)(); });
        return b;
    };
    WinZoomButt = titleButton("WinZoomButt", nullptr);
    WinZoomButt->hide();
    WinDownButt = titleButton("WinDownButt", &TOberFormAbs::WinDownButtClick);
    WinUpButt = titleButton("WinUpButt", &TOberFormAbs::WinUpButtClick);
    WinBigButt = titleButton("WinBigButt", &TOberFormAbs::WinBigButtClick);
    WinXButt = titleButton("WinXButt", &TOberFormAbs::WinXButtClick);

    PanelClient = new TFramePanel(this);
    named(PanelClient, "PanelClient");
    PanelClient->SetBevelOuter(bvRaised);
    PanelClient->SetBevelWidth(2);
    PanelClient->SetFrameBorder(true);
    PanelClient->setGeometry(0, 22, 300, 200);
    ImgEcke = new TFrameImage(PanelClient);
    named(ImgEcke, "ImgEcke")->setGeometry(0, 0, 16, 16);
    ImgEcke->setCursor(Qt::SizeFDiagCursor);
    RundLU = new TFrameImage(PanelClient);
    named(RundLU, "RundLU")->setGeometry(0, 0, 6, 6);
    RundLU->hide();
    RundRU = new TFrameImage(PanelClient);
    named(RundRU, "RundRU")->setGeometry(0, 0, 6, 6);
    RundRU->hide();

    ShapeO = makeShape(PanelHead, "ShapeO", true, Qt::SizeVerCursor);
    ShapeLOL = makeShape(PanelHead, "ShapeLOL", true, Qt::SizeFDiagCursor);
    ShapeLOO = makeShape(PanelHead, "ShapeLOO", true, Qt::SizeFDiagCursor);
    ShapeROO = makeShape(PanelHead, "ShapeROO", true, Qt::SizeBDiagCursor);
    ShapeROR = makeShape(PanelHead, "ShapeROR", false, Qt::SizeBDiagCursor);
    ShapeU = makeShape(PanelClient, "ShapeU", false, Qt::SizeVerCursor);
    ShapeL = makeShape(PanelClient, "ShapeL", true, Qt::SizeHorCursor);
    ShapeR = makeShape(PanelClient, "ShapeR", false, Qt::SizeHorCursor);
    ShapeLUL = makeShape(PanelClient, "ShapeLUL", true, Qt::SizeBDiagCursor);
    ShapeLUU = makeShape(PanelClient, "ShapeLUU", false, Qt::SizeBDiagCursor);
    ShapeRUU = makeShape(PanelClient, "ShapeRUU", false, Qt::SizeFDiagCursor);
    ShapeRUR = makeShape(PanelClient, "ShapeRUR", false, Qt::SizeFDiagCursor);

    SysMen = new QMenu(this);
    SysMen->setObjectName(QStringLiteral("SysMen"));
    MenMinimieren = SysMen->addAction(QStringLiteral("Mi&nimieren"), this, [this] { WinUpButtClick(); });
    MenMinimieren->setObjectName(QStringLiteral("MenMinimieren"));
    MenMinimieren->setCheckable(true);
    MenMaximieren = SysMen->addAction(QStringLiteral("Ma&ximieren"), this, [this] { WinBigButtClick(); });
    MenMaximieren->setObjectName(QStringLiteral("MenMaximieren"));
    MenMaximieren->setCheckable(true);
    MenLinie = SysMen->addSeparator();
    MenLinie->setObjectName(QStringLiteral("MenLinie"));
    MenSchlieen = SysMen->addAction(QStringLiteral("&Schließen"), this, [this] { WinXButtClick(); });
    MenSchlieen->setObjectName(QStringLiteral("MenSchlieen"));

    for (QWidget *w : {static_cast<QWidget *>(PanelHead), static_cast<QWidget *>(PanelHeadShade),
                       static_cast<QWidget *>(HeadShade), static_cast<QWidget *>(LabelWh),
                       static_cast<QWidget *>(LabelBl), static_cast<QWidget *>(PanelGraySpace),
                       static_cast<QWidget *>(ImgSysM), static_cast<QWidget *>(ImgEcke)})
        w->installEventFilter(this);
}

int TOberFormAbs::TitleHeight() const
{
    return PanelHead && !PanelHead->isHidden() ? PanelHead->height() : 0;
}

void TOberFormAbs::CreateFrame(bool standard, bool allowRounding)
{
    FStandardFrames = standard;
    // 2. Glyphs; the window starts rolled down.
    SetButtonGlyph(WinDownButt, QStringLiteral("DOWN"));
    SetButtonGlyph(WinUpButt, QStringLiteral("UP"));
    SetButtonGlyph(WinBigButt, QStringLiteral("BIG"));
    SetButtonGlyph(WinXButt, QStringLiteral("X"));
    if (FStyle.metal)
        SetButtonGlyph(WinZoomButt, QStringLiteral("ZOOMIN"));
    ImgEcke->SetPicture(Glyph(QStringLiteral("ECKE") + FStyle.suffix), QStringLiteral("ECKE") + FStyle.suffix);
    ImgSysM->SetPicture(Glyph(QStringLiteral("SYSM") + FStyle.suffix), QStringLiteral("SYSM") + FStyle.suffix);
    SetRolledUpImpl(false);

    // 3. The system frame goes away: the designed size is the outer size.
    if (BorderStyle == bsNone)
        resize(width(), height() + TitleHeight());
    else if ((BorderStyle == bsSingle || BorderStyle == bsDialog) && !standard)
        resize(width() - 4, height() - 4);

    // 4. Frame mode.
    if (!IsDialog() && Tag == 0)
        Tag = 1;
    if (IsDialog()) {
        if (standard) {
            BorderIcons = biSystemMenu;
        } else {
            BorderIcons &= ~(biMinimize | biMaximize);
            if (allowRounding) {
                for (TFramePanel *p : {PanelHead, PanelClient}) {
                    p->SetFrameBorder(false);
                    p->SetBevelWidth(1);
                }
                PanelHead->setFixedHeight(PanelHead->height() - 4);
                for (TFrameImage *img : {RundLO, RundRO, RundLU, RundRU})
                    img->show();
                PanelHead->SetRoundCorners(FrameTopLeft | FrameTopRight);
                PanelClient->SetRoundCorners(FrameBottomLeft | FrameBottomRight);
                FRounded = true;
            }
        }
    }

    // 5. Sizeable frames get edges and a grip; all others none.
    const bool sizeable = BorderStyle == bsSizeable || BorderStyle == bsSizeToolWin;
    if (sizeable && !standard) {
        Tag = -Tag;
    } else {
        for (TFrameShape *s : {ShapeO, ShapeU, ShapeL, ShapeR, ShapeLOL, ShapeLOO, ShapeROO, ShapeROR,
                               ShapeLUL, ShapeLUU, ShapeRUU, ShapeRUR})
            s->hide();
        ImgEcke->hide();
        ImgEcke->SetPicture(QPixmap());
    }

    // 6. Standard frames keep the system's title; ours is hidden.
    Qt::WindowFlags flags = IsDialog() ? Qt::Dialog : Qt::Window;
    if (standard) {
        PanelHead->hide();
        PanelClient->SetBevelOuter(bvNone);
        PanelClient->SetFrameBorder(false);
        BorderIcons &= ~biHelp;
        flags |= Qt::WindowTitleHint | Qt::CustomizeWindowHint;
        if (BorderIcons & biSystemMenu)
            flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (BorderIcons & biMinimize)
            flags |= Qt::WindowMinimizeButtonHint;
        if (BorderIcons & biMaximize)
            flags |= Qt::WindowMaximizeButtonHint;
    } else {
        flags |= Qt::FramelessWindowHint;
        ImgSysM->setVisible(BorderIcons & biSystemMenu);
        const bool big = BorderIcons & biMaximize;
        WinBigButt->setVisible(big);
        MenMaximieren->setVisible(big);
        const bool min = BorderIcons & biMinimize;
        const bool down = (BorderIcons & biHelp) && min;
        WinDownButt->setVisible(FStyle.rollUpOnlyWithoutMinimise ? min : down);
        const bool up = FStyle.rollUpOnlyWithoutMinimise ? !min : min;
        WinUpButt->setVisible(up);
        MenMinimieren->setVisible(up);
        MenLinie->setVisible(up);
        ArrangeTitleButtons();
    }
    // Only a window the program placed keeps its place: setting the size
    // must not count as placing it, or it opens at the screen's corner
    // instead of over its owner.
    const QRect g = geometry();
    const bool placed = testAttribute(Qt::WA_Moved);
    setWindowFlags(flags);
    if (placed)
        setGeometry(g);
    else
        resize(g.size());
    LayoutFrame();
}

void TOberFormAbs::ArrangeTitleButtons()
{
    if (!PanelX)
        return;
    const TTitleButtonRow row =
        ArrangeTitleButtonRow(!WinZoomButt->isHidden(), !WinDownButt->isHidden(), !WinUpButt->isHidden(),
                              !WinBigButt->isHidden());
    TPZSpeedButton *buttons[5] = {WinZoomButt, WinDownButt, WinUpButt, WinBigButt, WinXButt};
    for (int i = 0; i < 5; ++i)
        if (row.x[i] >= 0)
            buttons[i]->move(row.x[i], 0);
    PanelX->resize(row.panelWidth, PanelX->height());
    LayoutFrame();
}

void TOberFormAbs::LayoutFrame()
{
    if (!PanelHead)
        return;
    const int w = width(), h = height();
    const int hh = TitleHeight();
    PanelHead->setGeometry(0, 0, w, PanelHead->height());
    const int in = PanelHead->Inset();
    const int ih = std::max(0, PanelHead->height() - 2 * in);
    int left = in, right = w - in;
    for (QWidget *c : {static_cast<QWidget *>(RundLO), static_cast<QWidget *>(ImgSysM),
                       static_cast<QWidget *>(PanelGraySpace)}) {
        if (c->isHidden())
            continue;
        c->setGeometry(left, in, c->width(), ih);
        left += c->width();
    }
    for (QWidget *c : {static_cast<QWidget *>(RundRO), static_cast<QWidget *>(PanelX)}) {
        if (c->isHidden())
            continue;
        right -= c->width();
        c->setGeometry(right, in, c->width(), ih);
    }
    PanelHeadShade->setGeometry(left, in, std::max(0, right - left), ih);
    for (TPZSpeedButton *b : {WinZoomButt, WinDownButt, WinUpButt, WinBigButt, WinXButt})
        b->resize(b->width(), ih);
    PanelClient->setGeometry(0, hh, w, std::max(0, h - hh));
}

void TOberFormAbs::LayoutEdges()
{
    if (!PanelClient)
        return;
    const int W = PanelClient->width(), H = PanelClient->height(), T = PanelHead->width();
    ShapeU->setGeometry(16, H - 4, std::max(0, W - 32), 2);
    ShapeRUU->setGeometry(W - 16, ShapeU->y(), 14, 2);
    ShapeR->setGeometry(W - 4, 0, 2, std::max(0, H - 24));
    ShapeRUR->setGeometry(ShapeR->x(), H - 20, 2, 16);
    ShapeL->setGeometry(2, 0, 2, ShapeR->height());
    ShapeLUL->setGeometry(2, ShapeRUR->y(), 2, 16);
    ShapeLUU->setGeometry(2, ShapeU->y(), 14, 2);
    ShapeO->setGeometry(16, 2, std::max(0, T - 32), 2);
    ShapeLOL->setGeometry(2, 2, 2, 16);
    ShapeLOO->setGeometry(2, 2, 14, 2);
    ShapeROO->setGeometry(T - 16, 2, 14, 2);
    ShapeROR->setGeometry(T - 4, 2, 2, 16);
    ImgEcke->move(W - 21, H - 21);
    RundLU->move(1, H - 6);
    RundRU->move(W - 7, H - 6);
    if (HeadShade)
        HeadShade->setGeometry(0, 0, PanelHeadShade->width() * 85 / 100, PanelHeadShade->height());
    const int lw = std::max(0, PanelHeadShade->width() - 5);
    LabelWh->resize(lw, PanelHeadShade->height() + 1);
    LabelBl->resize(lw, PanelHeadShade->height() + 1);
    // The frame's pieces lie above whatever the window put into its client.
    for (QWidget *w : {static_cast<QWidget *>(ShapeU), static_cast<QWidget *>(ShapeL), static_cast<QWidget *>(ShapeR),
                       static_cast<QWidget *>(ShapeLUL), static_cast<QWidget *>(ShapeLUU),
                       static_cast<QWidget *>(ShapeRUU), static_cast<QWidget *>(ShapeRUR),
                       static_cast<QWidget *>(ImgEcke), static_cast<QWidget *>(RundLU), static_cast<QWidget *>(RundRU)})
        w->raise();
}

void TOberFormAbs::SetRolledUpImpl(bool up)
{
    if (up == FRolledUp)
        return;
    restoreSysResizeMinimum();
    if (up) {
        if (isMaximized())
            SetMaximizedImpl(false);
        FSavedHeight = height();
        FSavedMinHeight = minimumHeight();
        setMinimumHeight(0);
        resize(width(), TitleHeight());
        SetButtonGlyph(WinUpButt, QStringLiteral("RESTORE"));
    } else {
        setMinimumHeight(FSavedMinHeight);
        resize(width(), FSavedHeight);
        SetButtonGlyph(WinUpButt, QStringLiteral("UP"));
    }
    FRolledUp = up;
    if (MenMinimieren)
        MenMinimieren->setChecked(up);
}

void TOberFormAbs::SetMaximizedImpl(bool on)
{
    if (on) {
        FRestoreGeometry = geometry();
        showMaximized();
        SetButtonGlyph(WinBigButt, QStringLiteral("RESTORE"));
    } else {
        showNormal();
        if (FRestoreGeometry.isValid())
            setGeometry(FRestoreGeometry);
        SetButtonGlyph(WinBigButt, QStringLiteral("BIG"));
    }
    FMaximized = on;
    if (MenMaximieren)
        MenMaximieren->setChecked(on);
}

void TOberFormAbs::WinXButtClick()
{
    if (Tag == 0)
        done(mrCancel);
    else
        close();
}

void TOberFormAbs::WinUpButtClick()
{
    SetRolledUpImpl(!FRolledUp);
}

void TOberFormAbs::WinBigButtClick()
{
    if (isMaximized() || FMaximized) {
        SetMaximizedImpl(false);
    } else {
        SetRolledUpImpl(false);
        SetMaximizedImpl(true);
    }
}

void TOberFormAbs::WinDownButtClick()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible() && !qobject_cast<QMenu *>(w))
            w->showMinimized();
}

void TOberFormAbs::ImgSysMClick()
{
    kit::popupMenu(*SysMen, mapToGlobal(QPoint(1, TitleHeight() + 1)));
}

void TOberFormAbs::PanelHeadDblClick()
{
    if (WinBigButt && !WinBigButt->isHidden())
        WinBigButtClick();
}

bool TOberFormAbs::pieceOf(QObject *o, TFramePiece *piece) const
{
    if (o == ShapeO) *piece = TFramePiece::Top;
    else if (o == ShapeU) *piece = TFramePiece::Bottom;
    else if (o == ShapeL) *piece = TFramePiece::Left;
    else if (o == ShapeR) *piece = TFramePiece::Right;
    else if (o == ShapeLOL || o == ShapeLOO) *piece = TFramePiece::TopLeft;
    else if (o == ShapeROO || o == ShapeROR) *piece = TFramePiece::TopRight;
    else if (o == ShapeLUL || o == ShapeLUU) *piece = TFramePiece::BottomLeft;
    else if (o == ShapeRUU || o == ShapeRUR || o == ImgEcke) *piece = TFramePiece::BottomRight;
    else return false;
    return true;
}

bool TOberFormAbs::pressedOnButton(QObject *watched, const QPointF &pos) const
{
    // A press that a control on the title bar let through arrives here
    // mapped to the title part; the control under the pointer tells.
    auto *w = qobject_cast<QWidget *>(watched);
    for (QWidget *hit = w ? w->childAt(pos.toPoint()) : nullptr; hit && hit != w; hit = hit->parentWidget())
        if (qobject_cast<TPZSpeedButton *>(hit) || qobject_cast<QAbstractButton *>(hit))
            return true;
    return false;
}

bool TOberFormAbs::isTitlePart(QObject *o) const
{
    return o && (o == PanelHead || o == PanelHeadShade || o == HeadShade || o == LabelWh || o == LabelBl
                 || o == PanelGraySpace);
}

void TOberFormAbs::beginMove(const QPoint &globalPos)
{
    auto &d = Drag();
    if (windowHandle() && windowHandle()->startSystemMove())
        return; // the window system moves it
    d.moving = true;
    d.start = globalPos - pos();
    FMoveLook = true;
    if (!FRounded)
        PanelHead->SetBevelOuter(bvLowered);
    LabelBl->move(5, 0);
    LabelWh->move(6, 1);
    if (Tag < 0)
        for (TFrameShape *s : {ShapeO, ShapeLOL, ShapeLOO, ShapeROO, ShapeROR})
            s->hide();
}

void TOberFormAbs::endMove()
{
    Drag() = DragState{};
    if (!FMoveLook)
        return;
    FMoveLook = false;
    PanelHead->SetBevelOuter(bvRaised);
    LabelBl->move(4, -1);
    LabelWh->move(5, 0);
    if (Tag < 0)
        for (TFrameShape *s : {ShapeO, ShapeLOL, ShapeLOO, ShapeROO, ShapeROR})
            s->show();
}

void TOberFormAbs::restoreSysResizeMinimum()
{
    if (!FSysResizeActive)
        return;
    FSysResizeActive = false;
    setMinimumSize(FSysResizeMinSaved);
}

void KeepProgramPlacement(QWidget *w, const QPoint &place)
{
    if (!w || !w->isWindow() || w->pos() == place)
        return;
    const bool moved = w->testAttribute(Qt::WA_Moved);
    w->move(place);
    w->setAttribute(Qt::WA_Moved, moved);
}

bool TOberFormAbs::eventFilter(QObject *watched, QEvent *event)
{
    const auto type = event->type();
    if (type == QEvent::Expose && FPlaceCheck && watched == windowHandle()) {
        // A window manager that reparents the window may have reported an
        // older place meanwhile (then Qt thinks the window lies elsewhere).
        FPlaceCheck = false;
        if (!isMaximized() && !Drag().moving && !Drag().resizing)
            KeepProgramPlacement(this, FPlacedAt);
        return false;
    }
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease && type != QEvent::MouseMove
        && type != QEvent::MouseButtonDblClick && type != QEvent::Enter)
        return QDialog::eventFilter(watched, event);
    if (type == QEvent::Enter) {
        restoreSysResizeMinimum();
        return false;
    }
    auto *me = static_cast<QMouseEvent *>(event);
    auto &d = Drag();
    const QPoint global = me->globalPosition().toPoint();
    TFramePiece piece;
    const bool isPiece = pieceOf(watched, &piece);

    if (type == QEvent::MouseButtonDblClick && me->button() == Qt::LeftButton) {
        if (watched == ImgSysM) {
            WinXButtClick();
            return true;
        }
        if (isTitlePart(watched)) {
            PanelHeadDblClick();
            return true;
        }
        return false;
    }
    if (type == QEvent::MouseButtonPress && me->button() == Qt::LeftButton) {
        if (watched == ImgSysM)
            return true;
        if (isTitlePart(watched) && pressedOnButton(watched, me->position()))
            return false; // title-bar buttons never start a move
        if (isTitlePart(watched) && !isMaximized()) {
            d.source = static_cast<QWidget *>(watched);
            beginMove(global);
            return true;
        }
        if (isPiece && !isMaximized() && !FRolledUp && !d.moving && !d.resizing) {
            auto *w = static_cast<QWidget *>(watched);
            if (windowHandle() && !FSysResizeActive) {
                // Let the window system resize; it keeps the frame's minimum.
                FSysResizeMinSaved = minimumSize();
                setMinimumSize(std::max(minimumWidth(), FrameMinWidth), std::max(minimumHeight(), FrameMinHeight));
                if (windowHandle()->startSystemResize(edgesOf(piece))) {
                    FSysResizeActive = true;
                    return true;
                }
                setMinimumSize(FSysResizeMinSaved);
            }
            d.resizing = true;
            d.piece = piece;
            d.source = w;
            d.start = w->mapFromGlobal(global);
            return true;
        }
        return false;
    }
    if (type == QEvent::MouseMove) {
        if (d.moving && d.source == watched) {
            move(global - d.start);
            return true;
        }
        if (d.resizing && d.source == watched) {
            auto *w = static_cast<QWidget *>(watched);
            setGeometry(FrameResizeStep(geometry(), d.piece, w->mapFromGlobal(global), d.start));
            return true;
        }
        return false;
    }
    if (type == QEvent::MouseButtonRelease && me->button() == Qt::LeftButton) {
        if (watched == ImgSysM) {
            ImgSysMClick();
            return true;
        }
        if (d.source == watched && (d.moving || d.resizing)) {
            endMove();
            return true;
        }
        if (FMoveLook)
            endMove();
    }
    return false;
}

// ---------------------------------------------------------------------------
// TOberForm

TOberForm::TOberForm(QWidget *parent) : TOberFormAbs(parent)
{
    BuildFrame({false, QString(), true});
    plainForms().push_back(this);
    connect(this, &QObject::destroyed, [this] {
        auto &l = plainForms();
        l.erase(std::remove(l.begin(), l.end(), this), l.end());
    });
}

void TOberForm::FormCreate()
{
    SetCaption(windowTitle());
    CreateFrame(StandardFramesUsed(), false);
    LabelBl->SetFontColor(QColor(192, 192, 192));
    LabelWh->SetFontColor(Qt::black);
    HeadShade->SetStartColor(Qt::black);
}

void TOberForm::ShowActiveCaption()
{
    LabelBl->SetFontColor(Qt::white);
    HeadShade->SetStartColor(QColor(0, 0, 255));
}

void TOberForm::ShowInactiveCaption()
{
    LabelBl->SetFontColor(QColor(192, 192, 192));
    HeadShade->SetStartColor(Qt::black);
}

void TOberForm::FormActivate()
{
    ShowActiveCaption();
}

void TOberForm::FormDeactivate()
{
    ShowInactiveCaption();
}

void TOberForm::FormResize()
{
    LayoutEdges();
}

void DeactivateOberForm()
{
    for (TOberForm *f : plainForms())
        if (f->isActiveWindow()) {
            f->ShowInactiveCaption();
            return;
        }
}

void ReactivateOberForm()
{
    for (TOberForm *f : plainForms())
        if (f->isActiveWindow()) {
            f->ShowActiveCaption();
            return;
        }
}
