#include "print/labelmedium.h"

#include "dbui/pictureloader.h"
#include "engine/dataset.h"
#include "engine/field.h"
#include "engine/query.h"

#include <algorithm>

namespace {

QString text(engine::DataSet &q, const char *name)
{
    engine::Field *f = q.findField(QLatin1String(name));
    return f ? f->asString() : QString();
}

bool flag(engine::DataSet &q, const char *name)
{
    engine::Field *f = q.findField(QLatin1String(name));
    return f && !f->isNull() && f->asBoolean();
}

std::optional<int> number(engine::DataSet &q, const char *name)
{
    engine::Field *f = q.findField(QLatin1String(name));
    if (!f || f->isNull())
        return std::nullopt;
    return f->asInteger();
}

} // namespace

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
        TLabelFilm &f = m.Films[size_t(n - 1)];
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
        if (engine::Field *g = q.findField(QStringLiteral("Grafik")); g && !g->isNull()) {
            const QByteArray bytes = g->asBytes();
            if (!bytes.isEmpty())
                f.Grafik = dbui::PictureLoader::decode(bytes).image;
        }
        f.Wertung = number(q, "Wertung");
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
    auto value = [&](const char *name) {
        engine::Field *f = media.findField(QLatin1String(name));
        return f ? media.valueAt(row, f->index()) : QVariant();
    };
    QVariant nr = value("Nr");
    if (!media.findField(QStringLiteral("Nr")))
        nr = value("KassNr");
    m.Nr = nr.toInt();
    m.Medium = value("Medium").toString().left(6);
    if (const QVariant r = value("brest"); !r.isNull() && r.isValid())
        m.bRest = r.toInt();
    readLabelFilms(m, session, filmTablePath, maxFAnz);
    return m;
}
