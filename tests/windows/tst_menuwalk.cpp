// Every entry of the main window's menus, walked headless over a database
// with editing unlocked: each enabled entry is triggered and must reach its
// function (a dialog, box, menu or file chooser through the presenter, a
// window of its own, a help page, a web or file address, or a setting it
// switches); every dialog is answered with Cancel and every window it opens
// is closed again. No entry is disabled for want of its function.
#include "data/upwarddoors.h"
#include "cardfixture.h"

#include "app/settings.h"
#include "kit/help.h"
#include "program/introbox.h"
#include "windows/introboxdoor.h"
#include "windows/mainmenus.h"

#include <QDesktopServices>
#include <QMenu>
#include <QSet>

class AddressRecorder : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls << url; }
};

class TestMenuWalk : public QObject
{
    Q_OBJECT
    card::Fixture fx;

    struct Entry {
        QString popup;
        QAction *action;
    };
    static void collect(QMenu *menu, const QString &popup, QList<Entry> &out)
    {
        emit menu->aboutToShow();
        for (QAction *a : menu->actions()) {
            if (a->isSeparator() || !a->isVisible())
                continue;
            if (a->menu())
                collect(a->menu(), popup, out);
            else if (!a->objectName().isEmpty())
                out.append({popup, a});
        }
    }
    static QSet<QWidget *> shownWindows()
    {
        QSet<QWidget *> s;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->isVisible() && !qobject_cast<QMenu *>(w))
                s.insert(w);
        return s;
    }

private slots:
    void init() { fx.setUp(); }
    void cleanup()
    {
        kit::setHelpHook({});
        fx.tearDown();
    }

    void everyEnabledEntryReachesItsFunction()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, card::numberedFilms(3, 60));
        fx.addMedium(QStringLiteral("DVD"), 2, 120, card::numberedFilms(1, 100));
        TMainform &m = fx.open();
        fx.unlock();
        m.show();
        InstallIntroboxDoor();
        int help = 0;
        kit::setHelpHook([&](int) { ++help; });
        AddressRecorder addresses;
        for (const char *scheme : {"http", "https", "file", "mailto"})
            QDesktopServices::setUrlHandler(QLatin1String(scheme), &addresses, "open");
        // Nothing of the walk may wait for the network or for a printer.
        UpwardDoors.AutoUpdateCheck = [] {};
        kit::ScriptedPresenter &p = *fx.settings.presenter;

        QStringList disabled, unreached;
        const QStringList popups = {"PopupDatei", "PopupAnsicht", "PopupDruck", "PopupEinstellungen", "PopupSuche",
                                    "PopupHilfe"};
        for (const QString &popupName : popups) {
            QMenu *popup = m.findChild<QMenu *>(popupName);
            QVERIFY2(popup, qPrintable(popupName));
            QList<Entry> entries;
            collect(popup, popupName, entries);
            for (const Entry &e : entries) {
                const QString name = e.action->objectName();
                if (name == QLatin1String("MenBeenden"))
                    continue; // closes the window: its own test
                QList<Entry> again;
                collect(popup, popupName, again); // states as when the menu drops down
                if (!e.action->isEnabled()) {
                    disabled << name;
                    continue;
                }
                const qsizetype boxes = p.shown().size(), urls = addresses.urls.size();
                const int helps = help;
                const bool checked = e.action->isChecked();
                const QSet<QWidget *> before = shownWindows();
                e.action->trigger();
                QApplication::processEvents();
                const QSet<QWidget *> after = shownWindows();
                const bool reached = p.shown().size() > boxes || addresses.urls.size() > urls || help > helps
                    || (e.action->isCheckable() && (e.action->isChecked() != checked || e.action->isChecked()))
                    || !(after - before).isEmpty();
                if (!reached)
                    unreached << name;
                QVERIFY2(!QApplication::activeModalWidget(), qPrintable(name + QStringLiteral(" left a dialog open")));
                for (QWidget *w : after - before)
                    w->close();
                if (e.action->isCheckable() && checked && !e.action->isChecked())
                    e.action->trigger(); // back as it was
                QVERIFY2(m.Table1->active(), qPrintable(name + QStringLiteral(" closed the media table")));
            }
        }
        for (const char *scheme : {"http", "https", "file", "mailto"})
            QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
        // Entries that only save or switch without showing anything.
        for (const char *silent : {"Flush1", "Men_dvd_kk_nur1film"})
            unreached.removeAll(QLatin1String(silent));
        QVERIFY2(unreached.isEmpty(), qPrintable(QStringLiteral("reach nothing: ") + unreached.join(QLatin1String(", "))));
        // The current medium (DVD 2) has one film: the other slots have none.
        for (const char *empty : {"AnhFilm2", "AnhFilm3", "AnhFilm4", "AnhFilm5"})
            QVERIFY(disabled.removeOne(QLatin1String(empty)));
        // Every other entry is there.
        QCOMPARE(disabled, QStringList());
    }
};

QTEST_MAIN(TestMenuWalk)
#include "tst_menuwalk.moc"
