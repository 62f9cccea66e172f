// The metal frame's arithmetic, free of widgets: the resize step of each edge
// piece, the title-button row and the caption without mark-up.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <vector>

// The eight pieces a frame can be resized by (the grip counts as the
// bottom-right corner).
enum class TFramePiece { Top, Bottom, Left, Right, TopLeft, TopRight, BottomLeft, BottomRight };

// Smallest size a frame can be dragged to.
constexpr int FrameMinWidth = 100;
constexpr int FrameMinHeight = 50;

// One step of a resize drag. geom is the window's geometry, pos the pointer in
// the piece's own coordinates and press the point the drag started at (also in
// the piece's coordinates). The edges go by pos, the corners by pos - press.
// A side at or below the minimum that is pushed further in snaps to the
// minimum; no step takes a shrinking side below it, so no side can ever turn
// negative, and the opposite side stays where it is.
QRect FrameResizeStep(const QRect &geom, TFramePiece piece, const QPoint &pos, const QPoint &press,
                      const QSize &minimum = QSize(FrameMinWidth, FrameMinHeight));

// The caption without the bold, underline, italic and line-break switches
// ("\B", "\U", "\I", "\LB" in any case); colour escapes stay.
QString StripCaptionMarkup(const QString &caption);

// Where a window of the given frame size opens: centred on its owner's
// frame (or on the screen without owner), kept inside the screen's
// available area. Returns the frame's top-left corner.
QPoint CentredPlace(const QSize &frame, const QRect &owner, const QRect &screen);
// A frame at the given place moved the least into the screen's available
// area (its top-left corner first when it is larger than the area).
QPoint PlaceOnScreen(const QRect &frame, const QRect &screen);
// Beside the owner's frame, its top at the owner's: right of it when the
// screen has room there, else left of it, else kept on the screen.
QPoint BesidePlace(const QSize &frame, const QRect &owner, const QRect &screen, int gap = 4);

// Positions of the title buttons, left to right (zoom, minimise, roll up,
// maximise, close): for each visible one its x in the button panel, -1 for
// a hidden one; the close button always counts. panelWidth is 16 per button.
struct TTitleButtonRow {
    int x[5] = {-1, -1, -1, -1, -1};
    int panelWidth = 0;
};
TTitleButtonRow ArrangeTitleButtonRow(bool zoom, bool down, bool up, bool big, int buttonSize = 16);
