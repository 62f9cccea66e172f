// The captions of the free fields (5 per medium, 15 per film, 7 per person)
// with their switches (the field holds a file link; a film field holds person
// names), and their two stores: the caption table "LAB.DB" and the person
// captions file "Pers.LAB". The captions live here, not in the windows: the
// record windows subscribe and show them on their caption labels, so that
// printing, export and queries read the same values without a window.
#pragma once

#include <QString>

#include <functional>

namespace engine {
class DataSet;
class Table;
}

enum class TFreeKind { Medium, Film, Person };

constexpr int MediumFreeCount = 5;
constexpr int FilmFreeCount = 15;
constexpr int PersonFreeCount = 7;

// A message for the user that a rule could not show itself: the caller's
// window shows it (through the kit's presenter).
struct TUserMessage
{
    enum Icon { Information, Error };
    // The system-style box, or the program's own box with its mark-up (or
    // with the text shown exactly as given).
    enum Box { SystemBox, MetalBox, MetalLiteral };
    QString caption;
    QString text;
    Icon icon = Error;
    Box box = SystemBox;
};
using TMessageSink = std::function<void(const TUserMessage &)>;

// "Frei&" followed by the field number.
QString DefaultFreeCaption(int nr);
// 1..15 as decimal text; any other number gives "1".
QString FreeNrToStr(int nr);
// The text with every "&" removed (display labels, printing, export).
QString StripAmpersands(const QString &text);

// The caption sets "FILM", "KASS" and "PERS" have a meaning of their own in
// the caption table; a medium kind of that name (any case) would overwrite
// them, so no medium kind may be named so.
bool IsReservedCaptionSet(const QString &kind);
QString ReservedKindText(const QString &kind);

// ---- The captions in force ---------------------------------------------------
// Numbers outside the kind's range are ignored (getters: empty text, false).
QString GetMediumFreeLabel(int nr);
void SetMediumFreeLabel(int nr, const QString &caption);
bool GetMediumFreeIsFileLink(int nr);
void SetMediumFreeIsFileLink(int nr, bool on);
QString GetFilmFreeLabel(int nr);
void SetFilmFreeLabel(int nr, const QString &caption);
bool GetFilmFreeIsFileLink(int nr);
void SetFilmFreeIsFileLink(int nr, bool on); // on clears the person flag
bool GetFilmFreeIsPerson(int nr);
void SetFilmFreeIsPerson(int nr, bool on);   // on clears the file-link flag
QString GetPersonFreeLabel(int nr);
void SetPersonFreeLabel(int nr, const QString &caption);
bool GetPersonFreeIsFileLink(int nr);
void SetPersonFreeIsFileLink(int nr, bool on);
// Medium 1..5 when isMedium, else person 1..7 when isPerson, else film 1..15.
void SetFreeFieldCaption(int nr, const QString &caption, bool isMedium, bool isPerson);

// A window that shows captions or switches subscribes; fn(kind, nr) runs
// after each change of that field. The returned id ends the subscription.
int SubscribeFreeFieldLabels(std::function<void(TFreeKind, int)> fn);
void UnsubscribeFreeFieldLabels(int id);

// Every caption back to the default and every switch off (a fresh run).
void ResetFreeFieldLabels();

// ---- The person captions file -------------------------------------------------
// Line 7 holds one character whose bits are the file-link flags: bit 0 field 1,
// bit 1 field 2, bit 2 field 3, bit 3 unused, bits 4..7 fields 4..7.
quint8 PersonFlagsToByte(const bool flags[PersonFreeCount]);
void PersonFlagsFromByte(quint8 byte, bool flags[PersonFreeCount]);
// Reads the file's bytes into the person captions (missing lines give the
// defaults; without a flag line every flag goes off).
void ParsePersonLabels(const QByteArray &bytes);
QByteArray FormatPersonLabels();
// The person captions file beside the person table persBase + ".DB".
QString PersonLabelsPath(const QString &persBase);

// ---- The caption table -------------------------------------------------------
// Where the caption table of the database at dbBase lies.
QString CaptionTablePath(const QString &dbBase);
// True when the row (set, nr) exists; the cursor then stands on it. A pending
// edit is posted first; false when the table is closed.
bool LocateLabelRow(engine::Table &lab, const QString &set, int nr);

// Opens the caption table when it is closed (read-write). False when it
// does not open.
bool OpenCaptionTable(engine::Table &lab, const QString &dbBase);

// The five medium captions of a kind: its own rows, else those of "KASS",
// else the defaults. False (after the message) when the table cannot be used;
// the captions are then the defaults and the switches stay as they were.
bool LoadMediumFreeFieldLabels(engine::Table &lab, const QString &dbBase, const QString &kind,
                               const TMessageSink &show);
// Medium captions of the kind, the film captions (only when the table could be
// used) and the person captions from persLabPath (unchanged when the file is
// missing).
bool LoadFreeFieldLabels(engine::Table &lab, const QString &dbBase, const QString &kind,
                         const QString &persLabPath, const TMessageSink &show);
// Writes one caption set ("FILM", "KASS", a medium kind, or "PERS" to the
// person file). A medium kind keeps a row only where it differs from "KASS";
// empty film captions are skipped. The rows of one save are one transaction.
// False (after the message) when nothing could be saved.
bool SaveFreeFieldLabels(engine::Table &lab, const QString &dbBase, const QString &set,
                         const QString &persLabPath, const TMessageSink &show);

// After the caption table opens: rebuilds a missing primary index, with the
// messages before and after.
void RepairLabelPrimaryIndex(engine::Table &lab, const TMessageSink &show);

// The display label of a data set's field of that name: the caption
// without "&" (nothing when the set is closed or lacks the field).
void SetFieldCaption(engine::DataSet *set, const QString &name, const QString &caption);
// The data sets' display labels of field "Free"+nr, in the tables registered
// in DBTables; the query window gives its result the same.
void ApplyFreeFieldDisplayLabel(int nr, const QString &caption, bool isMedium, bool isPerson);
void ApplyMediumFreeFieldLabels();
void ApplyAllFreeFieldLabels();
