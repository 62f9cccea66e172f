// The sheet picture of the label dialogs: a paint box that shows a format's
// sheet with the start label and the labels to print marked.
#pragma once

#include "print/labelformat.h"

#include <QColor>
#include <QWidget>

class TSheetPreviewBox : public QWidget
{
    Q_OBJECT
public:
    explicit TSheetPreviewBox(QWidget *parent = nullptr);
    void SetSheet(const TLabelFormat &format, int start, int count, const QColor &outline);
    const TLabelFormat &Format() const { return m_format; }

protected:
    void paintEvent(QPaintEvent *) override;

private:
    TLabelFormat m_format;
    int m_start = 0, m_count = 1;
    QColor m_outline = Qt::black;
};
