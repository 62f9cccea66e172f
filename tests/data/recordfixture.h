// A small collection in a temporary folder with the main window's four data
// sets over it and the record rules hooked on them, for the tests of the
// locate routines, the record rules and the tape operations.
#pragma once

#include "data/mediumrecords.h"
#include "data/tableschemas.h"
#include "data/tabletools.h"
#include "engine/session.h"
#include "engine/table.h"
#include "engine/tablefile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace fixture {

struct Film {
    int nr;
    int len;
    bool lp = false;
    bool frei = false;
    QString titel = {};
};

// The tables and data sets; rows go in through plain tables without the
// rules, then the main window's data sets open with the rules hooked.
class Collection
{
public:
    std::unique_ptr<QTemporaryDir> tmp;
    QString folder;
    engine::Session session;
    engine::Table Table1{&session}, Table11{&session}, Table2{&session}, filmTable{&session};
    TMediumRecordDoors doors;   // what the window would show: the tests' own
    std::unique_ptr<MediumRecords> rec;

    // A new collection in a temporary folder, or the one in `existing`.
    explicit Collection(const QString &existing = QString())
    {
        if (!existing.isEmpty()) {
            folder = existing;
            return;
        }
        tmp = std::make_unique<QTemporaryDir>();
        folder = tmp->path();
        engine::createTableFile(mediaPath(), MediaTableDef());
        engine::createTableFile(filmPath(), FilmTableDef());
    }
    ~Collection()
    {
        for (engine::Table *t : {&filmTable, &Table2, &Table11, &Table1})
            if (t->active())
                t->close();
    }
    QString mediaPath() const { return QDir(folder).filePath(MediaTableFile); }
    QString filmPath() const { return QDir(folder).filePath(FilmTableFile); }

    void addMedium(const QString &kind, int nr, int len = 240, const QList<Film> &films = {})
    {
        engine::Table m(&session);
        m.setTableName(mediaPath());
        m.open();
        m.append();
        m.fieldByName(QStringLiteral("Medium"))->setAsString(kind);
        m.fieldByName(QStringLiteral("Nr"))->setAsInteger(nr);
        m.fieldByName(QStringLiteral("Len"))->setAsInteger(len);
        m.post();
        m.close();
        addFilms(kind, nr, films);
    }
    void addFilms(const QString &kind, int nr, const QList<Film> &films)
    {
        if (films.isEmpty())
            return;
        engine::Table f(&session);
        f.setTableName(filmPath());
        f.open();
        for (const Film &x : films) {
            f.append();
            f.fieldByName(QStringLiteral("Medium"))->setAsString(kind);
            f.fieldByName(QStringLiteral("KassNr"))->setAsInteger(nr);
            f.fieldByName(QStringLiteral("FilmNr"))->setAsInteger(x.nr);
            f.fieldByName(QStringLiteral("Titel"))->setAsString(
                x.titel.isEmpty() ? QStringLiteral("Film %1").arg(x.nr) : x.titel);
            f.fieldByName(QStringLiteral("Len"))->setAsInteger(x.len);
            f.fieldByName(QStringLiteral("LP"))->setAsBoolean(x.lp);
            f.fieldByName(QStringLiteral("Frei"))->setAsBoolean(x.frei);
            f.post();
        }
        f.close();
    }

    MainDataSets sets() { return MainDataSets{&Table1, &Table11, &Table2, &filmTable}; }

    // Opens the data sets as the main window does, editing unlocked.
    MediumRecords &open(bool acrossAllIndex = false)
    {
        if (acrossAllIndex) {
            for (const QString &p : {mediaPath(), filmPath()}) {
                engine::Table t(&session);
                t.setTableName(p);
                t.setExclusive(true);
                t.open();
                CreateNrExclIndex(t);
                t.close();
            }
        }
        rec = std::make_unique<MediumRecords>(sets(), doors);
        Table1.setTableName(mediaPath());
        Table11.setTableName(mediaPath());
        Table2.setTableName(filmPath());
        filmTable.setTableName(filmPath());
        Table2.setReadOnly(true);
        MediumRecords::DeclareMediaCalcFields(Table1);
        MediumRecords::DeclareMediaCalcFields(Table11);
        rec->installEvents();
        Table1.open();
        Table2.open();
        Table1.first();
        filmTable.open();
        Table11.open();
        return *rec;
    }

    // (kind, medium number, film number, title) of every film, in key order.
    QStringList films()
    {
        engine::Table f(&session);
        f.setTableName(filmPath());
        f.open();
        QStringList r;
        for (f.first(); !f.eof(); f.next())
            r << QStringLiteral("%1/%2/%3 %4")
                     .arg(f.fieldByName(QStringLiteral("Medium"))->asString())
                     .arg(f.fieldByName(QStringLiteral("KassNr"))->asInteger())
                     .arg(f.fieldByName(QStringLiteral("FilmNr"))->asInteger())
                     .arg(f.fieldByName(QStringLiteral("Titel"))->asString());
        f.close();
        return r;
    }
    QStringList media()
    {
        engine::Table m(&session);
        m.setTableName(mediaPath());
        m.open();
        QStringList r;
        for (m.first(); !m.eof(); m.next())
            r << QStringLiteral("%1/%2").arg(m.fieldByName(QStringLiteral("Medium"))->asString())
                     .arg(m.fieldByName(QStringLiteral("Nr"))->asInteger());
        m.close();
        return r;
    }
};

// Runs an operation that may end in the silent abort; true when it ran through.
template<typename Fn>
bool runs(Fn fn)
{
    try {
        fn();
        return true;
    } catch (const engine::Abort &) {
        return false;
    }
}

} // namespace fixture
