// What the record windows share for their free fields: the value list of a
// drop-down, the type-ahead completion, and file links (storing a path,
// copying a file into the database's "LNK" folder, the collection folder).
// Plain functions over the open tables; messages go to the caller's sink.
#pragma once

#include "data/freefieldlabels.h"

#include <QString>
#include <QStringList>

namespace engine {
class DataSet;
class Field;
class Table;
}

// ---- Value lists ------------------------------------------------------------------
constexpr int MaxFreeFieldValues = 255;

// The distinct values of field "Free"+nr of the table (at most 255). For media
// (isMedium): the values of all media when the current kind has no caption
// row of its own for the field in lab, else only those of media of that kind.
// lab may be null or closed (then all media count).
QStringList FreeFieldValues(const engine::Table &table, int nr, bool isMedium, const QString &kind,
                            const engine::Table *lab);
// Fills items (only when it is empty) as above.
void FillFreeFieldValueList(const engine::Table &table, int nr, bool isMedium, const QString &kind,
                            const engine::Table *lab, QStringList &items);

// ---- Type-ahead --------------------------------------------------------------------
// The first stored value (in field order) that begins with prefix and differs
// from it; empty when there is none.
QString FindTypeAheadCompletion(const engine::Table &table, int nr, const QString &prefix);

// The text of a drop-down's edit with its caret and selection.
struct TTypeAheadText
{
    QString text;
    int cursor = 0;
    int selStart = -1; // -1: nothing selected
    int selLength = 0;
};
// The completion put into the edit: the added characters selected, the caret
// where it was. Unchanged when the completion does not extend the typed text.
TTypeAheadText ApplyCompletion(const TTypeAheadText &typed, const QString &completion);
// Escape after a completion: when the selection reaches the end of the text,
// the text is cut at the selection start and the caret goes to the end. True
// when there was a completion to undo.
bool UndoCompletion(TTypeAheadText &t);

// ---- File links ----------------------------------------------------------------------
// The text stored for a linked path in a field of size characters: inside
// dbBase + "LNK/" the name relative to it, elsewhere in the data folder
// "../" + the name relative to dbBase, any other path whole. Empty when it
// does not fit.
QString LinkTextForPath(const QString &dbBase, const QString &path, int size);
QString TooLongLinkText(int size);
// Stores the link to path in the string field; false (after the message, the
// field unchanged) when it does not fit.
bool StoreLinkPath(engine::Field &field, const QString &path, const TMessageSink &show);
// Copies the file into the LNK folder and links the copy; a different file of
// that name there is never overwritten: then the message, and the original
// is linked. A file already in the data folder is linked where it is.
bool CopyFileIntoLinkFolder(engine::Field &field, const QString &path, const TMessageSink &show);
// Creates the collection folder named `name` (a plain name lies in LNK),
// links it, posts the record and reports. askName (may be null) may change
// the name or return false to end the operation.
bool CreateCollectionFolder(engine::DataSet &dataSet, engine::Field &field, const QString &name,
                            const std::function<bool(QString &)> &askName, const TMessageSink &show);
// Input box texts of the collection folder.
QString CollectionFolderCaption();
QString CollectionFolderPrompt();
// The message after opening a linked file failed with the shell's result code
// (empty for codes that show nothing).
QString OpenLinkErrorText(int shellResult);
// Whether the dropped file lies in the LNK folder (compared in upper case):
// then it is linked without the link-or-copy question.
bool IsInLinkFolder(const QString &dbBase, const QString &path);
