#include "app/settings.h"
#include "app/labelsettings.h"

#include "app/appmessage.h"
#include "app/apppaths.h"
#include "platform/paths.h"
#include "platform/registry.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QStandardPaths>
#include <QtEndian>
#include <cstring>
#include <functional>

using platform::Registry;
using platform::RegistryError;
using platform::RegistryRoot;

QString ProgDir, SkinDir, DBsDir, HelpFile, SymbolFile, DBFile, PersDBFile, DBBase, PersBase;
bool NetworkMode = false;

bool ShowTipODay = true;
QString SymbDirF, SymbDirK;
quint8 SymbTypK = 2;
QString LFont;
quint8 LPP = 0, ListSpAnz = 0;
bool ListUseKategFont = false;
QString AnhFont;
quint8 AnhGrScale = 10;
bool AnhPrintFlag1 = false, AnhPrintFlag2 = false, AnhShrinkPicture = true;
QString PersDruckFontName;
quint8 PersDruckFontSize = 12;
bool PersDruckBackSide = false, PersDruckListFilms = false, PersDruckMedIndex = false;
quint8 MaxSizeSub, MaxSizeMin, MaxSizeSymb, FilmSizeIdent, PrintFreeNr, PrintHFreeNr;
bool PrintRest, PrintTon, PrintAnhSymb, PrintAnhSymbMemo, PrintLen, PrintFree, PrintKategSymb,
    FreeStrikeOut, PrintKat;
int PlayTimeFormat;
bool PrintHZF, PrintHKateg, PrintHFree, NrEtiSeparate, PrintEndPos;
int LabelAlignMode;
bool PrintSterne, PrintHNr, VCenter;
int FormatSymbMode;
bool GridBoolBothSymbols, GridBoolTrueSymbolOnly, GridBoolTickStyle;
bool ZFOn, ZFShowHint;
bool PFSetAlways, PFSetNever, PFClearAlways, PFClearNever, PFNoReadOnlyAsk;
bool bRest1bis4, ATTS, dvd_kk_nur1film;
QString CDDrive;
const QString DefaultCDDrive = QStringLiteral("/media/cdrom");
quint16 RegelVerleihzeit;
bool AutoMahnliste, ErsterVerleih;
int NetRefreshInterval = 30000;
int UpdChkMode = 0;

qint32 SPBreitenK[SPColumnsK], SPReihenfolgeK[SPColumnsK];
qint32 SPBreitenF[SPColumnsF], SPReihenfolgeF[SPColumnsF];
qint32 SPBreitenP[SPColumnsP], SPReihenfolgeP[SPColumnsP];
qint32 SPBreitenMF[SPColumnsMF], SPReihenfolgeMF[SPColumnsMF];
bool SPLayoutsValid = false;

TFontSpec LabelFont, NrEtiFont;
TFreeQueryMenuEntry FreeQueryMenu[FreeQueryMenuCount];
TZFSheetLayout ZFSheetLayout;
bool ZFSetupMissing = false;
bool FirstRunDetected = false;
bool AppTerminating = false;

namespace {

const QString kMainKey = QStringLiteral("Software\\Ozo-Software\\TARVO");
const QString kNrEtiKey = QStringLiteral("Software\\Ozo-Software\\TARVO\\NrEtiFt");
const QString kMachineKey = QStringLiteral("SOFTWARE\\Ozo-Software\\TARVO");

QString g_profileDir;     // cache of GetProfileDir
QString g_profileBase;    // injected base of the per-user folder

// The base of the per-user folder and of new databases in an installed program.
QString profileBase()
{
    return g_profileBase.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                                   : g_profileBase;
}

// ---- raw values --------------------------------------------------------------

// Reads a raw one-byte value into b; a missing value leaves b.
void readByte(Registry &r, const char *name, quint8 &b)
{
    r.readBinaryData(QLatin1String(name), &b, 1);
}

// A raw one-byte value read over preset (a missing value gives preset).
quint8 byteOr(Registry &r, const char *name, quint8 preset)
{
    readByte(r, name, preset);
    return preset;
}

// A raw one-byte value taken only within lo..hi; anything else gives def.
quint8 byteInRange(Registry &r, const char *name, int lo, int hi, quint8 def)
{
    const quint8 b = byteOr(r, name, 0);
    return (b >= lo && b <= hi) ? b : def;
}

void writeByte(Registry &r, const char *name, quint8 b)
{
    r.writeBinaryData(QLatin1String(name), &b, 1);
}

void readLayout(Registry &r, const char *name, qint32 *values, int count, bool *present)
{
    QByteArray buf(count * 4, '\0');
    // Start from what the array holds, so a shorter value keeps the rest.
    for (int i = 0; i < count; ++i)
        qToLittleEndian(values[i], buf.data() + 4 * i);
    const int n = r.readBinaryData(QLatin1String(name), buf.data(), int(buf.size()));
    *present = n >= 0;
    if (n < 0)
        return;
    for (int i = 0; i < count; ++i)
        values[i] = qFromLittleEndian<qint32>(buf.constData() + 4 * i);
}

void writeLayout(Registry &r, const char *name, const qint32 *values, int count)
{
    QByteArray buf(count * 4, '\0');
    for (int i = 0; i < count; ++i)
        qToLittleEndian(values[i], buf.data() + 4 * i);
    r.writeBinary(QLatin1String(name), buf);
}

// Runs one group of reads or writes; false when any of them failed.
bool guarded(const std::function<void()> &f)
{
    try {
        f();
        return true;
    } catch (const RegistryError &) {
        return false;
    }
}

bool isFirstRunValue(const QString &v)
{
    return !(v.isEmpty() || v.toUpper() == QLatin1String("NO") || v == QLatin1String("0"));
}

int updChkModeOf(const QString &v)
{
    const QChar c = v.isEmpty() ? QChar() : v.at(0).toUpper();
    if (c == QLatin1Char('J') || c == QLatin1Char('Y'))
        return 1;
    if (c == QLatin1Char('N'))
        return 2;
    return 0;
}

void applyPrintFlags(quint8 b)
{
    PrintRest = b & 1;
    PrintTon = b & 2;
    PrintAnhSymb = b & 4;
    PrintAnhSymbMemo = b & 8;
    PrintLen = b & 16;
    PrintFree = b & 32;
    PrintKategSymb = b & 64;
    FreeStrikeOut = b & 128;
    // Both "length" and "free" set is how the category column is stored.
    if (PrintLen && PrintFree) {
        PrintLen = PrintFree = false;
        PrintKat = true;
    } else {
        PrintKat = false;
    }
}

quint8 composePrintFlags()
{
    int b = (PrintRest ? 1 : 0) + (PrintTon ? 2 : 0) + (PrintAnhSymb ? 4 : 0) + (PrintAnhSymbMemo ? 8 : 0)
            + (PrintLen ? 16 : 0) + (PrintFree ? 32 : 0) + (PrintKategSymb ? 64 : 0)
            + (FreeStrikeOut ? 128 : 0);
    if (!PrintLen && !PrintFree && PrintKat)
        b += 16 + 32;
    return quint8(b);
}

void applyPrintFlags2(quint8 b)
{
    if ((b & 7) <= 4)
        PlayTimeFormat = b & 7;
    PrintHZF = b & 8;
    PrintHKateg = b & 16;
    PrintHFree = b & 32;
    NrEtiSeparate = b & 64;
    PrintEndPos = b & 128;
}

quint8 composePrintFlags2()
{
    return quint8(PlayTimeFormat + (PrintHZF ? 8 : 0) + (PrintHKateg ? 16 : 0) + (PrintHFree ? 32 : 0)
                  + (NrEtiSeparate ? 64 : 0) + (PrintEndPos ? 128 : 0));
}

void applyPrintFlags3(quint8 b)
{
    if ((b & 3) <= 2)
        LabelAlignMode = b & 3;
    PrintSterne = b & 4;
    PrintHNr = b & 8;
    VCenter = !(b & 16);
    FormatSymbMode = (b >> 6) & 3;
}

quint8 composePrintFlags3()
{
    return quint8(LabelAlignMode + (PrintSterne ? 4 : 0) + (PrintHNr ? 8 : 0) + (VCenter ? 0 : 16)
                  + FormatSymbMode * 64);
}

// A group of writes is kept whole, or not at all; inside the batch of a save
// it is stored with the other groups.
bool storeGroup(Registry &r, const std::function<void()> &f)
{
    return guarded([&] {
        platform::RegistryBatch batch(r);
        f();
        batch.commit();
    });
}

void writeGroup(Registry &r, const std::function<void()> &f, const char *caption, const char *text)
{
    if (!storeGroup(r, f))
        AppMessage(QString::fromUtf8(text), QString::fromUtf8(caption), platform::MessageIcon::Error);
}

} // namespace

// ---- fonts -------------------------------------------------------------------

QString FontNameOrArial(const QString &name)
{
    return name.trimmed().isEmpty() ? QStringLiteral("Arial") : name;
}

QFont FontSpecToQFont(const TFontSpec &f)
{
    QFont font(FontNameOrArial(f.Name));
    font.setPointSize(f.Size > 0 ? f.Size : 10);
    font.setBold(f.Style & fsBold);
    font.setItalic(f.Style & fsItalic);
    font.setUnderline(f.Style & fsUnderline);
    font.setStrikeOut(f.Style & fsStrikeOut);
    return font;
}

TFontSpec QFontToFontSpec(const QFont &font, platform::TColor color)
{
    TFontSpec f;
    f.Name = font.family();
    f.Size = font.pointSize() > 0 ? font.pointSize() : 10;
    f.Style = (font.bold() ? fsBold : 0) | (font.italic() ? fsItalic : 0)
              | (font.underline() ? fsUnderline : 0) | (font.strikeOut() ? fsStrikeOut : 0);
    f.Color = color;
    return f;
}

void WriteFontToRegistry(Registry &key, const TFontSpec &font)
{
    key.writeString(QStringLiteral("Name"), font.Name);
    writeByte(key, "Size", quint8(qBound(0, font.Size, 255)));
    writeByte(key, "Style", quint8(font.Style & 15));
    unsigned char c[4];
    qToLittleEndian(qint32(font.Color), c);
    key.writeBinaryData(QStringLiteral("Color"), c, 4);
}

void ReadFontFromRegistry(Registry &key, TFontSpec &font)
{
    font = TFontSpec();
    if (key.valueExists(QStringLiteral("Name")))
        font.Name = key.readString(QStringLiteral("Name"));
    quint8 size = quint8(font.Size), style = 0;
    readByte(key, "Size", size);
    font.Size = size;
    readByte(key, "Style", style);
    font.Style = style & 15;
    unsigned char c[4];
    qToLittleEndian(qint32(font.Color), c);
    if (key.readBinaryData(QStringLiteral("Color"), c, 4) >= 0)
        font.Color = qFromLittleEndian<qint32>(c);
}

// ---- defaults ----------------------------------------------------------------

void InitSettingsDefaults(const QString &progDir)
{
    ProgDir = platform::withTrailingSeparator(progDir);
    SkinDir = ProgDir + QStringLiteral("Skins/");
    DBsDir = DefaultDatabaseFolder(ProgDir, profileBase());
    HelpFile = ProgDir + QStringLiteral("Tarvo.hlp");
    SymbolFile = QStringLiteral("Symbole\\Fuss-Recycle.bmp");
    DBFile.clear();
    PersDBFile.clear();
    DBBase.clear();
    PersBase.clear();
    NetworkMode = false;

    ShowTipODay = true;
    SymbDirF = SymbDirK = QStringLiteral("Symbole");
    SymbTypK = 2;
    LFont = QStringLiteral("Arial");
    LPP = ListSpAnz = 0;
    ListUseKategFont = false;
    AnhFont = QStringLiteral("Arial");
    AnhGrScale = 10;
    AnhPrintFlag1 = AnhPrintFlag2 = false;
    AnhShrinkPicture = true;
    PersDruckFontName = QStringLiteral("Arial");
    PersDruckFontSize = 12;
    PersDruckBackSide = PersDruckListFilms = PersDruckMedIndex = false;
    MaxSizeMin = 10;
    MaxSizeSub = 12;
    MaxSizeSymb = 6;
    FilmSizeIdent = 0;
    PrintFreeNr = PrintHFreeNr = 1;
    PrintRest = PrintTon = PrintLen = PrintKategSymb = FreeStrikeOut = true;
    PrintFree = PrintKat = PrintAnhSymb = false;
    PrintAnhSymbMemo = true;
    PlayTimeFormat = 0;
    PrintHZF = PrintHKateg = PrintHFree = PrintEndPos = false;
    NrEtiSeparate = true;
    LabelAlignMode = 0;
    PrintSterne = PrintHNr = false;
    VCenter = true;
    FormatSymbMode = 0;
    GridBoolBothSymbols = true;
    GridBoolTrueSymbolOnly = false;
    GridBoolTickStyle = true;
    ZFOn = false;
    ZFShowHint = true;
    PFSetAlways = PFSetNever = PFClearAlways = PFClearNever = PFNoReadOnlyAsk = false;
    bRest1bis4 = false;
    ATTS = true;
    dvd_kk_nur1film = true;
    CDDrive = DefaultCDDrive;
    RegelVerleihzeit = 7;
    AutoMahnliste = false;
    ErsterVerleih = true;
    NetRefreshInterval = 30000;
    UpdChkMode = 0;
    for (auto *a : {SPBreitenK, SPReihenfolgeK})
        std::fill(a, a + SPColumnsK, 0);
    for (auto *a : {SPBreitenF, SPReihenfolgeF})
        std::fill(a, a + SPColumnsF, 0);
    for (auto *a : {SPBreitenP, SPReihenfolgeP})
        std::fill(a, a + SPColumnsP, 0);
    for (auto *a : {SPBreitenMF, SPReihenfolgeMF})
        std::fill(a, a + SPColumnsMF, 0);
    SPLayoutsValid = false;
    LabelFont = TFontSpec();
    NrEtiFont = TFontSpec();
    for (auto &e : FreeQueryMenu)
        e = TFreeQueryMenuEntry();
    ZFSheetLayout = TZFSheetLayout();
    ZFSetupMissing = false;
    FirstRunDetected = false;
    AppTerminating = false;
    g_profileDir.clear();
}

// ---- loader ------------------------------------------------------------------

// A damaged settings file met since the last look (at start, or written
// over by another program while this one runs) is told once.
static void reportUserSettingsDamage()
{
    const QString damage = platform::takeRegistryDamageMessage(RegistryRoot::CurrentUser);
    if (!damage.isEmpty())
        AppMessage(damage, QStringLiteral("Registry-Fehler"), platform::MessageIcon::Warning);
}

void LoadSettings()
{
    reportUserSettingsDamage();

    Registry r;
    bool created = false;
    if (!r.openKey(kMainKey, true, &created)) {
        AppMessage(QStringLiteral("Es existiert noch kein Eintrag in der Windows-Registrierung "
                                  "(\"Registry\") und er ließ sich auch nicht anlegen!"),
                   QStringLiteral("Fehler"), platform::MessageIcon::Information);
        return;
    }
    // No installer writes "FirstRun" here: a key that had to be made means
    // this user starts Tarvo for the first time, and it stays a first run
    // (as the installer's value did) until the settings are first saved.
    bool firstRun = created;
    if (created)
        guarded([&] { r.writeString(QStringLiteral("FirstRun"), QStringLiteral("Yes")); });
    QString failed;
    auto group = [&](const char *name, const std::function<void()> &read,
                     const std::function<void()> &fallback = {}) {
        if (guarded(read))
            return;
        if (fallback)
            fallback();
        if (name)
            failed += QLatin1Char('\r') + QString::fromUtf8(name);
    };

    group(nullptr, [&] {
        const QString v = r.readString(QStringLiteral("ShowTipODay"));
        ShowTipODay = !(v.toUpper() == QLatin1String("NO") || v == QLatin1String("0"));
    }, [] { ShowTipODay = true; });
    group("Dateinamen", [&] {
        SymbolFile = r.readString(QStringLiteral("Symbol"));
        DBFile = r.readString(QStringLiteral("DBFile"));
        PersDBFile = r.readString(QStringLiteral("PersDBFile"));
    });
    group(nullptr, [&] {
        SymbDirF = r.readString(QStringLiteral("SymbDirF"));
        SymbDirK = r.readString(QStringLiteral("SymbDirK"));
        readByte(r, "SymbTypK", SymbTypK);
    }, [] {
        SymbDirF.clear();
        SymbDirK.clear();
        SymbTypK = 2;
    });
    group("Listendruck-Einstellungen", [&] {
        LFont = r.readString(QStringLiteral("LFont"));
        readByte(r, "LPP", LPP);
        readByte(r, "ListSpAnz", ListSpAnz);
        if (ListSpAnz > 5)
            ListSpAnz = 0;
        ListUseKategFont = r.readBool(QStringLiteral("ListUseKategFont"));
    });
    group("Anhang-Druck-Optionen", [&] {
        AnhFont = r.readString(QStringLiteral("AnhFont"));
        AnhGrScale = byteInRange(r, "AnhGrScale", 8, 12, 10);
        const quint8 flags = byteOr(r, "PrintFlagsAnh", 0);
        AnhPrintFlag1 = flags & 1;
        AnhPrintFlag2 = flags & 2;
        AnhShrinkPicture = flags & 4;
    });
    group("Personen-Druck-Optionen", [&] {
        PersDruckFontName = r.readString(QStringLiteral("PersDruckFontName"));
        if (PersDruckFontName.isEmpty())
            PersDruckFontName = QStringLiteral("Arial");
        PersDruckFontSize = byteInRange(r, "PersDruckFontSize", 6, 20, 12);
        const quint8 flags = byteOr(r, "PersDruckFlags", 0);
        PersDruckBackSide = flags & 1;
        PersDruckListFilms = flags & 2;
        PersDruckMedIndex = flags & 4;
    });
    group("Etikettendruckoptionen (Maximalgrößen)", [&] {
        readByte(r, "MaxSizeSub", MaxSizeSub);
        readByte(r, "MaxSizeMin", MaxSizeMin);
        readByte(r, "MaxSizeSymb", MaxSizeSymb);
    });
    group("Etikettendruck-Flags", [&] {
        readByte(r, "FilmSizeIdent", FilmSizeIdent);
        readByte(r, "PrintFreeNr", PrintFreeNr);
        readByte(r, "PrintHFreeNr", PrintHFreeNr);
        applyPrintFlags(byteOr(r, "PrintFlags", 211));
        applyPrintFlags2(byteOr(r, "PrintFlags2", 64));
        applyPrintFlags3(byteOr(r, "PrintFlags3", 0));
    });
    group("Grid-Druck-Flags", [&] {
        const quint8 b = byteOr(r, "PrintGridFlags", 6);
        GridBoolBothSymbols = b & 1;
        GridBoolTrueSymbolOnly = b & 2;
        GridBoolTickStyle = b & 4;
    });
    group("Zweckform Flags", [&] {
        const quint8 b = byteOr(r, "ZFFlags", 2);
        ZFOn = b & 1;
        ZFShowHint = b & 2;
    });
    group("\"Etikett gedruckt\"-Auto-Manipulations-Modus", [&] {
        const quint8 b = byteOr(r, "PrintedFlagAutoSetClearMode", 0);
        PFSetAlways = b & 1;
        PFSetNever = b & 2;
        PFClearAlways = b & 4;
        PFClearNever = b & 8;
        PFNoReadOnlyAsk = b & 16;
    });
    group("Restspielzeit-Berechnungsmodus", [&] {
        bRest1bis4 = byteOr(r, "bRest1bis4", bRest1bis4 ? 1 : 0) != 0;
    });
    group("Zählwerksmodus", [&] { ATTS = r.readBool(QStringLiteral("ATTS")); });
    group("Einstellung \"Nur 1 Film pro DVD oder Kaufkassette\"",
          [&] { dvd_kk_nur1film = r.readBool(QStringLiteral("dvd_kk_nur1film")); });
    group(nullptr, [&] {
        const QString v = r.readString(QStringLiteral("CDDrive"));
        CDDrive = v.isEmpty() ? DefaultCDDrive : v;
    }, [] { CDDrive = DefaultCDDrive; });
    group(nullptr, [&] {
        const QString v = r.readString(QStringLiteral("DBsDir"));
        if (!v.isEmpty() && QFileInfo(platform::toNativeSeparators(v)).isDir())
            DBsDir = platform::withTrailingSeparator(platform::toNativeSeparators(v));
    });
    group("Verleih-Einstellungen", [&] {
        unsigned char w[2];
        qToLittleEndian(RegelVerleihzeit, w);
        if (r.readBinaryData(QStringLiteral("RegelVerleihzeit"), w, 2) >= 0)
            RegelVerleihzeit = qFromLittleEndian<quint16>(w);
        AutoMahnliste = r.readBool(QStringLiteral("AutoMahnliste"));
        ErsterVerleih = r.readBool(QStringLiteral("ErsterVerleih"));
    });
    group("NetRefreshInterval", [&] {
        // 0 would refresh without pause and large values overflow the timer.
        NetRefreshInterval = qBound(5, int(r.readInteger(QStringLiteral("NetRefreshInterval"))), 900) * 1000;
    });
    group("Online-Update-Überprüfung", [&] { UpdChkMode = updChkModeOf(r.readString(QStringLiteral("UpdChk"))); });
    group(nullptr, [&] {
        struct { const char *name; qint32 *a; int n; } layouts[] = {
            {"SPBreitenK", SPBreitenK, SPColumnsK}, {"SPReihenfolgeK", SPReihenfolgeK, SPColumnsK},
            {"SPBreitenF", SPBreitenF, SPColumnsF}, {"SPReihenfolgeF", SPReihenfolgeF, SPColumnsF},
            {"SPBreitenP", SPBreitenP, SPColumnsP}, {"SPReihenfolgeP", SPReihenfolgeP, SPColumnsP},
            {"SPBreitenMF", SPBreitenMF, SPColumnsMF}, {"SPReihenfolgeMF", SPReihenfolgeMF, SPColumnsMF},
        };
        bool present = true;
        for (const auto &l : layouts) {
            readLayout(r, l.name, l.a, l.n, &present);
            if (!present)
                break;
        }
        if (present)
            SPLayoutsValid = true;
    });
    group(nullptr, [&] {
        if (isFirstRunValue(r.readString(QStringLiteral("FirstRun"))))
            firstRun = true;
    });
    {
        TFontSpec f;
        group("Etikettenschriftart", [&] { ReadFontFromRegistry(r, f); });
        LabelFont = f;
    }
    r.closeKey();

    if (r.openKey(kNrEtiKey, true)) {
        TFontSpec f;
        group("Nummernetikett-Schriftart", [&] { ReadFontFromRegistry(r, f); });
        NrEtiFont = f;
        r.closeKey();
    }

    FirstRunDetected = firstRun;
    if (!firstRun && !failed.isEmpty())
        AppMessage(QStringLiteral("Folgende Benutzer-Einstellungen konnten nicht (aus der Registry) geladen werden:")
                       + failed + QLatin1Char('\r')
                       + QStringLiteral("Überprüfen Sie diese Einstellungen und speichern Sie sie erneut (mit OK)."),
                   QStringLiteral("Laden der Benutzer-Einstellungen"), platform::MessageIcon::Information);

    LoadSelfAdhesiveSetup(firstRun);
    if (firstRun && !AppTerminating)
        GetProfileDir();
}

// ---- writer ------------------------------------------------------------------

void SaveSettings()
{
    Registry r;
    const QString noKey = QStringLiteral("Fehler beim Zugriff auf die Windows-Registrierung (\"Registry\")!\r"
                                         "Oder es existiert noch keine Eintragung! (nochmal probieren!)");
    // Every group below goes into one batch: the file is written once, with
    // all groups or (when that write fails) with none of them.
    platform::RegistryBatch save(r);
    const auto store = [&] {
        try {
            save.commit();
        } catch (const platform::RegistryError &e) {
            AppMessage(noKey + QStringLiteral("\r\r") + e.message(), QStringLiteral("FEHLER!"),
                       platform::MessageIcon::Error);
        }
    };
    const bool opened = r.openKey(kMainKey, true);
    reportUserSettingsDamage();
    if (!opened) {
        AppMessage(noKey, QStringLiteral("FEHLER!"), platform::MessageIcon::Error);
        return;
    }
    storeGroup(r, [&] {
        r.writeString(QStringLiteral("FirstRun"), QStringLiteral("No"));
        r.writeString(QStringLiteral("ShowTipODay"), ShowTipODay ? QStringLiteral("Yes") : QStringLiteral("No"));
    });
    writeGroup(r, [&] {
        r.writeString(QStringLiteral("Symbol"), SymbolFile);
        r.writeString(QStringLiteral("DBFile"), DBFile);
        r.writeString(QStringLiteral("PersDBFile"), PersDBFile);
    }, "Registry-Fehler!", "Fehler beim Speichern der Dateinamen!");
    storeGroup(r, [&] {
        r.writeString(QStringLiteral("SymbDirF"), SymbDirF);
        r.writeString(QStringLiteral("SymbDirK"), SymbDirK);
        writeByte(r, "SymbTypK", SymbTypK);
        r.writeString(QStringLiteral("DBsDir"), DBsDir);
    });
    writeGroup(r, [&] {
        r.writeString(QStringLiteral("LFont"), LFont);
        writeByte(r, "LPP", LPP);
        writeByte(r, "ListSpAnz", ListSpAnz);
        r.writeBool(QStringLiteral("ListUseKategFont"), ListUseKategFont);
    }, "Registry-Fehler!", "Fehler beim Speichern der Listen-Druck-Einstellungen!");
    writeGroup(r, [&] {
        writeByte(r, "MaxSizeSub", MaxSizeSub);
        writeByte(r, "MaxSizeMin", MaxSizeMin);
        writeByte(r, "MaxSizeSymb", MaxSizeSymb);
    }, "Registry-Fehler!", "Fehler beim Speichern der Maximalgrößen (Etikettenoptionen)");
    writeGroup(r, [&] {
        writeByte(r, "PrintFlagsAnh",
                  quint8((AnhPrintFlag1 ? 1 : 0) + (AnhPrintFlag2 ? 2 : 0) + (AnhShrinkPicture ? 4 : 0)));
        writeByte(r, "AnhGrScale", AnhGrScale);
        r.writeString(QStringLiteral("AnhFont"), AnhFont);
    }, "Registry-Fehler!", "Fehler beim Speichern der Anhang-Druck-Optionen");
    writeGroup(r, [&] {
        writeByte(r, "PersDruckFlags",
                  quint8((PersDruckBackSide ? 1 : 0) + (PersDruckListFilms ? 2 : 0) + (PersDruckMedIndex ? 4 : 0)));
        writeByte(r, "PersDruckFontSize", PersDruckFontSize);
        r.writeString(QStringLiteral("PersDruckFontName"), PersDruckFontName);
    }, "Registry-Fehler", "Fehler beim Speichern der Personen-Druck-Optionen");
    writeGroup(r, [&] {
        writeByte(r, "FilmSizeIdent", FilmSizeIdent);
        writeByte(r, "PrintFreeNr", PrintFreeNr);
        writeByte(r, "PrintHFreeNr", PrintHFreeNr);
        writeByte(r, "PrintFlags", composePrintFlags());
        writeByte(r, "PrintFlags2", composePrintFlags2());
        writeByte(r, "PrintFlags3", composePrintFlags3());
    }, "Registry-Fehler!", "Fehler beim Speichern der Etiketten-Druck-Flags");
    writeGroup(r, [&] {
        writeByte(r, "PrintGridFlags", quint8((GridBoolBothSymbols ? 1 : 0) + (GridBoolTrueSymbolOnly ? 2 : 0)
                                              + (GridBoolTickStyle ? 4 : 0)));
    }, "Registry-Fehler!", "Fehler beim Speichern der Grid-Druck-Flags");
    writeGroup(r, [&] { writeByte(r, "ZFFlags", quint8((ZFOn ? 1 : 0) + (ZFShowHint ? 2 : 0))); },
               "Registry-Fehler!", "Fehler beim Speichern der ZweckForm-Flags");
    writeGroup(r, [&] {
        writeByte(r, "PrintedFlagAutoSetClearMode",
                  quint8((PFSetAlways ? 1 : 0) + (PFSetNever ? 2 : 0) + (PFClearAlways ? 4 : 0)
                         + (PFClearNever ? 8 : 0) + (PFNoReadOnlyAsk ? 16 : 0)));
    }, "Registry-Fehler!",
               "Fehler beim Speichern des Modus zum automatischen Ändern des \"Etikett gedruckt\"-Feldes");
    writeGroup(r, [&] { writeByte(r, "bRest1bis4", bRest1bis4 ? 1 : 0); }, "Registry-Fehler",
               "Fehler beim Speichern des Restspielzeit-Berechnungsmodus");
    writeGroup(r, [&] { r.writeBool(QStringLiteral("ATTS"), ATTS); }, "Registry-Fehler!",
               "Fehler beim Speichern des Zählwerksmodus");
    writeGroup(r, [&] { r.writeBool(QStringLiteral("dvd_kk_nur1film"), dvd_kk_nur1film); }, "Registry-Fehler!",
               "Fehler beim Speichern der Einstellung \"Nur 1 Film auf DVD oder Kaufkassette\"");
    storeGroup(r, [&] { r.writeString(QStringLiteral("CDDrive"), CDDrive); });
    writeGroup(r, [&] {
        r.writeBool(QStringLiteral("AutoMahnliste"), AutoMahnliste);
        r.writeBool(QStringLiteral("ErsterVerleih"), ErsterVerleih);
        unsigned char w[2];
        qToLittleEndian(RegelVerleihzeit, w);
        r.writeBinaryData(QStringLiteral("RegelVerleihzeit"), w, 2);
    }, "Registry-Fehler!", "Fehler beim Speichern der Verleih-Einstellungen");
    writeGroup(r, [&] { r.writeInteger(QStringLiteral("NetRefreshInterval"), NetRefreshInterval / 1000); },
               "Registry-Fehler", "Fehler beim Speichern des NetRefreshIntervals");
    writeGroup(r, [&] {
        r.writeString(QStringLiteral("UpdChk"), UpdChkMode == 1   ? QStringLiteral("yes")
                                                : UpdChkMode == 2 ? QStringLiteral("no")
                                                                  : QString());
    }, "Registry-Fehler", "Fehler beim Speichern der Einstellung für die automatische Online-Update-Prüfung.");
    if (SPLayoutsValid)
        writeGroup(r, [&] {
            writeLayout(r, "SPBreitenK", SPBreitenK, SPColumnsK);
            writeLayout(r, "SPReihenfolgeK", SPReihenfolgeK, SPColumnsK);
            writeLayout(r, "SPBreitenF", SPBreitenF, SPColumnsF);
            writeLayout(r, "SPReihenfolgeF", SPReihenfolgeF, SPColumnsF);
            writeLayout(r, "SPBreitenP", SPBreitenP, SPColumnsP);
            writeLayout(r, "SPReihenfolgeP", SPReihenfolgeP, SPColumnsP);
            writeLayout(r, "SPBreitenMF", SPBreitenMF, SPColumnsMF);
            writeLayout(r, "SPReihenfolgeMF", SPReihenfolgeMF, SPColumnsMF);
        }, "Registry-Fehler!", "Fehler beim Speichern der Tabellenspalten-Anordnungen und -Breiten!");
    writeGroup(r, [&] { WriteFontToRegistry(r, LabelFont); }, "Registry-Fehler!",
               "Fehler beim Speichern der Etiketten-Schriftart");
    r.closeKey();

    if (!r.openKey(kNrEtiKey, true)) {
        AppMessage(noKey, QStringLiteral("FEHLER!"), platform::MessageIcon::Error);
        store();
        return;
    }
    writeGroup(r, [&] { WriteFontToRegistry(r, NrEtiFont); }, "Registry-Fehler!",
               "Fehler beim Speichern der Nr-Etikett-Schriftart");
    r.closeKey();
    store();
}

// ---- free-query menu -----------------------------------------------------------

static QString freeQueryKey(int n)
{
    return kMainKey + QStringLiteral("\\FreeQueryMen") + QString::number(n);
}

void SaveFreeQueryMenuItem(int n)
{
    if (n < 1 || n > FreeQueryMenuCount)
        return;
    Registry r;
    if (!r.openKey(freeQueryKey(n), true)) {
        AppMessage(QStringLiteral("Fehler beim Zugriff auf die Windows-Registrierung (\"Registry\") beim Versuch, "
                                  "den Menüpunkt zu speichern!\rOder es existiert noch keine Eintragung! "
                                  "(nochmal probieren!)"),
                   QStringLiteral("FEHLER!"), platform::MessageIcon::Error);
        return;
    }
    const TFreeQueryMenuEntry &e = FreeQueryMenu[n - 1];
    writeGroup(r, [&] {
        r.writeString(QStringLiteral("SQL"), e.SQL);
        r.writeString(QStringLiteral("Caption"), e.Caption);
        r.writeBool(QStringLiteral("Enabled"), e.Enabled);
    }, "Registry-Fehler!", "Fehler beim Speichern des Menüpunktes");
}

void SaveFreeQueryMenu()
{
    for (int n = 1; n <= FreeQueryMenuCount; ++n)
        SaveFreeQueryMenuItem(n);
}

void LoadFreeQueryMenu()
{
    for (int n = 1; n <= FreeQueryMenuCount; ++n) {
        Registry r;
        if (!r.openKey(freeQueryKey(n), true))
            continue;
        TFreeQueryMenuEntry &e = FreeQueryMenu[n - 1];
        // Each value on its own: a fresh key has no "Enabled" yet.
        guarded([&] { e.SQL = r.readString(QStringLiteral("SQL")); });
        guarded([&] { e.Caption = r.readString(QStringLiteral("Caption")); });
        guarded([&] { e.Enabled = r.readBool(QStringLiteral("Enabled")); });
    }
}

// ---- machine-wide values -----------------------------------------------------------

bool OpenMachineKey(Registry &key, bool forWriting)
{
    const QString damage = platform::takeRegistryDamageMessage(RegistryRoot::LocalMachine);
    if (!damage.isEmpty())
        AppMessage(damage, QStringLiteral("Registry-Fehler"), platform::MessageIcon::Warning);
    bool created = false;
    if (key.keyExists(kMachineKey))
        return key.openKey(kMachineKey, false);
    if (!forWriting)
        return false;
    if (!key.openKey(kMachineKey, true, &created, QStringLiteral("MyClass"))) {
        AppMessage(QStringLiteral("Fehler beim Öffnen von HKEY_LOCAL_MACHINE\\SOFTWARE !!"),
                   QStringLiteral("Registry-Fehler"), platform::MessageIcon::Error);
        return false;
    }
    return !created;
}

namespace {
struct ZFGroup
{
    const char *readError;
    const char *writeError;
    std::vector<std::pair<const char *, qint32 TZFSheetLayout::*>> values;
};

const std::vector<ZFGroup> &zfGroups()
{
    static const std::vector<ZFGroup> groups = {
        {"Fehler beim Lesen des Setups für Selbstklebe-Rückenetiketten!",
         "Fehler beim Speichern der Rückenetiketten-Abmessungen!",
         {{"ZFRTop", &TZFSheetLayout::ZFRTop}, {"ZFRLeft", &TZFSheetLayout::ZFRLeft},
          {"ZFRA", &TZFSheetLayout::ZFRA}, {"ZFRAnz", &TZFSheetLayout::ZFRAnz}}},
        {"Fehler beim Lesen des Setups für \"große\" Selbstklebeetiketten!",
         "Fehler beim Speichern der Abmessungen der \"großen\" Etiketten!",
         {{"ZFGTop", &TZFSheetLayout::ZFGTop}, {"ZFGLeft", &TZFSheetLayout::ZFGLeft},
          {"ZFGAh", &TZFSheetLayout::ZFGAh}, {"ZFGAv", &TZFSheetLayout::ZFGAv},
          {"ZFGAnz", &TZFSheetLayout::ZFGAnz}}},
        {"Fehler beim Lesen der Drucker-Kalibrierung für Selbstklebeetiketten!",
         "Fehler beim Speichern der Drucker-Kalibrierung!",
         {{"ZFKX", &TZFSheetLayout::ZFKX}, {"ZFKY", &TZFSheetLayout::ZFKY}}},
    };
    return groups;
}
} // namespace

namespace {
// No installer writes the machine's sheet values on this platform: the
// first start stores the start-up defaults in their place, as the
// installer did. False when they cannot be stored.
bool installSheetDefaults()
{
    Registry r(RegistryRoot::LocalMachine);
    bool created = false;
    if (!r.openKey(kMachineKey, true, &created, QStringLiteral("MyClass")))
        return false;
    return storeGroup(r, [&] {
        for (const ZFGroup &g : zfGroups())
            for (const auto &[name, field] : g.values) {
                unsigned char b[4];
                qToLittleEndian(ZFSheetLayout.*field, b);
                r.writeBinaryData(QLatin1String(name), b, 4);
            }
    });
}
} // namespace

void LoadSelfAdhesiveSetup(bool silent)
{
    Registry r(RegistryRoot::LocalMachine);
    if (!OpenMachineKey(r, false) && !(installSheetDefaults() && OpenMachineKey(r, false))) {
        ZFSetupMissing = true;
        ZFSheetLayout.Changed = true;
        AppMessage(QStringLiteral("Registry-Lesefehler: Die Einstellungen für das Selbstklebeetiketten-Setup "
                                      "wurden nicht gefunden.\rÜberprüfen Sie diese Einstellungen, wenn Sie auf "
                                      "Selbstklebeetiketten drucken möchten.!"),
                       QStringLiteral("Information"), platform::MessageIcon::Warning);
        return;
    }
    bool anyBox = false;
    for (const ZFGroup &g : zfGroups()) {
        bool ok = guarded([&] {
            for (const auto &[name, field] : g.values) {
                unsigned char b[4];
                if (r.readBinaryData(QLatin1String(name), b, 4) != 4)
                    throw RegistryError(QString());
                ZFSheetLayout.*field = qFromLittleEndian<qint32>(b);
            }
        });
        if (!ok) {
            ZFShowHint = true;
            ZFSheetLayout.Changed = true;
            if (!silent) {
                AppMessage(QString::fromUtf8(g.readError), QStringLiteral("Registry-Fehler!"), platform::MessageIcon::Error);
                anyBox = true;
            }
        }
    }
    r.closeKey();
    BoundSheetLayout(ZFSheetLayout); // values from the store held to what the set-up offers
    if (anyBox)
        AppMessage(QStringLiteral("Bitte wählen Sie im Menü \"Einstellungen/ Selbstklebeetiketten einrichten\", um "
                                  "die fehlenden Einstellungen wieder zu speichern. Dann werden auch diese "
                                  "Fehlermeldungen wieder verschwinden."),
                   QStringLiteral("Hinweis zu den Registry-Fehlern"), platform::MessageIcon::Information);
    ZFSetupMissing = anyBox;
}

bool SaveSelfAdhesiveSetup()
{
    Registry r(RegistryRoot::LocalMachine);
    // No installer makes the machine key here, so the first save makes it.
    OpenMachineKey(r, true);
    if (!r.hasCurrentKey()) {
        AppMessage(QStringLiteral("Fehler beim Zugriff auf die Windows-Registrierung (\"Registry\")!\rOder das "
                                  "Programm war nicht ordnungsgemäß installiert.\rIn Win NT müssen Sie "
                                  "Administratorrechte haben!"),
                   QStringLiteral("FEHLER!"), platform::MessageIcon::Error);
        return false;
    }
    bool all = true;
    for (const ZFGroup &g : zfGroups()) {
        bool ok = storeGroup(r, [&] {
            for (const auto &[name, field] : g.values) {
                unsigned char b[4];
                qToLittleEndian(ZFSheetLayout.*field, b);
                r.writeBinaryData(QLatin1String(name), b, 4);
            }
        });
        if (!ok) {
            AppMessage(QString::fromUtf8(g.writeError), QStringLiteral("Registry-Fehler!"), platform::MessageIcon::Error);
            all = false;
        }
    }
    if (all)
        ZFSheetLayout.Changed = false;
    return all;
}

// ---- per-user folder -------------------------------------------------------------

void ResetProfileDirCache()
{
    g_profileDir.clear();
}

void SetProfileBaseDir(const QString &dir)
{
    g_profileBase = dir;
    g_profileDir.clear();
}

namespace {

enum class ProfileRead { Ok, Absent, NoKey };

ProfileRead ReadProfileDir()
{
    Registry r;
    if (!r.openKey(kMainKey, true))
        return ProfileRead::NoKey;
    guarded([&] { g_profileDir = r.readString(QStringLiteral("ProfileDir")); });
    if (g_profileDir.length() > 10 && QFileInfo(g_profileDir).isDir()) {
        g_profileDir = platform::withTrailingSeparator(g_profileDir);
        return ProfileRead::Ok;
    }
    return ProfileRead::Absent;
}

void WriteProfileDir()
{
    Registry r;
    if (r.openKey(kMainKey, true))
        guarded([&] { r.writeString(QStringLiteral("ProfileDir"), g_profileDir); });
}

bool copyFolder(const QString &from, const QString &to)
{
    if (!QDir().mkpath(to))
        return false;
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        const QString src = it.next();
        const QString dst = platform::joinPath(to, it.fileName());
        if (it.fileInfo().isDir()) {
            if (!copyFolder(src, dst))
                return false;
        } else if (!QFile::copy(src, dst)) {
            return false;
        }
    }
    return true;
}

// Copies the user files that ship in the program folder; a file the program
// folder does not carry is left out, an existing target is a failure.
bool CopyUserFilesToProfile()
{
    for (const char *name : {"search.ini", "userlabels2.db", "userlabels2.px", "userlabels2.val"}) {
        const QString src = ProgDir + QLatin1String(name);
        if (!QFile::exists(src))
            continue;
        if (!QFile::copy(src, g_profileDir + QLatin1String(name)))
            return false;
    }
    const QString sql = ProgDir + QStringLiteral("SQL");
    if (QFileInfo(sql).isDir())
        return copyFolder(sql, g_profileDir + QStringLiteral("SQL"));
    return QDir().mkpath(g_profileDir + QStringLiteral("SQL"));
}

} // namespace

QString GetProfileDir()
{
    if (!g_profileDir.isEmpty())
        return g_profileDir;
    const ProfileRead read = ReadProfileDir();
    if (read == ProfileRead::Ok)
        return g_profileDir;
    if (read == ProfileRead::NoKey) {
        AppMessage(QStringLiteral("Tarvo-Registry-Schlüssel scheint konnte nicht geöffnet werden, beim Versuch, den "
                                  "Benutzerprofil-Pfad zu lesen.\rDieser Fehler sollte nicht mehr auftreten, wenn Sie "
                                  "eine Benutzereinstellung (z.B. Etikettendruck-Einstellungen) öffnen und mit OK neu "
                                  "speichern."),
                   QStringLiteral("Registry-Fehler"), platform::MessageIcon::Error);
        g_profileDir.clear();
        return g_profileDir;
    }
    enum { NoBase, Exists, Created, Failed, Declined } outcome;
    const QString base = profileBase();
    // In a fresh home $XDG_DATA_HOME may not exist yet; it is the user's to
    // make (a base given by a test is taken as it is).
    if (g_profileBase.isEmpty() && !base.isEmpty())
        QDir().mkpath(base);
    if (base.isEmpty() || !QFileInfo(base).isDir()) {
        outcome = NoBase;
    } else {
        g_profileDir = platform::withTrailingSeparator(base) + QStringLiteral("Ozo-Software/Tarvo/");
        if (QFileInfo(g_profileDir).isDir()) {
            outcome = Exists;
        } else if (AppMessage(QStringLiteral(
                                  "Tarvo möchte in den \"Anwendungsdaten\" Ihres Windows-Benutzerprofils ein "
                                  "Verzeichnis für gewisse Benutzerdaten (Einstellungen zur Internet-Suche, eigene "
                                  "Etikettenformate, eigene SQL-Anfragen) anlegen. Vorteile: \r1. Nutzung auch bei "
                                  "eingeschränken Nutzer-Rechten problemlos möglich,\r2. separate Einstellungen für "
                                  "jeden Benutzer.\rWollen Sie das erlauben? (empfohlen!)\r(Wenn Sie mit \"Nein\" "
                                  "antworten, werden diese Dateien im Tarvo-Programmverzeichnis abgelegt.)"),
                              QStringLiteral("Installation beim ersten Start"), platform::MessageIcon::Question,
                              platform::MessageButtons::YesNo)
                   == mrYes) {
            QDir().mkpath(g_profileDir);
            outcome = QFileInfo(g_profileDir).isDir() ? Created : Failed;
        } else {
            outcome = Declined;
        }
    }
    if (outcome == NoBase || outcome == Failed || outcome == Declined)
        g_profileDir = ProgDir;
    if (outcome == Failed)
        AppMessage(QStringLiteral("Tarvo hat versucht, einmalig im Windows-Benutzerprofil unter \"Anwendungsdaten\" "
                                  "einen Ordner für gewisse Benutzereinstellungen (WebSuche, eigene Etikettenformate "
                                  "etc.) anzulegen. Das ist gescheitert, weshalb diese Dateien nun im "
                                  "Tarvo-Programmverzeichnis abgelegt werden. Folge: Diese Einstellungen sind bei "
                                  "Mehrbenutzerbetrieb für alle Benutzer identisch und zum Ändern dieser "
                                  "Einstellungen werden höchstwahrscheinlich Administrator-Rechte benötigt."),
                   QStringLiteral("Fehler"), platform::MessageIcon::Error);
    if (outcome == Exists || outcome == Declined) {
        WriteProfileDir();
    } else if (outcome == Created) {
        if (CopyUserFilesToProfile())
            WriteProfileDir();
        else
            g_profileDir = ProgDir;
    }
    return g_profileDir;
}
