// A database in a temporary folder, the settings store of the test and the
// main window over it, with a scripted presenter that answers every box.
#pragma once

#include "app/settingsfixture.h"
#include "data/database.h"
#include "data/mediumrecords.h"
#include "data/tableschemas.h"
#include "engine/table.h"
#include "engine/tablefile.h"
#include "kit/oberform.h"
#include "windows/main/mainform.h"

#include <QDir>
#include <QUrl>
#include <QtTest>

#include <memory>

namespace card {

// Records the addresses the desktop would open (a handler of a scheme).
class UrlRecorder : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls << url; }
};

struct Film {
    int nr;
    QString titel;
    int len = 90;
    bool lp = false;
    bool frei = false;
    QString untertitel = {};
    bool mw = false;
    QString free1 = {};
    QString memo = {};
};

// Films 1..n titled "Film n", each of the same length.
inline QList<Film> numberedFilms(int n, int len)
{
    QList<Film> films;
    for (int i = 1; i <= n; ++i)
        films.append({i, QStringLiteral("Film %1").arg(i), len});
    return films;
}

struct Fixture {
    SettingsFixture settings;
    QString base; // with a trailing separator
    std::unique_ptr<TMainform> form;

    // The database in the folder named folder below the test's own.
    void setUp(const QString &folder = QStringLiteral("db"))
    {
        form.reset();
        settings.setUp();
        base = settings.path(folder) + QLatin1Char('/');
        createTables(base);
        dvd_kk_nur1film = true;
        RegelVerleihzeit = 14;
        FreeStrikeOut = false;
        ErsterVerleih = false;
    }
    // The empty tables of a database at base (with its trailing separator).
    static void createTables(const QString &base)
    {
        QDir().mkpath(base + QStringLiteral("DB"));
        engine::createTableFile(MediaTablePath(base), MediaTableDef());
        engine::createTableFile(FilmTablePath(base), FilmTableDef());
        engine::createTableFile(base + QStringLiteral("DB/Pers.DB"), PersonTableDef());
        engine::createTableFile(base + QStringLiteral("DB/LAB.DB"), CaptionTableDef()); // captions load at open
    }

    void tearDown()
    {
        if (form) {
            CloseDatabaseTables();
            form.reset();
        }
        settings.presenter.reset();
    }

    void addMedium(const QString &kind, int nr, int len, const QList<Film> &films = {},
                   const std::function<void(engine::Table &)> &more = {})
    {
        engine::Table m;
        m.setTableName(MediaTablePath(base));
        m.open();
        m.append();
        m.fieldByName(QStringLiteral("Medium"))->setAsString(kind);
        m.fieldByName(QStringLiteral("Nr"))->setAsInteger(nr);
        m.fieldByName(QStringLiteral("Len"))->setAsInteger(len);
        if (more)
            more(m);
        m.post();
        m.close();
        if (films.isEmpty())
            return;
        engine::Table f;
        f.setTableName(FilmTablePath(base));
        f.open();
        for (const Film &x : films) {
            f.append();
            f.fieldByName(QStringLiteral("Medium"))->setAsString(kind);
            f.fieldByName(QStringLiteral("KassNr"))->setAsInteger(nr);
            f.fieldByName(QStringLiteral("FilmNr"))->setAsInteger(x.nr);
            f.fieldByName(QStringLiteral("Titel"))->setAsString(x.titel);
            f.fieldByName(QStringLiteral("Untertitel"))->setAsString(x.untertitel);
            f.fieldByName(QStringLiteral("Len"))->setAsInteger(x.len);
            f.fieldByName(QStringLiteral("LP"))->setAsBoolean(x.lp);
            f.fieldByName(QStringLiteral("MW"))->setAsBoolean(x.mw);
            f.fieldByName(QStringLiteral("Frei"))->setAsBoolean(x.frei);
            f.fieldByName(QStringLiteral("Free1"))->setAsString(x.free1);
            if (!x.memo.isEmpty())
                f.fieldByName(QStringLiteral("Memo"))->setAsString(x.memo);
            f.post();
        }
        f.close();
    }

    TMainform &open()
    {
        form.reset(CreateForm<TMainform>());
        Mainform = form.get();
        form->Records->dvdKkNur1Film = dvd_kk_nur1film;
        OpenDatabaseTablesAtStart(base, base + QStringLiteral("DB/Pers"));
        form->SyncReadOnlyState();
        form->UpdateStatusLine();
        return *form;
    }

    // Unlocks editing through the lock button.
    void unlock()
    {
        QVERIFY(form->Table1->readOnly());
        form->SpBReadOnlyClick();
        QVERIFY(!form->Table1->readOnly());
    }

    bool locate(const QString &kind, int nr)
    {
        return form->Table1->locate(QStringLiteral("Medium;Nr"), QVariantList{kind, nr});
    }
    engine::Field *field(const char *name) { return form->Table1->fieldByName(QLatin1String(name)); }
    template <class T> T *child(const char *name) { return form->findChild<T *>(QLatin1String(name)); }
};

} // namespace card
