// The main window's components: tool bar and navigator, the card with its
// kind, number and length, the film slots, the lending fields and calendar.
#include "windows/main/mainform.h"
#include "windows/main/mainformparts.h"

#include "app/settings.h"
#include "data/mediumcard.h"
#include "data/mediumrecords.h"
#include "dbui/datasource.h"
#include "dbui/dbcombobox.h"
#include "dbui/dbedit.h"
#include "dbui/dbtext.h"
#include "engine/engineerror.h"
#include "engine/table.h"
#include "kit/dbtastennavigation.h"
#include "kit/enterexitbutton.h"
#include "kit/kitresources.h"
#include "kit/lockbutton.h"
#include "kit/ozodbcheck.h"
#include "kit/pzspeedbutton.h"
#include "windows/main/mainmenus.h"

#include <QCalendarWidget>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QRegularExpressionValidator>
#include <QToolButton>

using namespace mainparts;

void TMainform::buildToolBar()
{
    ToolBar1 = named(new QWidget(this), "ToolBar1");
    ToolBar1->setGeometry(0, 0, 600, 28);
    auto menuButton = [this](const char *name, const char *menuName, const QString &caption, int x,
                             int w, QMenu *&menu) {
        auto *b = makeSpeed(ToolBar1, name, QRect(x, 2, w, 24), QString(), QString());
        b->SetCaption(caption);
        b->SetLayout(blLeft);
        menu = named(new QMenu(this), menuName);
        b->SetPopupMenu(menu);
        return b;
    };
    TBDatei = menuButton("TBDatei", "PopupDatei", QStringLiteral("&Datei"), 2, 62, PopupDatei);
    TBAnsicht = menuButton("TBAnsicht", "PopupAnsicht", QStringLiteral("&Ansicht"), 66, 70, PopupAnsicht);
    TBDruck = menuButton("TBDruck", "PopupDruck", QStringLiteral("D&ruck"), 138, 62, PopupDruck);
    TBEinstellungen = menuButton("TBEinstellungen", "PopupEinstellungen", QStringLiteral("&Einstellungen"),
                                 202, 100, PopupEinstellungen);
    TBSuche = menuButton("TBSuche", "PopupSuche", QStringLiteral("&Suche"), 304, 62, PopupSuche);
    TBHilfe = menuButton("TBHilfe", "PopupHilfe", QStringLiteral("&Hilfe"), 368, 60, PopupHilfe);

    // Every entry of the six menus, with its rules and the small buttons.
    Menus = new TMainMenus(*this);

    SpBReadOnly = makeSpeed(ToolBar1, "SpBReadOnly", QRect(500, 2, 44, 24), QStringLiteral("SPBEDIT"),
                            QStringLiteral("Editieren ein/aus (F12)"));
    SpBReadOnly->SetGroupIndex(7);
    SpBReadOnly->SetAllowAllUp(true);
    connect(SpBReadOnly, &TPZSpeedButton::Click, this, [this] {
        // The button latches itself; the lock decides what it shows.
        SpBReadOnlyClick();
    });
    SpBRest = makeSpeed(ToolBar1, "SpBRest", QRect(548, 2, 44, 24), QStringLiteral("SPBREST"),
                        QStringLiteral("Filtern nach Aufnahmelänge"));
    SpBRest->SetGroupIndex(8);
    SpBRest->SetAllowAllUp(true);
    connect(SpBRest, &TPZSpeedButton::Click, this, [this] { FilternnachRestspielzeit1Click(); });

    DBNavigator1 = named(new QWidget(this), "DBNavigator1");
    DBNavigator1->setGeometry(8, 32, 9 * 26, 24);
    auto nav = [this](const char *name, const QString &text, const QString &hint, int i,
                      std::function<void()> act) {
        auto *b = named(new QToolButton(DBNavigator1), name);
        b->setText(text);
        b->setToolTip(hint);
        b->setGeometry(i * 26, 0, 25, 24);
        b->setAutoRaise(true);
        connect(b, &QToolButton::clicked, this, [act] { guardedStep(act); });
        return b;
    };
    NavFirst = nav("NavFirst", QStringLiteral("|◀"), QStringLiteral("Erstes Medium"), 0, [this] { Table1->first(); });
    NavPrior = nav("NavPrior", QStringLiteral("◀"), QStringLiteral("Voriges Medium"), 1, [this] { Table1->prior(); });
    NavNext = nav("NavNext", QStringLiteral("▶"), QStringLiteral("Nächstes Medium"), 2, [this] { Table1->next(); });
    NavLast = nav("NavLast", QStringLiteral("▶|"), QStringLiteral("Letztes Medium"), 3, [this] { Table1->last(); });
    NavInsert = nav("NavInsert", QStringLiteral("+"), QStringLiteral("Neues Medium"), 4, [this] {
        if (Table1->readOnly()) {
            LockButton1->BlinkIfLocked();
            return;
        }
        Table1->insert();
        focusInsertField();
    });
    NavDelete = nav("NavDelete", QStringLiteral("−"), QStringLiteral("Medium löschen"), 5, [this] {
        if (Table1->readOnly())
            LockButton1->BlinkIfLocked();
        else
            ConfirmDelete(*Table1);
    });
    NavPost = nav("NavPost", QStringLiteral("✓"), QStringLiteral("Speichern"), 6, [this] { postPending(Table1.get()); });
    NavCancel = nav("NavCancel", QStringLiteral("✗"), QStringLiteral("Abbrechen"), 7, [this] {
        if (Table1->state() == engine::DataSetState::Edit || Table1->state() == engine::DataSetState::Insert)
            Table1->cancel();
    });
    NavRefresh = nav("NavRefresh", QStringLiteral("⟳"), QStringLiteral("Aktualisieren"), 8, [this] { NavRefreshClick(); });
}

void TMainform::buildCard()
{
    PanelKrt = named(new QWidget(this), "PanelKrt");
    PanelKrt->setGeometry(8, 60, 584, 414);
    PanelKrt->setAutoFillBackground(true);
    {
        QPalette pal = PanelKrt->palette();
        const QPixmap paper(SkinDir + QStringLiteral("Back/Paper.bmp"));
        if (!paper.isNull())
            pal.setBrush(QPalette::Window, QBrush(paper));
        else
            pal.setColor(QPalette::Window, QColor(250, 246, 232));
        PanelKrt->setPalette(pal);
    }
    auto edit = [this](const char *name, const char *field, const QRect &g) {
        return makeDbEdit(PanelKrt, DataSource1, name, field, g);
    };
    LabelMed = makeLabel(PanelKrt, "LabelMed", QStringLiteral("&Medium:"), QRect(12, 13, 56, 18));
    DBMed = edit("DBMed", "Medium", QRect(70, 10, 70, 23));
    LabelMed->setBuddy(DBMed);
    ButtPPPMed = named(new TOzoNewButton(PanelKrt), "ButtPPPMed");
    ButtPPPMed->SetKind(ibkPPP);
    ButtPPPMed->setGeometry(142, 10, 23, 23);
    ButtPPPMed->setToolTip(QStringLiteral("Medientyp wählen"));
    LabelNr = makeLabel(PanelKrt, "LabelNr", QStringLiteral("&Nr.:"), QRect(180, 13, 30, 18));
    DBNr = edit("DBNr", "Nr", QRect(212, 10, 64, 23));
    LabelNr->setBuddy(DBNr);
    ImgCD = makeLabel(PanelKrt, "ImgCD", QString(), QRect(290, 8, 26, 26));
    ImgCD->setPixmap(LoadResourceBitmap(QStringLiteral("CDDISC")));
    ImgCD->setToolTip(QStringLiteral("Seriennummer der Disc gespeichert"));
    ImgCDX = makeLabel(PanelKrt, "ImgCDX", QString(), QRect(290, 8, 26, 26));
    ImgCDX->setPixmap(LoadResourceBitmap(QStringLiteral("CDX")));
    ImgCDX->setToolTip(QStringLiteral("Keine Seriennummer gespeichert"));
    ButtPPPSN = named(new TOzoNewButton(PanelKrt), "ButtPPPSN");
    ButtPPPSN->SetKind(ibkPPP);
    ButtPPPSN->setGeometry(320, 10, 23, 23);
    ButtPPPSN->setToolTip(QStringLiteral("Seriennummer der eingelegten Disc lesen"));
    ButtPPPSN->setEnabled(false); // reading a disc's serial number comes with its dialog
    SpBNotesK = makeSpeed(PanelKrt, "SpBNotesK", QRect(544, 6, 30, 30), QStringLiteral("NONOTES"),
                          QStringLiteral("Anhänge des Mediums (F6)"));
    SpBNotesK->setEnabled(false); // the attachment window comes with its own part

    LabelLen = makeLabel(PanelKrt, "LabelLen", QStringLiteral("&Länge:"), QRect(12, 45, 56, 18));
    DBLen = edit("DBLen", "Len", QRect(70, 42, 52, 23));
    LabelLen->setBuddy(DBLen);
    // Number and length take digits only (a length is never negative).
    for (dbui::DbEdit *e : {DBNr, DBLen})
        e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), e));
    LabelMin = makeLabel(PanelKrt, "LabelMin", QStringLiteral("min"), QRect(126, 45, 26, 18));
    LabelRest = makeLabel(PanelKrt, "LabelRest", QStringLiteral("Rest:"), QRect(170, 45, 36, 18));
    DBTRest = named(new dbui::DbText(PanelKrt), "DBTRest");
    DBTRest->setGeometry(208, 45, 40, 18);
    DBTRest->setDataSource(DataSource1);
    DBTRest->setDataField(QStringLiteral("bRest"));
    LabelMaxFree = makeLabel(PanelKrt, "LabelMaxFree", QStringLiteral("größter freier Bereich:"),
                             QRect(262, 45, 140, 18));
    DBTMaxFree = named(new dbui::DbText(PanelKrt), "DBTMaxFree");
    DBTMaxFree->setGeometry(404, 45, 40, 18);
    DBTMaxFree->setDataSource(DataSource1);
    DBTMaxFree->setDataField(QStringLiteral("bMaxFree"));
    for (QLabel *l : {static_cast<QLabel *>(DBTRest), static_cast<QLabel *>(DBTMaxFree)}) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    SpBFinalize = makeSpeed(PanelKrt, "SpBFinalize", QRect(452, 42, 26, 23), QStringLiteral("SPBFINALIZE"),
                            QStringLiteral("Medium abschließen (Restzeit von der Länge abziehen)"));
    connect(SpBFinalize, &TPZSpeedButton::Click, this, [this] { SpBFinalizeClick(); });

    auto coverPanel = [this](const char *name, const QString &text) {
        auto *p = named(new QWidget(PanelKrt), name);
        p->setGeometry(8, 40, 470, 27);
        p->setAutoFillBackground(true);
        auto *l = new QLabel(text, p);
        l->setGeometry(4, 0, 462, 27);
        QFont f = l->font();
        f.setItalic(true);
        l->setFont(f);
        p->hide();
        return p;
    };
    PanelKauf = coverPanel("PanelKauf", QStringLiteral("Kaufkassette – für gekaufte Kassetten wird keine Restspielzeit berechnet"));
    PanelDVD = coverPanel("PanelDVD", QStringLiteral("Video-DVD – für DVDs wird keine Restspielzeit berechnet"));

    PanelPercent = named(new QFrame(PanelKrt), "PanelPercent");
    PanelPercent->setGeometry(12, 74, 560, 14);
    static_cast<QFrame *>(PanelPercent)->setFrameShape(QFrame::Box);
    PanelPercent->setAutoFillBackground(true);
    {
        QPalette pal = PanelPercent->palette();
        pal.setColor(QPalette::Window, QColor(255, 255, 255));
        PanelPercent->setPalette(pal);
    }
    const char *names[5] = {"PercentFilm1", "PercentFilm2", "PercentFilm3", "PercentFilm4", "PercentFilm5"};
    for (int i = 0; i < 5; ++i)
        PercentFilm[i] = new PercentShape(PanelPercent, names[i], platform::toQColor(FilmNumberColor(i + 1)));
    PercentFilm6ff = new PercentShape(PanelPercent, "PercentFilm6ff", QColor(90, 90, 90));
    PercentUnknown = new PercentShape(PanelPercent, "PercentUnknown", QColor(200, 200, 200));
    PercentUnknown->setToolTip(QStringLiteral("Unbekannte Spielzeit!"));
}

void TMainform::buildSlots()
{
    static const char *filmNames[5] = {"Film1", "Film2", "Film3", "Film4", "Film5"};
    static const char *imageNames[5] = {"Image1", "Image2", "Image3", "Image4", "Image5"};
    static const char *notesNames[5] = {"SpbNotes1", "SpBNotes2", "SpBNotes3", "SpBNotes4", "SpBNotes5"};
    static const char *splitNames[4] = {"SpBSplitFree1", "SpBSplitFree2", "SpBSplitFree3", "SpBSplitFree4"};
    m_slotFont = font();
    m_slotFont.setPointSizeF(m_slotFont.pointSizeF() * 1.1);
    for (int s = 0; s < 5; ++s) {
        const int y = 98 + s * 36;
        Image[s] = makeLabel(PanelKrt, imageNames[s], QString::number(s + 1), QRect(12, y + 3, 26, 24));
        Image[s]->setAlignment(Qt::AlignCenter);
        QFont nf = Image[s]->font();
        nf.setBold(true);
        nf.setPointSizeF(nf.pointSizeF() * 1.3);
        Image[s]->setFont(nf);
        Image[s]->installEventFilter(this);
        Image[s]->setCursor(Qt::PointingHandCursor);
        Film[s] = makeSpeed(PanelKrt, filmNames[s], QRect(42, y, 440, 30), QString(), QString());
        Film[s]->SetLayout(blLeft);
        Film[s]->SetMargin(4);
        Film[s]->setFont(m_slotFont);
        connect(Film[s], &TPZSpeedButton::Click, this, [this, s] { ImageClick(s + 1); });
        SpBNotes[s] = makeSpeed(PanelKrt, notesNames[s], QRect(488, y + 3, 24, 24), QStringLiteral("NONOTES"),
                                QStringLiteral("Anhänge des Films"));
        SpBNotes[s]->setEnabled(false); // the film card's attachment pages come with the film card
        if (s < 4) {
            SpBSplitFree[s] = makeSpeed(PanelKrt, splitNames[s], QRect(516, y + 3, 24, 24),
                                        QStringLiteral("SPBSPLIT"), QStringLiteral("Freien Bereich aufteilen"));
            connect(SpBSplitFree[s], &TPZSpeedButton::Click, this, [this, s] { SpBSplitFreeClick(s + 1); });
        }
    }
    SpBFilmDel = makeSpeed(PanelKrt, "SpBFilmDel", QRect(516, 101, 24, 24), QStringLiteral("SPBMINUS"),
                           QStringLiteral("Letzten Film löschen"));
    connect(SpBFilmDel, &TPZSpeedButton::Click, this, [this] { SpBFilmDelClick(); });
    SpBJoinFree = makeSpeed(PanelKrt, "SpBJoinFree", QRect(456, 120, 24, 24), QStringLiteral("SPBJOIN"),
                            QStringLiteral("Freie Bereiche zusammenfassen"));
    connect(SpBJoinFree, &TPZSpeedButton::Click, this, [this] { SpBJoinFreeClick(); });
    SpB5PushDown = makeSpeed(PanelKrt, "SpB5PushDown", QRect(548, 98 + 4 * 36 + 3, 24, 24),
                             QStringLiteral("SPBSHIFTDOWN"), QStringLiteral("Filme ab Nr. 5 nach hinten schieben"));
    connect(SpB5PushDown, &TPZSpeedButton::Click, this, [this] { SpB5PushDownClick(); });
    BUp = makeSpeed(PanelKrt, "BUp", QRect(548, 101, 24, 24), QStringLiteral("SPBUP"),
                    QStringLiteral("Vorige Filme"));
    connect(BUp, &TPZSpeedButton::Click, this, [this] { BUpClick(); });
    BDown = makeSpeed(PanelKrt, "BDown", QRect(548, 129, 24, 24), QStringLiteral("SPBDOWN"),
                      QStringLiteral("Weitere Filme"));
    connect(BDown, &TPZSpeedButton::Click, this, [this] { BDownClick(); });
    ButtNewFilm = named(new TOzoNewButton(PanelKrt), "ButtNewFilm");
    ButtNewFilm->SetKind(ibkPlus);
    ButtNewFilm->setText(QStringLiteral("Neuen &Film erfassen..."));
    ButtNewFilm->setGeometry(42, 282, 190, 26);
    connect(ButtNewFilm, &QPushButton::clicked, this, [this] { ButtNewFilmClick(); });
    for (QWidget *w : {static_cast<QWidget *>(SpBFilmDel), static_cast<QWidget *>(SpBJoinFree),
                       static_cast<QWidget *>(SpB5PushDown), static_cast<QWidget *>(ButtNewFilm)})
        w->hide();
    for (TPZSpeedButton *b : SpBSplitFree)
        b->hide();
}

void TMainform::buildLending()
{
    LabelVerliehen = makeLabel(PanelKrt, "LabelVerliehen", QStringLiteral("&Verliehen an:"), QRect(12, 331, 84, 18));
    DBVerliehen = named(new dbui::DbComboBox(PanelKrt), "DBVerliehen");
    DBVerliehen->setGeometry(100, 328, 220, 23);
    DBVerliehen->setDataSource(DataSource1);
    DBVerliehen->setDataField(QStringLiteral("Verliehen"));
    LabelVerliehen->setBuddy(DBVerliehen);
    connect(DBVerliehen, &dbui::DbComboBox::dropDown, this, [this] { DBVerliehenDropDown(); });
    LabelVerleihdatum = makeLabel(PanelKrt, "LabelVerleihdatum", QStringLiteral("Verleih&datum:"),
                                  QRect(12, 363, 87, 18));
    DBVerleihdatum = makeDbEdit(PanelKrt, DataSource1, "DBVerleihdatum", "Verleihdatum", QRect(100, 360, 96, 23));
    LabelVerleihdatum->setBuddy(DBVerleihdatum);
    LabelRueckgabedatum = makeLabel(PanelKrt, "LabelRueckgabedatum", QStringLiteral("&Rückgabe bis:"),
                                    QRect(210, 363, 84, 18));
    DBRueckgabedatum = makeDbEdit(PanelKrt, DataSource1, "DBRueckgabedatum", "Rueckgabedatum", QRect(298, 360, 96, 23));
    LabelRueckgabedatum->setBuddy(DBRueckgabedatum);
    DBChkGedruckt = named(new TOzoDBCheck(PanelKrt), "DBChkGedruckt");
    DBChkGedruckt->SetCaption(QStringLiteral("Etikett gedruckt"));
    DBChkGedruckt->setGeometry(420, 362, 150, 20);
    DBChkGedruckt->SetDataSource(DataSource1);
    DBChkGedruckt->SetDataField(QStringLiteral("Gedruckt"));
    DBChkGedruckt->SetImageType(igHookBlue);
    DBChkGedruckt->SetTransparent(true);

    PanelKalender = named(new QFrame(PanelKrt), "PanelKalender");
    static_cast<QFrame *>(PanelKalender)->setFrameShape(QFrame::StyledPanel);
    PanelKalender->setGeometry(344, 150, 232, 200);
    PanelKalender->setAutoFillBackground(true);
    LabelKalender = makeLabel(PanelKalender, "LabelKalender", QString(), QRect(52, 4, 128, 20));
    LabelKalender->setAlignment(Qt::AlignCenter);
    SpBYearBack = makeSpeed(PanelKalender, "SpBYearBack", QRect(4, 3, 22, 22), QString(), QStringLiteral("Ein Jahr zurück"));
    SpBYearBack->SetCaption(QStringLiteral("«"));
    SpBMonthBack = makeSpeed(PanelKalender, "SpBMonthBack", QRect(28, 3, 22, 22), QString(), QStringLiteral("Ein Monat zurück"));
    SpBMonthBack->SetCaption(QStringLiteral("‹"));
    SpBMonthFwd = makeSpeed(PanelKalender, "SpBMonthFwd", QRect(182, 3, 22, 22), QString(), QStringLiteral("Ein Monat vor"));
    SpBMonthFwd->SetCaption(QStringLiteral("›"));
    SpBYearFwd = makeSpeed(PanelKalender, "SpBYearFwd", QRect(206, 3, 22, 22), QString(), QStringLiteral("Ein Jahr vor"));
    SpBYearFwd->SetCaption(QStringLiteral("»"));
    connect(SpBYearBack, &TPZSpeedButton::Click, this, [this] { CalendarStep(-1, 0); });
    connect(SpBMonthBack, &TPZSpeedButton::Click, this, [this] { CalendarStep(0, -1); });
    connect(SpBMonthFwd, &TPZSpeedButton::Click, this, [this] { CalendarStep(0, 1); });
    connect(SpBYearFwd, &TPZSpeedButton::Click, this, [this] { CalendarStep(1, 0); });
    Calendar1 = named(new QCalendarWidget(PanelKalender), "Calendar1");
    Calendar1->setGeometry(2, 28, 228, 170);
    Calendar1->setNavigationBarVisible(false);
    Calendar1->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    Calendar1->setFirstDayOfWeek(Qt::Monday);
    connect(Calendar1, &QCalendarWidget::clicked, this, [this](const QDate &d) { Calendar1Pick(d); });
    connect(Calendar1, &QCalendarWidget::currentPageChanged, this, [this](int y, int m) {
        LabelKalender->setText(QLocale().standaloneMonthName(m) + QLatin1Char(' ') + QString::number(y));
    });
    LabelKalender->setText(QLocale().standaloneMonthName(Calendar1->monthShown()) + QLatin1Char(' ')
                           + QString::number(Calendar1->yearShown()));
    PanelKalender->hide();
}

QObject *TMainform::findComponent(const QString &name) const
{
    // Breadth first, so the card's own component wins; a window the form owns
    // (a record window, a dialog) is not entered, its components are its own.
    // The drop-down menus are windows too, but they and their entries belong
    // to the form.
    QList<QObject *> level = children();
    while (!level.isEmpty()) {
        QList<QObject *> next;
        for (QObject *o : level) {
            if (o->objectName() == name)
                return o;
            auto *w = qobject_cast<QWidget *>(o);
            if (w && w->isWindow() && !qobject_cast<QMenu *>(w))
                continue;
            next += o->children();
        }
        level = next;
    }
    return nullptr;
}
