// TPZSpeedButton: a flat button painted by the program, with a glyph strip,
// a caption, grouping (one latched button per group) and an optional pop-up
// menu that opens below it.
#pragma once

#include "kit/pzimagelist.h"

#include <QPixmap>
#include <QMenu>
#include <QPointer>
#include <QWidget>


class QShortcut;

enum TPZButtonLayout { blLeft, blRight, blTop, blBottom };
using TPZNumGlyphs = int; // 1 to 4

// Button states: what the mouse and the latch have done to the button.
enum TPZButtonState {
    bsUp = 0,            // up
    bsHot = 1,           // the mouse is over it
    bsPressed = 2,       // pressed
    bsLatched = 3,       // latched down (Down)
    bsPressedLatched = 4, // pressed while latched
    bsMenu = 5           // showing its pop-up menu
};

enum class SpeedEvent { Enter, Leave, LeftDown, LeftUp, Disable, Enable, MenuClosed };

struct SpeedContext {
    bool hasMenu = false;
    bool allowAllUp = false;
    int groupIndex = 0;
    bool enabled = true;
    bool pointerOver = false;
};

// The state a button goes to on an event.
TPZButtonState SpeedButtonNextState(TPZButtonState state, SpeedEvent event, const SpeedContext &ctx);

// Where glyph and caption go: the glyph's top-left corner and the caption's rectangle.
struct SpeedButtonPlace {
    QPoint glyph;
    QRect caption;
};
// textSize is the caption's size as measured for the layout (see the class).
SpeedButtonPlace SpeedButtonLayout(const QSize &client, const QSize &glyph, const QSize &textSize,
                                   bool hasCaption, TPZButtonLayout layout, int margin, int spacing);

class TPZSpeedButton : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool AllowAllUp READ AllowAllUp WRITE SetAllowAllUp)
    Q_PROPERTY(int GroupIndex READ GroupIndex WRITE SetGroupIndex)
    Q_PROPERTY(bool Down READ Down WRITE SetDown)
    Q_PROPERTY(int NumGlyphs READ NumGlyphs WRITE SetNumGlyphs)
    Q_PROPERTY(int Margin READ Margin WRITE SetMargin)
    Q_PROPERTY(int Spacing READ Spacing WRITE SetSpacing)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)

public:
    explicit TPZSpeedButton(QWidget *parent = nullptr);

    bool AllowAllUp() const { return m_allowAllUp; }
    void SetAllowAllUp(bool v);
    int GroupIndex() const { return m_groupIndex; }
    void SetGroupIndex(int v);
    // True exactly while latched (state 3).
    bool Down() const { return m_state == bsLatched; }
    void SetDown(bool down);

    // The glyph strip: a width that is a multiple of the height sets NumGlyphs.
    QImage GetGlyph() const { return m_glyph; }
    void SetGlyph(const QImage &glyph);
    void SetGlyph(const QPixmap &glyph) { SetGlyph(glyph.toImage()); }
    TPZNumGlyphs NumGlyphs() const { return m_numGlyphs; }
    void SetNumGlyphs(TPZNumGlyphs n);
    // Image 0 hot/pressed, 1 up, 2 disabled.
    const TPZImageList &Images() const { return m_images; }

    TPZButtonLayout Layout() const { return m_layout; }
    void SetLayout(TPZButtonLayout l);
    int Margin() const { return m_margin; }
    void SetMargin(int m); // below -1 is refused
    int Spacing() const { return m_spacing; }
    void SetSpacing(int s);
    QString Caption() const { return m_caption; }
    void SetCaption(const QString &c);

    QMenu *PopupMenu() const { return m_menu; }
    void SetPopupMenu(QMenu *menu) { m_menu = menu; }

    TPZButtonState State() const { return m_state; }
    // The glyph position and caption rectangle as painted now.
    SpeedButtonPlace Place() const;

    // What the mouse does to the button; the Qt event handlers call these.
    void MouseEnter();
    void MouseLeave();
    void MouseDownLeft();
    void MouseUpLeft();

signals:
    void Click();

protected:
    void paintEvent(QPaintEvent *) override;
    void changeEvent(QEvent *e) override;
    void enterEvent(QEnterEvent *e) override;
    void leaveEvent(QEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;

private:
    SpeedContext context() const;
    void setState(TPZButtonState s);
    void apply(SpeedEvent e);
    void releaseGroup();
    void rebuildImages();
    void updateShortcut();
    void accelerator();
    void showMenu();
    bool pointerOver() const;
    QSize captionSize() const;

    bool m_allowAllUp = false;
    int m_groupIndex = 0;
    TPZButtonState m_state = bsUp;
    QImage m_glyph;
    TPZNumGlyphs m_numGlyphs = 1;
    TPZImageList m_images;
    TPZButtonLayout m_layout = blTop;
    int m_margin = -1;
    int m_spacing = 4;
    QString m_caption;
    QPointer<QMenu> m_menu;
    QShortcut *m_shortcut = nullptr;
    bool m_insideWhilePressed = false;
};
