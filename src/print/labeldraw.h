// One medium's label on a sheet: the frame split of the active format
// (DrawLabel) and one print type into one label rectangle (DrawMediumLabel):
// the refusals, the outline, the foot symbol, the film lines with their
// symbols or the films' pictures, and the medium number. The result is a
// layout in device pixels plus what the caller has to tell the user.
#pragma once

#include "print/labeldata.h"
#include "print/labelformat.h"
#include "print/labellayout.h"
#include "print/labelscale.h"

#include <QFont>
#include <QImage>
#include <QString>

enum class TLabelOutcome {
    Drawn,
    OtherMediumRefused, // neither self-recorded, bought cassette nor DVD, on a built-in kind
    DvdRefused,         // a DVD on the case top or the window label
    NoFilm,             // printing a self-recorded cassette without films
};

struct TLabelDrawing
{
    TLabelLayout Layout;
    TLabelOutcome Outcome = TLabelOutcome::Drawn;
    bool TooSmall = false; // printing: a title ended at 4 points or below
};

// The messages of the outcomes while printing (caption, text); empty for Drawn.
QString LabelOutcomeCaption(TLabelOutcome o);
QString LabelOutcomeText(TLabelOutcome o);
extern const QString LabelTooSmallCaption, LabelTooSmallText;

// The film count of a label: the highest n in 1..maxFAnz whose film exists.
int LabelFilmCount(const TLabelMedium &m, int maxFAnz);
// The gap between film lines in tenths of a millimetre:
// 10 - (n - 1) * 10 / (maxFAnz - 1), halves to even; 0 with maxFAnz <= 1.
int LabelLineGap(int filmCount, int maxFAnz);
// The line pitch in pixels: ((H / 10 - margin) - (n - 1) * g / 10) * scale / n,
// halves to even; margin 4 mm on the window label, else 2 mm. 0 without films.
int LabelLinePitch(int heightTenths, int filmCount, int gapTenths, bool windowLabel, double pixelsPerMmY);
// Baseline of film k (1-based) below the label's top on one-line labels.
int LabelBaselineOffset(int k, int pitch, int gapTenths, int titleTextHeight, double pixelsPerMmY);

// The label kind and the caller's self-adhesive switch (ZFOn when printing,
// off in the preview and the label list) come with every label.
struct TLabelTarget
{
    quint8 Kind = lkSpine;
    bool SelfAdhesive = false;
};

void DrawMediumLabel(TLabelDrawing &out, const TLabelMedium &medium, bool printing, TLabelFormat f, int position,
                     const TLabelTarget &target, const TLabelSettings &s, const TLabelScale &scale,
                     TLabelArtProvider &art);
// The active format's label: its outline once and each frame's sub-label
// when it has frames, else the format itself; Border of the format is set.
TLabelDrawing DrawLabel(const TLabelMedium &medium, bool printing, const TLabelFormat &f, int position,
                        const TLabelTarget &target, const TLabelSettings &s, const TLabelScale &scale,
                        TLabelArtProvider &art);
