#include "data/lenenter.h"

bool KindWithoutTape(const QString &kind)
{
    const QString k = kind.trimmed();
    return k == QLatin1String("VHS-KK") || k == QLatin1String("DVD");
}

int UsedMinutes(int length, bool longPlay)
{
    return longPlay ? length / 2 : length;
}

TapePositions GetTapePositions(const QString &kind, int filmNr, const QList<TapeFilm> &films)
{
    TapePositions p;
    if (KindWithoutTape(kind))
        return p;
    for (const TapeFilm &f : films) {
        if (f.filmNr < 1 || f.filmNr >= filmNr)
            continue;
        if (f.len == 0) {
            p = {-1, -1, -1, -1};
            return p;
        }
        p.beforeLen += f.len;
        p.beforeUsed += UsedMinutes(f.len, f.lp);
    }
    for (const TapeFilm &f : films) {
        if (f.filmNr <= filmNr || f.filmNr > 4)
            continue;
        if (f.len == 0) {
            p.afterUsed = p.afterLen = -1;
            break;
        }
        p.afterLen += f.len;
        p.afterUsed += UsedMinutes(f.len, f.lp);
    }
    return p;
}

HoursMinutes MinutesToHoursMinutes(int minutes)
{
    if (minutes < 0)
        return {0, minutes};
    return {minutes / 60, minutes % 60};
}

int HoursMinutesToMinutes(int hours, int minutes)
{
    return hours * 60 + minutes;
}

LenEnterPages FillLenEnterPages(const LenEnterState &s, bool hasTape)
{
    LenEnterPages p;
    const int used = UsedMinutes(s.length, s.longPlay);
    p.length = MinutesToHoursMinutes(s.length);
    if (!hasTape)
        return p;
    if (s.pos.beforeKnown()) {
        p.positionPage = true;
        int start, end;
        if (s.atts && !s.lpCounter) {
            start = s.pos.beforeUsed;
            end = start + used;
        } else if (s.atts) {
            start = s.pos.beforeUsed * 2;
            end = start + s.length;
        } else {
            start = s.pos.beforeLen;
            end = start + s.length;
        }
        p.start = MinutesToHoursMinutes(start);
        p.end = MinutesToHoursMinutes(end);
        if (s.pos.afterKnown()) {
            p.restPage = true;
            p.rest = s.tapeLength - (used + s.pos.afterUsed + s.pos.beforeUsed);
        }
    }
    return p;
}

const QString NegativeLengthMessage =
    QStringLiteral("Sie haben einen ungültigen Wert eingegeben:\nDie berechnete Spielzeit ist kleiner als Null!");
const QString NoRoomMessage = QStringLiteral(
    "Sie haben einen ungültigen Wert eingegeben:\nEs ergibt sich eine Spielzeit, für die nicht genug Platz auf "
    "dem Band ist!");

LenComputeResult ComputeLength(const LenEnterState &s, LenPage page, const LenEnterInput &in)
{
    int length = s.length, used = 0;
    switch (page) {
    case LenPage::HoursMinutes:
        length = HoursMinutesToMinutes(in.hours, in.minutes);
        used = UsedMinutes(length, s.longPlay);
        break;
    case LenPage::Position: {
        const int end = HoursMinutesToMinutes(in.endHours, in.endMinutes);
        if (!s.atts) {
            length = end - s.pos.beforeLen;
            used = UsedMinutes(length, s.longPlay);
        } else if (s.lpCounter) {
            length = end - s.pos.beforeUsed * 2;
            used = length / 2;
        } else {
            used = end - s.pos.beforeUsed;
            length = s.longPlay ? used * 2 : used;
        }
        break;
    }
    case LenPage::Rest:
        used = s.tapeLength - in.rest - s.pos.beforeUsed - s.pos.afterUsed;
        length = s.longPlay ? used * 2 : used;
        break;
    }
    if (length < 0)
        return {s.length, NegativeLengthMessage};
    // An undetermined sum (a film of unknown length) counts as nothing here,
    // so it cannot make room that is not there.
    const int before = std::max(0, s.pos.beforeUsed), after = std::max(0, s.pos.afterUsed);
    if (s.tapeLength > 0 && used + before + after > s.tapeLength)
        return {s.length, NoRoomMessage};
    return {length, {}};
}
