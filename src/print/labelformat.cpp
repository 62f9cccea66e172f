#include "print/labelformat.h"

#include "app/settings.h"
#include "data/tableschemas.h"
#include "engine/dataset.h"
#include "engine/engineerror.h"
#include "engine/field.h"
#include "engine/query.h"
#include "engine/session.h"
#include "engine/table.h"
#include "engine/tablefile.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <algorithm>
#include <limits>

quint8 LabelKind = lkSpine;
TLabelFormat ActiveLabelFormat;

QStringList PrintTypeNames(bool withPictures)
{
    QStringList l{QStringLiteral("Wie VHS-Rückenetikett"), QStringLiteral("Wie VHS-Rückenetikett ohne Fuß-Symbol/Nr"),
                  QStringLiteral("Wie Etikett f. VHS-Hüllen-Oberkante"),
                  QStringLiteral("Wie VHS-\"Fensteretikett\""), QStringLiteral("Nummernetikett (nur Mediennr.)")};
    if (withPictures)
        l << QStringLiteral("Bild(er) aus Film-Anhang");
    return l;
}

void ApplyBuiltInLabelKind(TLabelFormat &f, quint8 kind, bool selfAdhesive, const TZFSheetLayout &sheet)
{
    if (kind == lkWindow) {
        if (selfAdhesive) {
            f.RandL = sheet.ZFGLeft;
            f.RandO = sheet.ZFGTop;
            f.Breite = std::min(sheet.ZFGAh, qint32(787));
            f.Hoehe = std::min(sheet.ZFGAv, qint32(465));
            f.Ax = sheet.ZFGAh - f.Breite;
            f.Ay = sheet.ZFGAv - f.Hoehe;
            f.ZeilenAnz = sheet.ZFGAnz / 2;
        } else {
            f.RandL = 100;
            f.RandO = 100;
            f.Breite = 787;
            f.Hoehe = 465;
            f.Ax = 40;
            f.Ay = 40;
            f.ZeilenAnz = 5;
        }
        f.SpaltenAnz = 2;
        f.Drucktyp = ptWindow;
    } else {
        if (selfAdhesive) {
            f.RandL = sheet.ZFRLeft;
            f.RandO = sheet.ZFRTop;
            f.Hoehe = std::min(sheet.ZFRA, qint32(200));
            f.Ay = sheet.ZFRA - f.Hoehe;
            f.ZeilenAnz = sheet.ZFRAnz;
        } else {
            f.RandL = 100;
            f.RandO = 100;
            f.Hoehe = 200;
            f.Ay = 40;
            f.ZeilenAnz = 11;
        }
        f.Breite = (kind == lkCaseTop && !selfAdhesive) ? 950 : 1475;
        f.Ax = 0;
        f.SpaltenAnz = 1;
        f.Drucktyp = kind == lkCaseTop ? ptCaseTop : ptSpine;
    }
    f.MaxFAnz = 5;
    f.Quer = false;
    f.ZFValid = false;
    f.R1.reset();
    f.R2.reset();
    f.R3.reset();
}

int LabelsPerSheet(const TLabelFormat &f)
{
    if (f.SpaltenAnz < 1 || f.ZeilenAnz < 1)
        return 0;
    return int(std::min<qint64>(qint64(f.SpaltenAnz) * f.ZeilenAnz, std::numeric_limits<int>::max()));
}

int LargestStartLabel(const TLabelFormat &f, int count)
{
    return LabelsPerSheet(f) + 1 - count;
}

TLabelFormat MakeFrameFormat(const TLabelFormat &f, const TRahmen &r)
{
    TLabelFormat d = f;
    d.RandL = f.RandL + r.l;
    d.RandO = f.RandO + r.o;
    d.Breite = f.Breite - (r.l + r.r);
    d.Hoehe = f.Hoehe - (r.o + r.u);
    d.Ax = f.Ax + (r.l + r.r);
    d.Ay = f.Ay + (r.o + r.u);
    d.FrameOffsetL = r.l;
    d.FrameOffsetO = r.o;
    d.Drucktyp = r.Drucktyp;
    d.ImgTurns = r.ImgTurns;
    d.Border = r.Border;
    d.R1.reset();
    d.R2.reset();
    d.R3.reset();
    return d;
}

namespace {

QString millimetres(qint64 tenths)
{
    return QLocale(QLocale::German).toString(double(tenths) / 10.0, 'f', 1);
}

} // namespace

QString CheckLabelFormat(const TLabelFormat &f)
{
    if (f.SpaltenAnz < 1 || f.ZeilenAnz < 1)
        return QStringLiteral("Ein Etikettenbogen braucht mindestens eine Spalte und eine Zeile.");
    if (LabelsPerSheet(f) > 255)
        return QStringLiteral("Ein Etikettenbogen kann höchstens 255 Etiketten haben (Spalten × Zeilen = %1).")
            .arg(qint64(f.SpaltenAnz) * f.ZeilenAnz);
    if (f.MaxFAnz < 1)
        return QStringLiteral("Ein Etikett muss mindestens einen Film aufnehmen können.");
    if (f.MaxFAnz > MaxFilmsPerLabel)
        return QStringLiteral("Ein Etikett kann höchstens %1 Filme aufnehmen.").arg(MaxFilmsPerLabel);
    if (f.Breite < 1 || f.Hoehe < 1)
        return QStringLiteral("Breite und Höhe eines Etiketts müssen größer als 0 sein.");
    if (f.RandL < 0 || f.RandO < 0 || f.Ax < 0 || f.Ay < 0)
        return QStringLiteral("Ränder und Abstände dürfen nicht negativ sein.");
    if (f.ImgMaxZoom < 0)
        return QStringLiteral("Der Zoomfaktor für Bilder darf nicht negativ sein.");
    // The last label's right and bottom edge, against the sheet.
    const qint64 right = qint64(f.RandL) + qint64(f.SpaltenAnz) * f.Breite + qint64(f.SpaltenAnz - 1) * f.Ax;
    const qint64 bottom = qint64(f.RandO) + qint64(f.ZeilenAnz) * f.Hoehe + qint64(f.ZeilenAnz - 1) * f.Ay;
    const qint64 sheetW = f.Quer ? SheetHeightTenths : SheetWidthTenths;
    const qint64 sheetH = f.Quer ? SheetWidthTenths : SheetHeightTenths;
    if (right > sheetW)
        return QStringLiteral("Die Etiketten passen nicht auf den Bogen: Sie reichen %1 mm weit nach rechts, der "
                              "Bogen ist nur %2 mm breit.")
            .arg(millimetres(right), millimetres(sheetW));
    if (bottom > sheetH)
        return QStringLiteral("Die Etiketten passen nicht auf den Bogen: Sie reichen %1 mm weit nach unten, der "
                              "Bogen ist nur %2 mm hoch.")
            .arg(millimetres(bottom), millimetres(sheetH));
    const std::optional<TRahmen> *frames[3] = {&f.R1, &f.R2, &f.R3};
    for (int i = 0; i < 3; ++i) {
        if (!*frames[i])
            continue;
        const TRahmen &r = **frames[i];
        if (r.l < 0 || r.r < 0 || r.o < 0 || r.u < 0 || qint64(r.l) + r.r >= f.Breite || qint64(r.o) + r.u >= f.Hoehe)
            return QStringLiteral("Rahmen %1 passt nicht in das Etikett: die Abstände links und rechts müssen "
                                  "zusammen kleiner als die Breite, oben und unten kleiner als die Höhe sein.")
                .arg(i + 1);
    }
    return QString();
}

void BoundLabelFormat(TLabelFormat &f)
{
    const qint32 longest = std::max(SheetWidthTenths, SheetHeightTenths);
    for (qint32 *length : {&f.RandL, &f.RandO, &f.Breite, &f.Hoehe, &f.Ax, &f.Ay})
        *length = std::clamp(*length, 0, longest);
    f.SpaltenAnz = std::clamp(f.SpaltenAnz, 0, 255);
    f.ZeilenAnz = std::clamp(f.ZeilenAnz, 0, 255);
    f.MaxFAnz = std::clamp(f.MaxFAnz, 0, MaxFilmsPerLabel);
    f.ImgMaxZoom = std::clamp(f.ImgMaxZoom, 0, 10000);
    for (std::optional<TRahmen> *frame : {&f.R1, &f.R2, &f.R3})
        if (*frame)
            for (qint32 *inset : {&(*frame)->l, &(*frame)->r, &(*frame)->o, &(*frame)->u})
                *inset = std::clamp(*inset, 0, longest);
}

namespace {

int intField(engine::DataSet &ds, const QString &name)
{
    return ds.fieldByName(name)->asInteger();
}

bool boolField(engine::DataSet &ds, const QString &name)
{
    return ds.fieldByName(name)->asBoolean();
}

} // namespace

bool ReadLabelRowAsStored(engine::DataSet &ds, TLabelFormat &f)
{
    try {
        f.Name = ds.fieldByName(QStringLiteral("Name"))->asString();
        f.RandO = intField(ds, QStringLiteral("RandO"));
        f.RandL = intField(ds, QStringLiteral("RandL"));
        f.SpaltenAnz = intField(ds, QStringLiteral("SpaltenAnz"));
        f.ZeilenAnz = intField(ds, QStringLiteral("ZeilenAnz"));
        f.Breite = intField(ds, QStringLiteral("Breite"));
        f.Hoehe = intField(ds, QStringLiteral("Hoehe"));
        f.Ax = intField(ds, QStringLiteral("Ax"));
        f.Ay = intField(ds, QStringLiteral("Ay"));
        f.MaxFAnz = intField(ds, QStringLiteral("MaxFAnz"));
        f.Drucktyp = intField(ds, QStringLiteral("Drucktyp"));
        f.Quer = boolField(ds, QStringLiteral("Quer"));
        f.ImgMaxZoom = intField(ds, QStringLiteral("ImgMaxZoom"));
        f.ImgPreferBLOB = boolField(ds, QStringLiteral("ImgPreferBLOB"));
        std::optional<TRahmen> *frames[3] = {&f.R1, &f.R2, &f.R3};
        for (int i = 0; i < 3; ++i) {
            const QString p = QStringLiteral("R%1").arg(i + 1);
            if (!boolField(ds, p)) {
                frames[i]->reset();
                continue;
            }
            if (!*frames[i])
                frames[i]->emplace();
            TRahmen &r = **frames[i];
            r.l = intField(ds, p + QLatin1Char('l'));
            r.r = intField(ds, p + QLatin1Char('r'));
            r.o = intField(ds, p + QLatin1Char('o'));
            r.u = intField(ds, p + QLatin1Char('u'));
            engine::Field *type = ds.fieldByName(p + QStringLiteral("Drucktyp"));
            r.Drucktyp = type->isNull() ? f.Drucktyp : type->asInteger();
            r.ImgTurns = quint8(intField(ds, p + QStringLiteral("ImgTurns")) & 3);
            r.Border = boolField(ds, p + QStringLiteral("Border"));
        }
        engine::Field *zf = ds.findField(QStringLiteral("ZF"));
        if (zf && !zf->isNull()) {
            f.ZF = zf->asBoolean();
            f.ZFValid = true;
        } else {
            f.ZFValid = false;
        }
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

bool ReadLabelDataFromDB(engine::DataSet &ds, TLabelFormat &f)
{
    const bool read = ReadLabelRowAsStored(ds, f);
    BoundLabelFormat(f);
    return read;
}

const QString ReadLabelDataFailedCaption = QStringLiteral("Fehler (UZFSetup.ReadLabelDataFromDB)");
const QString ReadLabelDataFailedText = QStringLiteral(
    "Fehler beim Versuch, die Daten des gewählten Etikettentyps aus der Datenbank der eigenen Etiketten zu laden! "
    "Sie können fortfahren, aber Vorschau und Etikettendruck könnten beeinflusst sein, wählen Sie am Besten einen "
    "anderen Etikettentyp aus!");
const QString UserLabelsOpenFailedText =
    QStringLiteral("Die Datenbank für Eigene Etikettenformate kann nicht geöffnet werden!");

QString UserLabelsTablePath()
{
    return GetProfileDir() + UserLabelsTableFile;
}

std::unique_ptr<engine::Table> OpenUserLabelsTable(engine::Session &session, bool readOnly)
{
    const QString path = UserLabelsTablePath();
    try {
        if (!QFileInfo::exists(path))
            throw engine::EngineError(engine::ErrGeneral, path);
        auto t = std::make_unique<engine::Table>(&session);
        t->setTableName(path);
        t->setReadOnly(readOnly);
        t->open();
        return t;
    } catch (const std::exception &) {
        return nullptr;
    }
}

QString StoreUserLabelZF(const QString &path, const QString &name, bool zf)
{
    try {
        engine::Session session;
        if (engine::readTableDef(session, path).fieldIndex(QStringLiteral("ZF")) < 0) {
            engine::Query q(&session);
            q.setSql({QStringLiteral("ALTER TABLE ") + SQLTableRef(path), QStringLiteral("ADD ZF BOOLEAN")});
            q.execSQL();
        }
        engine::Table t(&session);
        t.setTableName(path);
        t.open();
        if (t.locate(QStringLiteral("Name"), name)) {
            t.edit();
            t.fieldByName(QStringLiteral("ZF"))->setValue(zf);
            t.post();
        }
        t.close();
        return QString();
    } catch (const std::exception &e) {
        return QStringLiteral("Die Einstellung \"Selbstklebeetiketten\" konnte nicht beim eigenen Etikettenformat "
                              "gespeichert werden:\\lb%1")
            .arg(QString::fromUtf8(e.what()));
    }
}
