// Cursor movement, states, the order of events, silent abort, locate,
// ranges, filters with calculated fields, key violation and read-only refusal.
#include "enginetest.h"
#include "engine/session.h"
#include "engine/table.h"
#include "engine/tablefile.h"

#include <QTemporaryDir>
#include <memory>
#include <QtTest>

using namespace engine;
using namespace enginetest;

namespace {

// Media table with a few media; returns its path.
QString makeMedia(const QTemporaryDir &dir, const QList<QPair<QString, int>> &keys)
{
    QString path = newTable(dir, QStringLiteral("Med.DB"), mediaDef());
    Session s;
    Table t(&s);
    openTable(t, path);
    for (const auto &k : keys)
        appendMedium(t, k.first, k.second, k.second * 10);
    return path;
}

QStringList keysOf(Table &t)
{
    QStringList out;
    t.first();
    while (!t.eof()) {
        out << t.fieldByName(QStringLiteral("Medium"))->asString() + QLatin1Char('/') + t.fieldByName(QStringLiteral("Nr"))->asString();
        t.next();
    }
    return out;
}

} // namespace

class TstCursor : public QObject
{
    Q_OBJECT
private slots:
    void eventSubscribersAreOwnedAndOrdered()
    {
        QTemporaryDir dir;
        QString path = makeMedia(dir, {{"VHS-SB", 1}});
        Session s;
        QStringList log;
        auto t = std::make_unique<Table>(&s);
        t->setTableName(path);
        Subscription first = t->afterOpen.subscribe([&](DataSet &) { log << "first"; });
        Subscription second = t->afterOpen.subscribe([&](DataSet &) { log << "second"; });
        // One that unsubscribes itself is not called again; one that drops a
        // later one keeps that from running in the same round.
        Subscription once;
        once = t->afterOpen.subscribe([&](DataSet &) { log << "once"; once.reset(); });
        Subscription dropper = t->afterClose.subscribe([&](DataSet &) { log << "dropper"; second.reset(); });
        Subscription dropped = t->afterClose.subscribe([&](DataSet &) { log << "dropped"; });
        t->open();
        QCOMPARE(log, (QStringList{"first", "second", "once"}));
        QCOMPARE(t->afterOpen.subscriberCount(), 2);
        {
            Subscription scoped = t->beforeClose.subscribe([&](DataSet &) { log << "scoped"; });
            QVERIFY(scoped.connected());
        }
        QVERIFY(!t->beforeClose);
        dropped.reset();
        log.clear();
        t->close();
        QCOMPARE(log, QStringList{"dropper"});
        log.clear();
        t->open();
        QCOMPARE(log, QStringList{"first"});
        // A handle may outlive its data set.
        t.reset();
        QVERIFY(!first.connected());
        first.reset();
    }

    void movementFollowsThePrimaryKey()
    {
        QTemporaryDir dir;
        QString path = makeMedia(dir, {{"VHS-SB", 3}, {"DVD", 2}, {"VHS-SB", 1}, {"DVD", 10}});
        Session s;
        Table t(&s);
        openTable(t, path);
        QCOMPARE(t.recordCount(), 4);
        QVERIFY(t.bof());
        QVERIFY(!t.eof());
        QCOMPARE(keysOf(t), (QStringList{"DVD/2", "DVD/10", "VHS-SB/1", "VHS-SB/3"}));
        QVERIFY(t.eof());
        QCOMPARE(t.recNo(), 4); // stays on the last record
        t.prior();
        QCOMPARE(t.recNo(), 3);
        t.first();
        t.prior();
        QVERIFY(t.bof());
        QCOMPARE(t.recNo(), 1);
        QCOMPARE(t.moveBy(10), 3);
        QVERIFY(t.eof());
        QCOMPARE(t.moveBy(-2), -2);
        QCOMPARE(t.fieldByName(QStringLiteral("medium"))->asString(), QStringLiteral("DVD"));
        QCOMPARE(t.fieldByName(QStringLiteral("NR"))->asInteger(), 10);
        t.setRecNo(4);
        Bookmark b = t.bookmark();
        t.first();
        t.gotoBookmark(b);
        QCOMPARE(t.fieldByName(QStringLiteral("Nr"))->asInteger(), 3);
        // Reading rows without moving.
        QCOMPARE(t.valueAt(1, 1).toInt(), 10);
        QCOMPARE(t.recNo(), 4);
        QVERIFY_THROWS_EXCEPTION(EngineError, t.fieldByName(QStringLiteral("Nope")));
    }

    void eventOrderOfInsertEditPostCancelDelete()
    {
        QTemporaryDir dir;
        QString path = makeMedia(dir, {{"VHS-SB", 1}, {"VHS-SB", 2}});
        Session s;
        Table t(&s);
        QStringList log;
        auto rec = [&log](const char *name) { return [&log, name](DataSet &) { log << QLatin1String(name); }; };
        engine::Subscriptions subs;
        subs.push_back(t.beforeOpen.subscribe(rec("BeforeOpen")));
        subs.push_back(t.afterOpen.subscribe(rec("AfterOpen")));
        subs.push_back(t.beforeClose.subscribe(rec("BeforeClose")));
        subs.push_back(t.afterClose.subscribe(rec("AfterClose")));
        subs.push_back(t.beforeInsert.subscribe(rec("BeforeInsert")));
        subs.push_back(t.afterInsert.subscribe(rec("AfterInsert")));
        subs.push_back(t.onNewRecord.subscribe(rec("OnNewRecord")));
        subs.push_back(t.beforeEdit.subscribe(rec("BeforeEdit")));
        subs.push_back(t.afterEdit.subscribe(rec("AfterEdit")));
        subs.push_back(t.beforePost.subscribe(rec("BeforePost")));
        subs.push_back(t.afterPost.subscribe(rec("AfterPost")));
        subs.push_back(t.beforeCancel.subscribe(rec("BeforeCancel")));
        subs.push_back(t.afterCancel.subscribe(rec("AfterCancel")));
        subs.push_back(t.beforeDelete.subscribe(rec("BeforeDelete")));
        subs.push_back(t.afterDelete.subscribe(rec("AfterDelete")));
        subs.push_back(t.beforeScroll.subscribe(rec("BeforeScroll")));
        subs.push_back(t.afterScroll.subscribe(rec("AfterScroll")));
        t.setTableName(path);
        t.open();
        QCOMPARE(log, (QStringList{"BeforeOpen", "AfterOpen", "AfterScroll"}));
        log.clear();
        Field *len = t.fieldByName(QStringLiteral("Len"));
        len->onValidate = [&log](Field &) { log << "Validate"; };
        len->onChange = [&log](Field &) { log << "Change"; };
        t.insert();
        QCOMPARE(t.state(), DataSetState::Insert);
        t.fieldByName(QStringLiteral("Medium"))->setValue(QStringLiteral("DVD"));
        t.fieldByName(QStringLiteral("Nr"))->setValue(7);
        len->setValue(0);
        t.post();
        QCOMPARE(log, (QStringList{"BeforeInsert", "BeforeScroll", "OnNewRecord", "AfterInsert", "AfterScroll",
                                   "Validate", "Change", "BeforePost", "AfterPost"}));
        QCOMPARE(t.fieldByName(QStringLiteral("Medium"))->asString(), QStringLiteral("DVD"));
        QCOMPARE(t.recNo(), 1);
        log.clear();
        t.edit();
        len->setValue(5);
        t.cancel();
        QCOMPARE(log, (QStringList{"BeforeEdit", "AfterEdit", "Validate", "Change", "BeforeCancel", "AfterCancel"}));
        QCOMPARE(len->asInteger(), 0);
        log.clear();
        t.deleteRecord();
        QCOMPARE(log, (QStringList{"BeforeDelete", "BeforeScroll", "AfterDelete", "AfterScroll"}));
        QCOMPARE(t.recordCount(), 2);
        log.clear();
        // Moving away from a modified edit posts it; an unmodified one is cancelled.
        t.edit();
        len->setValue(33);
        t.next();
        QCOMPARE(log, (QStringList{"BeforeEdit", "AfterEdit", "Validate", "Change", "BeforePost", "AfterPost",
                                   "BeforeScroll", "AfterScroll"}));
        t.first();
        QCOMPARE(len->asInteger(), 33);
        log.clear();
        t.close();
        QCOMPARE(log, (QStringList{"BeforeClose", "AfterClose"}));
    }

    void silentAbortKeepsTheStateAndTheData()
    {
        QTemporaryDir dir;
        QString path = makeMedia(dir, {{"VHS-SB", 1}, {"VHS-SB", 2}});
        Session s;
        Table t(&s);
        openTable(t, path);
        engine::Subscriptions subs;
        subs.push_back(t.beforePost.subscribe([](DataSet &ds) {
            if (ds.fieldByName(QStringLiteral("Len"))->asInteger() > 500)
                abortSilently();
        }));
        subs.push_back(t.beforeDelete.subscribe([](DataSet &) { abortSilently(); }));
        t.edit();
        t.fieldByName(QStringLiteral("Len"))->setValue(999);
        QVERIFY_THROWS_EXCEPTION(Abort, t.post());
        QCOMPARE(t.state(), DataSetState::Edit);
        t.cancel();
        QCOMPARE(t.fieldByName(QStringLiteral("Len"))->asInteger(), 10);
        QVERIFY_THROWS_EXCEPTION(Abort, t.deleteRecord());
        QCOMPARE(t.recordCount(), 2);
        // A field validator refusing a value keeps the old one.
        Field *m = t.fieldByName(QStringLiteral("Medium"));
        m->onValidate = [](Field &f) {
            if (f.asString() == QLatin1String("DVD"))
                abortSilently();
        };
        t.edit();
        QVERIFY_THROWS_EXCEPTION(Abort, m->setValue(QStringLiteral("DVD")));
        QCOMPARE(m->asString(), QStringLiteral("VHS-SB"));
        QVERIFY(!t.modified());
    }

    void failedLocateLeavesTheCursor()
    {
        QTemporaryDir dir;
        QString path = makeMedia(dir, {{"VHS-SB", 1}, {"DVD", 2}, {"dvd", 3}, {"VHS-KK", 4}});
        Session s;
        Table t(&s);
        openTable(t, path);
        QStringList scrolls;
        engine::Subscriptions subs;
        subs.push_back(t.afterScroll.subscribe([&](DataSet &) { scrolls << "after"; }));
        t.setRecNo(3); // DVD/2, VHS-KK/4, VHS-SB/1, dvd/3: case counts in the key order
        scrolls.clear();
        QVERIFY(!t.locate(QStringLiteral("Medium;Nr"), {QStringLiteral("DVD"), 3}));
        QCOMPARE(t.fieldByName(QStringLiteral("Nr"))->asInteger(), 1);
        QVERIFY(scrolls.isEmpty());
        QVERIFY(t.locate(QStringLiteral("Medium;Nr"), {QStringLiteral("dvd"), 3}));
        QCOMPARE(t.fieldByName(QStringLiteral("Nr"))->asInteger(), 3);
        QVERIFY(t.locate(QStringLiteral("Medium"), QStringLiteral("DVD")));
        QCOMPARE(t.fieldByName(QStringLiteral("Nr"))->asInteger(), 2);
        LocateOptions ci;
        ci.caseInsensitive = true;
        QVERIFY(t.locate(QStringLiteral("Medium;Nr"), {QStringLiteral("DvD"), 3}, ci));
        QCOMPARE(t.fieldByName(QStringLiteral("Nr"))->asInteger(), 3);
        LocateOptions partial;
        partial.partialKey = true;
        QVERIFY(t.locate(QStringLiteral("Medium"), QStringLiteral("VHS-K"), partial));
        QCOMPARE(t.fieldByName(QStringLiteral("Nr"))->asInteger(), 4);
        QVERIFY(!t.locate(QStringLiteral("Nr"), QStringLiteral("keine Zahl")));
        QVERIFY(scrolls.size() == 4);
        QCOMPARE(t.fieldByName(QStringLiteral("Nr"))->asInteger(), 4);
        QVERIFY(t.findKey({QStringLiteral("VHS-SB"), 1}));
        QVERIFY(!t.findKey({QStringLiteral("VHS-SB"), 9}));
        QCOMPARE(t.fieldByName(QStringLiteral("Nr"))->asInteger(), 1);
        t.findNearest({QStringLiteral("VHS-KK")});
        QCOMPARE(t.fieldByName(QStringLiteral("Medium"))->asString(), QStringLiteral("VHS-KK"));
        t.setKey();
        t.fieldByName(QStringLiteral("Medium"))->setValue(QStringLiteral("DVD"));
        t.fieldByName(QStringLiteral("Nr"))->setValue(2);
        QVERIFY(t.gotoKey());
        QCOMPARE(t.state(), DataSetState::Browse);
        QCOMPARE(t.fieldByName(QStringLiteral("Nr"))->asInteger(), 2);
    }

    void locateTakesTheFirstVisibleMatchAsItIsNow()
    {
        QTemporaryDir dir;
        QString path = makeMedia(dir, {{"VHS-SB", 1}, {"VHS-SB", 2}, {"VHS-SB", 3}, {"DVD", 4}, {"DVD", 5}});
        Session s;
        Table t(&s);
        openTable(t, path);
        Field *borrower = t.fieldByName(QStringLiteral("Verliehen"));
        for (auto [nr, who] : {std::pair{4, "Meier"}, std::pair{2, "meier"}, std::pair{3, "Meierhof"}}) {
            QVERIFY(t.locate(QStringLiteral("Nr"), nr));
            t.edit();
            borrower->setValue(QString::fromUtf8(who));
            t.post();
        }
        // Key order: DVD/4 Meier, DVD/5, VHS-SB/1, VHS-SB/2 meier, VHS-SB/3 Meierhof.
        LocateOptions ci, partial, both;
        ci.caseInsensitive = both.caseInsensitive = true;
        partial.partialKey = both.partialKey = true;
        QVERIFY(t.locate(QStringLiteral("Verliehen"), QString())); // an empty field
        QCOMPARE(nrOf(t), 5);
        QVERIFY(t.locate(QStringLiteral("Verliehen"), QStringLiteral("MEIER"), ci));
        QCOMPARE(nrOf(t), 4);
        QVERIFY(t.locate(QStringLiteral("Verliehen"), QStringLiteral("meierh"), both));
        QCOMPARE(nrOf(t), 3);
        QVERIFY(!t.locate(QStringLiteral("Verliehen"), QStringLiteral("meierh"), partial));

        // The first match filtered out: the next one in order.
        t.onFilterRecord = [](DataSet &ds) { return nrOf(ds) != 4; };
        t.setFiltered(true);
        QVERIFY(t.locate(QStringLiteral("Verliehen"), QStringLiteral("MEIER"), ci));
        QCOMPARE(nrOf(t), 2);
        t.setFiltered(false);
        // Within a range only.
        t.setRange({QStringLiteral("VHS-SB")}, {QStringLiteral("VHS-SB")});
        QVERIFY(!t.locate(QStringLiteral("Medium"), QStringLiteral("DVD")));
        QVERIFY(t.locate(QStringLiteral("Verliehen"), QStringLiteral("Meier"), partial));
        QCOMPARE(nrOf(t), 3);
        t.cancelRange();
        // The same search without the range finds the first match of all.
        QVERIFY(t.locate(QStringLiteral("Verliehen"), QStringLiteral("Meier"), partial));
        QCOMPARE(nrOf(t), 4);

        // Another program changes a record this cursor has read already:
        // found by its new value, it shows the values it was found by.
        t.first();
        t.next(); // reads ahead over the rest
        {
            Session other;
            Table o(&other);
            openTable(o, path);
            QVERIFY(o.locate(QStringLiteral("Medium;Nr"), {QStringLiteral("VHS-SB"), 1}));
            o.edit();
            o.fieldByName(QStringLiteral("Verliehen"))->setValue(QStringLiteral("Schulz"));
            o.fieldByName(QStringLiteral("Len"))->setValue(99);
            o.post();
        }
        QVERIFY(t.locate(QStringLiteral("Verliehen"), QStringLiteral("Schulz")));
        QCOMPARE(nrOf(t), 1);
        QCOMPARE(borrower->asString(), QStringLiteral("Schulz"));
        QCOMPARE(t.fieldByName(QStringLiteral("Len"))->asInteger(), 99);
    }

    void keyViolationAndReadOnlyRefusal()
    {
        QTemporaryDir dir;
        QString path = makeMedia(dir, {{"VHS-SB", 1}, {"VHS-SB", 2}});
        Session s;
        Table t(&s);
        openTable(t, path);
        t.append();
        t.fieldByName(QStringLiteral("Medium"))->setValue(QStringLiteral("VHS-SB"));
        t.fieldByName(QStringLiteral("Nr"))->setValue(2);
        t.fieldByName(QStringLiteral("Len"))->setValue(1);
        QCOMPARE(errorCode([&] { t.post(); }), int(ErrKeyViolation));
        QCOMPARE(t.state(), DataSetState::Insert);
        t.cancel();
        QCOMPARE(t.recordCount(), 2);
        // Case counts in keys.
        t.append();
        t.fieldByName(QStringLiteral("Medium"))->setValue(QStringLiteral("vhs-sb"));
        t.fieldByName(QStringLiteral("Nr"))->setValue(2);
        t.fieldByName(QStringLiteral("Len"))->setValue(1);
        t.post();
        QCOMPARE(t.recordCount(), 3);
        // Required fields.
        t.append();
        t.fieldByName(QStringLiteral("Medium"))->setValue(QStringLiteral("DVD"));
        QCOMPARE(errorCode([&] { t.post(); }), int(ErrRequired));
        t.cancel();
        t.close();
        t.setReadOnly(true);
        t.open();
        for (auto op : {&DataSet::edit, &DataSet::insert, &DataSet::append, &DataSet::deleteRecord})
            QCOMPARE(errorCode([&] { (t.*op)(); }), int(ErrReadOnly));
        QVERIFY_THROWS_EXCEPTION(EngineError, t.fieldByName(QStringLiteral("Len"))->setValue(3));
        QVERIFY_THROWS_EXCEPTION(EngineError, t.setReadOnly(false)); // only while closed
    }

    void valuesAreCheckedAndEmptyTextIsNull()
    {
        QTemporaryDir dir;
        QString path = makeMedia(dir, {{"VHS-SB", 1}});
        Session s;
        Table t(&s);
        openTable(t, path);
        t.edit();
        Field *kind = t.fieldByName(QStringLiteral("Medium"));
        kind->setValue(QStringLiteral("VHS-SB-LONG"));
        QCOMPARE(kind->asString(), QStringLiteral("VHS-SB"));
        Field *borrower = t.fieldByName(QStringLiteral("Verliehen"));
        borrower->setValue(QString());
        QVERIFY(borrower->isNull());
        QVERIFY_THROWS_EXCEPTION(EngineError, t.fieldByName(QStringLiteral("Nr"))->setValue(70000));
        QVERIFY_THROWS_EXCEPTION(EngineError, t.fieldByName(QStringLiteral("Verleihdatum"))->setValue(QStringLiteral("31.02.2001")));
        t.fieldByName(QStringLiteral("Verleihdatum"))->setValue(QStringLiteral("1.3.2001"));
        t.fieldByName(QStringLiteral("Memo"))->setValue(QStringLiteral("Notiz äöü"));
        t.post();
        t.refresh();
        QCOMPARE(t.fieldByName(QStringLiteral("Verleihdatum"))->asDate(), QDate(2001, 3, 1));
        QCOMPARE(t.fieldByName(QStringLiteral("Verleihdatum"))->displayText(), QStringLiteral("01.03.2001"));
        QCOMPARE(t.fieldByName(QStringLiteral("Memo"))->asString(), QStringLiteral("Notiz äöü"));
        QCOMPARE(t.fieldByName(QStringLiteral("Nr"))->asInteger(), 1);
    }

    void rangesOnEveryIndex()
    {
        QTemporaryDir dir;
        QString path = newTable(dir, QStringLiteral("Film.DB"), filmDef(true));
        Session s;
        Table t(&s);
        openTable(t, path);
        struct F { const char *kind; int nr, film; const char *title; const char *kateg; };
        const F films[] = {{"VHS-SB", 1, 1, "Zorro", "1"}, {"VHS-SB", 1, 2, "Abend", "2"},
                           {"VHS-SB", 2, 1, "Äpfel", "1"}, {"DVD", 1, 1, "apfel", "a"},
                           {"DVD", 2, 1, "Apfel", "A"}, {"VHS-SB", 2, 2, "Öl", "2"},
                           {"VHS-SB", 2, 3, "Ofen", "1"}, {"DVD", 3, 1, "Straße", "2"},
                           {"DVD", 4, 1, "Strasse", "1"}, {"DVD", 5, 1, "Strauß", "1"}};
        for (const F &f : films)
            appendFilm(t, QString::fromUtf8(f.kind), f.nr, f.film, QString::fromUtf8(f.title), QString::fromUtf8(f.kateg));
        auto titles = [&t] {
            QStringList out;
            for (t.first(); !t.eof(); t.next())
                out << t.fieldByName(QStringLiteral("Titel"))->asString();
            return out;
        };
        // Primary index: the films of one medium.
        t.setRange({QStringLiteral("VHS-SB"), 2}, {QStringLiteral("VHS-SB"), 2});
        QCOMPARE(titles(), (QStringList{"Äpfel", "Öl", "Ofen"}));
        QCOMPARE(t.recordCount(), 3);
        t.setRange({QStringLiteral("DVD"), 2}, {QStringLiteral("DVD"), 4});
        QCOMPARE(titles(), (QStringList{"Apfel", "Straße", "Strasse"}));
        t.cancelRange();
        QCOMPARE(t.recordCount(), 10);
        // Title order as a German reader expects it.
        t.setIndexName(QStringLiteral("iTitel"));
        QCOMPARE(titles(), (QStringList{"Abend", "apfel", "Apfel", "Äpfel", "Ofen", "Öl", "Strasse",
                                        "Straße", "Strauß", "Zorro"}));
        t.setRange({QStringLiteral("A")}, {QStringLiteral("B")});
        QCOMPARE(titles(), (QStringList{"Abend", "apfel", "Apfel", "Äpfel"}));
        t.setRange({QStringLiteral("Straße")}, {QStringLiteral("Straße")});
        QCOMPARE(titles(), (QStringList{"Straße"}));
        // Category index: codes are case-sensitive.
        t.setIndexName(QStringLiteral("Kateg"));
        QVERIFY(!t.hasRange());
        t.setRange({QStringLiteral("a")}, {QStringLiteral("a")});
        QCOMPARE(titles(), (QStringList{"apfel"}));
        // Numbering index: medium number alone, whatever the kind.
        t.setIndexName(QStringLiteral("iNrExcl"));
        t.setRange({2}, {2});
        QCOMPARE(t.recordCount(), 4);
        QVERIFY(t.findKey({2}));
        t.cancelRange();
        QVERIFY(t.findKey({5}));
        QCOMPARE(t.fieldByName(QStringLiteral("Titel"))->asString(), QStringLiteral("Strauß"));
        // An insert inside the range shows up in it, one outside does not.
        t.setIndexName(QString());
        t.setRange({QStringLiteral("VHS-SB"), 1}, {QStringLiteral("VHS-SB"), 1});
        appendFilm(t, QStringLiteral("VHS-SB"), 1, 3, QString());
        QCOMPARE(t.recordCount(), 3);
        QCOMPARE(t.fieldByName(QStringLiteral("FilmNr"))->asInteger(), 3);
    }

    void filterWithCalculatedFields()
    {
        QTemporaryDir dir;
        QString path = makeMedia(dir, {{"VHS-SB", 1}, {"VHS-SB", 2}, {"VHS-SB", 3}, {"DVD", 4}});
        Session s;
        Table t(&s);
        Field *rest = t.addCalcField(QStringLiteral("bRest"), FieldType::SmallInt);
        engine::Subscriptions subs;
        subs.push_back(t.onCalcFields.subscribe([rest](DataSet &ds) {
            rest->setValue(ds.fieldByName(QStringLiteral("Len"))->asInteger() - 5);
        }));
        t.onFilterRecord = [rest](DataSet &) { return rest->asInteger() > 10; };
        t.setTableName(path);
        t.open();
        QCOMPARE(t.fieldByName(QStringLiteral("bRest"))->asInteger(), 35); // DVD/4 first
        QCOMPARE(t.valueAt(1, rest->index()).toInt(), 5);
        t.setFiltered(true);
        QCOMPARE(t.recordCount(), 3);
        QStringList seen;
        for (t.first(); !t.eof(); t.next())
            seen << t.fieldByName(QStringLiteral("Nr"))->asString();
        QCOMPARE(seen, (QStringList{"4", "2", "3"}));
        QVERIFY(!t.locate(QStringLiteral("Nr"), 1)); // filtered out
        QVERIFY(t.locate(QStringLiteral("Nr"), 3));
        // Editing recalculates; a record that no longer passes leaves on the next move.
        t.edit();
        t.fieldByName(QStringLiteral("Len"))->setValue(100);
        QCOMPARE(rest->asInteger(), 95);
        QVERIFY_THROWS_EXCEPTION(EngineError, rest->setValue(1)); // calculated: not writable
        t.post();
        t.locate(QStringLiteral("Nr"), 2);
        t.edit();
        t.fieldByName(QStringLiteral("Len"))->setValue(1);
        t.post();
        t.refresh();
        QCOMPARE(t.recordCount(), 2);
        t.setFiltered(false);
        QCOMPARE(t.recordCount(), 4);
    }

    void observersAndDisabledControls()
    {
        QTemporaryDir dir;
        QString path = makeMedia(dir, {{"VHS-SB", 1}, {"VHS-SB", 2}, {"VHS-SB", 3}});
        struct Log : DataSetObserver {
            QStringList lines;
            void dataChanged(DataSet &, Field *f) override { lines << (f ? "field " + f->fieldName() : QStringLiteral("record")); }
            void stateChanged(DataSet &ds) override { lines << "state " + stateName(ds.state()); }
            void rowsChanged(DataSet &) override { lines << QStringLiteral("rows"); }
        } log;
        Session s;
        Table t(&s);
        t.addObserver(&log);
        t.setTableName(path);
        t.open();
        QVERIFY(log.lines.contains(QStringLiteral("state Browse")));
        log.lines.clear();
        t.next();
        QCOMPARE(log.lines, (QStringList{"record"}));
        log.lines.clear();
        t.edit();
        t.fieldByName(QStringLiteral("Len"))->setValue(7);
        QCOMPARE(log.lines, (QStringList{"state Edit", "record", "field Len"}));
        t.post();
        log.lines.clear();
        t.disableControls();
        t.first();
        t.next();
        t.last();
        QVERIFY(log.lines.isEmpty());
        t.enableControls();
        QCOMPARE(log.lines, (QStringList{"record"}));
        log.lines.clear();
        t.removeObserver(&log);
        t.first();
        QVERIFY(log.lines.isEmpty());
    }

    void twoCursorsOnOneTableAreIndependent()
    {
        QTemporaryDir dir;
        QString path = makeMedia(dir, {{"VHS-SB", 1}, {"VHS-SB", 2}, {"VHS-SB", 3}});
        Session s;
        Table t1(&s), t11(&s);
        t1.setTableName(path);
        t11.setTableName(path);
        t1.open();
        t11.open();
        struct Rows : DataSetObserver {
            int changes = 0;
            void rowsChanged(DataSet &) override { ++changes; }
        } rows;
        t11.addObserver(&rows);
        t11.last();
        QCOMPARE(t1.recNo(), 1);
        QCOMPARE(t11.recNo(), 3);
        rows.changes = 0;
        t1.deleteRecord();
        QCOMPARE(rows.changes, 1); // told at the commit
        QCOMPARE(t11.recordCount(), 2); // sees the other cursor's change
        QCOMPARE(t11.fieldByName(QStringLiteral("Nr"))->asInteger(), 3);
        appendMedium(t1, QStringLiteral("A"), 1, 1);
        QCOMPARE(t11.recordCount(), 3);
        QCOMPARE(t11.recNo(), 3);
        t11.first();
        QCOMPARE(t11.fieldByName(QStringLiteral("Medium"))->asString(), QStringLiteral("A"));
        t11.removeObserver(&rows);
        // Exclusive use needs the other cursors closed.
        Table ex(&s);
        ex.setTableName(path);
        ex.setExclusive(true);
        QVERIFY_THROWS_EXCEPTION(EngineError, ex.open());
        t1.close();
        t11.close();
        ex.open();
        QVERIFY_THROWS_EXCEPTION(EngineError, t1.open());
    }

    void failedInnerStepKeepsTheOuterTransaction()
    {
        QTemporaryDir dir;
        QString path = makeMedia(dir, {{"VHS-SB", 1}});
        Session s;
        Table t(&s);
        openTable(t, path);
        Session::Transaction tx(s);
        appendMedium(t, QStringLiteral("DVD"), 1, 0);
        QCOMPARE(errorCode([&] { appendMedium(t, QStringLiteral("DVD"), 1, 0); }), int(ErrKeyViolation));
        t.cancel();
        appendMedium(t, QStringLiteral("DVD"), 2, 0);
        tx.commit();
        Session other;
        Table o(&other);
        openTable(o, path);
        QCOMPARE(o.recordCount(), 3);
    }

    void changingARecordAnotherUserDeleted()
    {
        QTemporaryDir dir;
        QString path = makeMedia(dir, {{"VHS-SB", 1}, {"VHS-SB", 2}});
        Session s1, s2;
        Table t1(&s1), t2(&s2);
        openTable(t1, path);
        openTable(t2, path);
        t2.deleteRecord(); // VHS-SB/1, under t1's cursor
        QCOMPARE(errorCode([&] { t1.edit(); }), int(ErrRecordGone));
        QCOMPARE(t1.state(), DataSetState::Browse);
        // Deleting it is done either way: the view follows.
        t1.deleteRecord();
        QCOMPARE(t1.recordCount(), 1);
        QCOMPARE(t1.fieldByName(QStringLiteral("Nr"))->asInteger(), 2);
        t1.last();
        t1.edit();
        t2.last();
        t2.deleteRecord(); // VHS-SB/2, while t1 edits it
        t1.fieldByName(QStringLiteral("Len"))->setValue(5);
        QCOMPARE(errorCode([&] { t1.post(); }), int(ErrRecordGone));
        QCOMPARE(t1.state(), DataSetState::Edit);
        t1.cancel();
        t1.refresh();
        QCOMPARE(t1.recordCount(), 0);
    }
};

QTEST_GUILESS_MAIN(TstCursor)
#include "tst_cursor.moc"
