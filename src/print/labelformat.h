// The label format: where the first label sits on the sheet, how large a
// label is, the pitch, rows and columns, films per label, what it prints
// and its up to three frames. Lengths are tenths of a millimetre.
#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <functional>
#include <memory>
#include <optional>

struct TZFSheetLayout;
namespace engine { class DataSet; class Session; class Table; }

// Label kinds.
enum : quint8 { lkCaseTop = 1, lkWindow = 2, lkSpine = 3, lkUser = 4 };
extern quint8 LabelKind; // 3 at start

// Print types; -1 draws the outline only.
enum : int {
    ptOutline = -1,
    ptSpine = 0,
    ptSpineNoFoot = 1,
    ptCaseTop = 2,
    ptWindow = 3,
    ptNumberOnly = 4,
    ptPictures = 5,
};
// The items of the print-type combo of a format (types 0..4); withPictures
// adds 5 for frames.
QStringList PrintTypeNames(bool withPictures);

// A frame inside the label: insets from the top, bottom, right and left edge.
struct TRahmen
{
    qint32 o = 0, u = 0, r = 0, l = 0;
    qint32 Drucktyp = 0;
    quint8 ImgTurns = 0; // quarter turns clockwise of pictures, 0..3
    bool Border = false;
    bool operator==(const TRahmen &) const = default;
};

struct TLabelFormat
{
    QString Name;
    qint32 RandL = 0, RandO = 0;
    qint32 Breite = 1473, Hoehe = 200;
    qint32 Ax = 0, Ay = 0;
    qint32 SpaltenAnz = 1, ZeilenAnz = 13;
    qint32 MaxFAnz = 5;
    qint32 Drucktyp = 0;
    bool Quer = false;
    qint32 ImgMaxZoom = 0; // percent, 0 = unlimited
    bool ImgPreferBLOB = false;
    std::optional<TRahmen> R1, R2, R3;
    qint32 FrameOffsetL = 0, FrameOffsetO = 0; // set in a frame's derived format
    quint8 ImgTurns = 0;
    bool Border = false;
    bool ZF = false;
    bool ZFValid = false;
    bool operator==(const TLabelFormat &) const = default;
};

// The active label format, passed by value to the drawing.
extern TLabelFormat ActiveLabelFormat;

// Fills the format for a built-in kind (case top, window, spine); selfAdhesive
// takes the geometry from the sheet layout. Frees the frames.
void ApplyBuiltInLabelKind(TLabelFormat &f, quint8 kind, bool selfAdhesive, const TZFSheetLayout &sheet);

// The sheet a format is laid out on: A4 upright, in tenths of a millimetre
// (a format printed across, Quer, has them the other way round).
constexpr qint32 SheetWidthTenths = 2100, SheetHeightTenths = 2970;
// The most films one label shows.
constexpr qint32 MaxFilmsPerLabel = 99;

// Columns × rows, as an int (a sheet of 16 × 16 is 256, not 0); 0 when
// either is below 1, INT_MAX for a product beyond an int.
int LabelsPerSheet(const TLabelFormat &f);
// The largest position (1-based) the first of `count` labels may take.
int LargestStartLabel(const TLabelFormat &f, int count);

// The format of one frame: margins moved in, size reduced, the gaps grown
// by as much (the sheet pitch stays), the frame's print type, turns, border.
TLabelFormat MakeFrameFormat(const TLabelFormat &f, const TRahmen &r);

// Empty when the format can be laid out; else the German reason: a sheet of
// 1 to 255 labels, 1 to 99 films, a positive size, no negative margin, gap
// or inset, every label on the sheet, frames that leave room inside the
// label.
QString CheckLabelFormat(const TLabelFormat &f);

// Holds every value of a format inside what a sheet can hold: lengths and
// insets 0 to the sheet's longer side, 0 to 255 columns and rows, 0 to 99
// films, a zoom of 0 to 10000 %. No sum or product of such values leaves
// an int; whether they make a usable format is CheckLabelFormat's to say.
void BoundLabelFormat(TLabelFormat &f);

// Loads the data set's current row of the user formats table into f as it
// is stored (what the check before a post must see). False when a field
// cannot be read: f keeps what was read so far, and the caller tells the
// user (ReadLabelDataFailedCaption, ReadLabelDataFailedText).
bool ReadLabelRowAsStored(engine::DataSet &ds, TLabelFormat &f);
// The same for use: the row bounded by BoundLabelFormat.
bool ReadLabelDataFromDB(engine::DataSet &ds, TLabelFormat &f);
extern const QString ReadLabelDataFailedCaption, ReadLabelDataFailedText;

// Stores the self-adhesive switch in the row `name` of the user formats
// table at path, adding the field "ZF" first when the table has none.
// Empty when it worked, else the German message for the caller to show.
QString StoreUserLabelZF(const QString &path, const QString &name, bool zf);

// Full path of the user formats table in the per-user folder.
QString UserLabelsTablePath();

// Opens the user formats table in the session (read-only or writable); null
// when it cannot, and the caller says UserLabelsOpenFailedText.
std::unique_ptr<engine::Table> OpenUserLabelsTable(engine::Session &session, bool readOnly);
extern const QString UserLabelsOpenFailedText;
