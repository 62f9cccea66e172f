#include "windows/cards/wfilm.h"

#include "app/settings.h"
#include "data/categories.h"
#include "data/filmcard.h"
#include "data/filmpersons.h"
#include "data/freefieldlabels.h"
#include "data/recordsql.h"
#include "dbui/datasource.h"
#include "dbui/dbcombobox.h"
#include "dbui/dbedit.h"
#include "dbui/dbimage.h"
#include "dbui/dbmemo.h"
#include "dbui/dbnavigator.h"
#include "engine/engineerror.h"
#include "engine/table.h"
#include "kit/dragdrop.h"
#include "kit/enterexitbutton.h"
#include "kit/lockbutton.h"
#include "kit/msgboxmetal.h"
#include "kit/ozodbcheck.h"
#include "kit/presenter.h"
#include "kit/pzlabel.h"
#include "kit/pzspeedbutton.h"
#include "windows/cards/categorydialogs.h"
#include "windows/printing/filmcardprint.h"
#include "windows/cards/freefieldmenu.h"
#include "windows/cards/freefieldrows.h"
#include "windows/cards/tdlenenter.h"
#include "windows/cards/wgrafik.h"
#include "windows/cards/wnotes.h"
#include "windows/cards/cardhead.h"
#include "windows/dialogs/windowparts.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QTabBar>
#include <QWheelEvent>

TWFilm *WFilm = nullptr;

TWFilm *FilmCard()
{
    if (!WFilm)
        WFilm = CreateForm<TWFilm>();
    return WFilm;
}

using windowparts::named;
using windowparts::showEngineError;
using windowparts::editingState;


TWFilm::TWFilm(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("WFilm"));
    resize(720, 560);
    DataSource1 = new dbui::DataSource(this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    buildCard();
    buildAttachments();
    wireFields();
    AddFilmCardPrintButton(*this);
    connect(DataSource1, &dbui::DataSource::dataChange, this, [this](engine::Field *f) { DataSource1DataChange(f); });
    m_labelsId = SubscribeFreeFieldLabels([this](TFreeKind kind, int nr) {
        if (kind == TFreeKind::Film)
            ShowFreeField(nr);
    });
    for (int nr = 1; nr <= 15; ++nr)
        ShowFreeField(nr);
    Create();
    SetCaption(QStringLiteral("Filmdaten"));
}

TWFilm::~TWFilm()
{
    UnsubscribeFreeFieldLabels(m_labelsId);
    m_events.clear(); // the film table outlives the card
    DataSource1->setDataSet(nullptr);
    if (WFilm == this)
        WFilm = nullptr;
}

void TWFilm::buildCard()
{
    const windowparts::TCardHead head = windowparts::addCardHead(this, DataSource1, QStringLiteral("Film-Karteikarte"), 300, 680,
                                                                 QRect(420, 28, 288, 24));
    PZLabelKrtB = head.heading;
    LockButton1 = head.lock;
    DBNavigator1 = head.navigator;
    // A film belongs to a medium: "+" adds the next film of the shown film's
    // medium (the main window's new-film command), not a film of no medium.
    DBNavigator1->beforeAction = [this](dbui::DbNavigator::Button b) {
        if (b != dbui::DbNavigator::Insert || !OnNewFilm)
            return;
        OnNewFilm();
        engine::abortSilently();
    };

    auto label = [this](const QString &text, const QRect &g) {
        auto *l = new QLabel(text, this);
        l->setGeometry(g);
        return l;
    };
    auto buddy = [](QLabel *l, QWidget *control) { l->setBuddy(control); };
    auto combo = [this](const QString &name, const QString &field, const QRect &g) {
        auto *c = named(new dbui::DbComboBox(this), name);
        c->setGeometry(g);
        c->setDataSource(DataSource1);
        c->setDataField(field);
        return c;
    };
    QLabel *labelTitel = label(QStringLiteral("&Titel:"), QRect(12, 60, 80, 18));
    DBETitel = combo(QStringLiteral("DBETitel"), QStringLiteral("Titel"), QRect(96, 58, 380, 24));
    buddy(labelTitel, DBETitel);
    SpBTitelDoppelt = named(new TPZSpeedButton(this), QStringLiteral("SpBTitelDoppelt"));
    SpBTitelDoppelt->setGeometry(480, 58, 24, 24);
    SpBTitelDoppelt->SetCaption(QStringLiteral("!"));
    SpBTitelDoppelt->setToolTip(QStringLiteral("Film doppelt?"));
    SpBTitelDoppelt->hide();
    QLabel *labelSub = label(QStringLiteral("&Untertitel:"), QRect(12, 90, 80, 18));
    DBESub = combo(QStringLiteral("DBESub"), QStringLiteral("Untertitel"), QRect(96, 88, 380, 24));
    buddy(labelSub, DBESub);

    QLabel *labelLen = label(QStringLiteral("&Spielzeit:"), QRect(12, 122, 80, 18));
    DBELen = named(new dbui::DbEdit(this), QStringLiteral("DBELen"));
    buddy(labelLen, DBELen);
    DBELen->setGeometry(96, 120, 52, 23);
    DBELen->setDataSource(DataSource1);
    DBELen->setDataField(QStringLiteral("Len"));
    ButtLen = named(new TOzoNewButton(this), QStringLiteral("ButtLen"));
    ButtLen->setText(QStringLiteral("..."));
    ButtLen->setGeometry(152, 120, 28, 23);
    label(QStringLiteral("Min."), QRect(186, 122, 40, 18));

    auto check = [this](const QString &name, const QString &caption, const QString &field, const QRect &g) {
        auto *c = named(new TOzoDBCheck(this), name);
        c->SetCaption(caption);
        c->setGeometry(g);
        c->SetDataSource(DataSource1);
        c->SetDataField(field);
        c->OnClick = [this](QObject *) { LockButton1->BlinkIfLocked(); };
        return c;
    };
    DBChkLP = check(QStringLiteral("DBChkLP"), QStringLiteral("&LP"), QStringLiteral("LP"), QRect(240, 122, 60, 20));
    DbChkmW = check(QStringLiteral("DbChkmW"), QStringLiteral("mit Werbung"), QStringLiteral("MW"), QRect(306, 122, 120, 20));
    DBChkWide = check(QStringLiteral("DBChkWide"), QStringLiteral("&Breitbild"), QStringLiteral("Wide"), QRect(96, 150, 120, 20));
    DBChkSW = check(QStringLiteral("DBChkSW"), QStringLiteral("Schwarz-Wei&ß"), QStringLiteral("SW"), QRect(222, 150, 140, 20));
    DBChkFrei = check(QStringLiteral("DBChkFrei"), QStringLiteral("Freier Bereich (Film zum Löschen freigegeben)"),
                      QStringLiteral("Frei"), QRect(96, 176, 380, 20));

    QLabel *labelWertung = label(QStringLiteral("&Wertung:"), QRect(12, 208, 80, 18));
    ComboBoxWertung = named(new QComboBox(this), QStringLiteral("ComboBoxWertung"));
    buddy(labelWertung, ComboBoxWertung);
    ComboBoxWertung->setGeometry(96, 206, 130, 24);
    const QStringList ratings = RatingItems();
    ComboBoxWertung->addItem(QStringLiteral("keine Wertung"));
    for (int i = 1; i < ratings.size(); ++i)
        ComboBoxWertung->addItem(QString(i - 1, QChar(0x2605)) + QString(6 - i, QChar(0x2606)));
    QLabel *labelTon = label(QStringLiteral("T&on:"), QRect(240, 208, 40, 18));
    ComboBoxTon = named(new QComboBox(this), QStringLiteral("ComboBoxTon"));
    buddy(labelTon, ComboBoxTon);
    ComboBoxTon->setGeometry(284, 206, 190, 24);
    ImageTon = named(new QLabel(this), QStringLiteral("ImageTon"));
    ImageTon->setGeometry(480, 206, 24, 24);
    QLabel *labelKateg = label(QStringLiteral("&Kategorie:"), QRect(12, 240, 80, 18));
    ComboBoxKateg = named(new QComboBox(this), QStringLiteral("ComboBoxKateg"));
    buddy(labelKateg, ComboBoxKateg);
    ComboBoxKateg->setGeometry(96, 238, 250, 24);
    ImageKateg = named(new QLabel(this), QStringLiteral("ImageKateg"));
    ImageKateg->setGeometry(352, 238, 24, 24);
    ButtKateg = named(new TOzoNewButton(this), QStringLiteral("ButtKateg"));
    ButtKateg->setText(QStringLiteral("Kategorien bearbeiten..."));
    ButtKateg->setGeometry(380, 238, 170, 24);

    ButtShowMedium = named(new TOzoNewButton(this), QStringLiteral("ButtShowMedium"));
    ButtShowMedium->setText(QStringLiteral("Zeige Medium..."));
    ButtShowMedium->setGeometry(560, 58, 148, 24);
    SpBWeb = named(new TPZSpeedButton(this), QStringLiteral("SpBWeb"));
    SpBWeb->setGeometry(560, 88, 24, 24);
    SpBWeb->setToolTip(QStringLiteral("Internet-Suche (F10)"));
    SpBWeb->SetCaption(QStringLiteral("@"));
    SpBExp = named(new TPZSpeedButton(this), QStringLiteral("SpBExp"));
    SpBExp->setGeometry(590, 88, 24, 24);
    SpBExp->setToolTip(QStringLiteral("Memo und Grafik separat einblenden"));
    SpBExp->hide();

    connect(DBETitel, &dbui::DbComboBox::dropDown, this, [this] { DBETitelDropDown(); });
    connect(DBETitel, QOverload<int>::of(&QComboBox::activated), this, [this](int) { DBETitelPicked(); });
    connect(DBESub, QOverload<int>::of(&QComboBox::activated), this, [this](int) { DBESubPicked(); });
    connect(DBETitel, &dbui::DbComboBox::editRefused, LockButton1, &TLockButton::BlinkIfLocked);
    DBETitel->installEventFilter(this);
    DBESub->installEventFilter(this);
    connect(SpBTitelDoppelt, &TPZSpeedButton::Click, this, [this] { SpBTitelDoppeltClick(); });
    connect(ComboBoxWertung, QOverload<int>::of(&QComboBox::activated), this, [this](int i) { ComboBoxWertungChange(i); });
    connect(ComboBoxTon, QOverload<int>::of(&QComboBox::activated), this, [this](int i) { ComboBoxTonChange(i); });
    connect(ComboBoxKateg, QOverload<int>::of(&QComboBox::activated), this, [this](int i) { ComboBoxKategChange(i); });
    connect(ButtLen, &QPushButton::clicked, this, [this] { ButtLenClick(); });
    connect(ButtKateg, &QPushButton::clicked, this, [this] {
        ExecCategoryEditor(this);
        refreshCombos();
    });
    connect(ButtShowMedium, &QPushButton::clicked, this, [this] {
        postPending();
        if (OnFilmsChanged)
            OnFilmsChanged();
    });
}

void TWFilm::buildAttachments()
{
    PZLabelAnh = named(new TPZLabel(this), QStringLiteral("PZLabelAnh"));
    PZLabelAnh->setGeometry(12, 276, 300, 18);
    PZLabelAnh->SetCaption(QStringLiteral("\\BAnhang"));
    TabSet1 = named(new QTabBar(this), QStringLiteral("TabSet1"));
    TabSet1->setGeometry(12, 296, 696, 24);
    TabSet1->addTab(QStringLiteral("Frei verwendbare Felder:"));
    TabSet1->addTab(QStringLiteral("Notizen, Beschreibung..."));
    TabSet1->addTab(QStringLiteral("Szenenbild, Cover, Grafik..."));
    const QRect area(12, 322, 696, 226);
    PanelFree = named(new QWidget(this), QStringLiteral("PanelFree"));
    PanelFree->setGeometry(area);
    TFreeFieldRowLayout layout;
    layout.count = 15;
    layout.rowsPerColumn = 8;
    layout.columnWidth = 350;
    layout.rowHeight = 28;
    layout.caption = QRect(0, 3, 110, 18);
    layout.combo = QRect(112, 0, 200, 24);
    layout.button = QRect(314, 0, 24, 24);
    layout.captionName = QStringLiteral("LabelF");
    layout.linkEdits = true;
    const std::vector<TFreeFieldRow> rows = AddFreeFieldRows(PanelFree, DataSource1, layout);
    for (const TFreeFieldRow &row : rows) {
        const int nr = row.nr;
        const size_t i = size_t(nr - 1);
        LabelF[i] = row.caption;
        DBEF[i] = row.combo;
        DBEFL[i] = row.link;
        ButtF[i] = row.button;
        LabelF[i]->setCursor(Qt::PointingHandCursor);
        LabelF[i]->installEventFilter(this);
        connect(DBEF[i], &dbui::DbComboBox::dropDown, this, [this, nr] { FreeFieldDropDown(nr); });
        connect(DBEF[i], QOverload<int>::of(&QComboBox::activated), this, [this, nr](int) {
            dbui::DbComboBox *c = DBEF[size_t(nr - 1)];
            if (isPersonField(nr) && IsJumpEntry(c->text()) && editingState(Table1))
                c->showPopup(); // a jump opens the list again at once
        });
        connect(DBEFL[i], &dbui::DbEdit::editRefused, LockButton1, &TLockButton::BlinkIfLocked);
        connect(ButtF[i], &TPZSpeedButton::Click, this, [this, nr] { FreeFieldButtonClick(nr); });
        DBEF[i]->installEventFilter(this);
        TFreeFieldLinkEditHooks hooks;
        hooks.target = [this, nr] { return linkTarget(nr); };
        hooks.readOnly = [this] { return !editable(); };
        hooks.openMenu = [this, nr] { FreeFieldButtonClick(nr); };
        DragDropFiles[i] = AttachFreeFieldLinkEdit(DBEFL[i], hooks);
        DragDropFiles[i]->setObjectName(QStringLiteral("DragDropFiles%1").arg(nr));
    }
    PanelMemo = named(new QWidget(this), QStringLiteral("PanelMemo"));
    PanelMemo->setGeometry(area);
    DBMemo = named(new dbui::DbMemo(PanelMemo), QStringLiteral("DBMemo"));
    DBMemo->setGeometry(0, 0, area.width(), area.height());
    DBMemo->setDataSource(DataSource1);
    DBMemo->setDataField(QStringLiteral("Memo"));
    const RecordPicturePage picture = AddRecordPicturePage(this, area, DataSource1, LockButton1, QStringLiteral("Titel"));
    PanelGrafik = picture.panel;
    DBImage1 = picture.image;
    PopupGrafik = picture.popup;
    Einfgen1 = picture.entries.paste;
    Kopieren1 = picture.entries.copy;
    Ausschneiden1 = picture.entries.cut;
    GrafikLaden1 = picture.entries.load;
    GrafikFenster1 = picture.window;
    connect(TabSet1, &QTabBar::currentChanged, this, [this](int i) { TabSet1Change(i); });
    TabSet1Change(0);
}

void TWFilm::SetTables(engine::Table *films, engine::Table *persons, engine::Table *media)
{
    Table1 = films;
    PersTable = persons;
    MediaTable = media;
    DataSource1->setDataSet(films);
    m_events.clear();
    if (films) {
        m_events.push_back(films->beforePost.subscribe([this](engine::DataSet &ds) { Table1BeforePost(ds); }));
        m_events.push_back(films->afterPost.subscribe([this](engine::DataSet &ds) { Table1AfterPost(ds); }));
        m_events.push_back(films->beforeEdit.subscribe([this](engine::DataSet &ds) { Table1BeforeEdit(ds); }));
        m_events.push_back(films->afterInsert.subscribe([this](engine::DataSet &ds) { Table1AfterInsert(ds); }));
        m_events.push_back(films->beforeDelete.subscribe([this](engine::DataSet &ds) { Table1BeforeDelete(ds); }));
        m_events.push_back(films->afterDelete.subscribe([this](engine::DataSet &ds) { Table1AfterDelete(ds); }));
        m_events.push_back(films->afterClose.subscribe([this](engine::DataSet &) { clearFreeLists(); }));
    }
    for (int nr = 1; nr <= 15; ++nr)
        ShowFreeField(nr);
    SyncLock(films && films->active() && !films->readOnly());
    UpdateFilmWindowCaption();
}

void TWFilm::SyncLock(bool editing)
{
    LockButton1->SetLocked(!editing);
    const bool writable = editing && Table1 && Table1->active() && !Table1->readOnly();
    ButtLen->setVisible(writable);
    ButtKateg->setEnabled(writable);
    Ausschneiden1->setEnabled(writable);
    Einfgen1->setEnabled(writable);
    GrafikLaden1->setEnabled(writable);
}

bool TWFilm::ShowFilm(const QString &kind, int kassNr, int filmNr)
{
    if (!Table1 || !Table1->active())
        return false;
    if (!postPending())
        return false;
    const bool found = Table1->locate(QStringLiteral("Medium;KassNr;FilmNr"), {kind, kassNr, filmNr});
    UpdateFilmWindowCaption();
    show();
    raise();
    return found;
}

void TWFilm::refreshCombos()
{
    m_loading = true;
    const bool has = Table1 && Table1->active() && !Table1->isEmpty();
    const QString kind = has ? Table1->fieldByName(QStringLiteral("Medium"))->asString() : QString();
    ComboBoxTon->clear();
    for (const SoundEntry &e : SoundList(kind))
        ComboBoxTon->addItem(e.name);
    ComboBoxTon->setCurrentIndex(has ? SoundIndex(kind, Table1->fieldByName(QStringLiteral("Ton"))->asString()) : -1);
    ImageTon->setPixmap(SoundSymbolPixmap(has ? Table1->fieldByName(QStringLiteral("Ton"))->asString() : QString(),
                                          ImageTon->size()));
    ComboBoxWertung->setCurrentIndex(has ? RatingToItem(Table1->fieldByName(QStringLiteral("Wertung"))->value()) : 0);
    ComboBoxKateg->clear();
    const QList<int> cats = NamedCategories();
    int current = 1;
    if (has) {
        const QString code = Table1->fieldByName(QStringLiteral("Kateg"))->asString();
        current = code.isEmpty() ? 1 : KategCharToIndex(code.at(0));
        if (current < 1 || current > CategoryCount)
            current = 1;
    }
    int sel = -1;
    for (int c : cats) {
        if (c == current)
            sel = ComboBoxKateg->count();
        ComboBoxKateg->addItem(CategoryTable[size_t(c - 1)].name, c);
    }
    ComboBoxKateg->setCurrentIndex(sel);
    const QString symbol = CategorySymbolFile(CategoryTable[size_t(current - 1)].symbol);
    ImageKateg->setPixmap(!symbol.isEmpty() && QFileInfo::exists(symbol) ? QPixmap(symbol).scaled(24, 24) : QPixmap());
    m_loading = false;
}

void TWFilm::UpdateFilmWindowCaption()
{
    if (!Table1 || !Table1->active() || Table1->isEmpty()) {
        SetCaption(QStringLiteral("Filmdaten"));
        return;
    }
    const QString kind = Table1->fieldByName(QStringLiteral("Medium"))->asString();
    SetCaption(FilmWindowCaption(kind, Table1->fieldByName(QStringLiteral("KassNr"))->asInteger(),
                                 Table1->fieldByName(QStringLiteral("FilmNr"))->asInteger()));
    refreshCombos();
    DBChkLP->setVisible(FilmLpVisible(kind));
    DBChkFrei->setVisible(FilmFreiVisible(kind));
}

bool TWFilm::editable()
{
    return Table1 && Table1->active() && !Table1->readOnly();
}

bool TWFilm::toEdit()
{
    if (!editable()) {
        LockButton1->BlinkIfLocked();
        return false;
    }
    return DataSource1->edit();
}

void TWFilm::ComboBoxTonChange(int index)
{
    if (m_loading)
        return;
    if (!toEdit()) {
        refreshCombos();
        return;
    }
    const QList<SoundEntry> &l = SoundList(Table1->fieldByName(QStringLiteral("Medium"))->asString());
    if (index >= 0 && index < l.size())
        Table1->fieldByName(QStringLiteral("Ton"))->setAsString(QString(l[index].code));
}

void TWFilm::ComboBoxWertungChange(int index)
{
    if (m_loading)
        return;
    if (!toEdit()) {
        refreshCombos();
        return;
    }
    Table1->fieldByName(QStringLiteral("Wertung"))->setValue(ItemToRating(index));
}

void TWFilm::ComboBoxKategChange(int index)
{
    if (m_loading)
        return;
    if (!toEdit()) {
        refreshCombos();
        return;
    }
    const int c = ComboBoxKateg->itemData(index).toInt();
    if (c >= 1)
        Table1->fieldByName(QStringLiteral("Kateg"))->setAsString(QString(KategIndexToChar(c)));
}

void TWFilm::ButtLenClick()
{
    if (!toEdit())
        return;
    const QString kind = Table1->fieldByName(QStringLiteral("Medium"))->asString();
    const int nr = Table1->fieldByName(QStringLiteral("KassNr"))->asInteger();
    int tape = 0;
    QList<TapeFilm> films;
    try {
        if (MediaTable && MediaTable->active())
            tape = int(recordsql::count(MediaTable->session(),
                                        QStringLiteral("SELECT Len FROM %1 WHERE Medium = ?1 COLLATE BINARY AND Nr = ?2")
                                            .arg(recordsql::tableRef(*MediaTable)),
                                        {kind, nr}));
        films = recordsql::readFilms(*Table1, kind, nr);
    } catch (const engine::EngineError &e) {
        showEngineError(e);
        return;
    }
    const bool oldLp = Table1->fieldByName(QStringLiteral("LP"))->asBoolean();
    const int oldLen = Table1->fieldByName(QStringLiteral("Len"))->asInteger();
    bool lp = oldLp;
    const int len = ExecLenEnter(oldLen, tape, ButtLen->mapToGlobal(QPoint(ButtLen->width(), 0)),
                                 Table1->fieldByName(QStringLiteral("FilmNr"))->asInteger(), nr, kind, lp, films);
    if (len == oldLen && lp == oldLp)
        return;
    // The dialog took the focus from the card, which posted the edit: the
    // film goes into edit state again for the new values.
    if (!toEdit())
        return;
    Table1->fieldByName(QStringLiteral("Len"))->setAsInteger(len);
    Table1->fieldByName(QStringLiteral("LP"))->setAsBoolean(lp);
}

void TWFilm::TabSet1Change(int index)
{
    PanelFree->setVisible(index == 0);
    PanelMemo->setVisible(index == 1);
    PanelGrafik->setVisible(index == 2);
}

void TWFilm::keyPressEvent(QKeyEvent *e)
{
    if (e->modifiers() == Qt::NoModifier) {
        switch (e->key()) {
        case Qt::Key_F5:
            if (parentWidget())
                parentWidget()->activateWindow();
            return;
        case Qt::Key_F7:
            close();
            return;
        case Qt::Key_F10:
            if (SpBWeb->isEnabled())
                emit SpBWeb->Click();
            break;
        case Qt::Key_F12:
            LockButton1->BlinkIfLocked();
            return;
        case Qt::Key_F8:
            ShowPersonWindow(QString());
            return;
        case Qt::Key_F6:
            ShowMediumNotesWindow();
            return;
        default:
            break;
        }
    }
    tOzoFormMetal::keyPressEvent(e);
}

void TWFilm::wheelEvent(QWheelEvent *e)
{
    if (!Table1 || !Table1->active() || Table1->state() != engine::DataSetState::Browse || DBMemo->hasFocus()) {
        tOzoFormMetal::wheelEvent(e);
        return;
    }
    try {
        if (e->angleDelta().y() > 0)
            Table1->prior();
        else if (e->angleDelta().y() < 0)
            Table1->next();
    } catch (const engine::EngineError &err) {
        showEngineError(err);
    }
    e->accept();
}

bool TWFilm::eventFilter(QObject *watched, QEvent *event)
{
    if (fieldEvent(watched, event))
        return true;
    if (event->type() == QEvent::FocusOut && (watched == DBETitel || watched == DBESub))
        TitleExit();
    // Leaving a person field for another control asks about a new name; a
    // box, a list or another window taking the focus is no leaving.
    for (int i = 0; i < 15; ++i)
        if (watched == DBEF[size_t(i)] && event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                PersonFieldExit(i + 1);
        }
    if (watched == DBImage1 && (event->type() == QEvent::ContextMenu || event->type() == QEvent::MouseButtonDblClick)) {
        if (event->type() == QEvent::MouseButtonDblClick)
            PictureWindow()->ShowFor(DataSource1, QStringLiteral("Titel"));
        else
            kit::popupMenu(*PopupGrafik, QCursor::pos());
        return true;
    }
    return tOzoFormMetal::eventFilter(watched, event);
}
