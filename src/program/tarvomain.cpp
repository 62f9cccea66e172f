#include "program/tarvomain.h"

#include "app/apppaths.h"
#include "program/controlhandlers.h"
#include "program/guardedapplication.h"
#include "program/lookactions.h"
#include "program/programdialogs.h"
#include "program/introbox.h"
#include "app/settings.h"
#include "data/upwarddoors.h"
#include "engine/session.h"
#include "platform/version.h"
#include "windows/queries/dupdchk.h"
#include "windows/main/mainform.h"

#include "kit/textfit.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

void InstallGermanTranslations(QApplication &app)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char *name : {"qtbase_de", "qt_de"}) {
        auto *tr = new QTranslator(&app);
        if (tr->load(QLatin1String(name), dir))
            app.installTranslator(tr);
        else
            delete tr;
    }
}

void StartTarvo(const QStringList &args)
{
    InitSettingsDefaults(GetProgramDir());
    ApplyLookActions(ReadStartParameters(args));
    if (NetworkMode)
        engine::Session::instance().setNetFileDir(NetFileDir);
    // The permanent windows, in their order; the others join as they are built.
    Mainform = CreateForm<TMainform>();
    UpwardDoors.AutoUpdateCheck = [] { AutoUpdateCheck(Mainform); };
    Introbox = new TIntrobox;
    InstallIntroboxDoor();
    // The main window's first activation waits while the intro box shows;
    // a window manager leaves the main window active when the box goes, so
    // its going is that activation (the tip, the hint, the overdue list).
    QObject::connect(Introbox, &QDialog::finished, Mainform, [] {
        QTimer::singleShot(0, Mainform, [] {
            if (Mainform && Mainform->isActiveWindow())
                Mainform->FormActivate();
        });
    });
    Mainform->show();
}

int TarvoMain(int argc, char **argv)
{
    TGuardedApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvo"));
    QApplication::setOrganizationName(QStringLiteral("Ozo-Software"));
    QApplication::setApplicationVersion(platform::TarvoVersionString());
    QGuiApplication::setDesktopFileName(platform::TarvoDesktopId());
    // The face the windows are laid out for, whatever the desktop prefers.
    kit::UseProgramFont();
    InstallGermanTranslations(app);
    ProgramDialogs dialogs;
    InstallControlHandlers();
    StartTarvo(app.arguments().mid(1));
    const int rc = app.exec();
    delete Introbox;
    delete Mainform;
    return rc;
}
