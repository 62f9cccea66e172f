#include "bench/common/collection.h"

#include "data/tableschemas.h"
#include "engine/session.h"
#include "engine/sqlutil.h"
#include "engine/tablefile.h"

#include <QDate>
#include <QStringList>
#include <random>

namespace benchdata {

static const char *const kKinds[] = {"VHS-SB", "VHS-KK", "DVD", "DVD-R"};

QString kindOf(int medium) { return QString::fromLatin1(kKinds[medium % 4]); }
int numberOf(int medium) { return medium / 4 + 1; }

namespace {

void insertAll(engine::Session &s, const QString &path, const QStringList &cols,
               int rows, const std::function<void(int, QVariantList &)> &row)
{
    auto f = s.attach(path);
    QStringList q;
    for (int i = 0; i < cols.size(); ++i)
        q << QStringLiteral("?");
    engine::Session::Transaction tx(s);
    engine::Stmt st(s.handle(), QStringLiteral("INSERT INTO %1(%2) VALUES(%3)")
                                    .arg(engine::Session::sqlTableName(*f), cols.join(QLatin1Char(',')), q.join(QLatin1Char(','))));
    QVariantList values;
    for (int r = 0; r < rows; ++r) {
        values.clear();
        row(r, values);
        sqlite3_reset(st.get());
        for (int i = 0; i < values.size(); ++i)
            st.bind(i + 1, values[i]);
        st.step();
    }
    sqlite3_reset(st.get());
    tx.commit();
    s.release(f);
}

} // namespace

int benchMedia()
{
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("TARVO_BENCH_MEDIA", &ok);
    return ok && n > 0 ? n : 25000;
}

Collection makeCollection(int media, int filmsPerMedium)
{
    Collection c;
    c.dir = std::make_unique<QTemporaryDir>();
    c.folder = c.dir->path();
    c.mediaPath = c.folder + QStringLiteral("/Med.DB");
    c.filmPath = c.folder + QStringLiteral("/Film.DB");
    c.personPath = c.folder + QStringLiteral("/Pers.DB");
    c.media = media;
    c.films = media * filmsPerMedium;
    engine::createTableFile(c.mediaPath, MediaTableDef());
    engine::createTableFile(c.filmPath, FilmTableDef());
    engine::createTableFile(c.personPath, PersonTableDef());

    std::mt19937 rng(4711);
    const QStringList words = {QStringLiteral("Der"), QStringLiteral("Die"), QStringLiteral("Das"), QStringLiteral("Abend"),
                               QStringLiteral("Äpfel"), QStringLiteral("Öl"), QStringLiteral("Übermut"), QStringLiteral("Straße"),
                               QStringLiteral("große"), QStringLiteral("Nacht"), QStringLiteral("Zorro"), QStringLiteral("König"),
                               QStringLiteral("Reise"), QStringLiteral("Sommer"), QStringLiteral("letzte"), QStringLiteral("Mann")};
    const QString kategs = QStringLiteral("1234567890abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
    engine::Session s;
    insertAll(s, c.mediaPath,
              {QStringLiteral("Medium"), QStringLiteral("Nr"), QStringLiteral("Len"), QStringLiteral("Verliehen"),
               QStringLiteral("Free1"), QStringLiteral("Gedruckt")},
              media, [&](int m, QVariantList &v) {
                  bool tape = m % 4 == 0;
                  v << kindOf(m) << numberOf(m) << (tape ? 240 : 0)
                    << (m % 50 == 0 ? QVariant(QStringLiteral("Nachbar %1").arg(m % 7)) : QVariant())
                    << QVariant(QStringLiteral("Regal %1").arg(m % 30)) << (m % 3 == 0 ? 1 : 0);
              });
    insertAll(s, c.filmPath,
              {QStringLiteral("Medium"), QStringLiteral("KassNr"), QStringLiteral("FilmNr"), QStringLiteral("Titel"),
               QStringLiteral("Untertitel"), QStringLiteral("Len"), QStringLiteral("LP"), QStringLiteral("Frei"),
               QStringLiteral("Kateg"), QStringLiteral("Wertung"), QStringLiteral("Free7"), QStringLiteral("Memo")},
              c.films, [&](int f, QVariantList &v) {
                  int m = f / filmsPerMedium;
                  QString title = words[rng() % words.size()] + QLatin1Char(' ') + words[rng() % words.size()]
                                  + QStringLiteral(" %1").arg(rng() % 1000);
                  v << kindOf(m) << numberOf(m) << (f % filmsPerMedium + 1) << title
                    << (rng() % 3 == 0 ? QVariant(QStringLiteral("Teil %1").arg(rng() % 5)) : QVariant())
                    << int(30 + rng() % 120) << int(rng() % 2) << 0 << kategs.mid(int(rng() % 62), 1)
                    << int(rng() % 6) << QVariant(QStringLiteral("Person %1").arg(rng() % 5000))
                    << (f % 10 == 0 ? QVariant(QStringLiteral("Notiz zum Film %1").arg(f)) : QVariant());
              });
    insertAll(s, c.personPath, {QStringLiteral("Name"), QStringLiteral("MF")}, c.films / 20,
              [&](int p, QVariantList &v) { v << QStringLiteral("Person %1").arg(p) << (p % 2 ? QStringLiteral("M") : QStringLiteral("F")); });
    return c;
}

} // namespace benchdata
