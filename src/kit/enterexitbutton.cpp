#include "kit/enterexitbutton.h"

#include "kit/kitfiles.h"
#include "kit/oberform.h"
#include "platform/paths.h"
#include "platform/rounding.h"

#include <QCoreApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

// ---------------------------------------------------------------------------
// TEnterExitButton

TEnterExitButton::TEnterExitButton(QWidget *parent) : QPushButton(parent)
{
    setAttribute(Qt::WA_Hover);
}

void TEnterExitButton::setFaceState(int s)
{
    if (FFaceState == s)
        return;
    FFaceState = s;
    FaceStateChanged();
    update();
}

void TEnterExitButton::enterEvent(QEnterEvent *e)
{
    FMouseInside = true;
    emit MouseEnter();
    if (!FFocused && isEnabled())
        setFaceState(0);
    QPushButton::enterEvent(e);
}

void TEnterExitButton::leaveEvent(QEvent *e)
{
    FMouseInside = false;
    emit MouseExit();
    if (!FFocused && isEnabled())
        setFaceState(1);
    QPushButton::leaveEvent(e);
}

void TEnterExitButton::focusInEvent(QFocusEvent *e)
{
    FFocused = true;
    setFaceState(0);
    QPushButton::focusInEvent(e);
}

void TEnterExitButton::focusOutEvent(QFocusEvent *e)
{
    FFocused = false;
    if (!FMouseInside)
        setFaceState(isEnabled() ? 1 : 2);
    QPushButton::focusOutEvent(e);
}

void TEnterExitButton::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::EnabledChange)
        setFaceState(isEnabled() ? 1 : 2);
    QPushButton::changeEvent(e);
}

// ---------------------------------------------------------------------------
// Button arithmetic

int SnapBlueWidth(int width)
{
    if (width > 175)
        return 200;
    if (width >= 126)
        return 150;
    if (width >= 40)
        return 100;
    return 35;
}

TAccelCaption SplitAccelCaption(const QString &caption, bool showAccelChar)
{
    TAccelCaption r{caption, -1};
    if (!showAccelChar)
        return r;
    const qsizetype amp = caption.indexOf(u'&');
    if (amp < 0 || caption.mid(amp, 2) == QLatin1String("&&"))
        return r;
    r.text = caption.left(amp) + caption.mid(amp + 1);
    r.underline = amp < r.text.size() ? int(amp) : -1;
    return r;
}

QFont FitCaptionFont(QFont font, const QString &shownText, int buttonWidth)
{
    auto width = [&] { return QFontMetrics(font).horizontalAdvance(shownText); };
    if (width() <= buttonWidth)
        return font;
    font.setBold(false);
    int size = font.pointSize() > 0 ? font.pointSize() : 10;
    while (width() > buttonWidth && size >= 7) {
        --size;
        font.setPointSize(size);
    }
    return font;
}

// ---------------------------------------------------------------------------
// TOzoNewButton

namespace {
bool useBitmaps = true;
bool useRegions = true;
bool commandLineRead = false;

// The button unit reads its two words from the command line itself, once,
// before any switch set by the start-up code applies.
void readCommandLineOnce()
{
    if (commandLineRead || !QCoreApplication::instance())
        return;
    TOzoNewButton::ReadCommandLine(QCoreApplication::arguments());
}
} // namespace

void TOzoNewButton::SetUseBitmaps(bool on)
{
    readCommandLineOnce();
    useBitmaps = on;
}
void TOzoNewButton::SetUseRegions(bool on)
{
    readCommandLineOnce();
    useRegions = on;
}
bool TOzoNewButton::UseBitmaps()
{
    readCommandLineOnce();
    return useBitmaps;
}
bool TOzoNewButton::UseRegions()
{
    readCommandLineOnce();
    return useRegions;
}

void TOzoNewButton::ReadCommandLine(const QStringList &args)
{
    commandLineRead = true;
    for (const QString &a : args.mid(1)) {
        const QString u = a.toUpper();
        if (u == QLatin1String("NOBUTTONSHAPES"))
            useRegions = false;
        else if (u == QLatin1String("NOBUTTONBITMAPS"))
            useRegions = useBitmaps = false;
    }
}

TOzoNewButton::TOzoNewButton(QWidget *parent) : TEnterExitButton(parent)
{
    readCommandLineOnce();
    resize(100, 21);
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(10);
    f.setBold(true);
    setFont(f);
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, &TOzoNewButton::onClicked);
}

void TOzoNewButton::onClicked()
{
    SetModalResult(this, ModalResult);
}

void TOzoNewButton::SetCaption(const QString &caption)
{
    setText(caption);
    const TAccelCaption ac = SplitAccelCaption(caption, FShowAccelChar);
    if (ac.underline >= 0)
        setShortcut(QKeySequence::mnemonic(QStringLiteral("&") + ac.text.at(ac.underline)));
    else
        setShortcut(QKeySequence());
    if (FPainted)
        update();
}

void TOzoNewButton::SetShowAccelChar(bool on)
{
    if (FShowAccelChar == on)
        return;
    FShowAccelChar = on;
    SetCaption(text());
}

void TOzoNewButton::SetKind(TOzoButtonKind k)
{
    FKind = k;
    if (k == ibkOther)
        return;
    const bool regionWasOff = !FUseOzoRegion;
    // The common preset.
    setMinimumWidth(0);
    setMaximumWidth(QWIDGETSIZE_MAX);
    setFixedHeight(21);
    FUseOzoRegion = true;
    FColor = QColor(210, 210, 210);
    FColorDisabled = QColor(245, 245, 245);
    QFont f = font();
    f.setFamily(QStringLiteral("Arial"));
    f.setPointSize(10);
    setFont(f);
    FCaptionHCenter = k == ibkBlue;
    // The kinds' own values; 0 width and null colours or captions leave the
    // property as it is.
    struct Preset {
        const char *active, *normal, *disabled;
        QRgb colorActive;
        bool isDefault, isCancel;
        int width;
        const char *caption;
        QRgb fontColor;
        int captionLeft;
        int modalResult;
    };
    constexpr QRgb blueActive = 0xCFD8F9, greenActive = 0xB3FFB3, keep = 0x01000000;
    static const Preset presets[] = {
        /* ibkOK */ {"OKGREEN", "OKSILVER", "", greenActive, true, false, 100, "OK", 0x008000, 50, mrOk},
        /* ibkCancel */ {"CANCELRED", "CANCELSILVER", "", 0xF6CDCD, false, true, 100, "Abbruch", 0x800000, 35, mrCancel},
        /* ibkPPP */ {"PPPBLUE", "PPPSILVER", "PPPDISABLED", blueActive, false, false, 35, "", keep, 1, mrNone},
        /* ibkHelp */ {"HELPCYAN", "HELPSILVER", "", blueActive, false, false, 100, "Hilfe", 0x008080, 43, mrNone},
        /* ibkPlus */ {"PLUSGREEN200", "PLUSSILVER200", "", greenActive, false, false, 200, nullptr, 0x008000, 35, mrNone},
        /* ibkBlue */ {"BLUE", "SILVER", "", blueActive, false, false, 0, nullptr, 0x000080, -1, mrNone},
        /* ibkInfo */ {"INFOBLUE", "INFOSILVER", "", blueActive, false, false, 100, "Info", 0x000080, 44, mrNone},
    };
    const Preset &pr = presets[k];
    int w = pr.width;
    QString active = QLatin1String(pr.active), normal = QLatin1String(pr.normal);
    if (k == ibkBlue) {
        // The blue kind snaps its width and takes the faces of that width.
        w = SnapBlueWidth(width());
        active += QString::number(w);
        normal += QString::number(w);
    }
    FResBmp[0] = active;
    FResBmp[1] = normal;
    FResBmp[2] = QLatin1String(pr.disabled);
    FColorActive = QColor::fromRgb(pr.colorActive);
    setDefault(pr.isDefault);
    SetCancel(pr.isCancel);
    if (k == ibkPPP)
        SetCaption(useBitmaps ? QString() : QStringLiteral("..."));
    else if (pr.caption)
        SetCaption(QLatin1String(pr.caption));
    if (pr.fontColor != keep)
        FFontColor = QColor::fromRgb(pr.fontColor);
    if (pr.captionLeft >= 0)
        FCaptionLeft = pr.captionLeft;
    ModalResult = pr.modalResult;
    setFixedWidth(w);
    FFace = QImage();
    FFaceOfState = -1;
    if (regionWasOff && FPainted)
        buildRegion();
    update();
}

void TOzoNewButton::setFaceName(int state, const QString &name)
{
    if (FResBmp[state] == name)
        return;
    FResBmp[state] = name;
    FFace = QImage();
    FFaceOfState = -1;
    if (FPainted && FaceState() == state)
        update();
}

void TOzoNewButton::SetBitmapPath(const QString &s)
{
    if (FBitmapPath == s)
        return;
    FBitmapPath = s;
    FFace = QImage();
    FFaceOfState = -1;
    if (FPainted)
        update();
}

void TOzoNewButton::setStateColor(QColor &field, const QColor &c, int state)
{
    if (field == c)
        return;
    field = c;
    // The normal colour also colours a disabled caption.
    if (FPainted && (FaceState() == state || (state == 1 && FaceState() == 2)))
        update();
}

QString TOzoNewButton::FaceFile(const QString &name) const
{
    const QString folder = FBitmapPath.isEmpty()
        ? platform::joinPath(KitProgramFolder(), QStringLiteral("Skins/Buttons"))
        : platform::toNativeSeparators(FBitmapPath);
    return platform::joinPath(folder, name + QStringLiteral(".bmp"));
}

QString TOzoNewButton::CurrentFaceName() const
{
    if (FaceState() == 0)
        return FResBmp[0];
    if (FaceState() == 2 && !FResBmp[2].isEmpty())
        return FResBmp[2];
    return FResBmp[1];
}

void TOzoNewButton::FaceStateChanged()
{
    if (!FPressed)
        return;
    // A button disabled or left while held shows no pressed look any more.
    if (FaceState() == 2)
        FPressed = false;
}

void TOzoNewButton::buildRegion()
{
    if (!useRegions)
        return;
    setFixedWidth(width());
    QPainterPath path;
    // The region ends at row 21 of a button of the design's height; a zoomed
    // button keeps the shape at its own height.
    path.addRoundedRect(QRectF(1, 1, width(), std::max(20, height() - 1)), 8, 9);
    setMask(QRegion(path.toFillPolygon().toPolygon()));
    FHasRegion = true;
    FRegionApplied = true;
}

void TOzoNewButton::resizeEvent(QResizeEvent *e)
{
    TEnterExitButton::resizeEvent(e);
    if (FHasRegion) {
        clearMask();
        FHasRegion = false;
    }
}

void TOzoNewButton::drawFace(QPainter &p, int offset) const
{
    if (FFace.size() == size()) {
        p.drawImage(offset, offset, FFace);
        return;
    }
    // A zoomed button stretches its face rather than showing a cut one.
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRect(offset, offset, width(), height()), FFace);
}

QRect TOzoNewButton::CaptionRect(QFont *drawnIn) const
{
    const TAccelCaption ac = SplitAccelCaption(text(), FShowAccelChar);
    QFont f = font();
    int x;
    if (useBitmaps && !FCaptionHCenter) {
        // Right of the face's symbol: the caption shrinks to the room there.
        x = FCaptionLeft;
        f = FitCaptionFont(f, ac.text, width() - x - 2);
    } else {
        f = FitCaptionFont(f, ac.text, width());
        const int tw = QFontMetrics(f).horizontalAdvance(ac.text);
        x = int(platform::mulDivRoundHalfEven(width() - tw, 1, 2));
    }
    const QFontMetrics fm(f);
    const int y = int(platform::mulDivRoundHalfEven(height() - fm.height(), 1, 2));
    if (drawnIn)
        *drawnIn = f;
    return QRect(x, y, fm.horizontalAdvance(ac.text), fm.height());
}

void TOzoNewButton::paintEvent(QPaintEvent *)
{
    FPainted = true;
    QPainter p(this);
    const int state = FaceState();
    // 1. The face of the state.
    if (useBitmaps) {
        if (FFace.isNull() || FFaceOfState != state) {
            FFace = LoadKitImage(FaceFile(CurrentFaceName()));
            FFaceOfState = state;
        }
    } else if (!FFace.isNull()) {
        FFace = QImage();
        FFaceOfState = -1;
    }
    // 2. Face or flat colour.
    if (FFace.isNull()) {
        const QColor fill = state == 0 ? FColorActive : state == 2 ? FColorDisabled : FColor;
        p.fillRect(rect(), fill);
        p.setPen(Qt::black);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    } else if (FPressed) {
        drawFace(p, 1);
        p.setPen(FColor);
        p.drawLine(0, height() - 1, 0, 0);
        p.drawLine(0, 0, width() - 1, 0);
    } else {
        drawFace(p, 0);
    }
    // 3. Where the caption goes.
    const TAccelCaption ac = SplitAccelCaption(text(), FShowAccelChar);
    QFont f;
    const QRect caption = CaptionRect(&f);
    const QFontMetrics fm(f);
    int x = caption.x();
    int y = caption.y();
    if (FPressed) {
        ++x;
        ++y;
    }
    // 4. Shadow, light, then the caption itself.
    p.setFont(f);
    p.setBackgroundMode(Qt::TransparentMode);
    const QColor textColor = isEnabled() ? FFontColor : FColor;
    const struct { int dx, dy; QColor c; } passes[3] = {
        {1, 1, FFontShadowColor}, {-1, -1, FFontLightColor}, {0, 0, textColor}};
    for (const auto &pass : passes) {
        p.setPen(pass.c);
        const int tx = x + pass.dx, ty = y + pass.dy;
        p.drawText(tx, ty + fm.ascent(), ac.text);
        if (ac.underline >= 0) {
            const QChar ch = ac.text.at(ac.underline);
            const int x0 = tx + fm.horizontalAdvance(ac.text.left(ac.underline));
            const int cw = fm.horizontalAdvance(ch);
            if (cw > 0) {
                const int uy = ty + int(platform::roundHalfEven(fm.height() * 0.9));
                p.drawLine(x0, uy, x0 + cw - 1, uy);
            }
        }
    }
    // 5. The rounded region.
    if (useRegions && !FHasRegion && FUseOzoRegion)
        buildRegion();
}

void TOzoNewButton::mousePressEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton && isEnabled()) {
        FPressed = true;
        update();
    }
    TEnterExitButton::mousePressEvent(e);
}

void TOzoNewButton::mouseDoubleClickEvent(QMouseEvent *e)
{
    mousePressEvent(e);
}

void TOzoNewButton::mouseReleaseEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton) {
        FPressed = false;
        FPressedOutside = false;
        update();
    }
    TEnterExitButton::mouseReleaseEvent(e);
}

void TOzoNewButton::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Space && !e->isAutoRepeat()) {
        FPressed = true;
        update();
    }
    TEnterExitButton::keyPressEvent(e);
}

void TOzoNewButton::keyReleaseEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Space && !e->isAutoRepeat()) {
        FPressed = false;
        update();
    }
    TEnterExitButton::keyReleaseEvent(e);
}

void TOzoNewButton::enterEvent(QEnterEvent *e)
{
    if (FPressedOutside) {
        FPressed = true;
        FPressedOutside = false;
        update();
    }
    TEnterExitButton::enterEvent(e);
}

void TOzoNewButton::leaveEvent(QEvent *e)
{
    if (FPressed) {
        FPressed = false;
        FPressedOutside = true;
        update();
    }
    TEnterExitButton::leaveEvent(e);
}
