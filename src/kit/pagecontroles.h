// The coloured page control of the settings dialogs: every tab has its own
// colour (optionally as a gradient), pages and the control can be tiled with
// a picture shared through a TBitmapHolder, and OnChangingToTab may refuse
// a change of page, whether it comes from the mouse, the keyboard or the
// wheel.
#pragma once

#include "kit/controltypes.h"
#include "platform/tcolor.h"

#include <QList>
#include <QPixmap>
#include <QPointer>
#include <QTabBar>
#include <QWidget>
#include <functional>

class QStackedWidget;

// One picture shared by several pages or controls: a change repaints every
// linked client.
class TBitmapHolder : public QObject
{
    Q_OBJECT
public:
    explicit TBitmapHolder(QObject *parent = nullptr) : QObject(parent) {}
    ~TBitmapHolder() override;

    const QPixmap &Bitmap() const { return FBitmap; }
    void SetBitmap(const QPixmap &bitmap);
    void Link(QWidget *client);
    void Unlink(QWidget *client);
    int ClientCount() const;

private:
    QPixmap FBitmap;
    QList<QPointer<QWidget>> m_clients;
};

// What a page or the control paints behind its children: its own picture
// tiled, else the holder's, else the colour; then the panel bevels.
struct PanelLook {
    QPixmap bitmap;
    QPointer<TBitmapHolder> holder;
    QColor color;
    TBevelCut bevelInner = bvNone;
    TBevelCut bevelOuter = bvNone;
    int bevelWidth = 1;
    int borderWidth = 0;
};
void PaintPanelLook(QPainter &p, const QRect &client, const PanelLook &look);
// Links the owner to the holder in place of the one before (null: none).
void SetPanelLookHolder(PanelLook &look, QWidget &owner, TBitmapHolder *holder);

class TTabSheetes : public QWidget
{
    Q_OBJECT
public:
    explicit TTabSheetes(QWidget *parent = nullptr);
    ~TTabSheetes() override;

    platform::TColor TabColor() const { return FTabColor; }
    void SetTabColor(platform::TColor c);
    platform::TColor TabFontColor() const { return FTabFontColor; }
    void SetTabFontColor(platform::TColor c);
    QString Caption() const { return FCaption; }
    void SetCaption(const QString &c);

    const QPixmap &Bitmap() const { return m_look.bitmap; }
    void SetBitmap(const QPixmap &b);
    TBitmapHolder *BitmapHolder() const { return m_look.holder; }
    void SetBitmapHolder(TBitmapHolder *h);
    void SetBevels(TBevelCut inner, TBevelCut outer, int bevelWidth, int borderWidth);
    void SetColor(const QColor &c);

protected:
    void paintEvent(QPaintEvent *) override;

private:
    void changed();
    platform::TColor FTabColor = platform::clBtnFace;
    platform::TColor FTabFontColor = platform::clBlack;
    QString FCaption;
    PanelLook m_look;
};

// Where a tab's colour goes and where its caption sits.
struct TabFacePlan {
    QRect fill;           // the rectangle filled with the colour or gradient
    bool gradient = false;
    QColor from, to;      // gradient colours (from = to without gradient)
    int style = 0;        // gradient style: 0 for top/bottom tabs, 1 for side tabs
    QRect text;           // the caption's rectangle
    int rotation = 0;     // 0, 90 (left tabs) or 270 (right tabs)
};
TabFacePlan PlanTabFace(const QRect &tab, bool active, QTabBar::Shape shape, bool fillGradient,
                        const QColor &tabColor);

class TPageControles;

class TColorTabBar : public QTabBar
{
    Q_OBJECT
public:
    explicit TColorTabBar(TPageControles &owner);
    // The tab the keyboard or the wheel would go to from the current one
    // (the next enabled tab in that direction); -1 when there is none.
    int NextEnabledTab(int offset) const;

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void wheelEvent(QWheelEvent *e) override;

private:
    TPageControles &m_owner;
};

class TPageControles : public QWidget
{
    Q_OBJECT
public:
    explicit TPageControles(QWidget *parent = nullptr);

    // Veto of a change: the control, the tab to change to, may it change.
    std::function<void(TPageControles *sender, int toTab, bool &allowChange)> OnChangingToTab;
    // After a change of page.
    std::function<void(TPageControles *sender)> OnChange;

    int AddPage(TTabSheetes *page);
    int PageCount() const;
    // The page as a coloured sheet; null for a plain widget page.
    TTabSheetes *Page(int index) const;

    // The same in the words of Qt's tab widget, for pages of any kind.
    int addTab(QWidget *page, const QString &caption);
    int count() const { return PageCount(); }
    QWidget *widget(int index) const;
    QString tabText(int index) const;
    int currentIndex() const { return ActivePageIndex(); }
    void setCurrentIndex(int index) { SetActivePageIndex(index); }
    bool isTabVisible(int index) const;
    void setTabVisible(int index, bool visible);
    void setTabEnabled(int index, bool enabled);
    int ActivePageIndex() const;
    TTabSheetes *ActivePage() const;
    // Sets the page from the program: no veto is asked.
    void SetActivePageIndex(int index);
    void SetActivePage(TTabSheetes *page);
    // A change asked for by the user: OnChangingToTab decides.
    bool RequestPage(int index);
    int LastHitTab() const { return m_lastHit; }

    bool TabFillGradient() const { return FTabFillGradient; }
    void SetTabFillGradient(bool on);
    void SetTabPosition(QTabBar::Shape shape);
    TColorTabBar *TabBar() const { return m_bar; }

    void SetBitmap(const QPixmap &b);
    void SetBitmapHolder(TBitmapHolder *h);
    void SetBevels(TBevelCut inner, TBevelCut outer, int bevelWidth);

    // The page caption or colour changed.
    void PageChanged(TTabSheetes *page);

signals:
    // The shown page changed, by the user or the program.
    void currentChanged(int index);

protected:
    void resizeEvent(QResizeEvent *) override;
    void paintEvent(QPaintEvent *) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    friend class TColorTabBar;
    void layoutChildren();

    TColorTabBar *m_bar;
    QStackedWidget *m_stack;
    QList<QWidget *> m_pages;
    bool FTabFillGradient = false;
    int m_lastHit = -1;
    PanelLook m_look;
};
