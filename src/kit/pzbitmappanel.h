// TPZBitmapPanel: a panel whose face, bevels and border are painted with its
// background picture (kit/pzbackground.h): bevels at 60 % and 140 %
// brightness, the inside at 100 % over the panel's colour.
#pragma once

#include "kit/controltypes.h"
#include "kit/pzbackground.h"

#include <QWidget>

class TPZBitmapPanel : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(QColor Color READ Color WRITE SetColor)
    Q_PROPERTY(int BevelWidth READ BevelWidth WRITE SetBevelWidth)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE SetBorderWidth)
    Q_PROPERTY(bool Locked READ Locked WRITE SetLocked)

public:
    explicit TPZBitmapPanel(QWidget *parent = nullptr);
    ~TPZBitmapPanel() override;

    TPZBackground &Background() { return m_background; }
    const TPZBackground &Background() const { return m_background; }

    QString Caption() const { return m_caption; }
    void SetCaption(const QString &c);
    QColor Color() const { return m_color; }
    void SetColor(const QColor &c);
    QColor FontColor() const { return m_fontColor; }
    void SetFontColor(const QColor &c);
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment a);
    TBevelCut BevelOuter() const { return m_bevelOuter; }
    void SetBevelOuter(TBevelCut b);
    TBevelCut BevelInner() const { return m_bevelInner; }
    void SetBevelInner(TBevelCut b);
    int BevelWidth() const { return m_bevelWidth; }
    void SetBevelWidth(int w);
    int BorderWidth() const { return m_borderWidth; }
    void SetBorderWidth(int w);
    // Border style single: a sunken 2-pixel edge around everything else.
    bool BorderSingle() const { return m_borderSingle; }
    void SetBorderSingle(bool on);
    bool Locked() const { return m_locked; }
    void SetLocked(bool l) { m_locked = l; }

    // The area inside border, bevels and border ring.
    QRect InsideRect() const;

protected:
    void paintEvent(QPaintEvent *) override;
    void changeEvent(QEvent *e) override;

private:
    void bevel(QPainter &p, QRect &r, TBevelCut kind) const;

    TPZBackground m_background;
    QString m_caption;
    QColor m_color;
    QColor m_fontColor = Qt::black;
    TAlignment m_alignment = taCenter;
    TBevelCut m_bevelOuter = bvRaised;
    TBevelCut m_bevelInner = bvNone;
    int m_bevelWidth = 1;
    int m_borderWidth = 0;
    bool m_borderSingle = false;
    bool m_locked = false;
};
