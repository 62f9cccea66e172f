// The template files of a new database in the program folder of a test.
#pragma once

#include "app/settings.h"
#include "data/tableschemas.h"

#include <QFile>
#include <QtTest>

inline void WriteTestTemplates()
{
    CreateTemplateTables(ProgDir);
    for (const char *f : {"Def60.KAT", "Def60.Pers.LAB"}) {
        QFile file(ProgDir + QLatin1String(f));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
}
