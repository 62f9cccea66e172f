#include "print/numberlabel.h"

#include "print/labelformat.h"
#include "data/playtime.h"

#include <QFontMetrics>
#include <algorithm>

namespace {

constexpr int kFontLoopCap = 1000;

// The height of the font at a size, and the width of the text in it: a fit
// tries many sizes and grows by the height alone.
std::function<int(int)> heightAt(const QFont &base, double perMmY)
{
    return [&base, perMmY](int points) { return TextHeightPp(LabelFontAtPoints(base, points, perMmY)); };
}

std::function<int(int)> widthAt(const QFont &base, double perMmY, const QString &text)
{
    return [&base, perMmY, &text](int points) { return TextWidth(LabelFontAtPoints(base, points, perMmY), text); };
}

} // namespace

TNumberBox SeparateNumberBox(bool isDVD, int offsetTenths)
{
    TNumberBox b;
    b.left = offsetTenths;
    b.width = isDVD ? 100 : 160;
    b.height = isDVD ? 80 : 110;
    b.centreX = offsetTenths + (isDVD ? 50 : 80);
    b.maxTextWidth = isDVD ? 100 : 150;
    return b;
}

int NumberTargetHeight(bool isDVD, bool spineKind, bool withRest)
{
    return ((isDVD && spineKind) || withRest) ? 75 : 100;
}

int FitFontPoints(int points, int growHeight, int fitHeight, int maxWidth, const std::function<int(int)> &height,
                  const std::function<int(int)> &width)
{
    points = std::max(1, points);
    for (int i = 0; i < kFontLoopCap && height(points) < growHeight; ++i)
        ++points;
    for (int i = 0; i < kFontLoopCap && points > 1; ++i) {
        if (height(points) <= fitHeight && width(points) <= maxWidth)
            break;
        --points;
    }
    return points;
}

int FitFontPoints(int points, int growHeight, int fitHeight, int maxWidth, const std::function<QSize(int)> &measure)
{
    return FitFontPoints(
        points, growHeight, fitHeight, maxWidth, [&](int p) { return measure(p).height(); },
        [&](int p) { return measure(p).width(); });
}

std::optional<QString> RemainingTimeText(const TLabelMedium &m, const TLabelSettings &o, int labelKind,
                                         int maxFAnz, bool hasFreeArea)
{
    if (!o.PrintRest || labelKind == lkUser || m.Medium == QLatin1String("DVD") ||
        m.Medium == QLatin1String("VHS-KK"))
        return std::nullopt;
    const int last = o.bRest1bis4 ? std::min<int>(maxFAnz, int(m.Films.size())) : int(m.Films.size());
    for (int n = 0; n < last && m.Films[size_t(n)].Exists; ++n)
        if (!m.Films[size_t(n)].Len || *m.Films[size_t(n)].Len <= 0)
            return std::nullopt;
    QString text = m.bRest ? FormatPlayTime(*m.bRest, o.PlayTimeFormat) : QStringLiteral("----");
    if (hasFreeArea)
        text += QStringLiteral(" *");
    return text;
}

void DrawNumberLabel(TLabelLayout &out, const TNumberLabelInput &in, int offsetTenths, const TLabelScale &s)
{
    const QString text = QString::number(in.number);
    const double perMm = s.yPerMm();
    const int target = s.py(NumberTargetHeight(in.isDVD, in.spineKind, bool(in.rest)));
    const QFont restFont = LabelFontAtPoints(QFont(QStringLiteral("Arial")), 6, perMm);
    const QFontMetrics restFm(restFont);
    if (in.separate) {
        const TNumberBox box = SeparateNumberBox(in.isDVD, offsetTenths);
        const QRect r(in.label.left() + s.px(box.left), in.label.top(), s.px(box.width), s.py(box.height));
        out.rect(r);
        const int pts = FitFontPoints(in.fontPoints, target, target, s.px(box.maxTextWidth),
                                      heightAt(in.font, perMm), widthAt(in.font, perMm, text));
        const QFont f = LabelFontAtPoints(in.font, pts, perMm);
        const QFontMetrics fm(f);
        const int cx = in.label.left() + s.px(box.centreX);
        const int top = in.label.top() + s.py(5);
        out.text(QPoint(cx - fm.horizontalAdvance(text) / 2, top + fm.ascent()), f, text);
        if (in.rest) {
            const int lineY = top + fm.height();
            out.line(QPoint(r.left(), lineY), QPoint(r.left() + r.width() - 1, lineY));
            out.text(QPoint(cx - restFm.horizontalAdvance(*in.rest) / 2, lineY + 1 + restFm.ascent()), restFont,
                     *in.rest);
        }
        return;
    }
    // On the label itself, turned; the width runs along the label's height.
    const int maxWidth = s.py(in.labelHeightTenths * 8 / 10);
    const int pts = FitFontPoints(in.fontPoints, target, target, maxWidth,
                                  heightAt(in.font, perMm), widthAt(in.font, perMm, text));
    const QFont f = LabelFontAtPoints(in.font, pts, perMm);
    const QFontMetrics fm(f);
    const int w = fm.horizontalAdvance(text);
    const int midY = in.label.top() + in.label.height() / 2;
    int x = in.label.left() + s.px(offsetTenths);
    if (in.readsDownwards) {
        // Turned clockwise: the tops of the letters face right.
        if (in.rest) {
            const int restW = restFm.horizontalAdvance(*in.rest);
            out.text(QPoint(x + restFm.descent(), midY - restW / 2), restFont, *in.rest, 90);
            x += s.px(20);
            out.line(QPoint(x, midY - w / 2), QPoint(x, midY + w / 2));
        }
        out.text(QPoint(x + fm.descent(), midY - w / 2), f, text, 90);
    } else {
        // Turned anticlockwise: reading upwards, the tops face left.
        out.text(QPoint(x + fm.ascent(), midY + w / 2), f, text, -90);
        if (in.rest) {
            const int lx = x + fm.height() + 1;
            out.line(QPoint(lx, midY - w / 2), QPoint(lx, midY + w / 2));
            const int restW = restFm.horizontalAdvance(*in.rest);
            out.text(QPoint(lx + 1 + restFm.ascent(), midY + restW / 2), restFont, *in.rest, -90);
        }
    }
}

void DrawNumberOnlyLabel(TLabelLayout &out, const QRect &label, int number, const QFont &font, int fontPoints,
                         const TLabelScale &s)
{
    const QString text = QString::number(number);
    const double perMm = s.yPerMm();
    const int margin = s.py(10), marginX = s.px(10);
    // Grown to the label's height, then shrunk into the label less margins.
    const int pts = FitFontPoints(fontPoints, label.height(), label.height() - 2 * margin,
                                  label.width() - 2 * marginX,
                                  heightAt(font, perMm), widthAt(font, perMm, text));
    const QFont f = LabelFontAtPoints(font, pts, perMm);
    const QFontMetrics fm(f);
    out.text(QPoint(label.left() + (label.width() - fm.horizontalAdvance(text)) / 2,
                    label.top() + (label.height() - fm.height()) / 2 + fm.ascent()),
             f, text);
}
