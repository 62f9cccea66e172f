// Runs SQL on a table file directly, behind the store's back, as another
// program would; the store's collations are registered so that keyed orders
// hold.
#pragma once

#include "engine/tablefile.h"

#include <QFile>
#include <QtTest>
#include <sqlite3.h>

inline void tamper(const QString &path, const char *sql)
{
    sqlite3 *db = nullptr;
    QVERIFY(sqlite3_open(QFile::encodeName(path).constData(), &db) == SQLITE_OK);
    engine::registerCollations(db);
    char *error = nullptr;
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &error);
    const QByteArray message = error ? QByteArray(error) : QByteArray();
    sqlite3_free(error);
    sqlite3_close(db);
    QVERIFY2(rc == SQLITE_OK, message.constData());
}
