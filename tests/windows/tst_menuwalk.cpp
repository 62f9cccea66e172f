// Every entry of the main window's menus, walked headless over a database
// with editing unlocked: each enabled entry is triggered and must reach its
// function (a dialog, box, menu or file chooser through the presenter, a
// window of its own, a help page, a web or file address, or a setting it
// switches); every window it opens is closed again. No entry is disabled for
// want of its function. Every window and dialog the walk meets shows each of
// its texts whole and keeps its controls inside it. A first walk answers
// every dialog with Cancel; a second answers each dialog, the first time it
// comes, with valid input and its OK button, as a new user would, and the
// dialog must take it.
#include "data/upwarddoors.h"
#include "cardfixture.h"

#include "app/settings.h"
#include "kit/help.h"
#include "kit/textfit.h"
#include "program/introbox.h"
#include "windows/main/introboxdoor.h"
#include "platform/volumeserial.h"
#include "windows/main/mainmenus.h"
#include "windows/printing/printjob.h"

#include "kit/enterexitbutton.h"
#include "kit/ozocheck.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSet>
#include <QSpinBox>
#include <QStackedWidget>

class AddressRecorder : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls << url; }
};

namespace {

QString shownText(QString s)
{
    s.remove(QLatin1Char('&'));
    return s.trimmed();
}

// The button a user presses to agree: OK, Ja, Fertig and their kin.
QAbstractButton *agreeButton(QDialog &d)
{
    static const QStringList words = {QStringLiteral("OK"), QStringLiteral("Ja"), QStringLiteral("Fertig"),
                                      QStringLiteral("Weiter"), QStringLiteral("Übernehmen"),
                                      QStringLiteral("Speichern")};
    QAbstractButton *fallback = nullptr;
    for (QAbstractButton *b : d.findChildren<QAbstractButton *>()) {
        if (!b->isVisibleTo(&d) || !b->isEnabled())
            continue;
        if (auto *o = qobject_cast<TOzoNewButton *>(b); o && o->Kind() == ibkOK)
            return b;
        if (words.contains(shownText(b->text())))
            return b;
        if (auto *p = qobject_cast<QPushButton *>(b); p && p->isDefault() && !fallback)
            fallback = b;
    }
    return fallback;
}

} // namespace

// Answers for the walk: records every request, checks the fit of every
// dialog, and answers it with Cancel or, once per dialog, with valid input
// and the OK button.
class WalkPresenter : public kit::Presenter
{
public:
    using Fill = std::function<void(QDialog &)>;
    bool agree = false;
    int requests = 0;
    QStringList faults;  // texts cut and controls outside, by window
    QStringList refused; // dialogs that kept valid input back, and errors shown
    QStringList expectedErrors; // error boxes that belong to the walk's machine
    QSet<QString> agreed;
    QHash<QString, Fill> fills; // valid input by the dialog's objectName
    QString folder;             // where saved files go

    TModalResult execModal(QDialog &d, const kit::BoxInfo &info) override
    {
        ++requests;
        const QString name = (info.objectName.isEmpty() ? info.kind : info.objectName) + u'/' + info.caption;
        // The system's printer dialogs: no walk waits for a printer.
        if (d.inherits("QAbstractPrintDialog") || d.inherits("QPageSetupDialog"))
            return mrCancel;
        d.show();
        QApplication::processEvents();
        check(d, name);
        TModalResult r = info.defaultResult;
        // After valid input a new user meets no error.
        if (agree && (info.icon == kit::BoxIcon::Error || info.caption.contains(QLatin1String("Fehler")))
            && !expectedErrors.contains(info.caption))
            refused << name + QStringLiteral(": ") + info.text;
        if (agree && !agreed.contains(name)) {
            agreed.insert(name);
            if (const Fill fill = fills.value(info.objectName))
                fill(d);
            if (info.inputEdit && info.inputEdit->text().isEmpty())
                info.inputEdit->setText(QStringLiteral("1"));
            if (QAbstractButton *ok = agreeButton(d)) {
                ok->click();
                QApplication::processEvents();
                if (d.isVisible())
                    refused << name;
                else
                    r = TModalResult(d.result());
            } else {
                r = mrOk;
            }
        }
        d.hide();
        d.setResult(r);
        return r;
    }
    QAction *popupMenu(QMenu &, const QPoint &) override
    {
        ++requests;
        return nullptr;
    }
    QString chooseFile(const kit::FileRequest &request) override
    {
        ++requests;
        if (!agree || request.mode == kit::FileMode::Open)
            return {};
        if (request.mode == kit::FileMode::Folder)
            return folder;
        QString file = request.fileName.isEmpty() ? QStringLiteral("walk") : QFileInfo(request.fileName).fileName();
        if (!request.defaultSuffix.isEmpty() && QFileInfo(file).suffix().isEmpty())
            file += u'.' + request.defaultSuffix;
        return folder + u'/' + file;
    }
    void check(const QWidget &w, const QString &name)
    {
        // Every page of a tabbed part is looked at where it shows.
        for (QStackedWidget *stack : w.findChildren<QStackedWidget *>())
            for (int i = 0; i < stack->count(); ++i)
                stack->widget(i)->setGeometry(stack->contentsRect());
        for (const QString &c : kit::CutOffTexts(&w))
            faults << name + QStringLiteral(" cut: ") + c;
        for (const QString &c : kit::ControlsOutside(&w))
            faults << name + QStringLiteral(" outside: ") + c;
    }
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

    // Walks every entry; disabled and unreached entries are returned.
    void walk(WalkPresenter &p, QStringList &disabled, QStringList &unreached)
    {
        TMainform &m = *fx.form;
        int help = 0;
        kit::setHelpHook([&](int) { ++help; });
        AddressRecorder addresses;
        for (const char *scheme : {"http", "https", "file", "mailto"})
            QDesktopServices::setUrlHandler(QLatin1String(scheme), &addresses, "open");
        p.check(m, QStringLiteral("Mainform"));
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
                const int requests = p.requests;
                const qsizetype urls = addresses.urls.size();
                const int helps = help;
                const bool checked = e.action->isChecked();
                const QSet<QWidget *> before = shownWindows();
                e.action->trigger();
                QApplication::processEvents();
                const QSet<QWidget *> after = shownWindows();
                const bool reached = p.requests > requests || addresses.urls.size() > urls || help > helps
                    || (e.action->isCheckable() && (e.action->isChecked() != checked || e.action->isChecked()))
                    || !(after - before).isEmpty();
                if (!reached)
                    unreached << name;
                QVERIFY2(!QApplication::activeModalWidget(), qPrintable(name + QStringLiteral(" left a dialog open")));
                for (QWidget *w : after - before) {
                    p.check(*w, name + u'/' + w->objectName());
                    w->close();
                }
                if (e.action->isCheckable() && checked && !e.action->isChecked())
                    e.action->trigger(); // back as it was
                QVERIFY2(m.Table1->active(), qPrintable(name + QStringLiteral(" closed the media table")));
            }
        }
        for (const char *scheme : {"http", "https", "file", "mailto"})
            QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
    }

    // One line each, then the count: a long list is never cut short.
    static void report(const QStringList &faults)
    {
        for (const QString &f : faults)
            qWarning("%s", qPrintable(f));
        QCOMPARE(faults.size(), 0);
    }

    void openDatabase()
    {
        // The program folder the build made, as a new user has it; new
        // databases go elsewhere.
        ProgDir = QStringLiteral(TARVO_PROGDIR "/");
        SkinDir = ProgDir + QStringLiteral("Skins/");
        DBsDir = fx.settings.path(QStringLiteral("DBs/"));
        // The user's own files (label formats, web search) live in a profile
        // folder of the test, never in the program folder the build made.
        const QString profile = fx.settings.path(QStringLiteral("data/Ozo-Software/Tarvo/"));
        QDir().mkpath(profile);
        for (const char *name : {"userlabels2.db", "search.ini"})
            QFile::copy(ProgDir + QLatin1String(name), profile + QLatin1String(name));
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, card::numberedFilms(3, 60));
        fx.addMedium(QStringLiteral("DVD"), 2, 120, card::numberedFilms(1, 100));
        TMainform &m = fx.open();
        fx.unlock();
        m.show();
        InstallIntroboxDoor();
        // Nothing of the walk may wait for the network or for a printer.
        UpwardDoors.AutoUpdateCheck = [] {};
    }

private slots:
    void initTestCase() { kit::UseProgramFont(); }
    void init() { fx.setUp(); }
    void cleanup()
    {
        kit::setHelpHook({});
        fx.tearDown();
    }

    void everyEnabledEntryReachesItsFunction()
    {
        openDatabase();
        WalkPresenter p;
        kit::Presenter *scripted = kit::setPresenter(&p);
        QStringList disabled, unreached;
        walk(p, disabled, unreached);
        kit::setPresenter(scripted);
        // Entries that only save or switch without showing anything.
        for (const char *silent : {"Flush1", "Men_dvd_kk_nur1film"})
            unreached.removeAll(QLatin1String(silent));
        QVERIFY2(unreached.isEmpty(), qPrintable(QStringLiteral("reach nothing: ") + unreached.join(QLatin1String(", "))));
        // The current medium (DVD 2) has one film: the other slots have none.
        for (const char *empty : {"AnhFilm2", "AnhFilm3", "AnhFilm4", "AnhFilm5"})
            QVERIFY(disabled.removeOne(QLatin1String(empty)));
        // Every other entry is there.
        QCOMPARE(disabled, QStringList());
        report(p.faults);
    }

    void everyDialogTakesValidInputAndOk()
    {
        openDatabase();
        WalkPresenter p;
        p.agree = true;
        p.folder = fx.settings.path(QStringLiteral("walk"));
        QDir().mkpath(p.folder);
        // Printing goes to a file; a disc in the drive has a serial number.
        ProgramPrinter().setOutputFileName(p.folder + QStringLiteral("/walk.pdf"));
        struct Disc : platform::VolumeSerialReader {
            std::optional<platform::VolumeFacts> read(const QString &) override
            {
                return platform::VolumeFacts{QStringLiteral("ABCD-1234"), QString(), 0};
            }
        } disc;
        platform::setVolumeSerialReader(&disc);
        // The manual is not part of the build.
        p.expectedErrors << QStringLiteral("Fehler!");
        // What a new user types where the preset is not enough.
        p.fills.insert(QStringLiteral("DPack"), [](QDialog &d) {
            for (const char *box : {"CheckBox1", "CheckBox2", "CheckBox3"})
                d.findChild<QCheckBox *>(QLatin1String(box))->setChecked(true);
        });
        p.fills.insert(QStringLiteral("DPwd"), [](QDialog &d) {
            for (const char *edit : {"Edit1", "Edit2"})
                d.findChild<QLineEdit *>(QLatin1String(edit))->setText(QStringLiteral("geheim"));
        });
        p.fills.insert(QStringLiteral("DLocateKass"), [](QDialog &d) {
            d.findChild<QLineEdit *>(QStringLiteral("EditMed"))->setText(QStringLiteral("VHS-SB"));
            d.findChild<QSpinBox *>(QStringLiteral("SpinEdit1"))->setValue(1);
        });
        p.fills.insert(QStringLiteral("DAbfrageDef"), [](QDialog &d) {
            d.findChild<QPlainTextEdit *>(QStringLiteral("Memo1"))->setPlainText(QStringLiteral("SELECT * FROM FILM"));
        });
        kit::Presenter *scripted = kit::setPresenter(&p);
        QStringList disabled, unreached;
        walk(p, disabled, unreached);
        kit::setPresenter(scripted);
        platform::setVolumeSerialReader(nullptr);
        report(p.refused);
        report(p.faults);
    }
};

QTEST_MAIN(TestMenuWalk)
#include "tst_menuwalk.moc"
