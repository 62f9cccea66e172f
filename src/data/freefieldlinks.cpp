#include "data/freefieldlinks.h"

#include "app/apppaths.h"
#include "app/settings.h"
#include "data/recordsql.h"
#include "engine/dataset.h"
#include "engine/engineerror.h"
#include "engine/field.h"
#include "engine/session.h"
#include "engine/sqlutil.h"
#include "engine/table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString freeName(int nr)
{
    return QStringLiteral("Free") + QString::number(nr);
}

QStringList column(engine::Session &s, const QString &sql, const QVariantList &binds, int limit)
{
    QStringList out;
    engine::Stmt st(s.handle(), sql);
    for (int i = 0; i < binds.size(); ++i)
        st.bind(i + 1, binds[i]);
    int rc;
    while (out.size() < limit && (rc = st.step()) == SQLITE_ROW)
        out << st.text(0);
    return out;
}

bool sameBytes(const QString &a, const QString &b)
{
    QFile fa(a), fb(b);
    if (fa.size() != fb.size() || !fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly))
        return false;
    while (!fa.atEnd()) {
        if (fa.read(1 << 16) != fb.read(1 << 16))
            return false;
    }
    return true;
}

} // namespace

QStringList FreeFieldValues(const engine::Table &table, int nr, bool isMedium, const QString &kind,
                            const engine::Table *lab)
{
    const QString f = freeName(nr);
    QString sql = QStringLiteral("SELECT DISTINCT %1 FROM %2 WHERE %1 IS NOT NULL AND %1 <> ''")
                      .arg(f, recordsql::tableRef(table));
    QVariantList binds;
    if (isMedium && lab && lab->active()) {
        sql += QStringLiteral(" AND (NOT EXISTS (SELECT * FROM %1 WHERE ANH = ?1 COLLATE BINARY AND FreeNr = ?2)"
                              " OR Medium = ?1 COLLATE BINARY)")
                   .arg(recordsql::tableRef(*lab));
        binds << kind.left(6) << nr;
    }
    sql += QStringLiteral(" ORDER BY %1").arg(f);
    return column(table.session(), sql, binds, MaxFreeFieldValues);
}

void FillFreeFieldValueList(const engine::Table &table, int nr, bool isMedium, const QString &kind,
                            const engine::Table *lab, QStringList &items)
{
    if (!items.isEmpty())
        return;
    items = FreeFieldValues(table, nr, isMedium, kind, lab);
}

QString FindTypeAheadCompletion(const engine::Table &table, int nr, const QString &prefix)
{
    if (prefix.isEmpty())
        return {};
    const QString f = freeName(nr);
    // The prefix is bound, its wildcards escaped: a typed "%" or "_" is text.
    QString pattern = prefix;
    pattern.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
        .replace(QLatin1Char('%'), QLatin1String("\\%"))
        .replace(QLatin1Char('_'), QLatin1String("\\_"));
    const QStringList hit = column(
        table.session(),
        QStringLiteral("SELECT %1 FROM %2 WHERE %1 LIKE ?1 ESCAPE '\\' AND %1 <> ?2 COLLATE BINARY "
                       "AND substr(%1, 1, length(?2)) = ?2 COLLATE BINARY ORDER BY %1")
            .arg(f, recordsql::tableRef(table)),
        {pattern + QLatin1Char('%'), prefix}, 1);
    return hit.isEmpty() ? QString() : hit.first();
}

TTypeAheadText ApplyCompletion(const TTypeAheadText &typed, const QString &completion)
{
    if (completion.size() <= typed.text.size() || !completion.startsWith(typed.text))
        return typed;
    TTypeAheadText t;
    t.text = completion;
    t.cursor = typed.cursor;
    t.selStart = int(typed.text.size());
    t.selLength = int(completion.size() - typed.text.size());
    return t;
}

bool UndoCompletion(TTypeAheadText &t)
{
    if (t.selStart < 0 || t.selLength <= 0 || t.selStart + t.selLength != t.text.size())
        return false;
    t.text.truncate(t.selStart);
    t.cursor = int(t.text.size());
    t.selStart = -1;
    t.selLength = 0;
    return true;
}

QString LinkTextForPath(const QString &dbBase, const QString &path, int size)
{
    QString text = path;
    if (!dbBase.isEmpty() && path.startsWith(dbBase)) {
        const QString lnk = dbBase + QStringLiteral("LNK/");
        if (path.startsWith(lnk))
            text = path.mid(lnk.size());
        else
            text = QStringLiteral("../") + path.mid(dbBase.size());
    }
    // Short 8.3 names do not exist here: a text too long stays too long.
    if (size > 0 && text.size() > size)
        return {};
    return text;
}

QString TooLongLinkText(int size)
{
    return QStringLiteral("Der Pfad zur angegebenen Datei ist leider zu lang, dieses Feld fasst nur ")
           + QString::number(size)
           + QStringLiteral(" Zeichen, und die genügen nicht (selbst im verkürzten 8.3-Format ist der Pfad immer "
                            "noch zu lang)!\rSpeichern Sie die Datei am besten in einem Verzeichnis mit kürzerem "
                            "Pfad...");
}

bool StoreLinkPath(engine::Field &field, const QString &path, const TMessageSink &show)
{
    const QString text = LinkTextForPath(DBBase, path, field.size());
    if (text.isEmpty()) {
        if (show)
            show({QStringLiteral("Dateiverknüpfung nicht möglich!"), TooLongLinkText(field.size()),
                  TUserMessage::Information});
        return false;
    }
    field.setAsString(text);
    return true;
}

bool IsInLinkFolder(const QString &dbBase, const QString &path)
{
    return !dbBase.isEmpty() && path.toUpper().startsWith((dbBase + QStringLiteral("LNK/")).toUpper());
}

bool CopyFileIntoLinkFolder(engine::Field &field, const QString &path, const TMessageSink &show)
{
    if (!DBBase.isEmpty() && path.startsWith(DBBase))
        return StoreLinkPath(field, path, show);
    const QString target = DBBase + QStringLiteral("LNK/") + QFileInfo(path).fileName();
    QDir().mkpath(DBBase + QStringLiteral("LNK"));
    bool copied = false;
    if (QFileInfo::exists(target))
        copied = sameBytes(path, target); // the same file was copied before: link that copy
    else
        copied = QFile::copy(path, target);
    if (!copied) {
        if (show)
            show({QStringLiteral("Datei konnte nicht kopiert werden!"),
                  QStringLiteral("Es war nicht möglich, die Datei in den Datenbank-lokalen LNK-Ordner zu kopieren, "
                                 "wahrscheinlich existiert dort schon eine Datei dieses Namens!\\lbEs wird daher "
                                 "eine Verknüpfung zur Originaldatei eingefügt."),
                  TUserMessage::Information, TUserMessage::MetalBox});
        return StoreLinkPath(field, path, show);
    }
    return StoreLinkPath(field, target, show);
}

QString CollectionFolderCaption()
{
    return QStringLiteral("Sammelordner erstellen");
}

QString CollectionFolderPrompt()
{
    return QStringLiteral("Es wird ein Ordner erzeugt, in welchem Sie beliebig viele Dateien zum Datensatz sammeln "
                          "können. Wählen Sie hier den Namen für diesen Ordner:");
}

bool CreateCollectionFolder(engine::DataSet &dataSet, engine::Field &field, const QString &name,
                            const std::function<bool(QString &)> &askName, const TMessageSink &show)
{
    QString chosen = name;
    if (askName && !askName(chosen))
        return false;
    const QString path = ExpandLinkPath(chosen);
    if (!QDir().mkpath(path)) {
        if (show)
            show({QStringLiteral("Fehler"),
                  QStringLiteral("Der Ordner ") + path + QStringLiteral(" konnte nicht erstellt werden!"),
                  TUserMessage::Error});
        return false;
    }
    if (dataSet.state() != engine::DataSetState::Edit && dataSet.state() != engine::DataSetState::Insert)
        dataSet.edit();
    if (!StoreLinkPath(field, path, show))
        return false;
    dataSet.post();
    if (show)
        show({QStringLiteral("Sammelorder erstellt"),
              QStringLiteral("Der Ordner wurde unter ") + path
                  + QStringLiteral(" erstellt und mit dem Datensatz verknüpft. \rMit einem Doppelklick können Sie "
                                   "ein Ordnerfenster öffnen, in das Sie nun beliebige Dateien zu diesem Datensatz "
                                   "kopieren können."),
              TUserMessage::Information, TUserMessage::MetalLiteral});
    return true;
}

QString OpenLinkErrorText(int shellResult)
{
    switch (shellResult) {
    case 11: return QStringLiteral("Unbekanntes Dateiformat!");
    case 2: return QStringLiteral("Datei nicht gefunden, existiert anscheinend nicht (mehr)!");
    case 3: return QStringLiteral("Pfad nicht gefunden!");
    case 0: return QStringLiteral("Nicht genügend freier Speicher!");
    }
    return {};
}
