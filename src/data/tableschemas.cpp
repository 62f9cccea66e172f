#include "data/tableschemas.h"

#include "engine/session.h"
#include "engine/table.h"
#include "engine/tablefile.h"

#include <QDate>
#include <QDir>
#include <QFile>

using engine::Collation;
using engine::FieldDef;
using engine::FieldType;
using engine::IndexDef;
using engine::TableDef;

namespace {

FieldDef str(const QString &name, int size) { return FieldDef(name, FieldType::String, size); }
FieldDef typed(const QString &name, FieldType type, bool required = false)
{
    return FieldDef(name, type, 0, required);
}

} // namespace

IndexDef NrExclIndexDef(bool filmTable)
{
    IndexDef ix;
    ix.name = NrExclIndexName;
    ix.fields = QStringList{filmTable ? QStringLiteral("KassNr") : QStringLiteral("Nr")};
    ix.unique = false;
    ix.collation = Collation::NoCase;
    return ix;
}

TableDef MediaTableDef(bool numberedAcrossAll)
{
    TableDef t;
    t.name = QStringLiteral("Med");
    t.fields << str(QStringLiteral("Medium"), 6)
             << typed(QStringLiteral("Nr"), FieldType::SmallInt, true)
             << typed(QStringLiteral("Len"), FieldType::SmallInt, true)
             << str(QStringLiteral("Verliehen"), 40)
             << typed(QStringLiteral("Verleihdatum"), FieldType::Date)
             << typed(QStringLiteral("Rueckgabedatum"), FieldType::Date);
    for (int i = 1; i <= 4; ++i)
        t.fields << str(QStringLiteral("Free%1").arg(i), 40);
    t.fields << str(QStringLiteral("Free5"), 100)
             << typed(QStringLiteral("Memo"), FieldType::Memo)
             << FieldDef(QStringLiteral("Gedruckt"), FieldType::Boolean, 0, false, false)
             << typed(QStringLiteral("SN"), FieldType::Integer);
    t.primaryKeyFields = 2;
    if (numberedAcrossAll)
        t.indexes << NrExclIndexDef(false);
    return t;
}

TableDef FilmTableDef(bool numberedAcrossAll)
{
    TableDef t;
    t.name = QStringLiteral("Film");
    t.fields << str(QStringLiteral("Medium"), 6)
             << typed(QStringLiteral("KassNr"), FieldType::SmallInt)
             << typed(QStringLiteral("FilmNr"), FieldType::SmallInt)
             << str(QStringLiteral("Titel"), 40)
             // 43 characters: joined to the title from its second character
             // they fill the film search's 83 characters.
             << str(QStringLiteral("Untertitel"), 44)
             << typed(QStringLiteral("Len"), FieldType::Integer)
             << typed(QStringLiteral("LP"), FieldType::Boolean)
             << typed(QStringLiteral("MW"), FieldType::Boolean)
             << typed(QStringLiteral("SW"), FieldType::Boolean)
             << typed(QStringLiteral("Wide"), FieldType::Boolean)
             << typed(QStringLiteral("Frei"), FieldType::Boolean)
             << str(QStringLiteral("Ton"), 1)
             << str(QStringLiteral("Kateg"), 1)
             << typed(QStringLiteral("Wertung"), FieldType::SmallInt);
    for (int i = 1; i <= 6; ++i)
        t.fields << str(QStringLiteral("Free%1").arg(i), 60);
    for (int i = 7; i <= 13; ++i)
        t.fields << str(QStringLiteral("Free%1").arg(i), 40);
    t.fields << str(QStringLiteral("Free14"), 100) << str(QStringLiteral("Free15"), 100)
             << typed(QStringLiteral("Memo"), FieldType::Memo)
             << typed(QStringLiteral("Grafik"), FieldType::Graphic);
    t.primaryKeyFields = 3;
    IndexDef titel;
    titel.name = QStringLiteral("iTitel");
    titel.fields = QStringList{QStringLiteral("Titel"), QStringLiteral("Untertitel")};
    titel.collation = Collation::German;
    IndexDef kateg;
    kateg.name = QStringLiteral("Kateg");
    kateg.fields = QStringList{QStringLiteral("Kateg")};
    t.indexes << titel << kateg;
    if (numberedAcrossAll)
        t.indexes << NrExclIndexDef(true);
    return t;
}

TableDef PersonTableDef()
{
    TableDef t;
    t.name = QStringLiteral("Pers");
    t.fields << str(QStringLiteral("Name"), 60) << str(QStringLiteral("MF"), 1);
    for (int i = 1; i <= 7; ++i)
        t.fields << str(QStringLiteral("Free%1").arg(i), 80);
    t.fields << typed(QStringLiteral("Memo"), FieldType::Memo)
             << typed(QStringLiteral("Grafik"), FieldType::Graphic);
    t.primaryKeyFields = 1;
    return t;
}

TableDef CaptionTableDef()
{
    TableDef t;
    t.name = QStringLiteral("LAB");
    t.fields << str(QStringLiteral("ANH"), 6)
             << typed(QStringLiteral("FreeNr"), FieldType::SmallInt)
             << str(QStringLiteral("Label"), 40)
             << typed(QStringLiteral("FreeIsFL"), FieldType::Boolean)
             << typed(QStringLiteral("FreeIsPerson"), FieldType::Boolean);
    t.primaryKeyFields = 2;
    return t;
}

TableDef UserLabelsTableDef(bool withZF)
{
    TableDef t;
    t.name = QStringLiteral("UserLabels2");
    t.fields << str(QStringLiteral("Name"), 30);
    for (const char *n : {"RandO", "RandL", "SpaltenAnz", "ZeilenAnz", "Breite", "Hoehe", "Ax", "Ay",
                          "MaxFAnz", "Drucktyp"})
        t.fields << typed(QLatin1String(n), FieldType::Integer);
    t.fields << typed(QStringLiteral("Quer"), FieldType::Boolean)
             << typed(QStringLiteral("ImgMaxZoom"), FieldType::Integer)
             << typed(QStringLiteral("ImgPreferBLOB"), FieldType::Boolean);
    for (int r = 1; r <= 3; ++r) {
        QString p = QStringLiteral("R%1").arg(r);
        t.fields << typed(p, FieldType::Boolean);
        for (const char *s : {"l", "r", "o", "u", "Drucktyp", "ImgTurns"})
            t.fields << typed(p + QLatin1String(s), FieldType::Integer);
        t.fields << typed(p + QStringLiteral("Border"), FieldType::Boolean);
    }
    if (withZF)
        t.fields << typed(QStringLiteral("ZF"), FieldType::Boolean);
    t.primaryKeyFields = 1;
    return t;
}

void CreateTemplateTables(const QString &folder)
{
    QDir dir(folder);
    auto fresh = [&](const QString &name) {
        QString path = dir.absoluteFilePath(name);
        QFile::remove(path);
        QFile::remove(engine::TableFile::lockFilePath(path));
        return path;
    };
    const QString med = fresh(QStringLiteral("Def60.Med.DB"));
    const QString film = fresh(QStringLiteral("Def60.Film.DB"));
    const QString pers = fresh(QStringLiteral("Def60.Pers.DB"));
    const QString lab = fresh(QStringLiteral("Def60.LAB.DB"));
    const QString user = fresh(UserLabelsTableFile);
    engine::createTableFile(med, MediaTableDef());
    engine::createTableFile(film, FilmTableDef());
    engine::createTableFile(pers, PersonTableDef());
    engine::createTableFile(lab, CaptionTableDef());
    engine::createTableFile(user, UserLabelsTableDef());

    // A new database starts with one medium carrying one film: the last
    // medium and the last film can never be deleted.
    engine::Session session;
    {
        engine::Table t(&session);
        t.setTableName(med);
        t.open();
        t.append();
        t.fieldByName(QStringLiteral("Medium"))->setValue(QStringLiteral("VHS-SB"));
        t.fieldByName(QStringLiteral("Nr"))->setValue(1);
        t.fieldByName(QStringLiteral("Len"))->setValue(240);
        t.fieldByName(QStringLiteral("Gedruckt"))->setValue(false);
        t.post();
        t.close();
    }
    {
        engine::Table t(&session);
        t.setTableName(film);
        t.open();
        t.append();
        t.fieldByName(QStringLiteral("Medium"))->setValue(QStringLiteral("VHS-SB"));
        t.fieldByName(QStringLiteral("KassNr"))->setValue(1);
        t.fieldByName(QStringLiteral("FilmNr"))->setValue(1);
        t.fieldByName(QStringLiteral("Titel"))->setValue(QStringLiteral("Mein erster Film"));
        t.fieldByName(QStringLiteral("Len"))->setValue(90);
        for (const char *b : {"LP", "MW", "SW", "Wide", "Frei"})
            t.fieldByName(QLatin1String(b))->setValue(false);
        t.fieldByName(QStringLiteral("Kateg"))->setValue(QStringLiteral("1"));
        t.post();
        t.close();
    }
    for (const QString &p : {med, film, pers, lab, user})
        QFile::remove(engine::TableFile::lockFilePath(p));
}
