// The template tables the build writes into the program folder: the fields
// and keys the program relies on, and the first medium with its first film.
#include "data/tableschemas.h"
#include "engine/session.h"
#include "engine/table.h"
#include "engine/tablefile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace engine;

class TstTableSchemas : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    // A copy of a template (opening the original would leave a lock file in
    // the program folder).
    QString copyOf(const QString &name)
    {
        QString from = QStringLiteral(TARVO_PROGDIR) + QLatin1Char('/') + name;
        QString to = m_dir.filePath(name);
        QFile::remove(to);
        if (!QFile::copy(from, to))
            return QString();
        return to;
    }

private slots:
    void templatesCarryOneMediumWithOneFilm()
    {
        Session s;
        Table med(&s), film(&s);
        med.setTableName(copyOf(QStringLiteral("Def60.Med.DB")));
        film.setTableName(copyOf(QStringLiteral("Def60.Film.DB")));
        med.open();
        film.open();
        QCOMPARE(med.recordCount(), 1);
        QCOMPARE(med.fieldByName(QStringLiteral("Medium"))->asString(), QStringLiteral("VHS-SB"));
        QCOMPARE(med.fieldByName(QStringLiteral("Nr"))->asInteger(), 1);
        QCOMPARE(film.recordCount(), 1);
        QCOMPARE(film.fieldByName(QStringLiteral("Medium"))->asString(), QStringLiteral("VHS-SB"));
        QCOMPARE(film.fieldByName(QStringLiteral("KassNr"))->asInteger(), 1);
        QCOMPARE(film.fieldByName(QStringLiteral("FilmNr"))->asInteger(), 1);
        QVERIFY(!film.fieldByName(QStringLiteral("Titel"))->asString().isEmpty());
        QVERIFY(med.hasPrimaryIndex());
        QCOMPARE(med.indexFieldNames(), (QStringList{"Medium", "Nr"}));
        QCOMPARE(film.indexFieldNames(), (QStringList{"Medium", "KassNr", "FilmNr"}));
        QCOMPARE(film.indexNames(), (QStringList{"iTitel", "Kateg"}));
        QVERIFY(med.indexNames().isEmpty()); // numbered per kind
    }

    void fieldsHaveTheTypesTheProgramUses()
    {
        Session s;
        Table med(&s), film(&s), pers(&s), lab(&s), user(&s);
        med.setTableName(copyOf(QStringLiteral("Def60.Med.DB")));
        film.setTableName(copyOf(QStringLiteral("Def60.Film.DB")));
        pers.setTableName(copyOf(QStringLiteral("Def60.Pers.DB")));
        lab.setTableName(copyOf(QStringLiteral("Def60.LAB.DB")));
        user.setTableName(copyOf(UserLabelsTableFile));
        for (Table *t : {&med, &film, &pers, &lab, &user})
            t->open();
        auto type = [](Table &t, const char *f) { return t.fieldByName(QLatin1String(f))->dataType(); };
        auto size = [](Table &t, const char *f) { return t.fieldByName(QLatin1String(f))->size(); };
        QCOMPARE(med.fieldNames(), (QStringList{"Medium", "Nr", "Len", "Verliehen", "Verleihdatum", "Rueckgabedatum",
                                                "Free1", "Free2", "Free3", "Free4", "Free5", "Memo", "Gedruckt", "SN"}));
        QCOMPARE(size(med, "Medium"), 6);
        QCOMPARE(type(med, "Nr"), FieldType::SmallInt);
        QVERIFY(med.fieldByName(QStringLiteral("Nr"))->required());
        QCOMPARE(type(med, "Verleihdatum"), FieldType::Date);
        QCOMPARE(size(med, "Free5"), 100);
        QCOMPARE(type(med, "SN"), FieldType::Integer);
        QCOMPARE(type(film, "Grafik"), FieldType::Graphic);
        QCOMPARE(size(film, "Titel"), 40);
        QVERIFY(size(film, "Titel") + size(film, "Untertitel") - 1 == 83);
        QCOMPARE(size(film, "Free13"), 40);
        QCOMPARE(size(film, "Free15"), 100);
        QCOMPARE(size(film, "Kateg"), 1);
        QCOMPARE(type(film, "Wertung"), FieldType::SmallInt);
        QCOMPARE(pers.indexFieldNames(), (QStringList{"Name"}));
        QCOMPARE(lab.indexFieldNames(), (QStringList{"ANH", "FreeNr"}));
        QCOMPARE(type(lab, "FreeIsPerson"), FieldType::Boolean);
        QCOMPARE(user.fieldCount(), 39);
        QCOMPARE(type(user, "R3Border"), FieldType::Boolean);
        QCOMPARE(type(user, "ZF"), FieldType::Boolean);
        QCOMPARE(user.recordCount(), 0);
    }
};

QTEST_GUILESS_MAIN(TstTableSchemas)
#include "tst_tableschemas.moc"
