#include "app/apppaths.h"
#include "app/settings.h"
#include "app/settingsfixture.h"
#include "platform/progdir.h"

#include <QFile>
#include <QFont>
#include <QtTest>
#include <unistd.h>

#include <sys/inotify.h>
#include <unistd.h>

using platform::Registry;

class TstSettings : public QObject
{
    Q_OBJECT
    SettingsFixture fx;

    QStringList captions() const { return fx.captions(); }

private slots:
    void init() { fx.setUp(); }

    void freshUserIsFirstRunWithoutFailureBox()
    {
        fx.presenter->answer(mrYes); // the per-user folder question
        LoadSettings();
        QVERIFY(FirstRunDetected);
        // Only the per-user folder question: no failed-groups box, no box about
        // the machine's sheet values.
        QCOMPARE(captions(), QStringList{QStringLiteral("Installation beim ersten Start")});
        const QString profile = fx.path(QStringLiteral("data/Ozo-Software/Tarvo/"));
        QCOMPARE(GetProfileDir(), profile);
        QVERIFY(QFileInfo(profile + QStringLiteral("SQL")).isDir());
        // No installer: the machine's sheet values are stored with their defaults.
        QVERIFY(!ZFSetupMissing);
        QCOMPARE(ZFSheetLayout.ZFRTop, 184);
        // Defaults survive where values are missing.
        QVERIFY(ATTS);
        QVERIFY(dvd_kk_nur1film);
        QCOMPARE(NetRefreshInterval, 30000);
        QVERIFY(PrintRest && PrintTon && PrintLen && PrintKategSymb && FreeStrikeOut);
        QVERIFY(!PrintFree && !PrintKat && !PrintAnhSymb && !PrintAnhSymbMemo);
        QCOMPARE(AnhGrScale, quint8(10));
        QCOMPARE(PersDruckFontSize, quint8(12));
        QCOMPARE(PersDruckFontName, QStringLiteral("Arial"));
        QCOMPARE(CDDrive, DefaultCDDrive);
        QCOMPARE(LabelFont, TFontSpec());

        // Until the settings are saved, every start is a first run.
        fx.presenter->clear();
        platform::resetRegistryStores();
        LoadSettings();
        QVERIFY(FirstRunDetected);
        QCOMPARE(fx.presenter->shown().size(), 0); // the folder exists now: no question
        // Once saved, the next start is no first run and shows nothing.
        SaveSettings();
        ResetProfileDirCache();
        fx.presenter->clear();
        platform::resetRegistryStores();
        LoadSettings();
        QVERIFY(!FirstRunDetected);
        QCOMPARE(GetProfileDir(), profile);
        QCOMPARE(fx.presenter->shown().size(), 0);
    }

    void everyGroupRoundTrips()
    {
        QDir().mkpath(fx.path(QStringLiteral("dbs")));
        SymbolFile = QStringLiteral("Symbole\\x.bmp");
        DBFile = QStringLiteral("/home/u/DBs/Sammlung/");
        PersDBFile = QStringLiteral("/home/u/Pers");
        ShowTipODay = false;
        SymbDirF = QStringLiteral("/a");
        SymbDirK = QStringLiteral("/b");
        SymbTypK = 3;
        LFont = QStringLiteral("Courier New");
        LPP = 60;
        ListSpAnz = 4;
        ListUseKategFont = true;
        AnhFont = QStringLiteral("Times");
        AnhGrScale = 12;
        AnhPrintFlag1 = true;
        AnhPrintFlag2 = false;
        AnhShrinkPicture = true;
        PersDruckFontName = QStringLiteral("Verdana");
        PersDruckFontSize = 14;
        PersDruckBackSide = PersDruckMedIndex = true;
        MaxSizeSub = 20;
        MaxSizeMin = 9;
        MaxSizeSymb = 7;
        FilmSizeIdent = 2;
        PrintFreeNr = 3;
        PrintHFreeNr = 4;
        PrintRest = PrintTon = false;
        PrintAnhSymb = PrintAnhSymbMemo = PrintLen = true;
        PrintFree = false;
        PrintKat = false;
        PrintKategSymb = FreeStrikeOut = false;
        PlayTimeFormat = 3;
        PrintHZF = PrintHFree = PrintEndPos = true;
        NrEtiSeparate = false;
        LabelAlignMode = 2;
        PrintSterne = true;
        VCenter = false;
        FormatSymbMode = 3;
        GridBoolBothSymbols = false;
        GridBoolTrueSymbolOnly = GridBoolTickStyle = true;
        ZFOn = true;
        ZFShowHint = false;
        PFSetNever = PFClearAlways = PFNoReadOnlyAsk = true;
        bRest1bis4 = true;
        ATTS = false;
        dvd_kk_nur1film = false;
        CDDrive = QStringLiteral("/media/cdrom1");
        DBsDir = fx.path(QStringLiteral("dbs/"));
        RegelVerleihzeit = 300;
        AutoMahnliste = true;
        ErsterVerleih = false;
        NetRefreshInterval = 45000;
        UpdChkMode = 2;
        SPLayoutsValid = true;
        for (int i = 0; i < SPColumnsF; ++i) {
            SPBreitenF[i] = 10 + i;
            SPReihenfolgeF[i] = SPColumnsF - i;
        }
        SPBreitenMF[26] = -1;
        LabelFont = {QStringLiteral("Arial Black"), 14, fsBold | fsUnderline, platform::clRed};
        NrEtiFont = {QStringLiteral("Impact"), 30, fsItalic | fsStrikeOut, platform::clNavy};
        SaveSettings();
        QCOMPARE(fx.presenter->shown().size(), 0);

        // Snapshot, back to the defaults, load.
        const auto saved = [] {
            return QVariantList{SymbolFile, DBFile, PersDBFile, ShowTipODay, SymbDirF, SymbDirK, SymbTypK, LFont,
                                LPP, ListSpAnz, ListUseKategFont, AnhFont, AnhGrScale, AnhPrintFlag1,
                                AnhPrintFlag2, AnhShrinkPicture, PersDruckFontName, PersDruckFontSize,
                                PersDruckBackSide, PersDruckListFilms, PersDruckMedIndex, MaxSizeSub, MaxSizeMin,
                                MaxSizeSymb, FilmSizeIdent, PrintFreeNr, PrintHFreeNr, PrintRest, PrintTon,
                                PrintAnhSymb, PrintAnhSymbMemo, PrintLen, PrintFree, PrintKategSymb, FreeStrikeOut,
                                PrintKat, PlayTimeFormat, PrintHZF, PrintHKateg, PrintHFree, NrEtiSeparate,
                                PrintEndPos, LabelAlignMode, PrintSterne, PrintHNr, VCenter, FormatSymbMode,
                                GridBoolBothSymbols, GridBoolTrueSymbolOnly, GridBoolTickStyle, ZFOn, ZFShowHint,
                                PFSetAlways, PFSetNever, PFClearAlways, PFClearNever, PFNoReadOnlyAsk, bRest1bis4,
                                ATTS, dvd_kk_nur1film, CDDrive, DBsDir, RegelVerleihzeit, AutoMahnliste,
                                ErsterVerleih, NetRefreshInterval, UpdChkMode, SPLayoutsValid, SPBreitenF[5],
                                SPReihenfolgeF[28], SPBreitenMF[26], LabelFont.Name, LabelFont.Size,
                                LabelFont.Style, LabelFont.Color, NrEtiFont.Name, NrEtiFont.Size, NrEtiFont.Style,
                                NrEtiFont.Color};
        };
        const QVariantList before = saved();
        InitSettingsDefaults(fx.path(QStringLiteral("prog")));
        platform::resetRegistryStores();
        fx.presenter->answer(mrNo); // per-user folder: none wanted
        LoadSettings();
        QVERIFY(!FirstRunDetected);
        const QVariantList after = saved();
        for (int i = 0; i < before.size(); ++i)
            QVERIFY2(before[i] == after[i], qPrintable(QStringLiteral("value %1: %2 != %3")
                                                          .arg(i)
                                                          .arg(before[i].toString(), after[i].toString())));
        // Colours stay Windows colour values.
        QCOMPARE(QColor(platform::toQColor(LabelFont.Color)), QColor(Qt::red));
        QVERIFY(FontSpecToQFont(NrEtiFont).italic());
    }

    void failedGroupsComeInOneBox()
    {
        SettingsFixture::seed([](Registry &r) {
            r.writeString(QStringLiteral("FirstRun"), QStringLiteral("No"));
            r.writeInteger(QStringLiteral("ShowTipODay"), 0);   // wrong kind: tip stays on, no name
            SettingsFixture::seedByte(r, "AnhFont", 1);         // wrong kind
            r.writeString(QStringLiteral("MaxSizeSub"), QStringLiteral("x"));
            r.writeBinary(QStringLiteral("PrintFlags"), QByteArray(2, '\0')); // larger than its byte
            r.writeString(QStringLiteral("Symbol"), QStringLiteral("s.bmp"));
            r.writeBinary(QStringLiteral("SymbTypK"), QByteArray(3, '\1'));  // fails: folders empty, type 2
            r.writeString(QStringLiteral("SymbDirF"), QStringLiteral("/x"));
        });
        LoadSettings();
        QVERIFY(!FirstRunDetected);
        QCOMPARE(fx.presenter->shown().size(), 1);
        const auto &box = fx.presenter->shown().at(0);
        QCOMPARE(box.caption, QStringLiteral("Laden der Benutzer-Einstellungen"));
        QCOMPARE(box.text,
                 QStringLiteral("Folgende Benutzer-Einstellungen konnten nicht (aus der Registry) geladen werden:"
                                "\rListendruck-Einstellungen\rAnhang-Druck-Optionen"
                                "\rEtikettendruckoptionen (Maximalgrößen)\rEtikettendruck-Flags"
                                "\rZählwerksmodus\rEinstellung \"Nur 1 Film pro DVD oder Kaufkassette\""
                                "\rVerleih-Einstellungen\rNetRefreshInterval"
                                "\rÜberprüfen Sie diese Einstellungen und speichern Sie sie erneut (mit OK)."));
        QVERIFY(ShowTipODay);
        QCOMPARE(SymbolFile, QStringLiteral("s.bmp"));
        QCOMPARE(SymbDirF, QString());
        QCOMPARE(SymbTypK, quint8(2));
        // A first-run value suppresses the box.
        SettingsFixture::seed([](Registry &r) { r.writeString(QStringLiteral("FirstRun"), QStringLiteral("Yes")); });
        fx.presenter->clear();
        fx.presenter->answer(mrNo);
        LoadSettings();
        QVERIFY(FirstRunDetected);
        QCOMPARE(captions(), QStringList{QStringLiteral("Installation beim ersten Start")});
    }

    void loadRulesOfSingleValues_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QVariant>("value"); // QString: string, int: DWORD, QByteArray: raw
        QTest::addColumn<QString>("global");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("PrintFlags 48 is the category column") << "PrintFlags" << QVariant(QByteArray(1, 48))
                                                              << "PrintKat" << QVariant(true);
        QTest::newRow("AnhGrScale 13") << "AnhGrScale" << QVariant(QByteArray(1, 13)) << "AnhGrScale" << QVariant(10);
        QTest::newRow("AnhGrScale 8") << "AnhGrScale" << QVariant(QByteArray(1, 8)) << "AnhGrScale" << QVariant(8);
        QTest::newRow("PersDruckFontSize 5") << "PersDruckFontSize" << QVariant(QByteArray(1, 5))
                                             << "PersDruckFontSize" << QVariant(12);
        QTest::newRow("ListSpAnz 6") << "ListSpAnz" << QVariant(QByteArray(1, 6)) << "ListSpAnz" << QVariant(0);
        QTest::newRow("UpdChk Ja") << "UpdChk" << QVariant(QStringLiteral("Ja")) << "UpdChkMode" << QVariant(1);
        QTest::newRow("UpdChk nein") << "UpdChk" << QVariant(QStringLiteral("nein")) << "UpdChkMode" << QVariant(2);
        QTest::newRow("UpdChk other") << "UpdChk" << QVariant(QStringLiteral("?")) << "UpdChkMode" << QVariant(0);
        QTest::newRow("ShowTipODay no") << "ShowTipODay" << QVariant(QStringLiteral("no")) << "ShowTipODay"
                                        << QVariant(false);
        QTest::newRow("ShowTipODay 0") << "ShowTipODay" << QVariant(QStringLiteral("0")) << "ShowTipODay"
                                       << QVariant(false);
        QTest::newRow("ShowTipODay false") << "ShowTipODay" << QVariant(QStringLiteral("false")) << "ShowTipODay"
                                           << QVariant(true);
        QTest::newRow("NetRefreshInterval 0") << "NetRefreshInterval" << QVariant(0) << "NetRefreshInterval"
                                              << QVariant(5000);
        QTest::newRow("NetRefreshInterval huge") << "NetRefreshInterval" << QVariant(3000000) << "NetRefreshInterval"
                                                 << QVariant(900000);
        QTest::newRow("NetRefreshInterval negative") << "NetRefreshInterval" << QVariant(-7) << "NetRefreshInterval"
                                                     << QVariant(5000);
        QTest::newRow("CDDrive empty") << "CDDrive" << QVariant(QString()) << "CDDrive" << QVariant(QStringLiteral("/media/cdrom"));
        QTest::newRow("CDDrive mount point") << "CDDrive" << QVariant(QStringLiteral("/media/dvd")) << "CDDrive"
                                             << QVariant(QStringLiteral("/media/dvd"));
        QTest::newRow("PlayTimeFormat 6 keeps") << "PrintFlags2" << QVariant(QByteArray(1, 6)) << "PlayTimeFormat"
                                                << QVariant(0);
        QTest::newRow("PrintFlags3 16 is VCenter off") << "PrintFlags3" << QVariant(QByteArray(1, 16)) << "VCenter"
                                                       << QVariant(false);
        QTest::newRow("DBsDir missing folder") << "DBsDir" << QVariant(QStringLiteral("/no/such/folder"))
                                               << "DBsDir" << QVariant(QStringLiteral("<prog>DBs/"));
        QTest::newRow("PersDruckFontName empty") << "PersDruckFontName" << QVariant(QString())
                                                 << "PersDruckFontName" << QVariant(QStringLiteral("Arial"));
    }

    void loadRulesOfSingleValues()
    {
        QFETCH(QString, name);
        QFETCH(QVariant, value);
        QFETCH(QString, global);
        QFETCH(QVariant, expected);
        SettingsFixture::seedReturningUser();
        SettingsFixture::seed([&](Registry &r) {
            if (value.typeId() == QMetaType::QByteArray)
                r.writeBinary(name, value.toByteArray());
            else if (value.typeId() == QMetaType::Int)
                r.writeInteger(name, value.toInt());
            else
                r.writeString(name, value.toString());
        });
        LoadSettings();
        const QHash<QString, QVariant> globals = {
            {"PrintKat", PrintKat}, {"AnhGrScale", AnhGrScale}, {"PersDruckFontSize", PersDruckFontSize},
            {"ListSpAnz", ListSpAnz}, {"UpdChkMode", UpdChkMode}, {"ShowTipODay", ShowTipODay},
            {"NetRefreshInterval", NetRefreshInterval}, {"CDDrive", CDDrive},
            {"PlayTimeFormat", PlayTimeFormat}, {"VCenter", VCenter},
            {"DBsDir", DBsDir.replace(ProgDir, QStringLiteral("<prog>"))},
            {"PersDruckFontName", PersDruckFontName}};
        QCOMPARE(globals.value(global).toString(), expected.toString());
        QCOMPARE(fx.presenter->shown().size(), 0);
    }

    void aSaveWritesTheFileOnceWithAllGroupsOrNone()
    {
        // Each store of the file puts a new file in its place (created there
        // or renamed over the old one): inotify counts them.
        const QFileInfo store(platform::userRegistryFile());
        QVERIFY(QDir().mkpath(store.absolutePath()));
        const int fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        QVERIFY(fd >= 0);
        QVERIFY(inotify_add_watch(fd, QFile::encodeName(store.absolutePath()).constData(), IN_CREATE | IN_MOVED_TO)
                >= 0);
        SPLayoutsValid = true; // every group, the column layouts included
        SaveSettings();
        int writes = 0;
        alignas(inotify_event) char events[4096];
        for (ssize_t n; (n = read(fd, events, sizeof events)) > 0;) {
            for (char *e = events; e < events + n;) {
                const auto *ev = reinterpret_cast<const inotify_event *>(e);
                if (ev->len > 0 && QFile::decodeName(ev->name) == store.fileName())
                    ++writes;
                e += sizeof(inotify_event) + ev->len;
            }
        }
        close(fd);
        QCOMPARE(writes, 1);
        Registry r;
        QVERIFY(r.openKey(QStringLiteral("Software\\Ozo-Software\\TARVO\\NrEtiFt"), false));
        QCOMPARE(r.readString(QStringLiteral("Name")), NrEtiFont.Name);
        QVERIFY(r.openKey(QStringLiteral("Software\\Ozo-Software\\TARVO"), false));
        QVERIFY(r.valueExists(QStringLiteral("SPReihenfolgeMF")));
        QCOMPARE(fx.presenter->shown().size(), 0);

        // A store that cannot be written keeps none of the groups and says so
        // once.
        QFile blocker(fx.path(QStringLiteral("blocker")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        platform::setUserRegistryFile(fx.path(QStringLiteral("blocker/user.reg")));
        SaveSettings();
        QCOMPARE(captions(), QStringList{QStringLiteral("FEHLER!")});
        QVERIFY(fx.presenter->shown().first().text.contains(QStringLiteral("blocker")));
        QVERIFY(!Registry().keyExists(QStringLiteral("Software\\Ozo-Software\\TARVO")));
    }

    void flagBytesAreWrittenBackAsRead()
    {
        SettingsFixture::seedReturningUser();
        SettingsFixture::seed([](Registry &r) {
            SettingsFixture::seedByte(r, "PrintFlags", 48);
            r.writeString(QStringLiteral("UpdChk"), QStringLiteral("Ja"));
            SettingsFixture::seedByte(r, "PrintedFlagAutoSetClearMode", 2 + 4);
        });
        LoadSettings();
        QVERIFY(PrintKat && !PrintLen && !PrintFree);
        QVERIFY(PFSetNever && PFClearAlways && !PFSetAlways && !PFClearNever);
        SaveSettings();
        Registry r;
        QVERIFY(r.openKey(QStringLiteral("Software\\Ozo-Software\\TARVO"), false));
        QCOMPARE(r.readBinary(QStringLiteral("PrintFlags")), QByteArray(1, 48));
        QCOMPARE(r.readString(QStringLiteral("UpdChk")), QStringLiteral("yes"));
        QCOMPARE(r.readBinary(QStringLiteral("PrintedFlagAutoSetClearMode")), QByteArray(1, 6));
        QCOMPARE(r.readString(QStringLiteral("FirstRun")), QStringLiteral("No"));
        QCOMPARE(r.readInteger(QStringLiteral("NetRefreshInterval")), 30);
    }

    void columnLayoutsOnlyWhenComplete()
    {
        SettingsFixture::seedReturningUser();
        // Seven of eight: not taken as a layout, and nothing written back.
        SettingsFixture::seed([](Registry &r) {
            for (const char *n : {"SPBreitenK", "SPReihenfolgeK"})
                r.writeBinary(QLatin1String(n), QByteArray(56, '\1'));
            for (const char *n : {"SPBreitenF", "SPReihenfolgeF"})
                r.writeBinary(QLatin1String(n), QByteArray(116, '\1'));
            for (const char *n : {"SPBreitenP", "SPReihenfolgeP"})
                r.writeBinary(QLatin1String(n), QByteArray(36, '\1'));
            r.writeBinary(QStringLiteral("SPBreitenMF"), QByteArray(108, '\1'));
        });
        LoadSettings();
        QVERIFY(!SPLayoutsValid);
        QCOMPARE(SPBreitenK[0], 0x01010101);
        SettingsFixture::seed([](Registry &r) { r.deleteValue(QStringLiteral("SPBreitenK")); });
        SaveSettings();
        Registry r;
        QVERIFY(r.openKey(QStringLiteral("Software\\Ozo-Software\\TARVO"), false));
        QVERIFY(!r.valueExists(QStringLiteral("SPBreitenK")));
        QVERIFY(!r.valueExists(QStringLiteral("SPReihenfolgeMF")));
    }

    void freeQueryMenuEntriesSitBelowTheMainKey()
    {
        FreeQueryMenu[2] = {QStringLiteral("SELECT * FROM FILM"), QStringLiteral("&Alle Filme"), true};
        SaveFreeQueryMenu();
        Registry r;
        QVERIFY(r.keyExists(QStringLiteral("Software\\Ozo-Software\\TARVO\\FreeQueryMen3")));
        QVERIFY(!r.keyExists(QStringLiteral("Software\\Ozo-Software\\TARVO\\FreeQueryMen")));
        FreeQueryMenu[2] = {};
        LoadFreeQueryMenu();
        QCOMPARE(FreeQueryMenu[2].SQL, QStringLiteral("SELECT * FROM FILM"));
        QCOMPARE(FreeQueryMenu[2].Caption, QStringLiteral("&Alle Filme"));
        QVERIFY(FreeQueryMenu[2].Enabled);
        QVERIFY(!FreeQueryMenu[0].Enabled);
    }

    void selfAdhesiveSetup()
    {
        ZFSheetLayout.ZFRTop = 190;
        ZFSheetLayout.ZFKY = -3;
        QVERIFY(SaveSelfAdhesiveSetup());
        QCOMPARE(fx.presenter->shown().size(), 0);
        ZFSheetLayout = TZFSheetLayout();
        LoadSelfAdhesiveSetup(false);
        QCOMPARE(ZFSheetLayout.ZFRTop, 190);
        QCOMPARE(ZFSheetLayout.ZFKY, -3);
        QVERIFY(!ZFSetupMissing);
        QCOMPARE(fx.presenter->shown().size(), 0);
        // A missing value of the big-label group: its box, then the hint.
        {
            Registry m(platform::RegistryRoot::LocalMachine);
            QVERIFY(m.openKey(QStringLiteral("SOFTWARE\\Ozo-Software\\TARVO"), false));
            m.deleteValue(QStringLiteral("ZFGAv"));
        }
        ZFShowHint = false;
        LoadSelfAdhesiveSetup(false);
        QCOMPARE(captions(), (QStringList{QStringLiteral("Registry-Fehler!"),
                                          QStringLiteral("Hinweis zu den Registry-Fehlern")}));
        QVERIFY(fx.presenter->shown().at(0).text.contains(QStringLiteral("\"große\"")));
        QVERIFY(ZFShowHint && ZFSetupMissing && ZFSheetLayout.Changed);
        // Silent: no boxes, but the hint flag still set.
        fx.presenter->clear();
        LoadSelfAdhesiveSetup(true);
        QCOMPARE(fx.presenter->shown().size(), 0);
        QVERIFY(!ZFSetupMissing);
    }

    void machineValuesThatCannotBeStored()
    {
        QFile blocker(fx.path(QStringLiteral("blocker")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        platform::setMachineRegistryFiles(fx.path(QStringLiteral("blocker/sys.reg")),
                                          fx.path(QStringLiteral("blocker/machine.reg")));
        LoadSelfAdhesiveSetup(true); // the box comes even when silent
        QCOMPARE(captions(), QStringList{QStringLiteral("Information")});
        QVERIFY(ZFSetupMissing && ZFSheetLayout.Changed);
        fx.presenter->clear();
        QVERIFY(!SaveSelfAdhesiveSetup());
        QCOMPARE(captions(), (QStringList{QStringLiteral("Registry-Fehler"), QStringLiteral("FEHLER!")}));
    }

    void profileFolderRules()
    {
        // A stored folder of exactly 10 characters is not accepted.
        SettingsFixture::seed([](Registry &r) { r.writeString(QStringLiteral("ProfileDir"), QStringLiteral("/tmp/abcde")); });
        fx.presenter->answer(mrNo);
        QCOMPARE(GetProfileDir(), ProgDir);
        QCOMPARE(captions(), QStringList{QStringLiteral("Installation beim ersten Start")});
        // Declined is remembered: the question is not asked again.
        ResetProfileDirCache();
        fx.presenter->clear();
        QCOMPARE(GetProfileDir(), ProgDir);
        QCOMPARE(fx.presenter->shown().size(), 0);
        // An existing folder is taken without a question.
        SettingsFixture::seed([](Registry &r) { r.deleteValue(QStringLiteral("ProfileDir")); });
        QDir().mkpath(fx.path(QStringLiteral("data/Ozo-Software/Tarvo")));
        ResetProfileDirCache();
        QCOMPARE(GetProfileDir(), fx.path(QStringLiteral("data/Ozo-Software/Tarvo/")));
        QCOMPARE(fx.presenter->shown().size(), 0);
        QCOMPARE(ExpandProfilePath(QStringLiteral("search.ini")),
                 fx.path(QStringLiteral("data/Ozo-Software/Tarvo/search.ini")));
        // A fresh home has no $XDG_DATA_HOME yet: it is made, and the question asked.
        SettingsFixture::seed([](Registry &r) { r.deleteValue(QStringLiteral("ProfileDir")); });
        qputenv("XDG_DATA_HOME", fx.path(QStringLiteral("fresh/share")).toUtf8());
        SetProfileBaseDir(QString());
        fx.presenter->answer(mrYes);
        QCOMPARE(GetProfileDir(), fx.path(QStringLiteral("fresh/share/Ozo-Software/Tarvo/")));
        QVERIFY(QFileInfo(fx.path(QStringLiteral("fresh/share/Ozo-Software/Tarvo"))).isDir());
        qunsetenv("XDG_DATA_HOME");
    }

    void createdProfileGetsTheProgramsUserFiles()
    {
        QFile f(fx.path(QStringLiteral("prog/search.ini")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[Sites]\r\n");
        f.close();
        QDir().mkpath(fx.path(QStringLiteral("prog/SQL")));
        QFile q(fx.path(QStringLiteral("prog/SQL/Alle.SQL")));
        QVERIFY(q.open(QIODevice::WriteOnly));
        q.close();
        fx.presenter->answer(mrYes);
        const QString dir = GetProfileDir();
        QVERIFY(QFile::exists(dir + QStringLiteral("search.ini")));
        QVERIFY(QFile::exists(dir + QStringLiteral("SQL/Alle.SQL")));
        Registry r;
        QVERIFY(r.openKey(QStringLiteral("Software\\Ozo-Software\\TARVO"), false));
        QCOMPARE(r.readString(QStringLiteral("ProfileDir")), dir);
    }

    void damagedStoreIsReportedAndKept()
    {
        QDir().mkpath(fx.path(QStringLiteral("config")));
        QFile f(fx.path(QStringLiteral("config/user.reg")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("\x01\x02garbage");
        f.close();
        platform::resetRegistryStores();
        fx.presenter->answer(mrOk).answer(mrNo);
        LoadSettings();
        QCOMPARE(fx.presenter->shown().first().caption, QStringLiteral("Registry-Fehler"));
        QVERIFY(fx.presenter->shown().first().text.contains(QStringLiteral("beschädigt")));
        QCOMPARE(QDir(fx.path(QStringLiteral("config"))).entryList({QStringLiteral("user.reg.beschaedigt-*")}).size(), 1);
        QVERIFY(FirstRunDetected); // the settings start afresh

        // Damaged by another program while this one runs: told once, at the
        // next save, with where the damaged file went; the settings in use
        // are stored again.
        LFont = QStringLiteral("Verdana");
        SaveSettings();
        fx.presenter->clear();
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("{ abgebrochen");
        f.close();
        ATTS = false;
        SaveSettings();
        SaveSettings();
        QCOMPARE(fx.captions(), QStringList{QStringLiteral("Registry-Fehler")});
        const QStringList copies =
            QDir(fx.path(QStringLiteral("config"))).entryList({QStringLiteral("user.reg.beschaedigt-*")});
        QCOMPARE(copies.size(), 2);
        QVERIFY(fx.presenter->shown().first().text.contains(QStringLiteral("konnten nicht gelesen werden")));
        QVERIFY(copies.contains(QFileInfo(fx.presenter->shown().first().text.section(QLatin1Char('"'), 3, 3)).fileName()));
        platform::resetRegistryStores();
        Registry r;
        QVERIFY(r.openKey(QStringLiteral("Software\\Ozo-Software\\TARVO"), false));
        QCOMPARE(r.readString(QStringLiteral("LFont")), QStringLiteral("Verdana"));
        QCOMPARE(r.readBool(QStringLiteral("ATTS")), false);
    }

    void fontsFallBackToArial()
    {
        QCOMPARE(FontNameOrArial(QString()), QStringLiteral("Arial"));
        QCOMPARE(FontNameOrArial(QStringLiteral("  ")), QStringLiteral("Arial"));
        QCOMPARE(FontNameOrArial(QStringLiteral("Times")), QStringLiteral("Times"));
        SettingsFixture::seedReturningUser();
        LoadSettings(); // "LFont" and "AnhFont" missing: empty, printed in Arial
        QCOMPARE(LFont, QString());
        QCOMPARE(FontSpecToQFont({LFont, 10, 0, 0}).family(), QStringLiteral("Arial"));
        const TFontSpec f{QStringLiteral("Arial"), 12, fsBold, platform::clBlue};
        QCOMPARE(QFontToFontSpec(FontSpecToQFont(f), platform::clBlue), f);
    }

    void pathRules()
    {
        DBsDir = QStringLiteral("/dbs/");
        DBBase = QStringLiteral("/dbs/Sammlung/");
        QCOMPARE(ExpandProgramPath(QStringLiteral("Symbole\\a.bmp")), ProgDir + QStringLiteral("Symbole/a.bmp"));
        QCOMPARE(ExpandProgramPath(QStringLiteral("/x/a.bmp")), QStringLiteral("/x/a.bmp"));
        QCOMPARE(ExpandDBPath(QStringLiteral("Neu")), QStringLiteral("/dbs/Neu"));
        QCOMPARE(ExpandDBPath(QStringLiteral("C:\\Daten\\Neu")), QStringLiteral("C:/Daten/Neu"));
        QCOMPARE(ExpandLinkPath(QStringLiteral("bild.jpg")), QStringLiteral("/dbs/Sammlung/LNK/bild.jpg"));
        QCOMPARE(ExpandLinkPath(QStringLiteral("http://x.de/a")), QStringLiteral("http://x.de/a"));
        QCOMPARE(ExpandLinkPath(QStringLiteral("hTTpS://x.de/a")), QStringLiteral("hTTpS://x.de/a"));
        QCOMPARE(ExpandLinkPath(QStringLiteral("D:\\Filme\\a.avi")), QStringLiteral("D:\\Filme\\a.avi"));
        QCOMPARE(ExpandLinkPath(QStringLiteral("/home/u/a.avi")), QStringLiteral("/home/u/a.avi"));
        QCOMPARE(ExtractDirectory(QStringLiteral("/a/b/c.tarvo")), QStringLiteral("/a/b/"));
        QVERIFY(IsAbsolutePath(QStringLiteral("\\\\server\\share")));
        QVERIFY(!IsAbsolutePath(QStringLiteral("a")));
    }

    // Installed, the executable lies in bin/ and its files in share/tarvo/, which
    // the user may not write: new databases are proposed in the user's data folder.
    void installedLayout()
    {
        const QString root = fx.path(QStringLiteral("usr/"));
        QVERIFY(QDir().mkpath(root + QStringLiteral("bin")));
        QCOMPARE(platform::programDirOf(root + QStringLiteral("bin"), QStringLiteral("../share/tarvo")),
                 root + QStringLiteral("bin/"));
        QVERIFY(QDir().mkpath(root + QStringLiteral("share/tarvo")));
        QCOMPARE(platform::programDirOf(root + QStringLiteral("bin"), QStringLiteral("../share/tarvo")),
                 root + QStringLiteral("share/tarvo/"));

        const QString data = fx.path(QStringLiteral("data"));
        QCOMPARE(DefaultDatabaseFolder(root, data), root + QStringLiteral("DBs/"));
        QCOMPARE(DefaultDatabaseFolder(fx.path(QStringLiteral("missing")), data),
                 data + QStringLiteral("/Ozo-Software/Tarvo/DBs/"));
        if (::geteuid() != 0) { // root may write anywhere
            QFile::setPermissions(root, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            QCOMPARE(DefaultDatabaseFolder(root, data), data + QStringLiteral("/Ozo-Software/Tarvo/DBs/"));
            QFile::setPermissions(root, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        }
    }
};

QTEST_MAIN(TstSettings)
#include "tst_settings.moc"
