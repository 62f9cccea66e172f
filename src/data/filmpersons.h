// The person fields of a film before it is posted: each name is matched
// against the person card file; the user's answers make a plan of new
// person cards and renames, which goes into the person table inside the
// film's post, so the film and its person changes commit together.
#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <functional>

namespace engine {
class Table;
}

struct PersonFieldEntry {
    int nr = 0;          // free field 1..15
    QString caption;     // without "&"
    QString name;        // what the field holds now
    QString oldName;     // what it held when editing started
    bool answered = false; // the user declined a card for this name already
};

// TDAskNewPerson's choices.
enum PersonRenameChoice : int { prcCancel = -1, prcRename = 0, prcNewPerson = 1, prcOnlyField = 2 };

struct PersonPlan {
    bool aborted = false;
    QStringList newPersons;                  // names to insert
    QList<QPair<QString, QString>> renames;  // old name, new name
    QList<int> renamedFields;                // the fields of the renames
};

// askRename(caption, old, new) gives a PersonRenameChoice; askNew(caption,
// name) gives mrYes, mrNo or mrCancel. A new name is asked about once: not
// when the user answered for it before (answered), nor again for a second
// field that holds it.
PersonPlan PlanPersonChanges(const QList<PersonFieldEntry> &fields,
                             const std::function<bool(const QString &)> &isPerson,
                             const std::function<int(const QString &, const QString &, const QString &)> &askRename,
                             const std::function<int(const QString &, const QString &)> &askNew);

// Exact look-up of a name in the person table.
bool PersonExists(const engine::Table &persons, const QString &name);
// Adds a person card with only the name (InsertPerson).
void InsertPersonName(const engine::Table &persons, const QString &name);
// Writes the plan into the person table and carries each rename into the
// person fields of the films (when films is given); throws the engine's
// error (a rename onto a name that exists breaks the key), which fails the post.
void ApplyPersonPlan(const engine::Table &persons, const PersonPlan &plan, const engine::Table *films = nullptr);
// The names of the person table in name order.
QStringList PersonNames(const engine::Table &persons);
// The completion of a person field: the first name after text that starts with it.
QString CompletePersonName(const engine::Table &persons, const QString &text);
