#include "print/labelmedium.h"

#include "dbui/pictureloader.h"
#include "engine/dataset.h"
#include "engine/field.h"
#include "engine/query.h"

#include <algorithm>

QString FieldTextOf(engine::DataSet &ds, const QString &name)
{
    engine::Field *f = ds.findField(name);
    return f ? f->asString() : QString();
}

bool FieldFlagOf(engine::DataSet &ds, const QString &name)
{
    engine::Field *f = ds.findField(name);
    return f && !f->isNull() && f->asBoolean();
}

std::optional<int> FieldNumberOf(engine::DataSet &ds, const QString &name)
{
    engine::Field *f = ds.findField(name);
    if (!f || f->isNull())
        return std::nullopt;
    return f->asInteger();
}

QImage FieldPictureOf(engine::DataSet &ds, const QString &name)
{
    engine::Field *g = ds.findField(name);
    if (!g || g->isNull())
        return QImage();
    const QByteArray bytes = g->asBytes();
    return bytes.isEmpty() ? QImage() : dbui::PictureLoader::decode(bytes).image;
}

namespace {
QString text(engine::DataSet &q, const char *name)
{
    return FieldTextOf(q, QLatin1String(name));
}
bool flag(engine::DataSet &q, const char *name)
{
    return FieldFlagOf(q, QLatin1String(name));
}
std::optional<int> number(engine::DataSet &q, const char *name)
{
    return FieldNumberOf(q, QLatin1String(name));
}
} // namespace

TLabelFilm ReadLabelFilm(engine::DataSet &q)
{
    TLabelFilm f;
    f.Exists = true;
    f.Frei = flag(q, "Frei");
    f.Titel = text(q, "Titel");
    if (engine::Field *u = q.findField(QStringLiteral("Untertitel")); u && !u->isNull())
        f.Untertitel = u->asString();
    f.Kateg = text(q, "Kateg");
    f.Len = number(q, "Len");
    f.LP = flag(q, "LP");
    f.MW = flag(q, "MW");
    f.SW = flag(q, "SW");
    f.Wide = flag(q, "Wide");
    f.Ton = text(q, "Ton");
    for (int i = 0; i < 15; ++i)
        f.Free[i] = text(q, QStringLiteral("Free%1").arg(i + 1).toLatin1().constData());
    f.Memo = text(q, "Memo");
    f.Grafik = FieldPictureOf(q, QStringLiteral("Grafik"));
    f.Wertung = number(q, "Wertung");
    return f;
}

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
    const int filmSlots = std::clamp(maxFAnz, 0, 255);
    m.Films.resize(size_t(filmSlots));
    for (TLabelFilm &f : m.Films)
        f.Exists = false;
    if (filmSlots == 0 || filmTablePath.isEmpty())
        return m;

    engine::Query q(session);
    q.setSql({QStringLiteral("SELECT * FROM"), QLatin1Char('"') + filmTablePath + QLatin1Char('"'),
              QStringLiteral("WHERE Medium = :M AND KassNr = :N AND FilmNr >= 1 AND FilmNr <= :F")});
    q.paramByName(QStringLiteral("M")).setAsString(m.Medium);
    q.paramByName(QStringLiteral("N")).setAsInteger(m.Nr);
    q.paramByName(QStringLiteral("F")).setAsInteger(filmSlots);
    q.open();
    for (q.first(); !q.eof(); q.next()) {
        const int n = number(q, "FilmNr").value_or(0);
        if (n < 1 || n > filmSlots)
            continue;
        m.Films[size_t(n - 1)] = ReadLabelFilm(q);
    }
    q.close();
    return m;
}
