// The form bases every window of the program derives from. A window is
// described the way a form designer describes it: its constructor sets the
// border style, border icons, Tag, size and caption, creates its controls
// with their names and absolute positions, and the form's lifecycle calls the
// handlers (FormCreate once, FormShow on every show, FormActivate, ...) that
// derived windows override, calling the base handler first.
//
// TOberFormAbs   the common base: the three caption operations, the
//                lifecycle, modal results.
// TOberForm      the older plain self-drawn frame (no skins, no rounding, no
//                zoom): the category window and one older message box.
// TOberFormMetal the metal frame (kit/oberformmetal.h).
#pragma once

#include "kit/framegeometry.h"
#include "kit/framewidgets.h"
#include "kit/pzlabel.h"
#include "kit/pzshaded.h"
#include "kit/pzspeedbutton.h"
#include "kit/modalresult.h"

#include <QDialog>
#include <QPointer>

class QMenu;
class QAction;
class QTimer;

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
enum TCloseAction { caNone, caHide, caFree, caMinimize };

class TOberFormAbs : public QDialog
{
    Q_OBJECT
public:
    explicit TOberFormAbs(QWidget *parent = nullptr);
    ~TOberFormAbs() override;

    // The form description (set before the form is created).
    TFormBorderStyle BorderStyle = bsSizeable;
    int BorderIcons = biSystemMenu | biMinimize | biMaximize;
    int Tag = 0;
    QColor Color{192, 192, 192};

    // Runs FormCreate once; showing the form does it when nobody did.
    void Create();
    bool IsCreated() const { return FCreated; }
    // A dialog of the form description (border style dialog).
    bool IsDialog() const { return BorderStyle == bsDialog; }

    virtual void ShowInactiveCaption() {}
    virtual void ShowActiveCaption() {}
    // Sets S as the caption of both caption labels, where present.
    virtual void SetCaption(const QString &s);
    // Text of the front caption label, or the window title without one.
    QString GetCaptionText() const;

    // Ends the modal loop: FormClose is asked first (caNone keeps the form
    // open); accept() gives mrOk, reject() mrCancel.
    void done(int r) override;
    void accept() override { done(mrOk); }
    void reject() override { done(mrCancel); }
    void setVisible(bool visible) override;

    // Components of the frame, by their names (null where a base has none).
    TFramePanel *PanelHead = nullptr;
    TFrameImage *ImgSysM = nullptr;
    TFrameImage *RundLO = nullptr;
    TFrameImage *RundRO = nullptr;
    TFramePanel *PanelGraySpace = nullptr;
    TFramePanel *PanelHeadShade = nullptr;
    TPZShaded *HeadShade = nullptr;
    TPZLabel *LabelWh = nullptr;
    TPZLabel *LabelBl = nullptr;
    TFramePanel *PanelX = nullptr;
    TPZSpeedButton *WinZoomButt = nullptr;
    TPZSpeedButton *WinDownButt = nullptr;
    TPZSpeedButton *WinUpButt = nullptr;
    TPZSpeedButton *WinBigButt = nullptr;
    TPZSpeedButton *WinXButt = nullptr;
    TFramePanel *PanelClient = nullptr;
    TFrameImage *ImgEcke = nullptr;
    TFrameImage *RundLU = nullptr;
    TFrameImage *RundRU = nullptr;
    TFrameShape *ShapeO = nullptr, *ShapeU = nullptr, *ShapeL = nullptr, *ShapeR = nullptr;
    TFrameShape *ShapeLOL = nullptr, *ShapeLOO = nullptr, *ShapeROO = nullptr, *ShapeROR = nullptr;
    TFrameShape *ShapeLUL = nullptr, *ShapeLUU = nullptr, *ShapeRUU = nullptr, *ShapeRUR = nullptr;
    QMenu *SysMen = nullptr;
    QAction *MenMinimieren = nullptr;
    QAction *MenMaximieren = nullptr;
    QAction *MenLinie = nullptr;
    QAction *MenSchlieen = nullptr;

    // Where the program put the window at its last show. Until the window
    // is first exposed the window system may still report an older place
    // (a window manager that reparents it); the place is then asked for
    // again, so that what Qt knows and what the screen shows agree.
    QPoint PlacedAt() const { return FPlacedAt; }

    bool RolledUp() const { return FRolledUp; }
    bool IsMaximized() const { return FMaximized; }
    // Height of the title bar.
    int TitleHeight() const;
    void ArrangeTitleButtons();

    // The drag under way, shared by all frames (one mouse, one drag).
    struct DragState {
        bool moving = false;
        bool resizing = false;
        QPoint start;
        TFramePiece piece = TFramePiece::BottomRight;
        QPointer<QWidget> source;
    };
    static DragState &Drag();

    // The form's event handlers; a derived window's handler calls its base's
    // first (FormCreate runs once, from Create).
    virtual void FormCreate() {}
    virtual void FormShow() {}
    virtual void FormActivate() {}
    virtual void FormDeactivate() {}
    virtual void FormResize() {}
    virtual void FormClose(TCloseAction &) {}

protected:

    // The frame itself (built by TOberForm and TOberFormMetal).
    struct FrameStyle {
        bool metal = false;
        QString suffix;           // "_M" for the metal glyphs
        bool rollUpOnlyWithoutMinimise = false;
    };
    void BuildFrame(const FrameStyle &style);
    // Steps 1 to 6 of creating a self-drawn frame (both bases).
    void CreateFrame(bool standardFrames, bool allowRounding);
    virtual void SetRolledUpImpl(bool up);
    void SetMaximizedImpl(bool on);
    void LayoutFrame();
    // Edges, grip, corners, gradient and caption labels from the client's
    // and the title's size (the frame's part of FormResize).
    void LayoutEdges();
    QPixmap Glyph(const QString &name) const;
    void SetButtonGlyph(TPZSpeedButton *b, const QString &name);

    void WinXButtClick();
    void WinUpButtClick();
    void WinBigButtClick();
    void WinDownButtClick();
    void ImgSysMClick();
    void PanelHeadDblClick();

    // Rounded region (metal dialogs).
    bool FRounded = false;
    bool FStandardFrames = false;
    FrameStyle FStyle;
    bool FLayoutSuspended = false;
    // Puts back the minimum size raised for a resize by the window system.
    void restoreSysResizeMinimum();
    int FSavedHeight = 0;
    int FSavedMinHeight = 0;
    bool FRolledUp = false;
    bool FMaximized = false;
    QRect FRestoreGeometry;

    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void moveEvent(QMoveEvent *e) override;
    void changeEvent(QEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    TFrameShape *makeShape(QWidget *parent, const char *name, bool light, Qt::CursorShape cursor);
    bool pieceOf(QObject *o, TFramePiece *piece) const;
    bool isTitlePart(QObject *o) const;
    bool pressedOnButton(QObject *watched, const QPointF &pos) const;
    void beginMove(const QPoint &globalPos);
    void endMove();
    bool FCreated = false;
    bool FClosing = false;
    QPoint FPlacedAt;
    bool FPlaceCheck = false;
    bool FMoveLook = false;
    QSize FSysResizeMinSaved;
    bool FSysResizeActive = false;
};

// The older plain frame.
class TOberForm : public TOberFormAbs
{
    Q_OBJECT
public:
    explicit TOberForm(QWidget *parent = nullptr);
    void ShowInactiveCaption() override;
    void ShowActiveCaption() override;
    void FormCreate() override;
    void FormActivate() override;
    void FormDeactivate() override;
    void FormResize() override;
};

void DeactivateOberForm();
void ReactivateOberForm();

// Windows created after this call keep the window system's own frame.
void UseStandardFrames(bool on = true);
bool StandardFramesUsed();
// Forgets the loaded title glyphs (they are loaded again when next needed).
void ClearFrameGlyphCache();

// Name of the picture a title button shows ("X_M", "RESTORE_M", ...).
QString TitleGlyphName(const TPZSpeedButton *b);

// Asks the window system again for the place the program gave window w, when
// what Qt knows of w's position differs from it (nothing otherwise). The
// window's "moved" mark stays as it was.
void KeepProgramPlacement(QWidget *w, const QPoint &place);

// Ends the modal loop of the dialog w lies on with the given result (nothing
// for mrNone or when w lies on no dialog).
void SetModalResult(QWidget *w, int result);

// Creates a window the way the program does: constructs it, then runs its
// FormCreate.
template <class T, class... Args> T *CreateForm(Args &&...args)
{
    T *f = new T(std::forward<Args>(args)...);
    f->Create();
    return f;
}
