// The pointing hint "Einführungs-Hinweis": a small window beside the thing it
// explains, with an arrow that blinks until the user goes on with "Weiter".
#pragma once

#include <QDialog>
#include <QPointer>

class QLabel;
class QTimer;
class TOzoNewButton;
class TPZLabel;

// Which of the two arrows points: up from the window's top edge, or left
// from its left edge.
enum class THintArrow { Up, Left };

// A plain window in the shape of its body and the arrow, so that the arrow
// can reach out of it to the thing it points at.
class TWHint : public QDialog
{
    Q_OBJECT
public:
    explicit TWHint(QWidget *parent = nullptr);

    QLabel *LabelTitle;   // "Einführungs-Hinweis"
    QLabel *ImageArrowUp, *ImageArrowLeft;
    TPZLabel *LabelHint;
    TOzoNewButton *ButtWeiter;
    QTimer *TimerBlink;   // 900 ms

    // The arrow's tip lies this far from the window's edge.
    static constexpr int ArrowTip = 15;
    // Places the chosen arrow at the arrow position - 15 (along the edge it
    // points from) and hides the other.
    void PlaceArrow(int arrowPos, THintArrow arrow);
    // The arrow shown, and where its tip points (window coordinates).
    QLabel *Arrow() const;
    QPoint ArrowTipPoint() const;

    void TimerBlinkTimer();

    // Keeps the arrow's tip on (x, y) of the anchor: placed again when shown
    // and once the window system has settled the anchor's window.
    void AnchorAt(QWidget *anchor, const QPoint &spot);
    void PlaceAtAnchor();

protected:
    void showEvent(QShowEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;

private:
    QRect body() const;
    void updateShape();
    THintArrow m_arrow = THintArrow::Up;
    QPointer<QWidget> m_anchor;
    QPoint m_spot;
};

// Shows the hint modally at the window position (global), the arrow at
// arrowPos along its edge, then frees it.
void ShowPointingHint(const QPoint &windowPos, int arrowPos, const QString &text, THintArrow arrow);
// The hint whose arrow tip points at (x, y) of the anchor widget.
void ShowPointingHintAt(QWidget *anchor, int x, int y, const QString &text);
