#include "data/tablerepair.h"

#include "app/appmessage.h"
#include "data/recordsql.h"
#include "data/tabletools.h"
#include "engine/engineerror.h"
#include "engine/session.h"
#include "engine/sqlutil.h"
#include "engine/table.h"

#include <QScopedValueRollback>

#include <sqlite3.h>

namespace {
bool g_repairing = false;

bool inEdit(const engine::DataSet &t)
{
    return t.active() && (t.state() == engine::DataSetState::Edit || t.state() == engine::DataSetState::Insert);
}
} // namespace

bool RepairPrimaryIndexOf(engine::Table &table, int keyFields, const TIndexRepairTexts &texts, engine::Table *second)
{
    // The rebuild reopens the table, which runs this step again: never twice.
    if (g_repairing || !table.active() || HasPrimaryIndex(table))
        return !g_repairing && table.active();
    const QScopedValueRollback<bool> repairing(g_repairing, true);
    AppMessage(texts.missing, QStringLiteral("Nicht-schwerer Fehler"), platform::MessageIcon::Information);
    const bool secondOpen = second && second != &table && second->active();
    if (secondOpen)
        second->close();
    QString engineMessage;
    try {
        RebuildPrimaryIndex(table, keyFields);
    } catch (const engine::EngineError &e) {
        engineMessage = e.message();
    }
    if (secondOpen) {
        try {
            second->open();
        } catch (const engine::EngineError &) {
        }
    }
    const bool ok = engineMessage.isEmpty() && HasPrimaryIndex(table);
    if (ok)
        AppMessage(texts.rebuilt, QStringLiteral("Erfolg"), platform::MessageIcon::Information);
    else
        AppMessage(texts.failed + (engineMessage.isEmpty() ? QString() : QStringLiteral("\r") + engineMessage),
                   QStringLiteral("Datenbank-Fehler"), platform::MessageIcon::Error);
    return ok;
}

bool ScanTablePictures(engine::Table &table, const QStringList &keyFields, const TPictureScanTexts &texts,
                       const std::function<bool(const QByteArray &)> &decodes, PictureScanResult *result)
{
    PictureScanResult r;
    struct Report {
        PictureScanResult &r;
        PictureScanResult *out;
        ~Report()
        {
            if (out)
                *out = r;
        }
    } report{r, result};
    if (!table.active())
        return false;
    if (inEdit(table))
        table.post();
    platform::userDialogs().beginProgress(texts.waiting, QString());
    // The wait box goes before any box that reports: it would cover it.
    struct End {
        bool waiting = true;
        void close()
        {
            if (waiting)
                platform::userDialogs().endProgress();
            waiting = false;
        }
        ~End() { close(); }
    } end;
    auto internalError = [&end](const QString &text) {
        end.close();
        AppMessage(text, QStringLiteral("Interner Fehler"), platform::MessageIcon::Error);
    };
    QList<QVariantList> invalid;
    {
        QStringList columns;
        for (const QString &k : keyFields)
            columns << u'"' + k + u'"';
        std::unique_ptr<engine::Stmt> st;
        try {
            st = std::make_unique<engine::Stmt>(table.session().handle(),
                                                QStringLiteral("SELECT %1, Grafik FROM %2 WHERE Grafik IS NOT NULL")
                                                    .arg(columns.join(QStringLiteral(", ")), recordsql::tableRef(table)));
        } catch (const engine::EngineError &) {
            internalError(texts.openFailed);
            return false;
        }
        const int pictureColumn = int(keyFields.size());
        QList<engine::FieldType> types;
        for (const QString &k : keyFields) {
            const engine::Field *f = table.findField(k);
            types << (f ? f->dataType() : engine::FieldType::String);
        }
        int rc = SQLITE_ROW;
        while ((rc = st->step()) == SQLITE_ROW) {
            const QByteArray bytes = st->column(pictureColumn, engine::FieldType::Graphic).toByteArray();
            ++r.checked;
            if (!decodes(bytes)) {
                ++r.invalid;
                QVariantList key;
                for (int i = 0; i < pictureColumn; ++i)
                    key << st->column(i, types[i]);
                invalid << key;
            }
            platform::userDialogs().progressText(QString::number(r.checked) + QStringLiteral(" Grafiken geprüft."));
        }
        if (rc != SQLITE_DONE) {
            internalError(QStringLiteral("Problem beim Zugriff auf die Abfrage!"));
            return false;
        }
    }
    if (!invalid.isEmpty()) {
        QStringList terms;
        for (int i = 0; i < keyFields.size(); ++i)
            terms << QStringLiteral("\"%1\" = ?%2 COLLATE BINARY").arg(keyFields[i]).arg(i + 1);
        const QString sql = QStringLiteral("UPDATE %1 SET Grafik = NULL WHERE %2")
                                .arg(recordsql::tableRef(table), terms.join(QStringLiteral(" AND ")));
        // All or nothing: a failure leaves every picture where it was.
        try {
            engine::Session::Transaction tx(table.session());
            int removed = 0;
            for (const QVariantList &key : invalid)
                removed += recordsql::change(table, sql, key);
            tx.commit();
            r.removed = removed;
        } catch (const engine::EngineError &) {
            internalError(texts.removeFailed);
        }
        if (r.removed)
            table.refresh();
    }
    end.close();
    AppMessage(QStringLiteral("Es wurden ") + QString::number(r.checked) + u' ' + texts.pictures
                   + QStringLiteral(" überprüft, ") + QStringLiteral("davon wurden ") + QString::number(r.invalid)
                   + QStringLiteral(" als ungültig erkannt und ") + QString::number(r.removed)
                   + QStringLiteral(" erfolgreich gelöscht!"),
               QStringLiteral("Fertig"), platform::MessageIcon::Information);
    return r.removed > 0;
}
