#include "kit/oberformmetal.h"

#include "kit/formscaling.h"
#include "kit/framewidgets.h"
#include "kit/kitfiles.h"
#include "kit/ozowindowsizehook.h"
#include "platform/paths.h"

#include <QPainterPath>
#include <QTimer>
#include <algorithm>

namespace {

struct MetalClassData {
    bool loaded = false;
    QImage skins[3]; // brushedmetal, brushedmetalblue, brushedmetallight
};

MetalClassData &classData()
{
    static MetalClassData data;
    if (!data.loaded) {
        data.loaded = true;
        const QString folder = platform::joinPath(KitProgramFolder(), QStringLiteral("Skins/Metal"));
        const char *names[3] = {"brushedmetal.bmp", "brushedmetalblue.bmp", "brushedmetallight.bmp"};
        for (int i = 0; i < 3; ++i)
            data.skins[i] = LoadKitImage(platform::joinPath(folder, QLatin1String(names[i])));
        if (data.skins[0].isNull() || data.skins[1].isNull()) {
            for (QImage &img : data.skins)
                img = QImage();
        } else if (data.skins[2].isNull()) {
            data.skins[2] = data.skins[0];
        }
    }
    return data;
}

std::vector<TOberFormMetal *> &metalForms()
{
    static std::vector<TOberFormMetal *> list;
    return list;
}

const QColor clNavy(0, 0, 128);
const QColor clSilver(192, 192, 192);
const QColor activeLight(221, 224, 255);
const QColor inactiveLight(240, 240, 240);

} // namespace

void FreeMetalSkins()
{
    auto &d = classData();
    d.skins[0] = QImage();
    d.skins[1] = QImage();
}

void ReloadMetalClassData()
{
    classData() = MetalClassData{};
    ClearFrameGlyphCache();
}

const QImage &TOberFormMetal::SkinInactive() { return classData().skins[0]; }
const QImage &TOberFormMetal::SkinActive() { return classData().skins[1]; }
const QImage &TOberFormMetal::SkinLight() { return classData().skins[2]; }

void DeactivateMetalForm()
{
    for (TOberFormMetal *f : metalForms())
        if (f->FormIsActive) {
            f->ShowInactiveCaption();
            return;
        }
}

void ReactivateMetalForm()
{
    for (TOberFormMetal *f : metalForms())
        if (f->FormIsActive) {
            f->ShowActiveCaption();
            return;
        }
}

// ---------------------------------------------------------------------------
// TOberFormMetal

TOberFormMetal::TOberFormMetal(QWidget *parent) : TOberFormAbs(parent)
{
    BuildFrame({true, QStringLiteral("_M"), false});
    connect(WinZoomButt, &TPZSpeedButton::Click, this, [this] { WinZoomButtClick(); });
    TimerActivateVerzoegerung = new QTimer(this);
    TimerActivateVerzoegerung->setObjectName(QStringLiteral("TimerActivateVerzoegerung"));
    TimerActivateVerzoegerung->setInterval(50);
    TimerActivateVerzoegerung->setSingleShot(true);
    connect(TimerActivateVerzoegerung, &QTimer::timeout, this, [this] {
        if (FormIsActive)
            ShowActiveCaption();
    });
    TimerDeActivateVerzoegerung = new QTimer(this);
    TimerDeActivateVerzoegerung->setObjectName(QStringLiteral("TimerDeActivateVerzoegerung"));
    TimerDeActivateVerzoegerung->setInterval(100);
    TimerDeActivateVerzoegerung->setSingleShot(true);
    connect(TimerDeActivateVerzoegerung, &QTimer::timeout, this, [this] {
        if (!FormIsActive)
            ShowInactiveCaption();
    });
    metalForms().push_back(this);
}

TOberFormMetal::~TOberFormMetal()
{
    FormDestroy();
    auto &l = metalForms();
    l.erase(std::remove(l.begin(), l.end(), this), l.end());
}

void TOberFormMetal::FormDestroy()
{
    SetRounded(false);
}

void TOberFormMetal::ShowZoomButton()
{
    WinZoomButt->show();
    if (IsCreated())
        ArrangeTitleButtons();
}

void TOberFormMetal::FormCreate()
{
    FormIsActive = false;
    SkinsInUse = true;
    ActiveLookShown = true;
    SetCaption(windowTitle());
    const bool standard = StandardFramesUsed();
    CreateFrame(standard, true);
    if (FRounded)
        SetRounded(true);
    if (standard)
        SetCaption(GetCaptionText());
}

void TOberFormMetal::tileTitle(const QImage &skin)
{
    for (TFramePanel *p : {PanelHead, PanelHeadShade, PanelX})
        p->SetTile(skin);
}

void TOberFormMetal::applySkins()
{
    const auto &d = classData();
    SkinsInUse = SkinsInUse && !d.skins[0].isNull() && !d.skins[1].isNull();
    if (!SkinsInUse) {
        if (FStandardFrames) {
            MetalFaceColor = Color;
            PanelClient->SetColor(Color);
        } else {
            LabelWh->SetFontColor(Qt::black);
            LabelBl->SetFontColor(clSilver);
            MetalFaceColor = clSilver;
        }
        return;
    }
    tileTitle(d.skins[1]);
    PanelClient->SetTile(FRounded ? d.skins[2] : d.skins[0]);
    delete HeadShade;
    HeadShade = nullptr;
    PanelGraySpace->hide();
    MetalFaceColor = QColor(210, 210, 210);
    LabelWh->SetFontColor(activeLight);
    LabelBl->SetFontColor(clNavy);
    ActiveLookShown = true;
    LayoutFrame();
    FormResize();
}

void TOberFormMetal::ShowActiveCaption()
{
    showCaptionLook(true);
}

void TOberFormMetal::ShowInactiveCaption()
{
    showCaptionLook(false);
}

void TOberFormMetal::showCaptionLook(bool active)
{
    if (SkinsInUse && !HeadShade) {
        if (ActiveLookShown == active)
            return;
        const auto &d = classData();
        tileTitle(active ? d.skins[1] : d.skins[0]);
        LabelBl->SetFontColor(active ? clNavy : QColor(Qt::black));
        LabelWh->SetFontColor(active ? activeLight : inactiveLight);
        ActiveLookShown = active;
    } else {
        LabelBl->SetFontColor(active ? QColor(Qt::white) : clSilver);
        if (HeadShade)
            HeadShade->SetStartColor(active ? QColor(0, 0, 255) : QColor(Qt::black));
    }
}

void TOberFormMetal::FormShow()
{
    if (FRounded)
        DeactivateMetalForm();
    LayoutFrame();
    FormResize();
    if (ApplyWindowSizeHook(this)) {
        LayoutFrame();
        FormResize();
    }
    if (SkinsInUse && HeadShade)
        applySkins();
}

void TOberFormMetal::FormActivate()
{
    FormIsActive = true;
    TimerDeActivateVerzoegerung->stop();
    if (SkinsInUse && !HeadShade)
        TimerActivateVerzoegerung->start();
    else
        ShowActiveCaption();
}

void TOberFormMetal::FormDeactivate()
{
    FormIsActive = false;
    TimerActivateVerzoegerung->stop();
    if (SkinsInUse && !HeadShade)
        TimerDeActivateVerzoegerung->start();
    else
        ShowInactiveCaption();
}

void TOberFormMetal::FormResize()
{
    LayoutEdges();
    if (FRounded)
        SetRounded(true);
}

void TOberFormMetal::FormClose(TCloseAction &)
{
    if (FRounded)
        ReactivateMetalForm();
}

void TOberFormMetal::SetRounded(bool on)
{
    if (FRegionOn) {
        clearMask();
        FRegionOn = false;
    }
    if (!on)
        return;
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, width() + 1, height() + 1), 5.5, 5.5);
    setMask(QRegion(path.toFillPolygon().toPolygon()));
    FRegionOn = true;
    update();
}

void TOberFormMetal::WinZoomButtClick()
{
    SetZoomed(!Zoomed);
}

void TOberFormMetal::SetZoomed(bool z)
{
    if (z == Zoomed)
        return;
    ScaleFormBy(z ? ZoomInFactor : ZoomOutFactor);
    Zoomed = z;
    SetButtonGlyph(WinZoomButt, z ? QStringLiteral("ZOOMOUT") : QStringLiteral("ZOOMIN"));
}

void TOberFormMetal::ScaleForm(double f)
{
    ScaleFormBy(RatioFromFactor(f));
}

void TOberFormMetal::ScaleFormBy(const platform::Ratio &f)
{
    restoreSysResizeMinimum();
    const QSize minSize = minimumSize(), maxSize = maximumSize();
    // The window's own constraints are scaled below; until then they must
    // not hold the new size back.
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    FLayoutSuspended = true;
    ScaleWidgetTree(this, f);
    FLayoutSuspended = false;
    LayoutFrame();
    FormResize();
    int minH = minSize.height();
    if (!FRolledUp) {
        minH = ScaleConstraint(minH, f);
    } else {
        FSavedHeight = int(f.apply(FSavedHeight));
        FSavedMinHeight = ScaleConstraint(FSavedMinHeight, f);
    }
    setMinimumSize(ScaleConstraint(minSize.width(), f), minH);
    setMaximumSize(ScaleConstraint(maxSize.width(), f), ScaleConstraint(maxSize.height(), f));
}

// ---------------------------------------------------------------------------
// tOzoFormMetal

tOzoFormMetal::tOzoFormMetal(QWidget *parent) : TOberFormMetal(parent)
{
}

void tOzoFormMetal::FormCreate()
{
    TOberFormMetal::FormCreate();
    bool hadHook = false;
    const QObjectList own = children();
    for (QObject *o : own) {
        auto *w = qobject_cast<QWidget *>(o);
        if (!w || w->isWindow() || w == PanelHead || w == PanelClient
            || w->objectName().startsWith(QLatin1String("Shape")))
            continue;
        const bool hidden = w->isHidden();
        const QRect g = w->geometry();
        w->setParent(PanelClient);
        w->setGeometry(g);
        if (!hidden)
            w->show();
        LowestBottom = std::max(LowestBottom, g.top() + g.height());
        if (auto *hook = qobject_cast<TOzoWindowSizeHook *>(w)) {
            hadHook = true;
            if (!FStandardFrames)
                hook->PlusX = hook->PlusY = FRounded ? 1 : 3;
        }
    }
    if (hadHook)
        LowestBottom = 0;
    LayoutEdges();
}

void tOzoFormMetal::FormShow()
{
    TOberFormMetal::FormShow();
    if (GrownOnce)
        return;
    GrownOnce = true;
    const int need = LowestBottom + (PanelClient->BevelOuter() != bvNone ? 2 * PanelClient->BevelWidth() : 0);
    if (need > PanelClient->height())
        resize(width(), TitleHeight() + need);
}

TModalResult ExecMetalModal(QDialog &dialog)
{
    MetalFormDeactivation away;
    return kit::execDialog(dialog);
}

TModalResult ExecMetalModal(QDialog &dialog, const kit::BoxInfo &info)
{
    MetalFormDeactivation away;
    return kit::execDialog(dialog, info);
}
