// TPZLabel: a label that shows its caption with the message mark-up
// (kit/markup.h), wrapped at its width and aligned both ways.
#pragma once

#include "kit/markup.h"

#include <QColor>
#include <QMenu>
#include <QPointer>
#include <QWidget>

class TPZLabel : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int HorzAlignment READ horzAlignmentValue WRITE setHorzAlignmentValue)
    Q_PROPERTY(int VertAlignment READ vertAlignmentValue WRITE setVertAlignmentValue)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(QColor Color READ Color WRITE SetColor)
    Q_PROPERTY(QColor FontColor READ FontColor WRITE SetFontColor)

public:
    explicit TPZLabel(QWidget *parent = nullptr);

    QString Caption() const { return m_caption; }
    void SetCaption(const QString &caption);

    TPZHorzAlignment HorzAlignment() const { return m_horz; }
    void SetHorzAlignment(TPZHorzAlignment a);
    TPZVertAlignment VertAlignment() const { return m_vert; }
    void SetVertAlignment(TPZVertAlignment a);

    // True (new labels): no background; False: the area is filled with Color.
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool t);

    QColor Color() const { return m_color; }
    void SetColor(const QColor &c);
    // The label's own text colour ("\cN" returns to it); the style is the font's.
    QColor FontColor() const { return m_fontColor; }
    void SetFontColor(const QColor &c);

    // The menu a right click opens (not owned; none by default).
    QMenu *PopupMenu() const { return m_menu; }
    void SetPopupMenu(QMenu *menu) { m_menu = menu; }

    // The lines as the next paint draws them, placed in the client area.
    MarkupLayout Layout() const;

signals:
    void Click();
    void DblClick();

protected:
    void paintEvent(QPaintEvent *) override;
    void changeEvent(QEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void contextMenuEvent(QContextMenuEvent *e) override;

private:
    int horzAlignmentValue() const { return m_horz; }
    void setHorzAlignmentValue(int v) { SetHorzAlignment(TPZHorzAlignment(v)); }
    int vertAlignmentValue() const { return m_vert; }
    void setVertAlignmentValue(int v) { SetVertAlignment(TPZVertAlignment(v)); }

    QString m_caption;
    TPZHorzAlignment m_horz = haLeft;
    TPZVertAlignment m_vert = vaTop;
    bool m_transparent = true;
    QColor m_color;
    QColor m_fontColor = Qt::black;
    QPointer<QMenu> m_menu;
};
