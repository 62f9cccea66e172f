#include "print/labelsymbols.h"

#include "data/categories.h"

#include <QStringList>

namespace {

QString soundFile(QChar code)
{
    switch (code.unicode()) {
    case 'A': return QStringLiteral("ac3.bmp");
    case 'D': return QStringLiteral("surrnd.bmp");
    case 'E': return QStringLiteral("es.bmp");
    case 'P': return QStringLiteral("mpg.bmp");
    case 'T': return QStringLiteral("dts.bmp");
    case 'X': return QStringLiteral("ex.bmp");
    default: return QString();
    }
}

QString starsFile(int n)
{
    if (n == 1)
        return QStringLiteral("1Stern.jpg");
    return QStringLiteral("%1Sterne.jpg").arg(n);
}

bool hasAttachmentContent(const TLabelFilm &film, bool memoOnly)
{
    if (!film.Memo.isEmpty())
        return true;
    if (memoOnly)
        return false;
    for (const QString &f : film.Free)
        if (!f.isEmpty())
            return true;
    return !film.Grafik.isNull();
}

} // namespace

QStringList FormatSymbolFiles(int m, bool wide, bool sw)
{
    QStringList files;
    if ((m == 0 && wide) || m == 1)
        files << (wide ? QStringLiteral("widescrn.bmp") : QStringLiteral("fullscrn.bmp"));
    if (m != 0 || sw) {
        QString c;
        if (sw)
            c = (wide && m >= 2) ? QStringLiteral("WidescrnSW") : QStringLiteral("SW");
        else if (m == 1)
            c = QStringLiteral("RGB");
        else if (wide)
            c = m == 2 ? QStringLiteral("Widescrn") : QStringLiteral("WidescrnRGB");
        else
            c = m == 2 ? QStringLiteral("Fullscrn") : QStringLiteral("RGB");
        files << c + QStringLiteral(".bmp");
    }
    return files;
}

std::vector<TSymbolSlot> FilmSymbolSlots(const TLabelFilm &film, const TLabelSettings &o, const TSymbolSwitches &sw,
                                         bool haveAttachmentPicture, bool categoryHasSymbol)
{
    std::vector<TSymbolSlot> row;
    if (sw.sound) {
        TSymbolSlot s;
        s.kind = TSymbolSlot::Sound;
        s.code = film.Ton.isEmpty() ? QChar() : film.Ton.at(0);
        row.push_back(s);
        for (const QString &f : FormatSymbolFiles(o.FormatSymbMode, film.Wide, film.SW))
            row.push_back({TSymbolSlot::Format, f, QChar()});
    }
    if (sw.category && categoryHasSymbol)
        row.push_back({TSymbolSlot::Category, QString(), QChar()});
    if (o.PrintAnhSymb && haveAttachmentPicture && hasAttachmentContent(film, o.PrintAnhSymbMemo))
        row.push_back({TSymbolSlot::Attachment, QStringLiteral("NotesSW.bmp"), QChar()});
    if (sw.stars && film.Wertung && *film.Wertung >= 0 && *film.Wertung <= 5)
        row.push_back({TSymbolSlot::Stars, starsFile(*film.Wertung), QChar()});
    return row;
}

int DrawFilmSymbols(TLabelLayout &out, const TLabelFilm &film, const QRect &first, int gap,
                    bool haveAttachmentPicture, const TSymbolSwitches &sw, const TLabelSettings &o,
                    TLabelArtProvider &art)
{
    const int category = film.Kateg.isEmpty() ? 1 : KategCharToIndex(film.Kateg.at(0));
    const int catIndex = (category < 1 || category > 62) ? 1 : category;
    QImage catSymbol;
    if (sw.category)
        catSymbol = art.categorySymbol(catIndex);
    const std::vector<TSymbolSlot> row = FilmSymbolSlots(film, o, sw, haveAttachmentPicture, !catSymbol.isNull());
    const int step = first.width() + gap;
    int left = first.left() + first.width();
    for (size_t i = 0; i < row.size(); ++i) {
        const QRect r = first.translated(-int(i) * step, 0);
        const TSymbolSlot &s = row[i];
        switch (s.kind) {
        case TSymbolSlot::Sound:
            DrawSoundSymbol(out, r, s.code, art);
            break;
        case TSymbolSlot::Format: {
            const QImage img = art.symbol(s.file);
            if (img.isNull())
                DrawCross(out, r);
            else
                out.image(r, img);
            break;
        }
        case TSymbolSlot::Category:
            out.image(r, catSymbol);
            break;
        case TSymbolSlot::Attachment: {
            const QImage img = art.symbol(s.file);
            if (!img.isNull())
                out.image(r, img);
            break;
        }
        case TSymbolSlot::Stars: {
            // Five symbols wide, ending where this position ends (one gap
            // left of the previous symbol); compact: half the size, centred.
            QRect sr;
            if (sw.compactStars) {
                const int w = r.width() * 5 / 2, h = r.height() / 2;
                sr = QRect(r.left() + r.width() - w, r.top() + (r.height() - h) / 2, w, h);
            } else {
                sr = QRect(r.left() + r.width() - 5 * r.width(), r.top(), 5 * r.width(), r.height());
            }
            const QImage img = art.symbol(s.file);
            if (!img.isNull())
                out.image(sr, img);
            left = sr.left();
            continue;
        }
        }
        left = r.left();
    }
    return left;
}

void DrawSoundSymbol(TLabelLayout &out, const QRect &r, QChar code, TLabelArtProvider &art)
{
    const QString file = soundFile(code);
    if (!file.isEmpty()) {
        const QImage img = art.symbol(file);
        if (!img.isNull())
            out.image(r, img);
        return;
    }
    const int qw = r.width() / 4, qh = r.height() / 4;
    const QRect in(r.left() + qw, r.top() + qh, r.width() - 2 * qw, r.height() - 2 * qh);
    switch (code.unicode()) {
    case 'M':
        out.ellipse(in);
        break;
    case 'S':
        out.ellipse(in.translated(-in.width() / 4, 0));
        out.ellipse(in.translated(in.width() / 4, 0));
        break;
    case 'H': {
        out.ellipse(in);
        const int x = in.left() + in.width() / 5, dy = in.height() / 10;
        out.ellipse(QRect(x, in.top() + dy, in.left() + in.width() - x, in.height() - 2 * dy));
        break;
    }
    case 'Z': {
        const int half = in.width() / 2;
        out.ellipse(QRect(in.left(), in.top(), half, in.height()));
        out.ellipse(QRect(in.left() + half, in.top(), in.width() - half, in.height()));
        break;
    }
    default:
        break;
    }
}

void DrawCross(TLabelLayout &out, const QRect &r)
{
    out.cross(r);
}
