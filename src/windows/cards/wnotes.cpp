#include "windows/cards/wnotes.h"

#include "app/apppaths.h"
#include "app/settings.h"
#include "data/freefieldlabels.h"
#include "data/freefieldlinks.h"
#include "dbui/datasource.h"
#include "dbui/dbcombobox.h"
#include "dbui/dbedit.h"
#include "dbui/dbmemo.h"
#include "engine/engineerror.h"
#include "engine/field.h"
#include "engine/table.h"
#include "kit/dbtastennavigation.h"
#include "kit/dragdrop.h"
#include "kit/enterexitbutton.h"
#include "kit/help.h"
#include "kit/inpboxmetal.h"
#include "kit/lockbutton.h"
#include "kit/msgboxmetal.h"
#include "kit/oberform.h"
#include "kit/pzlabel.h"
#include "kit/pzspeedbutton.h"
#include "kit/wmemo.h"
#include "windows/cards/editlabels.h"
#include "windows/exchange/exportcommands.h"
#include "windows/cards/freefieldcaptions.h"
#include "windows/cards/freefieldmenu.h"
#include "windows/cards/freefieldrows.h"
#include "windows/cards/freefieldtypeahead.h"
#include "windows/main/mainform.h"
#include "windows/main/mainmenus.h"
#include "windows/printing/attachmentprint.h"
#include "windows/dialogs/windowparts.h"

#include <QApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <QScreen>
#include <QTextCursor>

TWNotes *WNotes = nullptr;

using windowparts::showEngineError;

namespace {

constexpr int DogEarW = 30, DogEarH = 29;
constexpr int HelpContextNotes = 30;

template <class W> W *named(W *w, const QString &name)
{
    w->setObjectName(name);
    return w;
}

// The folded corner: the page's back seen through the cut.
QPixmap dogEarPicture()
{
    QPixmap pm(DogEarW, DogEarH);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QPolygonF fold({QPointF(0, 0), QPointF(DogEarW, DogEarH), QPointF(0, DogEarH)});
    QLinearGradient g(0, DogEarH, DogEarW / 2.0, DogEarH / 2.0);
    g.setColorAt(0, QColor(200, 190, 140));
    g.setColorAt(1, QColor(245, 238, 200));
    p.setBrush(g);
    p.setPen(QPen(QColor(150, 140, 100), 1));
    p.drawPolygon(fold);
    return pm;
}

} // namespace

void FollowMediaTable(TWNotes &w, engine::Table &media);

QString MediumCollectionFolderName(const QString &kind, const QString &nr)
{
    return kind + QStringLiteral("-Nr") + nr;
}

TWNotes::TWNotes(QWidget *parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("WNotes"));
    setWindowTitle(QStringLiteral("Medien-Anhang"));
    resize(460, 420);
    build();
    m_labelsSubscription = SubscribeFreeFieldLabels([this](TFreeKind kind, int nr) {
        if (kind == TFreeKind::Medium)
            ShowFreeField(nr);
    });
    for (int nr = 1; nr <= 5; ++nr)
        ShowFreeField(nr);
}

TWNotes::~TWNotes()
{
    UnsubscribeFreeFieldLabels(m_labelsSubscription);
    if (WNotes == this)
        WNotes = nullptr;
}

void TWNotes::build()
{
    const int w = width();
    PZLabel1 = named(new TPZLabel(this), QStringLiteral("PZLabel1"));
    PZLabel1->setGeometry(8, 4, w - 96, 20);
    PZLabel1->SetTransparent(true);
    PZLabel1->SetCaption(QStringLiteral("\\BMedien-Anhang\\b"));
    PZLabel1->setCursor(Qt::SizeAllCursor);
    PZLabel1->installEventFilter(this);
    LockButton1 = named(new TLockButton(this), QStringLiteral("LockButton1"));
    LockButton1->setGeometry(w - DogEarW - 46, 5, 16, 16);
    SpBX = named(new TPZSpeedButton(this), QStringLiteral("SpBX"));
    SpBX->setGeometry(w - DogEarW - 26, 4, 20, 18);
    SpBX->SetCaption(QStringLiteral("✕"));
    SpBX->setToolTip(QStringLiteral("Schließen"));
    connect(SpBX, &TPZSpeedButton::Click, this, [this] { CloseBtnClick(); });
    connect(LockButton1, &TPZSpeedButton::Click, this, [] {
        if (Mainform)
            Mainform->SpBReadOnlyClick();
    });
    ImgEselsohr = named(new QLabel(this), QStringLiteral("ImgEselsohr"));
    ImgEselsohr->setGeometry(w - DogEarW, 0, DogEarW, DogEarH);
    ImgEselsohr->setPixmap(dogEarPicture());

    LabelMedium = named(new QLabel(QStringLiteral("Medium:"), this), QStringLiteral("LabelMedium"));
    LabelMedium->setGeometry(8, 36, 60, 18);
    DBEdit1 = named(new dbui::DbEdit(this), QStringLiteral("DBEdit1"));
    DBEdit1->setGeometry(70, 32, 90, 24);
    DBEdit1->setDataField(QStringLiteral("Medium"));
    LabelNr = named(new QLabel(QStringLiteral("Nr.:"), this), QStringLiteral("LabelNr"));
    LabelNr->setGeometry(172, 36, 30, 18);
    DBENr = named(new dbui::DbEdit(this), QStringLiteral("DBENr"));
    DBENr->setGeometry(204, 32, 70, 24);
    DBENr->setDataField(QStringLiteral("Nr"));

    TypeAhead = new TFreeFieldTypeAhead(
        [this](int nr, const QString &typed) {
            // Passed as typed; a double quote cannot break anything here,
            // the look-up binds its values.
            if (!Table1 || !Table1->active())
                return QString();
            try {
                return FindTypeAheadCompletion(*Table1, nr, typed);
            } catch (const engine::EngineError &) {
                return QString();
            }
        },
        this);
    TypeAhead->setEscapeAsEnter(true);
    TypeAhead->beforeKey = [this] {
        if (readOnly())
            blinkLock();
    };
    connect(TypeAhead, &TFreeFieldTypeAhead::enterPressed, this, [this](QComboBox *) {
        if (browsing() && Mainform)
            Mainform->activateWindow();
    });
    for (int i = 0; i < 5; ++i) {
        const int nr = i + 1, y = 64 + i * 30;
        Label[i] = named(new QLabel(this), QStringLiteral("Label%1").arg(nr));
        Label[i]->setGeometry(8, y + 3, 120, 18);
        Label[i]->setCursor(Qt::PointingHandCursor);
        Label[i]->installEventFilter(this);
        DBEF[i] = named(new dbui::DbComboBox(this), QStringLiteral("DBEF%1").arg(nr));
        DBEF[i]->setGeometry(130, y, 316, 24);
        DBEF[i]->setDataField(QStringLiteral("Free%1").arg(nr));
        DBEF[i]->setProperty("Tag", nr);
        DBEF[i]->installEventFilter(this);
        if (DBEF[i]->lineEdit())
            DBEF[i]->lineEdit()->installEventFilter(this);
        TypeAhead->attach(DBEF[i], nr);
        connect(DBEF[i], &dbui::DbComboBox::dropDown, this, [this, nr] { DBEFDropDown(nr); });
        connect(DBEF[i], &dbui::DbComboBox::editRefused, this, [this] { blinkLock(); });
        DBEFL[i] = named(new dbui::DbEdit(this), QStringLiteral("DBEFL%1").arg(nr));
        DBEFL[i]->setGeometry(130, y, 288, 24);
        DBEFL[i]->setDataField(QStringLiteral("Free%1").arg(nr));
        DBEFL[i]->setProperty("Tag", nr);
        // The drop target and drag source of the link edit, and its mouse.
        TFreeFieldLinkEditHooks hooks;
        hooks.target = [this, nr] { return linkTarget(nr); };
        hooks.readOnly = [this] { return readOnly(); };
        hooks.openMenu = [this, nr] { ButtFClick(nr); };
        DragDropFiles[i] = named(AttachFreeFieldLinkEdit(DBEFL[i], hooks), QStringLiteral("DragDropFiles%1").arg(nr));
        DBEFL[i]->installEventFilter(this);
        DBEFL[i]->setMouseTracking(true);
        connect(DBEFL[i], &dbui::DbEdit::editRefused, this, [this] { blinkLock(); });
        ButtF[i] = named(new TPZSpeedButton(this), QStringLiteral("ButtF%1").arg(nr));
        ButtF[i]->setGeometry(422, y, 24, 24);
        ButtF[i]->SetCaption(QStringLiteral("▾"));
        ButtF[i]->setProperty("Tag", nr);
        connect(ButtF[i], &TPZSpeedButton::Click, this, [this, nr] { ButtFClick(nr); });
    }

    LabelMemo = named(new QLabel(QStringLiteral("&Kurzinfo (Memo)"), this), QStringLiteral("LabelMemo"));
    LabelMemo->setGeometry(8, 218, 150, 18);
    LabelMemoFind = named(new TPZLabel(this), QStringLiteral("LabelMemoFind"));
    LabelMemoFind->setGeometry(200, 218, 120, 18);
    LabelMemoFind->SetTransparent(true);
    LabelMemoFind->SetCaption(QStringLiteral("\\Usuchen\\u (Strg-F)"));
    LabelMemoFind->setCursor(Qt::PointingHandCursor);
    connect(LabelMemoFind, &TPZLabel::Click, this, [this] { LabelMemoFindClick(); });
    LabelMemoFindNext = named(new TPZLabel(this), QStringLiteral("LabelMemoFindNext"));
    LabelMemoFindNext->setGeometry(326, 218, 120, 18);
    LabelMemoFindNext->SetTransparent(true);
    LabelMemoFindNext->SetCaption(QStringLiteral("\\Uweitersuchen\\u (F3)"));
    LabelMemoFindNext->setCursor(Qt::PointingHandCursor);
    connect(LabelMemoFindNext, &TPZLabel::Click, this, [this] { LabelMemoFindNextClick(); });
    DBMemo = named(new dbui::DbMemo(this), QStringLiteral("DBMemo"));
    DBMemo->setGeometry(8, 238, w - 16, 128);
    DBMemo->setDataField(QStringLiteral("Memo"));
    DBMemo->installEventFilter(this);
    DBMemo->viewport()->installEventFilter(this);
    connect(DBMemo, &dbui::DbMemo::editRefused, this, [this] { blinkLock(); });
    LabelMemo->setBuddy(DBMemo);

    SpBPrint = named(new TPZSpeedButton(this), QStringLiteral("SpBPrint"));
    SpBPrint->setGeometry(8, 376, 22, 22);
    SpBPrint->SetCaption(QStringLiteral("▸"));
    PZLabel2 = named(new TPZLabel(this), QStringLiteral("PZLabel2"));
    PZLabel2->setGeometry(34, 379, 80, 18);
    PZLabel2->SetTransparent(true);
    PZLabel2->SetCaption(QStringLiteral("\\Udrucken..."));
    auto print = [this] {
        if (Table1 && Table1->active() && !Table1->isEmpty())
            PrintMediumAttachment(*Table1, DBMemo->toPlainText());
    };
    connect(SpBPrint, &TPZSpeedButton::Click, this, print);
    connect(PZLabel2, &TPZLabel::Click, this, print);
    SpBExport = named(new TPZSpeedButton(this), QStringLiteral("SpBExport"));
    SpBExport->setGeometry(118, 376, 22, 22);
    SpBExport->SetCaption(QStringLiteral("▸"));
    connect(SpBExport, &TPZSpeedButton::Click, this, [this] { SpBExportClick(); });
    PZLabel3 = named(new TPZLabel(this), QStringLiteral("PZLabel3"));
    PZLabel3->setGeometry(144, 379, 90, 18);
    PZLabel3->SetTransparent(true);
    PZLabel3->SetCaption(QStringLiteral("\\Uexportieren..."));
    PZLabel3->setCursor(Qt::PointingHandCursor);
    connect(PZLabel3, &TPZLabel::Click, this, [this] { SpBExportClick(); });
    HelpBtn = named(new TOzoNewButton(this), QStringLiteral("HelpBtn"));
    HelpBtn->SetKind(ibkHelp);
    HelpBtn->setGeometry(w - 216, 386, 100, 25);
    HelpBtn->SetCaption(QStringLiteral("Hilfe"));
    connect(HelpBtn, &QAbstractButton::clicked, this, [] { kit::showHelp(HelpContextNotes); });
    CloseBtn = named(new TOzoNewButton(this), QStringLiteral("CloseBtn"));
    CloseBtn->SetKind(ibkOther); // a plain face: the caption is longer than the tick's room
    CloseBtn->setGeometry(w - 108, 386, 100, 21);
    CloseBtn->SetCaption(QStringLiteral("Schließen"));
    CloseBtn->SetCaptionHCenter(true);
    connect(CloseBtn, &QAbstractButton::clicked, this, [this] { CloseBtnClick(); });

    for (QWidget *c : {static_cast<QWidget *>(DBEdit1), static_cast<QWidget *>(DBENr)}) {
        c->installEventFilter(this);
        connect(static_cast<dbui::DbEdit *>(c), &dbui::DbEdit::editRefused, this, [this] { blinkLock(); });
    }
    updateMemoFindLabels();
}

void TWNotes::SetSource(engine::Table *media, dbui::DataSource *source)
{
    Table1 = media;
    DataSource1 = source;
    DBEdit1->setDataSource(source);
    DBENr->setDataSource(source);
    for (int i = 0; i < 5; ++i) {
        DBEF[i]->setDataSource(source);
        DBEFL[i]->setDataSource(source);
    }
    DBMemo->setDataSource(source);
    SyncLock();
}

// ---- state ------------------------------------------------------------------------------

bool TWNotes::browsing() const
{
    return Table1 && Table1->active() && Table1->state() == engine::DataSetState::Browse;
}

bool TWNotes::readOnly() const
{
    return !Table1 || !Table1->active() || Table1->readOnly();
}

void TWNotes::blinkLock()
{
    LockButton1->BlinkIfLocked();
}

void TWNotes::SyncLock()
{
    LockButton1->SetLocked(readOnly());
}

void TWNotes::postPending()
{
    if (!Table1 || !Table1->active())
        return;
    const engine::DataSetState s = Table1->state();
    if (s != engine::DataSetState::Edit && s != engine::DataSetState::Insert)
        return;
    try {
        Table1->post();
    } catch (const engine::Abort &) {
    } catch (const engine::EngineError &e) {
        showEngineError(e);
    }
}

// ---- free fields ---------------------------------------------------------------------------

void TWNotes::ShowFreeField(int nr)
{
    if (nr < 1 || nr > 5)
        return;
    const size_t i = size_t(nr - 1);
    Label[i]->setText(GetMediumFreeLabel(nr));
    ShowFreeFieldRow({nr, Label[i], DBEF[i], DBEFL[i], ButtF[i]}, GetMediumFreeIsFileLink(nr));
}

void TWNotes::ClearMediumFreeFieldLists()
{
    for (dbui::DbComboBox *c : DBEF)
        EmptyValueList(c);
}

void TWNotes::DBEFDropDown(int nr)
{
    if (readOnly())
        blinkLock();
    if (!Table1 || !Table1->active())
        return;
    dbui::DbComboBox *c = DBEF[size_t(nr - 1)];
    if (c->count() > 0)
        return;
    const QString current = c->text();
    QStringList items;
    try {
        const engine::Field *kind = Table1->findField(QStringLiteral("Medium"));
        FillFreeFieldValueList(*Table1, nr, true, kind ? kind->asString() : QString(), CaptionTable(), items);
    } catch (const engine::EngineError &e) {
        showEngineError(e);
    }
    c->blockSignals(true);
    c->addItems(items);
    const int at = c->findText(current);
    if (at >= 0)
        c->setCurrentIndex(at);
    c->setText(current);
    c->blockSignals(false);
}

TFreeFieldLinkTarget TWNotes::linkTarget(int nr)
{
    TFreeFieldLinkTarget t;
    t.dataSet = Table1;
    t.field = Table1->findField(QStringLiteral("Free%1").arg(nr));
    t.linkEdit = DBEFL[size_t(nr - 1)];
    t.proposedFolder = MediumCollectionFolderName(DBEdit1->text(), DBENr->text());
    t.blinkLock = [this] { blinkLock(); };
    return t;
}

void TWNotes::ButtFClick(int nr)
{
    if (!Table1 || !Table1->active())
        return;
    try {
        PopupFreeFieldMenu(ButtF[size_t(nr - 1)]->mapToGlobal(QPoint(0, 0)), linkTarget(nr));
    } catch (const engine::EngineError &e) {
        showEngineError(e);
    }
}

void TWNotes::LabelClick(int nr)
{
    Q_UNUSED(nr);
    if (readOnly())
        return;
    ExecEditLabels(true, false, this);
}

// ---- memo ----------------------------------------------------------------------------------

void TWNotes::LabelMemoFindClick()
{
    MemoSearch.find(*DBMemo);
    updateMemoFindLabels();
}

void TWNotes::LabelMemoFindNextClick()
{
    MemoSearch.findNext(*DBMemo);
    updateMemoFindLabels();
}

void TWNotes::updateMemoFindLabels()
{
    const bool focus = DBMemo->hasFocus();
    LabelMemoFind->setVisible(focus);
    LabelMemoFindNext->setVisible(focus && MemoSearch.pos >= 0);
}

void TWNotes::DBMemoMouseDown()
{
    if (browsing() && !Table1->readOnly()) {
        try {
            Table1->edit();
        } catch (const engine::EngineError &e) {
            showEngineError(e);
        }
    }
}

void TWNotes::DBMemoDblClick()
{
    if (!DataSource1)
        return;
    if (!WMemo) {
        TWMemoLinks links;
        links.lockClick = [] {
            if (Mainform)
                Mainform->SpBReadOnlyClick();
        };
        links.mediaReadOnly = [this] { return readOnly(); };
        CreateForm<TWMemo>(links);
    }
    WMemo->ShowFor(DataSource1);
}

// ---- print, export, close ---------------------------------------------------------------------

void TWNotes::SpBExportClick()
{
    if (!Table1 || !Table1->active())
        return;
    postPending();
    AttachmentExportContext ctx;
    for (int nr = 1; nr <= 5; ++nr)
        ctx.freeCaptions << GetMediumFreeLabel(nr);
    ctx.playTimeFormat = PlayTimeFormat;
    ExecAttachmentExport(this, AttachmentKind::Medium, *Table1, ctx);
}

void TWNotes::CloseBtnClick()
{
    postPending();
    close();
}

// ---- window --------------------------------------------------------------------------------

void TWNotes::setTitleActive(bool on)
{
    TitleActive = on;
    PZLabel1->SetFontColor(on ? QColor(0, 0, 128) : QColor(0, 0, 0));
}

void TWNotes::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    m_skin = QImage();
    const QString skin = SkinDir + QStringLiteral("Back/NotesSkin.Bmp");
    if (QFileInfo::exists(skin))
        m_skin.load(skin);
    update();
}

void TWNotes::changeEvent(QEvent *e)
{
    QWidget::changeEvent(e);
    if (e->type() != QEvent::ActivationChange)
        return;
    setTitleActive(isActiveWindow());
    postPending();
}

void TWNotes::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    const int w = width(), h = height();
    // The top right corner is cut off as the dog-ear.
    setMask(QRegion(QPolygon({QPoint(0, 0), QPoint(w - DogEarW, 0), QPoint(w, DogEarH), QPoint(w, h),
                              QPoint(0, h)})));
    ImgEselsohr->move(w - DogEarW, 0);
}

void TWNotes::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (!m_skin.isNull()) {
        for (int y = 0; y < height(); y += m_skin.height())
            for (int x = 0; x < width(); x += m_skin.width())
                p.drawImage(x, y, m_skin);
    } else {
        p.fillRect(rect(), QColor(255, 250, 215));
    }
    p.fillRect(QRect(0, 0, width(), 27), QColor(235, 225, 170, 160));
    p.setPen(QColor(150, 140, 100));
    p.drawLine(0, 27, width() - DogEarW + 2, 27);
    p.drawPolyline(QPolygon({QPoint(width() - DogEarW, 0), QPoint(0, 0), QPoint(0, height() - 1),
                             QPoint(width() - 1, height() - 1), QPoint(width() - 1, DogEarH)}));
}

int TWNotes::fieldOf(QObject *watched) const
{
    for (int i = 0; i < 5; ++i)
        if (watched == DBEFL[size_t(i)])
            return i + 1;
    return 0;
}

bool TWNotes::handleKey(QObject *watched, QKeyEvent *ke)
{
    const Qt::KeyboardModifiers mods = ke->modifiers() & ~Qt::KeypadModifier;
    const bool inMemo = watched == DBMemo || watched == DBMemo->viewport();
    if (inMemo && mods == Qt::ControlModifier && ke->key() == Qt::Key_F) {
        LabelMemoFindClick();
        return true;
    }
    if (inMemo && mods == Qt::NoModifier && ke->key() == Qt::Key_F3) {
        LabelMemoFindNextClick();
        return true;
    }
    if (mods == Qt::NoModifier) {
        switch (ke->key()) {
        case Qt::Key_F5:
            if (Mainform)
                Mainform->activateWindow();
            return true;
        case Qt::Key_F6:
            CloseBtnClick();
            return true;
        case Qt::Key_F7:
            if (Mainform && Mainform->Menus)
                Mainform->Menus->Run(QStringLiteral("FilmKarteikarte1"));
            return true;
        case Qt::Key_F8:
            if (Mainform && Mainform->Menus)
                Mainform->Menus->Run(QStringLiteral("PersonenKarteikarte1"));
            return true;
        case Qt::Key_F12:
            emit LockButton1->Click();
            return true;
        default:
            break;
        }
    }
    if (!Table1 || !Table1->active())
        return false;
    // The record is locked: a key meant to change it blinks the lock.
    if ((watched == DBEdit1 || watched == DBENr || inMemo) && Table1->readOnly()
        && dbui::FieldLink::isEditKey(ke, inMemo))
        blinkLock();
    const bool isBrowsing = browsing();
    if (isBrowsing && mods == Qt::NoModifier && ke->key() == Qt::Key_Escape) {
        CloseBtnClick();
        return true;
    }
    const int nr = fieldOf(watched);
    const bool enter = ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter;
    if (nr && enter && mods == Qt::NoModifier) {
        if (DBEFL[size_t(nr - 1)]->text().isEmpty())
            ButtFClick(nr);
        else if (isBrowsing)
            OpenLinkedFile(DBEFL[size_t(nr - 1)]->text());
        return true;
    }
    auto *combo = qobject_cast<QComboBox *>(watched);
    if (!combo && watched->parent())
        combo = qobject_cast<QComboBox *>(watched->parent());
    const bool inCombo = combo && std::find(DBEF.begin(), DBEF.end(), combo) != DBEF.end();
    if (isBrowsing && enter && mods == Qt::NoModifier
        && (inCombo || watched == DBEdit1 || watched == DBENr)) {
        if (Mainform)
            Mainform->activateWindow();
        return true;
    }
    if (inMemo && (enter || ke->key() == Qt::Key_Home || ke->key() == Qt::Key_End || ke->key() == Qt::Key_PageUp
                   || ke->key() == Qt::Key_PageDown))
        return false; // the memo keeps its editing keys
    int options = 127;
    if (inCombo) {
        // While the record is browsed, Page Up and Page Down move the data
        // set rather than the drop-down.
        options = ComboNavOptions(*combo);
        if (isBrowsing)
            options |= dskPageStep;
    }
    try {
        return VirtualKeyOf(*ke) && HandleDataSetKey(*Table1, options, *ke);
    } catch (const engine::Abort &) {
        return true;
    } catch (const engine::EngineError &e) {
        showEngineError(e);
        return true;
    }
}

void TWNotes::keyPressEvent(QKeyEvent *e)
{
    if (!handleKey(this, e))
        QWidget::keyPressEvent(e);
}

bool TWNotes::eventFilter(QObject *watched, QEvent *event)
{
    // Dragging the title line moves the window.
    if (watched == PZLabel1) {
        const QEvent::Type t = event->type();
        if (t != QEvent::MouseButtonPress && t != QEvent::MouseMove && t != QEvent::MouseButtonRelease)
            return false;
        auto *me = static_cast<QMouseEvent *>(event);
        if (event->type() == QEvent::MouseButtonPress && me->button() == Qt::LeftButton) {
            m_dragging = true;
            m_dragOffset = me->globalPosition().toPoint() - frameGeometry().topLeft();
            return true;
        }
        if (event->type() == QEvent::MouseMove && m_dragging) {
            move(me->globalPosition().toPoint() - m_dragOffset);
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease && m_dragging) {
            m_dragging = false;
            return true;
        }
        return false;
    }
    for (int i = 0; i < 5; ++i)
        if (watched == Label[size_t(i)] && event->type() == QEvent::MouseButtonRelease) {
            LabelClick(i + 1);
            return true;
        }
    if (watched == DBMemo || watched == DBMemo->viewport()) {
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
            updateMemoFindLabels();
        if (event->type() == QEvent::MouseButtonPress
            && static_cast<QMouseEvent *>(event)->button() == Qt::RightButton)
            DBMemoMouseDown();
        if (event->type() == QEvent::MouseButtonDblClick) {
            DBMemoDblClick();
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress && handleKey(watched, static_cast<QKeyEvent *>(event)))
        return true;
    return QWidget::eventFilter(watched, event);
}

// ---- the program's part ------------------------------------------------------------------------

TWNotes *NotesWindow()
{
    if (!WNotes) {
        WNotes = new TWNotes(Mainform);
        if (Mainform) {
            WNotes->SetSource(Mainform->Table1.get(), Mainform->DataSource1);
            Mainform->RegisterRecordWindowLock(WNotes->LockButton1, Mainform->Table1.get());
            FollowMediaTable(*WNotes, *Mainform->Table1);
            // First shown beside the card, on the screen.
            const QRect card = Mainform->frameGeometry();
            QRect place(QPoint(card.right() + 8, card.top()), WNotes->size());
            if (const QScreen *screen = Mainform->screen()) {
                const QRect avail = screen->availableGeometry();
                if (place.right() > avail.right())
                    place.moveRight(std::max(avail.left() + place.width() - 1, card.left() - 8));
                if (place.right() > avail.right())
                    place.moveRight(avail.right());
                place.moveLeft(std::max(place.left(), avail.left()));
            }
            WNotes->move(place.topLeft());
        }
    }
    return WNotes;
}

void ShowMediumNotes()
{
    if (Mainform && Mainform->Table1->active()) {
        const engine::DataSetState s = Mainform->Table1->state();
        if (s == engine::DataSetState::Edit || s == engine::DataSetState::Insert)
            Mainform->Table1->post();
    }
    ShowMediumNotesWindow();
}

void ShowMediumNotesWindow()
{
    TWNotes *w = NotesWindow();
    w->SyncLock();
    w->show();
    w->raise();
    w->activateWindow();
}

void ReleaseNotesWindow()
{
    delete WNotes;
    WNotes = nullptr;
}

void HookNotesWindow(TMainform &f)
{
    auto *notes = f.Component<TPZSpeedButton>(QStringLiteral("SpBNotesK"));
    notes->setEnabled(true);
    QObject::connect(notes, &TPZSpeedButton::Click, &f, [&f] {
        if (f.Menus)
            f.Menus->Run(QStringLiteral("AnhMedium1"));
    });
}

void FollowMediaTable(TWNotes &w, engine::Table &media)
{
    // A new medium, a posted one or a closed table: the value lists are
    // built again for what comes next.
    auto clear = [&w](engine::DataSet &) { w.ClearMediumFreeFieldLists(); };
    w.Events.push_back(media.afterScroll.subscribe(clear));
    w.Events.push_back(media.afterPost.subscribe(clear));
    w.Events.push_back(media.afterClose.subscribe(clear));
    w.Events.push_back(media.afterOpen.subscribe([&w](engine::DataSet &) { w.SyncLock(); }));
}
