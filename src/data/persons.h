// The person card file's rules as plain functions over the open tables: the
// statements of the person window (its name list and the person's films),
// the duplicate check of a name, the rename carried into the films, locating
// and adding a person, the picture check, the primary-index repair, the
// choice of the person file and the import from another person file.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include "data/tablerepair.h"

#include <array>
#include <functional>

namespace engine {
class DataSet;
class Table;
}

// ---- the window's statements ----------------------------------------------------------
// "SELECT Name" / "FROM" + the table / "WHERE" / " :Filter = false OR ...".
QStringList PersonListSql(const QString &personRef);
// The film free fields searched for a person: those marked as person fields,
// else every one that is not a file link.
QList<int> PersonFilmFields();
// The two halves joined by "UNION" (title + " - " + subtitle, or the title
// continued by a subtitle starting with ">"), over the fields given.
QStringList PersonFilmsSql(const QString &filmRef, const QList<int> &fields);
// The parameter N of both statements: "%" + text + "%".
QString PersonLikeParam(const QString &text);

// The expand button's caption: "<< &Liste schließen" while the list is open,
// else "Ihre &Filme >>" (female) or "Seine &Filme >>".
QString PersonExpandCaption(bool listOpen, bool female);
// "Ihre Filme:" / "Seine Filme:", "Alle Personen:" / "Gefundene Personen:".
QString PersonFilmsHeading(bool female);
QString PersonListHeading(int mode);

// ---- names --------------------------------------------------------------------------
// True when another person (not the one named oldName) carries newName,
// letters compared in upper case and "%" and "_" taken as characters.
bool PersonNameTaken(const engine::Table &persons, const QString &newName, const QString &oldName);
extern const QString DuplicatePersonMessage;
// The new name written into every film person field that holds exactly the
// old one: one statement per person field, all in one transaction (the
// caller's, when it runs one). Returns the number of fields changed.
int PropagatePersonRename(const engine::Table &films, const QString &oldName, const QString &newName);

// Moves the table to the person of exactly that name; true when found.
bool LocatePersonByName(engine::Table &persons, const QString &name);
// Posts a pending edit, adds a person with that name and posts it; nothing
// while the table is read-only. False when nothing was added.
bool InsertPerson(engine::Table &persons, const QString &name);

// ---- maintenance --------------------------------------------------------------------------
// Decodes every person picture, clears those that fail, with the wait box
// and the closing report. True when at least one picture was removed.
// decodes tells whether the bytes make a picture.
bool ScanPersonPictures(engine::Table &persons, const std::function<bool(const QByteArray &)> &decodes,
                        PictureScanResult *result = nullptr);
// After the person table opens: a missing primary index is rebuilt, with
// the reports before and after.
void RepairPersonPrimaryIndex(engine::Table &persons);

// ---- the person file ----------------------------------------------------------------------
// The OK of "Personenkartei Auswahl": own = the first choice; fileName the
// edit. Sets setting (PersDBFile) and returns true, or shows the message and
// returns false with the setting unchanged.
bool ApplyPersonFileChoice(bool own, const QString &fileName, QString &setting);
// The person table's base for a database: the shared file when it is set
// and exists, else the database's own.
QString PersonBaseFor(const QString &dbBase, const QString &persDBFile);
// Closes the person table, points it at PersBase and opens it again.
bool ReopenPersonTable(engine::Table &persons);

// ---- import -------------------------------------------------------------------------------
enum class PersonImportMode { Skip = 0, Overwrite = 1, Complete = 2 };
constexpr int PersonImportMemoTarget = 7; // target index of "Memo"

struct PersonImportOptions {
    PersonImportMode mode = PersonImportMode::Complete;
    bool memo = false;
    bool grafik = false;
    std::array<bool, 7> rowOn{};       // field rows 1..7 checked
    std::array<int, 7> target{};       // 0..6 target field 1..7, 7 the memo
    std::array<QString, 7> caption{};  // the source captions (without "&")
};

// The source is valid when it exists and is not the current person table.
bool PersonImportSourceValid(const QString &source, const QString &currentTable);
// The source's captions file: the path less its last two characters + "LAB".
QString PersonImportCaptionsPath(const QString &source);
// Its seven captions (lines 1..6 and the line after the flags), or an empty
// list when the file does not exist.
QStringList ReadPersonCaptions(const QString &captionsPath);
QString MissingCaptionsMessage(const QString &captionsPath);
// A row starts checked unless its caption starts with "FREE" or "FREI".
bool PersonImportRowChecked(const QString &caption);

// One person's fields as the merge sees them.
struct PersonValues {
    QString mf;
    std::array<QString, 7> free{};
    QString memo;
    QByteArray grafik;
};
// The target after merging source into it (exists: the target had the name).
PersonValues MergePerson(const PersonValues &source, const PersonValues &target, bool exists,
                         const PersonImportOptions &o);
// Walks the source table in its order and merges every person into the
// target, one transaction. Returns the number of persons written.
int ImportPersons(engine::Table &source, engine::Table &target, const PersonImportOptions &o);
