#include "print/calibrationpage.h"

#include <QFontMetrics>

void DrawCalibrationTestPage(TLabelLayout &out, const QSize &page, const TLabelScale &s)
{
    const int y20 = s.py(200), x20 = s.px(200);
    out.line(QPoint(0, y20), QPoint(page.width() - s.px(100), y20), Qt::black, std::max(1, s.px(3)));
    out.line(QPoint(x20, 0), QPoint(x20, page.height() / 2), Qt::black, std::max(1, s.px(3)));
    const QFont font = LabelFontAtPoints(QFont(QStringLiteral("Arial")), 10, s.yPerMm());
    const int ascent = QFontMetrics(font).ascent();
    const struct {
        int top;
        const char *text;
    } lines[] = {{50, "Messen Sie die Abstände der senkrechten Linie zum linken Seitenrand"},
                 {110, "sowie der waagerechten Linie zum oberen Seitenrand."},
                 {200, "Geben Sie diese Abstände (in zehntel Millimetern!) in Tarvo"},
                 {260, "in Schritt 2 der Drucker-Kalibrierung ein!"}};
    for (const auto &l : lines)
        out.text(QPoint(s.px(50), s.py(l.top) + ascent), font, QString::fromUtf8(l.text));
}
