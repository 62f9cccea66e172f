#include "print/labelmedium.h"

#include "dbui/pictureloader.h"
#include "engine/dataset.h"
#include "engine/field.h"
#include "engine/query.h"

#include <algorithm>

namespace {

// The field's value in the current record (row < 0) or in row n.
QVariant value(engine::DataSet &q, int row, const QString &name)
{
    engine::Field *f = q.findField(name);
    if (!f)
        return {};
    return row < 0 ? f->value() : q.valueAt(row, f->index());
}

QString text(engine::DataSet &q, const char *name, int row = -1)
{
    return value(q, row, QLatin1String(name)).toString();
}

bool flag(engine::DataSet &q, const char *name, int row = -1)
{
    const QVariant v = value(q, row, QLatin1String(name));
    return !v.isNull() && v.toBool();
}

std::optional<int> number(engine::DataSet &q, const char *name, int row = -1)
{
    const QVariant v = value(q, row, QLatin1String(name));
    if (v.isNull() || !v.isValid())
        return std::nullopt;
    return v.toInt();
}

} // namespace

QString FieldTextOf(engine::DataSet &ds, const QString &name)
{
    engine::Field *f = ds.findField(name);
    return f ? f->asString() : QString();
}

bool FieldFlagOf(engine::DataSet &ds, const QString &name)
{
    const QVariant v = value(ds, -1, name);
    return !v.isNull() && v.toBool();
}

std::optional<int> FieldNumberOf(engine::DataSet &ds, const QString &name)
{
    const QVariant v = value(ds, -1, name);
    if (v.isNull() || !v.isValid())
        return std::nullopt;
    return v.toInt();
}

QImage FieldPictureOf(engine::DataSet &ds, const QString &name)
{
    engine::Field *g = ds.findField(name);
    if (!g || g->isNull())
        return QImage();
    const QByteArray bytes = g->asBytes();
    return bytes.isEmpty() ? QImage() : dbui::PictureLoader::decode(bytes).image;
}

void ReadLabelFilm(engine::DataSet &q, TLabelFilm &f, bool full, int row)
{
    f.Exists = true;
    f.Frei = flag(q, "Frei", row);
    f.Titel = text(q, "Titel", row);
    if (const QVariant u = value(q, row, QStringLiteral("Untertitel")); u.isValid() && !u.isNull())
        f.Untertitel = u.toString();
    f.Kateg = text(q, "Kateg", row);
    f.Len = number(q, "Len", row);
    f.LP = flag(q, "LP", row);
    f.MW = flag(q, "MW", row);
    f.SW = flag(q, "SW", row);
    f.Wide = flag(q, "Wide", row);
    f.Ton = text(q, "Ton", row);
    f.Wertung = number(q, "Wertung", row);
    if (!full || row >= 0)
        return;
    for (int i = 0; i < 15; ++i)
        f.Free[i] = text(q, QStringLiteral("Free%1").arg(i + 1).toLatin1().constData());
    f.Memo = text(q, "Memo");
    f.Grafik = FieldPictureOf(q, QStringLiteral("Grafik"));
}

TLabelFilm ReadLabelFilm(engine::DataSet &films)
{
    TLabelFilm f;
    ReadLabelFilm(films, f, true);
    return f;
}

namespace {

// Films 1..maxFAnz of the medium m names, through a query of its own.
void readLabelFilms(TLabelMedium &m, engine::Session *session, const QString &filmTablePath, int maxFAnz)
{
    const int filmSlots = std::clamp(maxFAnz, 0, 255);
    m.Films.resize(size_t(filmSlots));
    for (TLabelFilm &f : m.Films)
        f.Exists = false;
    if (filmSlots == 0 || filmTablePath.isEmpty())
        return;

    engine::Query q(session);
    q.setSql({QStringLiteral("SELECT * FROM"), SQLTableRef(filmTablePath),
              QStringLiteral("WHERE Medium = :M AND KassNr = :N AND FilmNr >= 1 AND FilmNr <= :F")});
    q.paramByName(QStringLiteral("M")).setAsString(m.Medium);
    q.paramByName(QStringLiteral("N")).setAsInteger(m.Nr);
    q.paramByName(QStringLiteral("F")).setAsInteger(filmSlots);
    q.open();
    for (q.first(); !q.eof(); q.next()) {
        const int n = number(q, "FilmNr").value_or(0);
        if (n < 1 || n > filmSlots)
            continue;
        ReadLabelFilm(q, m.Films[size_t(n - 1)], true);
    }
    q.close();
}

} // namespace

TLabelMedium ReadLabelMedium(engine::DataSet &media, engine::Session *session, const QString &filmTablePath,
                             int maxFAnz)
{
    TLabelMedium m;
    if (!media.active() || media.isEmpty())
        return m;
    engine::Field *nr = media.findField(QStringLiteral("Nr"));
    if (!nr)
        nr = media.findField(QStringLiteral("KassNr"));
    m.Nr = nr ? nr->asInteger() : 0;
    m.Medium = text(media, "Medium").left(6);
    m.bRest = number(media, "brest");
    readLabelFilms(m, session, filmTablePath, maxFAnz);
    return m;
}

TLabelMedium ReadLabelMediumAt(engine::DataSet &media, int row, engine::Session *session,
                               const QString &filmTablePath, int maxFAnz)
{
    TLabelMedium m;
    if (!media.active() || row < 0 || row >= media.recordCount())
        return m;
    const char *nrField = media.findField(QStringLiteral("Nr")) ? "Nr" : "KassNr";
    m.Nr = number(media, nrField, row).value_or(0);
    m.Medium = text(media, "Medium", row).left(6);
    m.bRest = number(media, "brest", row);
    readLabelFilms(m, session, filmTablePath, maxFAnz);
    return m;
}
