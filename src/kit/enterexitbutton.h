// The dialogs' push buttons: TEnterExitButton knows whether the mouse is over
// it; TOzoNewButton paints a face bitmap chosen by its state, an engraved
// caption that shrinks to fit, and clips itself to a rounded region.
#pragma once

#include "kit/modalresult.h"

#include <QVariant>

#include <QColor>
#include <QImage>
#include <QPushButton>
#include <QStringList>

class TEnterExitButton : public QPushButton
{
    Q_OBJECT
public:
    explicit TEnterExitButton(QWidget *parent = nullptr);

    // 0 hot (mouse over or focused), 1 normal, 2 disabled.
    int FaceState() const { return FFaceState; }
    bool MouseInside() const { return FMouseInside; }

signals:
    void MouseEnter();
    void MouseExit();

protected:
    void enterEvent(QEnterEvent *e) override;
    void leaveEvent(QEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void changeEvent(QEvent *e) override;
    virtual void FaceStateChanged() {}

private:
    void setFaceState(int s);
    int FFaceState = 1;
    bool FMouseInside = false;
    bool FFocused = false;
};

enum TOzoButtonKind { ibkOK, ibkCancel, ibkPPP, ibkHelp, ibkPlus, ibkBlue, ibkInfo, ibkOther };

class TOzoNewButton : public TEnterExitButton
{
    Q_OBJECT
public:
    explicit TOzoNewButton(QWidget *parent = nullptr);

    TOzoButtonKind Kind() const { return FKind; }
    void SetKind(TOzoButtonKind k);

    QString ResBmpActive() const { return FResBmp[0]; }
    QString ResBmpNormal() const { return FResBmp[1]; }
    QString ResBmpDisabled() const { return FResBmp[2]; }
    void SetResBmpActive(const QString &s) { setFaceName(0, s); }
    void SetResBmpNormal(const QString &s) { setFaceName(1, s); }
    void SetResBmpDisabled(const QString &s) { setFaceName(2, s); }
    QString BitmapPath() const { return FBitmapPath; }
    void SetBitmapPath(const QString &s);

    QColor Color() const { return FColor; }
    QColor ColorActive() const { return FColorActive; }
    QColor ColorDisabled() const { return FColorDisabled; }
    QColor FontShadowColor() const { return FFontShadowColor; }
    QColor FontLightColor() const { return FFontLightColor; }
    QColor FontColor() const { return FFontColor; }
    void SetColor(const QColor &c) { setStateColor(FColor, c, 1); }
    void SetColorActive(const QColor &c) { setStateColor(FColorActive, c, 0); }
    void SetColorDisabled(const QColor &c) { setStateColor(FColorDisabled, c, 2); }
    void SetFontShadowColor(const QColor &c) { setPlain(FFontShadowColor, c); }
    void SetFontLightColor(const QColor &c) { setPlain(FFontLightColor, c); }
    void SetFontColor(const QColor &c) { setPlain(FFontColor, c); }

    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool on);
    int CaptionLeft() const { return FCaptionLeft; }
    void SetCaptionLeft(int x) { setPlain(FCaptionLeft, x); }
    bool CaptionHCenter() const { return FCaptionHCenter; }
    void SetCaptionHCenter(bool on) { setPlain(FCaptionHCenter, on); }
    bool UseOzoRegion() const { return FUseOzoRegion; }
    void SetUseOzoRegion(bool on) { FUseOzoRegion = on; }
    bool DelOldRgn = true;

    // Set on the dialog when the button is clicked (mrNone: nothing).
    int ModalResult = mrNone;
    // Escape clicks the form's cancel button.
    bool Cancel() const { return property("tarvoCancel").toBool(); }
    void SetCancel(bool on) { setProperty("tarvoCancel", on); }

    void SetCaption(const QString &caption);
    QString Caption() const { return text(); }
    // Where the caption is drawn (unpressed) and the font it is drawn in.
    QRect CaptionRect(QFont *drawnIn = nullptr) const;

    // The file of a face: the folder (BitmapPath, or "Skins/Buttons/" below
    // the program folder) followed by the name and ".bmp".
    QString FaceFile(const QString &name) const;
    // Name of the face the current state shows.
    QString CurrentFaceName() const;
    // The face loaded by the last paint (null when none is used).
    const QImage &LoadedFace() const { return FFace; }
    bool Pressed() const { return FPressed; }
    bool PaintedOnce() const { return FPainted; }

    // Class-wide switches (both on by default).
    static void SetUseBitmaps(bool on);
    static void SetUseRegions(bool on);
    static bool UseBitmaps();
    static bool UseRegions();
    // "NOBUTTONSHAPES" turns regions off, "NOBUTTONBITMAPS" bitmaps and
    // regions; compared in upper case. Read once from the program's command
    // line when the first button is made.
    static void ReadCommandLine(const QStringList &args);

protected:
    void paintEvent(QPaintEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void keyReleaseEvent(QKeyEvent *e) override;
    void enterEvent(QEnterEvent *e) override;
    void leaveEvent(QEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void FaceStateChanged() override;

private:
    void setFaceName(int state, const QString &name);
    void setStateColor(QColor &field, const QColor &c, int state);
    template <class T> void setPlain(T &field, const T &v)
    {
        if (field == v)
            return;
        field = v;
        if (FPainted)
            update();
    }
    void buildRegion();
    void drawFace(class QPainter &p, int offset) const;
    void onClicked();

    TOzoButtonKind FKind = ibkOther;
    QString FResBmp[3] = {QStringLiteral("BLUE100"), QStringLiteral("SILVER100"), QString()};
    QString FBitmapPath;
    QColor FColor{210, 210, 210};
    QColor FColorActive{207, 216, 249};
    QColor FColorDisabled{245, 245, 245};
    QColor FFontShadowColor{192, 192, 192};
    QColor FFontLightColor{225, 225, 225};
    QColor FFontColor{0, 0, 0};
    bool FShowAccelChar = true;
    int FCaptionLeft = 0;
    bool FCaptionHCenter = true;
    bool FUseOzoRegion = true;

    QImage FFace;
    int FFaceOfState = -1;
    bool FPressed = false;
    bool FPressedOutside = false;
    bool FPainted = false;
    bool FRegionApplied = false;
    bool FHasRegion = false;
};

// Button arithmetic, free of widgets.
// An ibkBlue button's width snaps to 35, 100, 150 or 200.
int SnapBlueWidth(int width);
// The caption as drawn and the index of its underlined character (-1: none).
struct TAccelCaption {
    QString text;
    int underline = -1;
};
TAccelCaption SplitAccelCaption(const QString &caption, bool showAccelChar);
// A caption wider than the button loses bold, then shrinks a point at a time
// down to 6 points.
QFont FitCaptionFont(QFont font, const QString &shownText, int buttonWidth);
