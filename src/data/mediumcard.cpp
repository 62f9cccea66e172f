#include "data/mediumcard.h"

#include "data/playtime.h"
#include "engine/sqldialect.h"

platform::TColor FilmNumberColor(int filmNr)
{
    switch (filmNr) {
    case 1: return platform::clNavy;
    case 2: return platform::clTeal;
    case 3: return platform::clGreen;
    case 4: return platform::clOlive;
    case 5: return platform::clMaroon;
    default: return platform::clBlack;
    }
}

bool IsTapeKind(const QString &kind)
{
    return kind.left(3) == QLatin1String("VHS");
}

SlotCaption FilmSlotCaption(const CardFilm &film, bool freeStrikeOut)
{
    QString text = film.titel;
    if (film.untertitel.startsWith(QLatin1Char('>')))
        text += film.untertitel.mid(1);
    else if (!film.untertitel.isEmpty())
        text += QStringLiteral(" - ") + film.untertitel;
    if (!film.frei)
        return {text, false};
    const int tape = film.lp ? film.len / 2 : film.len;
    if (freeStrikeOut)
        return {text + QStringLiteral(" (") + QString::number(tape) + QStringLiteral(" min.)"), true};
    return {QStringLiteral("freier Bereich: ca. ") + QString::number(tape) + QStringLiteral(" min."),
            false};
}

QString FilmSlotHint(const CardFilm &film)
{
    QString hint;
    if (film.len == 0) {
        hint = QStringLiteral("Unbekannte Spielzeit!");
    } else {
        hint = QStringLiteral("ca. ") + FormatPlayTime(film.len, 0);
        if (film.len >= 60)
            hint += QStringLiteral(" (") + FormatPlayTime(film.len, 3) + QLatin1Char(')');
    }
    if (film.lp)
        hint += QStringLiteral(" LP");
    if (film.mw)
        hint += QStringLiteral(" m.W.");
    return hint;
}

QString FilmNotesGlyph(const CardFilm &film)
{
    QString name;
    if (!film.anyFreeField && !film.hasMemo)
        name = QStringLiteral("NONOTES");
    else if (!film.hasMemo)
        name = QStringLiteral("NOMEMO");
    else
        name = QStringLiteral("NOTES");
    if (film.hasPicture)
        name += QStringLiteral("GRA");
    return name;
}

QString MediumNotesGlyph(bool anyFreeField, bool hasMemo)
{
    if (!anyFreeField && !hasMemo)
        return QStringLiteral("NONOTES");
    if (!hasMemo)
        return QStringLiteral("NOMEMO");
    return QStringLiteral("NOTES");
}

PercentBar LayoutPercentBar(int barWidth, int capacity, int rest, const QList<CardFilm> &films,
                            bool atts)
{
    PercentBar bar;
    // A bought cassette or a DVD has no capacity: nothing to divide by.
    if (capacity <= 0 || barWidth <= 2)
        return bar;
    const int inner = barWidth - 2;
    int left = 0;
    int endPos = 0;
    int shownSum = 0;
    for (int i = 0; i < films.size() && i < 5; ++i) {
        const CardFilm &f = films.at(i);
        if (f.len == 0) {
            // One film of unknown length: the whole bar is unknown from here.
            bar.unknown = true;
            bar.unknownLeft = left;
            break;
        }
        const int tape = f.lp ? f.len / 2 : f.len;
        const int w = int(qint64(inner) * qAbs(tape) / capacity);
        PercentSegment s;
        s.slot = i + 1;
        s.left = left;
        s.width = qMin(w, qMax(0, inner - left));
        s.freeArea = f.frei;
        endPos += tape;
        shownSum += qAbs(tape);
        s.hint = QString::number(100.0 * qAbs(tape) / capacity, 'f', 1).replace(QLatin1Char('.'), QLatin1Char(','))
            + QLatin1Char('%');
        if (atts)
            s.hint += QStringLiteral(" (bis: ") + FormatPlayTime(endPos, 4) + QLatin1Char(')');
        bar.films.append(s);
        left += s.width;
    }
    if (!bar.unknown) {
        const int beyond = capacity - rest - shownSum;
        if (double(beyond) / capacity > 0.0001) {
            PercentSegment s;
            s.slot = 6;
            s.left = left;
            s.width = qMin(int(qint64(inner) * beyond / capacity), qMax(0, inner - left));
            s.hint = QString::number(100.0 * beyond / capacity, 'f', 1).replace(QLatin1Char('.'), QLatin1Char(','))
                + QLatin1Char('%');
            bar.beyond = s;
        }
    }
    return bar;
}

StatusLine StatusLineTexts(bool databaseOpen, bool filtered, int mediaCount, int filmCount,
                           const QString &mediaTablePath)
{
    StatusLine s;
    if (!databaseOpen) {
        s.right = QStringLiteral("Keine Datei geöffnet.");
        s.alarm = true;
        return s;
    }
    if (filtered) {
        s.left = QString::number(mediaCount) + QStringLiteral(" Medien gefunden");
        s.right = QStringLiteral("Die Datei ist momentan GEFILTERT, Sie sehen nicht alle Datensätze!");
        s.alarm = true;
        return s;
    }
    s.left = QString::number(mediaCount) + QStringLiteral(" Medien, ") + QString::number(filmCount)
        + QStringLiteral(" Filme");
    s.right = QStringLiteral("Datei: ") + mediaTablePath;
    s.hint = s.right;
    return s;
}

platform::TColor ReturnDateColor(const QDate &returnDate, const QDate &today)
{
    if (!returnDate.isValid())
        return platform::clBlack;
    if (today < returnDate)
        return platform::clGreen;
    if (today == returnDate)
        return platform::clMaroon;
    return platform::clRed;
}

LendingDates LendingAfterBorrowerChange(const QString &borrower, const LendingDates &now,
                                        const QDate &calendarDate, int regelVerleihzeit)
{
    LendingDates d = now;
    if (borrower.trimmed().isEmpty())
        return {};
    if (!d.lent.isValid())
        d.lent = calendarDate;
    if (!d.back.isValid() && d.lent.isValid())
        d.back = d.lent.addDays(regelVerleihzeit);
    return d;
}

LendingDates LendingAfterCalendarPick(bool forLendingDate, const QDate &picked,
                                      const LendingDates &now, int regelVerleihzeit)
{
    LendingDates d = now;
    if (forLendingDate) {
        const qint64 span = now.lent.isValid() && now.back.isValid() ? now.lent.daysTo(now.back)
                                                                     : qint64(regelVerleihzeit);
        d.lent = picked;
        d.back = picked.addDays(span);
    } else {
        d.back = picked;
        // Brought into order: the lending date gives way.
        if (d.lent.isValid() && d.back < d.lent)
            d.lent = d.back;
    }
    return d;
}

QString MediumInputProblem(qint64 len, const QDate &lent, const QDate &back, const QString &lenCaption,
                           const QString &lentCaption, const QString &backCaption)
{
    if (len < 0)
        return QStringLiteral("Das Feld \"%1\" darf nicht kleiner als 0 sein.").arg(lenCaption);
    if (lent.isValid() && back.isValid() && back < lent)
        return QStringLiteral("Das Datum im Feld \"%1\" darf nicht vor dem Datum im Feld \"%2\" liegen.")
            .arg(backCaption, lentCaption);
    return QString();
}

QString FieldCaptionOfLabel(const QString &labelText)
{
    QString t = labelText;
    t.remove(QLatin1Char('&'));
    t = t.trimmed();
    if (t.endsWith(QLatin1Char(':')))
        t.chop(1);
    return t.trimmed();
}

bool RemainingTimeFilterAccepts(int rest, int maxFree, int minRest, bool onMaxFree)
{
    return rest >= minRest || (onMaxFree && maxFree >= minRest);
}

bool IsLabelRelevantChange(const QString &fieldName, const QString &kind, bool printRest)
{
    if (fieldName.compare(QLatin1String("Medium"), Qt::CaseInsensitive) == 0
        || fieldName.compare(QLatin1String("Nr"), Qt::CaseInsensitive) == 0)
        return true;
    return fieldName.compare(QLatin1String("Len"), Qt::CaseInsensitive) == 0 && printRest
        && kind == QLatin1String("VHS-SB");
}

QStringList StandardMediumKinds()
{
    return {QStringLiteral("Laserd"), QStringLiteral("CDi"),   QStringLiteral("DV"),
            QStringLiteral("miniDV"), QStringLiteral("Hi8"),   QStringLiteral("VHS-C"),
            QStringLiteral("DVD-R"),  QStringLiteral("DVD-RW"), QStringLiteral("DVD+R"),
            QStringLiteral("DVD+RW")};
}

QStringList StoredKindsQueryLines(const QString &mediaTable)
{
    static const char *const excluded[] = {"VHS-SB", "VHS-KK", "DVD",   "CDi",   "miniDV",
                                           "DV",     "VHS-C",  "Hi8",   "Laserd", "DVD-R",
                                           "DVD+R",  "DVD-RW", "DVD+RW"};
    QStringList lines{QStringLiteral("SELECT DISTINCT Medium FROM"), SQLTableRef(mediaTable)};
    bool first = true;
    for (const char *k : excluded) {
        lines << (first ? QStringLiteral("WHERE ") : QStringLiteral("AND "))
                + QStringLiteral("Medium<>\"%1\"").arg(QLatin1String(k));
        first = false;
    }
    return lines;
}

QStringList LastMediumNrQueryLines(const QString &mediaTable, bool perKind)
{
    QStringList lines{QStringLiteral("SELECT Max(Nr) FROM"), SQLTableRef(mediaTable)};
    if (perKind)
        lines << QStringLiteral("WHERE Medium = :Kind");
    return lines;
}
