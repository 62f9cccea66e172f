#include "kit/framegeometry.h"

#include <algorithm>

namespace {

// The far side (bottom or right) moves by d; pos of the window stays.
int farSide(int size, int d, int minimum)
{
    if (size <= minimum && d <= 0)
        return minimum;
    if (d < 0)
        return std::max(size + d, minimum);
    return size + d;
}

// The near side (top or left) moves by d; the far side stays put unless the
// size was at or below the minimum, where the size snaps to it.
void nearSide(int &pos, int &size, int d, int minimum)
{
    if (size <= minimum && d >= 0) {
        size = minimum;
        return;
    }
    if (d > 0 && size - d < minimum)
        d = size - minimum;
    pos += d;
    size -= d;
}

} // namespace

QRect FrameResizeStep(const QRect &geom, TFramePiece piece, const QPoint &pos, const QPoint &press,
                      const QSize &minimum)
{
    int left = geom.left(), top = geom.top(), w = geom.width(), h = geom.height();
    const int mw = minimum.width(), mh = minimum.height();
    const int dx = pos.x() - press.x(), dy = pos.y() - press.y();
    switch (piece) {
    case TFramePiece::Bottom: h = farSide(h, pos.y(), mh); break;
    case TFramePiece::Right: w = farSide(w, pos.x(), mw); break;
    case TFramePiece::Top: nearSide(top, h, pos.y(), mh); break;
    case TFramePiece::Left: nearSide(left, w, pos.x(), mw); break;
    case TFramePiece::BottomRight:
        h = farSide(h, dy, mh);
        w = farSide(w, dx, mw);
        break;
    case TFramePiece::BottomLeft:
        h = farSide(h, dy, mh);
        nearSide(left, w, dx, mw);
        break;
    case TFramePiece::TopLeft:
        nearSide(top, h, dy, mh);
        nearSide(left, w, dx, mw);
        break;
    case TFramePiece::TopRight:
        nearSide(top, h, dy, mh);
        w = farSide(w, dx, mw);
        break;
    }
    return QRect(left, top, w, h);
}

QString StripCaptionMarkup(const QString &caption)
{
    QString s = caption;
    for (const char *sw : {"\\B", "\\U", "\\I", "\\LB"})
        s.remove(QLatin1String(sw), Qt::CaseInsensitive);
    return s;
}

TTitleButtonRow ArrangeTitleButtonRow(bool zoom, bool down, bool up, bool big, int buttonSize)
{
    TTitleButtonRow row;
    const bool shown[5] = {zoom, down, up, big, true};
    int n = 0;
    for (int i = 0; i < 5; ++i) {
        if (!shown[i])
            continue;
        ++n;
        row.panelWidth = buttonSize * n;
        row.x[i] = i == 0 ? 0 : buttonSize * (n - 1);
    }
    return row;
}

QPoint PlaceOnScreen(const QRect &frame, const QRect &screen)
{
    if (!screen.isValid())
        return frame.topLeft();
    return QPoint(std::max(screen.left(), std::min(frame.x(), screen.right() + 1 - frame.width())),
                  std::max(screen.top(), std::min(frame.y(), screen.bottom() + 1 - frame.height())));
}

QPoint BesidePlace(const QSize &frame, const QRect &owner, const QRect &screen, int gap)
{
    QRect at(QPoint(owner.right() + 1 + gap, owner.top()), frame);
    if (screen.isValid() && at.right() > screen.right()) {
        const QRect left(QPoint(owner.left() - gap - frame.width(), owner.top()), frame);
        if (left.left() >= screen.left())
            at = left;
    }
    return PlaceOnScreen(at, screen);
}

QPoint CentredPlace(const QSize &frame, const QRect &owner, const QRect &screen)
{
    const QRect around = owner.isValid() ? owner : screen;
    const QPoint p(around.x() + (around.width() - frame.width()) / 2,
                   around.y() + (around.height() - frame.height()) / 2);
    return PlaceOnScreen(QRect(p, frame), screen);
}
