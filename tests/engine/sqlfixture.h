// A small collection in plain SQLite tables, described to the translator as
// the store describes its table files: for testing the dialect on its own.
#pragma once

#include "engine/sqldialect.h"
#include "sqlsample.h"
#include "engine/sqlfunctions.h"

#include <QHash>
#include <QStringList>
#include <QVariant>
#include <QtTest>

#include <sqlite3.h>

class SqlFixture
{
public:
    static constexpr const char *Folder = "/nonexistent/db";

    SqlFixture()
    {
        const QList<engine::sql::TableInfo> all = sampleTables(QLatin1String(Folder));
        db = openSampleDatabase(all);
        for (const engine::sql::TableInfo &t : all)
            tables.insert(t.filePath, t);
    }

    ~SqlFixture() { sqlite3_close(db); }

    static QString path(const QString &table) { return QStringLiteral("%1/%2.DB").arg(QLatin1String(Folder), table); }
    static QString quoted(const QString &table) { return u'"' + path(table) + u'"'; }

    void exec(const QString &sql)
    {
        char *err = nullptr;
        if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
            const QString msg = QString::fromUtf8(err);
            sqlite3_free(err);
            QFAIL(qPrintable(sql + QStringLiteral(": ") + msg));
        }
    }

    void insert(const QString &table, const QVariantMap &values)
    {
        QStringList cols, marks;
        for (auto it = values.begin(); it != values.end(); ++it) {
            cols << QStringLiteral("\"%1\"").arg(it.key());
            marks << QStringLiteral("?");
        }
        sqlite3_stmt *st = nullptr;
        const QString sql = QStringLiteral("INSERT INTO s%1.data (%2) VALUES (%3)")
                                .arg(table, cols.join(u','), marks.join(u','));
        QCOMPARE(sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr), SQLITE_OK);
        int i = 1;
        for (const QVariant &v : values)
            bind(st, i++, v);
        QCOMPARE(sqlite3_step(st), SQLITE_DONE);
        sqlite3_finalize(st);
    }

    static void bind(sqlite3_stmt *st, int i, const QVariant &v)
    {
        if (!v.isValid() || v.isNull())
            sqlite3_bind_null(st, i);
        else if (v.typeId() == QMetaType::Bool)
            sqlite3_bind_int(st, i, v.toBool() ? 1 : 0);
        else if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong)
            sqlite3_bind_int64(st, i, v.toLongLong());
        else if (v.typeId() == QMetaType::QDate)
            sqlite3_bind_text(st, i, v.toDate().toString(Qt::ISODate).toUtf8().constData(), -1, SQLITE_TRANSIENT);
        else
            sqlite3_bind_text(st, i, v.toString().toUtf8().constData(), -1, SQLITE_TRANSIENT);
    }

    engine::sql::TranslateContext context()
    {
        engine::sql::TranslateContext c;
        c.databaseFolder = QLatin1String(Folder);
        c.resolver = [this](const QString &p) -> const engine::sql::TableInfo * {
            auto it = tables.constFind(p);
            return it == tables.constEnd() ? nullptr : &it.value();
        };
        c.paramType = [this](const QString &n) {
            for (auto it = params.begin(); it != params.end(); ++it)
                if (it.key().compare(n, Qt::CaseInsensitive) == 0) {
                    switch (it.value().typeId()) {
                    case QMetaType::Bool: return ValueType::Boolean;
                    case QMetaType::Int: case QMetaType::LongLong: return ValueType::Integer;
                    case QMetaType::QDate: return ValueType::Date;
                    default: return ValueType::Text;
                    }
                }
            return ValueType::Unknown;
        };
        c.textCollation = QStringLiteral("TARVO_DE");
        return c;
    }

    engine::sql::Translation translate(const QStringList &lines)
    {
        return engine::sql::translate(lines, context());
    }

    // Runs a statement; the rows of a SELECT (without the row id column),
    // or for a change one row with the number of rows affected.
    QList<QVariantList> run(const QStringList &lines)
    {
        const engine::sql::Translation t = translate(lines);
        lastSql = t.sql;
        sqlite3_stmt *st = nullptr;
        if (sqlite3_prepare_v2(db, t.sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK) {
            const QString msg = QString::fromUtf8(sqlite3_errmsg(db));
            qWarning("%s\n%s", qPrintable(t.sql), qPrintable(msg));
            return {{QStringLiteral("PREPARE FAILED: ") + msg}};
        }
        for (const auto &p : t.params) {
            QVariant v;
            for (auto it = params.begin(); it != params.end(); ++it)
                if (it.key().compare(p.name, Qt::CaseInsensitive) == 0)
                    v = it.value();
            bind(st, p.sqlIndex, v);
        }
        QList<QVariantList> rows;
        int rc;
        const int n = int(t.columns.size());
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            QVariantList row;
            for (int i = 0; i < n; ++i) {
                switch (sqlite3_column_type(st, i)) {
                case SQLITE_NULL: row << QVariant(); break;
                case SQLITE_INTEGER: row << QVariant(qlonglong(sqlite3_column_int64(st, i))); break;
                case SQLITE_FLOAT: row << sqlite3_column_double(st, i); break;
                default:
                    row << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, i)));
                }
            }
            rows << row;
        }
        if (rc != SQLITE_DONE)
            rows << QVariantList{QStringLiteral("STEP FAILED: ") + QString::fromUtf8(sqlite3_errmsg(db))};
        sqlite3_finalize(st);
        if (t.kind != engine::sql::StatementKind::Select)
            rows = {{qlonglong(sqlite3_changes(db))}};
        return rows;
    }

    QVariant scalar(const QStringList &lines)
    {
        const QList<QVariantList> rows = run(lines);
        return rows.isEmpty() || rows[0].isEmpty() ? QVariant() : rows[0][0];
    }

    // Column 0 of every row as text.
    QStringList column(const QStringList &lines, int c = 0)
    {
        QStringList out;
        for (const QVariantList &r : run(lines))
            out << (c < r.size() ? r[c].toString() : QStringLiteral("<none>"));
        return out;
    }

    // The message of the error a statement raises ("" when it translates).
    QString errorOf(const QStringList &lines)
    {
        try {
            translate(lines);
        } catch (const engine::sql::SqlError &e) {
            return e.message();
        }
        return QString();
    }

    sqlite3 *db = nullptr;
    QHash<QString, engine::sql::TableInfo> tables;
    QVariantMap params;
    QString lastSql;
};
