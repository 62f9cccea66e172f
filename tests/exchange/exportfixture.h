// A small collection for the export tests: media, film and caption tables
// written by the program's own table code in a temporary folder, and the
// film grid's columns as the table window would hand them over.
#pragma once

#include "data/tableschemas.h"
#include "engine/session.h"
#include "engine/table.h"
#include "engine/tablefile.h"
#include "exchange/tableexport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace fixture {

struct FilmRow {
    QString kind;
    int nr, filmNr;
    QString titel, untertitel;
    QVariant len;
    bool lp, frei;
    QString ton, kateg, free1, memo;
    bool mw = false;
};

class Exports
{
public:
    QTemporaryDir tmp;
    engine::Session session;
    engine::Table media{&session}, films{&session}, captions{&session};

    Exports()
    {
        engine::createTableFile(path(MediaTableFile), MediaTableDef());
        engine::createTableFile(path(FilmTableFile), FilmTableDef());
        engine::createTableFile(path(CaptionTableFile), CaptionTableDef());
        media.setTableName(path(MediaTableFile));
        films.setTableName(path(FilmTableFile));
        captions.setTableName(path(CaptionTableFile));
        media.open();
        films.open();
        captions.open();
    }
    ~Exports()
    {
        for (engine::Table *t : {&captions, &films, &media})
            if (t->active())
                t->close();
    }
    QString path(const QString &name) const { return QDir(tmp.path()).filePath(name); }

    void addMedium(const QString &kind, int nr, const QString &free1 = {}, const QString &memo = {})
    {
        media.append();
        media.fieldByName(QStringLiteral("Medium"))->setAsString(kind);
        media.fieldByName(QStringLiteral("Nr"))->setAsInteger(nr);
        media.fieldByName(QStringLiteral("Len"))->setAsInteger(240);
        media.fieldByName(QStringLiteral("Free1"))->setAsString(free1);
        media.fieldByName(QStringLiteral("Memo"))->setAsString(memo);
        media.post();
    }
    void addFilm(const FilmRow &r)
    {
        films.append();
        auto set = [&](const char *n, const QVariant &v) { films.fieldByName(QLatin1String(n))->setValue(v); };
        set("Medium", r.kind);
        set("KassNr", r.nr);
        set("FilmNr", r.filmNr);
        set("Titel", r.titel);
        set("Untertitel", r.untertitel);
        set("Len", r.len);
        set("LP", r.lp);
        set("Frei", r.frei);
        set("Ton", r.ton);
        set("Kateg", r.kateg);
        set("Free1", r.free1);
        set("Memo", r.memo);
        set("MW", r.mw);
        films.post();
    }
    void addCaption(const QString &set, int n, const QString &label)
    {
        captions.append();
        captions.fieldByName(QStringLiteral("ANH"))->setAsString(set);
        captions.fieldByName(QStringLiteral("FreeNr"))->setAsInteger(n);
        captions.fieldByName(QStringLiteral("Label"))->setAsString(label);
        captions.post();
    }

    // Three films with umlauts, the Euro sign, curly quotes, an empty field,
    // a memo, a link and a value that holds the separator.
    void addSampleFilms()
    {
        addFilm({QStringLiteral("VHS-SB"), 1, 1, QStringLiteral("Die Brücke"), QString(), 103, false, false,
                 QStringLiteral("S"), QStringLiteral("1"), QStringLiteral("Grün; rot"),
                 QStringLiteral("Ein Memo\r\nzweite Zeile")});
        addFilm({QStringLiteral("VHS-SB"), 1, 2, QStringLiteral("„Preis“ 5 €"), QString(), 95, true, false,
                 QStringLiteral("E"), QStringLiteral("a"), QString(), QString()});
        addFilm({QStringLiteral("DVD"), 2, 1, QStringLiteral("Ärger & Co"), QString(), QVariant(), false, false,
                 QString(), QString(), QStringLiteral("http://x.de/?a=1&b=2"), QString()});
    }

    // The film grid: a hidden column and a memo column among the shown ones.
    static QList<ExportColumn> filmColumns()
    {
        return {{QStringLiteral("KassNr"), QStringLiteral("Nr")},
                {QStringLiteral("Titel"), QStringLiteral("Titel")},
                {QStringLiteral("Len"), QStringLiteral("Länge")},
                {QStringLiteral("LP"), QStringLiteral("LP")},
                {QStringLiteral("Wertung"), QStringLiteral("Wertung"), true},
                {QStringLiteral("Ton"), QStringLiteral("Ton")},
                {QStringLiteral("Kateg"), QStringLiteral("Kategorie")},
                {QStringLiteral("Memo"), QStringLiteral("Memo")},
                {QStringLiteral("Free1"), QStringLiteral("Bemerkung")}};
    }

    static QList<ExportCategory> categories()
    {
        QList<ExportCategory> c(62);
        c[0] = {QStringLiteral("Drama"), QStringLiteral("drama.bmp")};
        c[10] = {QStringLiteral("Komödie"), QString()};
        return c;
    }
};

inline QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

inline QByteArray golden(const char *name)
{
    return readAll(QStringLiteral(TARVO_SOURCE_DIR "/tests/exchange/golden/") + QLatin1String(name));
}

} // namespace fixture
