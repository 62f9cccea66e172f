// libFuzzer target for the SQL translator: any input either translates into
// SQLite text that prepares, or raises SqlError; nothing else may happen.
#include "sqlsample.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QList<engine::sql::TableInfo> tables = sampleTables(QStringLiteral("/fuzz"));
    static sqlite3 *db = openSampleDatabase(tables);
    const QStringList lines = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)).split(u'\n');
    engine::sql::parameterNames(lines);
    const engine::sql::TranslateContext ctx = sampleContext(tables, QStringLiteral("/fuzz"));
    try {
        const engine::sql::Translation t = engine::sql::translate(lines, ctx);
        if (!t.sql.isEmpty()) {
            sqlite3_stmt *st = nullptr;
            if (sqlite3_prepare_v2(db, t.sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK) {
                fprintf(stderr, "translated SQL does not prepare: %s\n%s\n", qPrintable(t.sql), sqlite3_errmsg(db));
                abort();
            }
            if (t.kind == engine::sql::StatementKind::Select && !sqlite3_stmt_readonly(st))
                abort();
            sqlite3_finalize(st);
        }
    } catch (const engine::sql::SqlError &) {
    }
    return 0;
}
