#include "data/filmpersons.h"

#include "data/filmcard.h"
#include "data/persons.h"
#include "data/recordsql.h"
#include "engine/session.h"
#include "engine/sqlutil.h"
#include "engine/table.h"
#include "platform/modalresult.h"

PersonPlan PlanPersonChanges(const QList<PersonFieldEntry> &fields,
                             const std::function<bool(const QString &)> &isPerson,
                             const std::function<int(const QString &, const QString &, const QString &)> &askRename,
                             const std::function<int(const QString &, const QString &)> &askNew)
{
    PersonPlan plan;
    QStringList declined;
    for (const PersonFieldEntry &f : fields) {
        switch (ClassifyPersonName(f.name, f.oldName, isPerson)) {
        case PersonCheck::Nothing:
            break;
        case PersonCheck::AskRename:
            switch (askRename(f.caption, f.oldName, f.name)) {
            case prcRename:
                plan.renames.append({f.oldName, f.name});
                plan.renamedFields.append(f.nr);
                break;
            case prcNewPerson:
                if (!plan.newPersons.contains(f.name))
                    plan.newPersons.append(f.name);
                break;
            case prcOnlyField:
                break;
            default:
                plan.aborted = true;
                return plan;
            }
            break;
        case PersonCheck::AskNew: {
            if (f.answered || declined.contains(f.name) || plan.newPersons.contains(f.name))
                break;
            const int r = askNew(f.caption, f.name);
            if (r == mrYes) {
                plan.newPersons.append(f.name);
            } else if (r == mrNo) {
                declined.append(f.name);
            } else {
                plan.aborted = true;
                return plan;
            }
            break;
        }
        }
    }
    return plan;
}

bool PersonExists(const engine::Table &persons, const QString &name)
{
    return recordsql::count(persons.session(),
                            QStringLiteral("SELECT COUNT(*) FROM %1 WHERE Name = ?1 COLLATE BINARY")
                                .arg(recordsql::tableRef(persons)),
                            {name})
        > 0;
}

void InsertPersonName(const engine::Table &persons, const QString &name)
{
    recordsql::change(persons, QStringLiteral("INSERT INTO %1 (Name) VALUES (?1)").arg(recordsql::tableRef(persons)),
                      {name});
}

void ApplyPersonPlan(const engine::Table &persons, const PersonPlan &plan, const engine::Table *films)
{
    for (const QString &n : plan.newPersons)
        if (!PersonExists(persons, n))
            InsertPersonName(persons, n);
    for (const auto &r : plan.renames)
        recordsql::change(persons,
                          QStringLiteral("UPDATE %1 SET Name = ?2 WHERE Name = ?1 COLLATE BINARY")
                              .arg(recordsql::tableRef(persons)),
                          {r.first, r.second});
    if (films)
        for (const auto &r : plan.renames)
            PropagatePersonRename(*films, r.first, r.second);
}

QStringList PersonNames(const engine::Table &persons)
{
    engine::Stmt st(persons.session().handle(),
                    QStringLiteral("SELECT Name FROM %1 WHERE Name IS NOT NULL ORDER BY Name")
                        .arg(recordsql::tableRef(persons)));
    QStringList r;
    while (st.step() == SQLITE_ROW)
        r << st.text(0);
    return r;
}

QString CompletePersonName(const engine::Table &persons, const QString &text)
{
    if (text.isEmpty())
        return {};
    QString pattern = text;
    pattern.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('%'), QStringLiteral("\\%"))
        .replace(QLatin1Char('_'), QStringLiteral("\\_"));
    return recordsql::scalar(persons.session(),
                             QStringLiteral("SELECT Name FROM %1 WHERE Name LIKE ?1 ESCAPE '\\' AND Name <> ?2 "
                                            "ORDER BY Name LIMIT 1")
                                 .arg(recordsql::tableRef(persons)),
                             {pattern + QLatin1Char('%'), text})
        .toString();
}
