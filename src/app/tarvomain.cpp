#include "app/tarvomain.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QWidget>

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

int TarvoMain(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvo"));
    QApplication::setOrganizationName(QStringLiteral("Ozo-Software"));
    InstallGermanTranslations(app);

    QWidget main;
    main.setObjectName(QStringLiteral("Mainform"));
    main.setWindowTitle(QStringLiteral("Tarvo"));
    main.resize(640, 480);
    main.show();
    return app.exec();
}
