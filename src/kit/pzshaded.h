// TPZShaded: an area painted as a colour gradient in bands, with an optional
// caption centred on it.
#pragma once

#include <QColor>
#include <QRect>
#include <QVector>
#include <QWidget>

enum TPZDirection {
    drVertical,
    drHorizontal,
    drVerticalInOut,
    drHorizontalInOut,
    drDiagonalLeftRight,
    drDiagonalRightLeft
};

using TPZGraduation = unsigned char;

struct ShadedBand {
    QRect rect;
    QColor color;
};

// The bands that paint an area of the given size, in 16.16 fixed point: the
// band size is 100 / graduation pixels (the whole extent for graduation 0).
// Rows or columns past the last whole band take the last band's colour; an
// area shorter than one band (or two, for the in-out shapes) is one band in
// the start colour.
QVector<ShadedBand> ShadedBands(const QSize &size, const QColor &start, const QColor &end,
                                TPZGraduation graduation, TPZDirection direction);

class TPZShaded : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QColor StartColor READ StartColor WRITE SetStartColor)
    Q_PROPERTY(QColor EndColor READ EndColor WRITE SetEndColor)
    Q_PROPERTY(int Graduation READ Graduation WRITE setGraduationValue)
    Q_PROPERTY(int Direction READ Direction WRITE setDirectionValue)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)

public:
    explicit TPZShaded(QWidget *parent = nullptr);

    QColor StartColor() const { return m_start; }
    void SetStartColor(const QColor &c);
    QColor EndColor() const { return m_end; }
    void SetEndColor(const QColor &c);
    TPZGraduation Graduation() const { return m_graduation; }
    void SetGraduation(TPZGraduation g);
    TPZDirection Direction() const { return m_direction; }
    void SetDirection(TPZDirection d);
    QString Caption() const { return m_caption; }
    void SetCaption(const QString &c);
    // The caption's colour (the font's colour of the design).
    QColor FontColor() const { return m_fontColor; }
    void SetFontColor(const QColor &c);

protected:
    void paintEvent(QPaintEvent *) override;
    void changeEvent(QEvent *e) override;

private:
    void setGraduationValue(int g) { SetGraduation(TPZGraduation(qBound(0, g, 255))); }
    void setDirectionValue(int d) { SetDirection(TPZDirection(d)); }

    QColor m_start = QColor(0, 0, 255);
    QColor m_end = QColor(0, 0, 0);
    TPZGraduation m_graduation = 25;
    TPZDirection m_direction = drVertical;
    QString m_caption;
    QColor m_fontColor = Qt::black;
};
