#include "windows/labels/sheetpreviewbox.h"

#include "print/sheetlayout.h"

#include <QPainter>

TSheetPreviewBox::TSheetPreviewBox(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void TSheetPreviewBox::SetSheet(const TLabelFormat &format, int start, int count, const QColor &outline)
{
    if (m_format == format && m_start == start && m_count == count && m_outline == outline)
        return;
    m_format = format;
    m_start = start;
    m_count = count;
    m_outline = outline;
    update();
}

void TSheetPreviewBox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    const QSize s = SheetPreviewSize(m_format);
    TLabelLayout out;
    DrawSheetPreview(out, m_format, m_start, m_count, m_outline,
                     QPoint(std::max(0, (width() - s.width()) / 2), std::max(0, (height() - s.height()) / 2)));
    PaintLabelLayout(p, out);
}
