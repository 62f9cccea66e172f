// The film card's free fields and links: value lists and type-ahead, the
// file-name edits of the link fields with their menu and dropped files, the person fields that lead to the
// person card (double click, or a click while the film is read-only), the
// title's length guard, the card's record keys and function keys, the
// memo and picture windows, the web search, the print menu and the
// colours of the two headings.
#include "windows/cards/wfilm.h"

#include "app/settings.h"
#include "data/filmcard.h"
#include "data/filmpersons.h"
#include "data/freefieldlabels.h"
#include "data/freefieldlinks.h"
#include "dbui/datasource.h"
#include "dbui/dbcombobox.h"
#include "dbui/dbedit.h"
#include "dbui/dbmemo.h"
#include "engine/engineerror.h"
#include "engine/table.h"
#include "kit/dbtastennavigation.h"
#include "kit/lockbutton.h"
#include "kit/msgboxmetal.h"
#include "kit/ozodbcheck.h"
#include "kit/presenter.h"
#include "kit/pzlabel.h"
#include "kit/pzspeedbutton.h"
#include "kit/wmemo.h"
#include "print/labeldata.h"
#include "print/labellayout.h"
#include "print/labelsymbols.h"
#include "windows/queries/dwebsuche.h"
#include "windows/exchange/exportcommands.h"
#include "windows/cards/editlabels.h"
#include "windows/cards/freefieldmenu.h"
#include "windows/cards/freefieldrows.h"
#include "windows/cards/freefieldtypeahead.h"
#include "windows/main/mainform.h"
#include "windows/cards/personcardhooks.h"
#include "windows/cards/wgrafik.h"
#include "windows/cards/wpers.h"
#include "windows/dialogs/windowparts.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QScreen>

using windowparts::showEngineError;
using windowparts::editingState;

namespace {
const QString TitleTooLongText = QStringLiteral(
    "Das Feld \"Titel\" kann nur 40 Zeichen aufnehmen.\\lbIst der Titel länger, so schreiben Sie den Rest in das "
    "Feld \"Untertitel\" und beginnen den Untertitel mit dem Zeichen \\B>\\b: Ein Untertitel, der mit \">\" "
    "beginnt, setzt den Titel fort.");
} // namespace

void FillFreeFieldCombo(dbui::DbComboBox *c, engine::Table *table, int nr)
{
    if (c->count() > 0 || !table || !table->active())
        return;
    const QString t = c->text();
    QStringList items;
    try {
        FillFreeFieldValueList(*table, nr, false, QString(), nullptr, items);
    } catch (const engine::EngineError &e) {
        showEngineError(e);
    }
    c->blockSignals(true);
    c->addItems(items);
    c->setText(t);
    c->blockSignals(false);
}

QPixmap SoundSymbolPixmap(const QString &ton, const QSize &size)
{
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    if (ton.isEmpty())
        return pm;
    TProgDirArtProvider art(ProgDir);
    TLabelLayout layout;
    DrawSoundSymbol(layout, QRect(QPoint(0, 0), size), ton.at(0), art);
    QPainter painter(&pm);
    PaintLabelLayout(painter, layout);
    return pm;
}

void TWFilm::wireFields()
{
    TypeAhead = new TFreeFieldTypeAhead(
        [this](int nr, const QString &typed) {
            try {
                if (isPersonField(nr))
                    return PersTable && PersTable->active() ? CompletePersonName(*PersTable, typed) : QString();
                return Table1 && Table1->active() ? FindTypeAheadCompletion(*Table1, nr, typed) : QString();
            } catch (const engine::EngineError &) {
                return QString();
            }
        },
        this);
    TypeAhead->beforeKey = [this] {
        if (!editable())
            LockButton1->BlinkIfLocked();
    };
    for (int i = 0; i < 15; ++i) {
        TypeAhead->attach(DBEF[size_t(i)], i + 1);
        if (QLineEdit *e = DBEF[size_t(i)]->lineEdit()) {
            e->installEventFilter(this);
            e->setMouseTracking(true);
        }
    }
    if (QLineEdit *e = DBETitel->lineEdit())
        e->installEventFilter(this);
    DBMemo->installEventFilter(this);
    for (QWidget *w : findChildren<QWidget *>())
        if (w != this)
            w->installEventFilter(this);

    // The print menu: the attachment card, the description page (their jobs
    // are given by AddFilmCardPrintButton) and the attachment export.
    SpBPrint = new TPZSpeedButton(this);
    SpBPrint->setObjectName(QStringLiteral("SpBPrint"));
    SpBPrint->setGeometry(620, 88, 24, 24);
    SpBPrint->SetCaption(QStringLiteral("≡"));
    SpBPrint->setToolTip(QStringLiteral("Drucken / Exportieren"));
    PopupPrint = new QMenu(this);
    PopupPrint->setObjectName(QStringLiteral("PopupPrint"));
    AnhangKarte1 = PopupPrint->addAction(QStringLiteral("Anhang-Karte(n) drucken..."));
    A4Seite1 = PopupPrint->addAction(QStringLiteral("A4-Seite(n) drucken..."));
    PopupPrint->addSeparator();
    AnhangExport1 = PopupPrint->addAction(QStringLiteral("Anhang exportieren..."));
    QFont f = AnhangExport1->font();
    f.setUnderline(true);
    AnhangExport1->setFont(f);
    connect(SpBPrint, &TPZSpeedButton::Click, this,
            [this] { kit::popupMenu(*PopupPrint, SpBPrint->mapToGlobal(QPoint(0, SpBPrint->height()))); });
    connect(AnhangExport1, &QAction::triggered, this, [this] {
        if (!Table1 || !Table1->active() || Table1->isEmpty() || !postPending())
            return;
        AttachmentExportContext ctx;
        for (int n = 1; n <= 15; ++n)
            ctx.freeCaptions << GetFilmFreeLabel(n);
        ctx.playTimeFormat = PlayTimeFormat;
        ExecAttachmentExport(this, AttachmentKind::Film, *Table1, ctx);
    });
    connect(SpBWeb, &TPZSpeedButton::Click, this, [this] {
        if (postPending())
            ExecWebSearch(QStringLiteral("Film"), Table1);
    });
    SpBExp->setVisible(QGuiApplication::primaryScreen()
                       && QGuiApplication::primaryScreen()->geometry().width() > 1000);
    connect(SpBExp, &TPZSpeedButton::Click, this, [this] { SpBExpClick(); });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (now && isAncestorOf(now))
            markArea(now);
    });
}

namespace {
// The heading of the area being worked in is navy, the other one black.
const QColor ActiveHeading(0, 0, 0x80);
} // namespace

void TWFilm::markArea(QWidget *now)
{
    const bool attachment = PanelFree->isAncestorOf(now) || PanelMemo->isAncestorOf(now)
        || PanelGrafik->isAncestorOf(now) || now == TabSet1;
    AnhLastActive = attachment;
    PZLabelAnh->SetFontColor(attachment ? ActiveHeading : QColor(Qt::black));
    PZLabelKrtB->SetFontColor(attachment ? QColor(Qt::black) : ActiveHeading);
}

void TWFilm::ShowInactiveCaption()
{
    tOzoFormMetal::ShowInactiveCaption();
    PZLabelAnh->SetFontColor(Qt::black);
    PZLabelKrtB->SetFontColor(Qt::black);
}

void TWFilm::ShowActiveCaption()
{
    tOzoFormMetal::ShowActiveCaption();
    (AnhLastActive ? PZLabelAnh : PZLabelKrtB)->SetFontColor(ActiveHeading);
}

void TWFilm::FreeFieldDropDown(int nr)
{
    if (isPersonField(nr)) {
        PersonFieldDropDown(nr);
        return;
    }
    FillFreeFieldCombo(DBEF[size_t(nr - 1)], Table1, nr);
}

TFreeFieldLinkTarget TWFilm::linkTarget(int nr)
{
    TFreeFieldLinkTarget t;
    if (!Table1 || !Table1->active())
        return t;
    t.dataSet = Table1;
    t.field = Table1->findField(QStringLiteral("Free%1").arg(nr));
    t.linkEdit = DBEFL[size_t(nr - 1)];
    const engine::Field *title = Table1->findField(QStringLiteral("Titel"));
    const engine::Field *sub = Table1->findField(QStringLiteral("Untertitel"));
    if (t.field && title && sub)
        t.proposedFolder = FilmFolderName(title->asString(), sub->asString(), t.field->size());
    t.blinkLock = [this] { LockButton1->BlinkIfLocked(); };
    return t;
}

void TWFilm::FreeFieldButtonClick(int nr)
{
    if (!GetFilmFreeIsFileLink(nr) || !Table1 || !Table1->active())
        return;
    try {
        PopupFreeFieldMenu(ButtF[size_t(nr - 1)]->mapToGlobal(QPoint(0, 0)), linkTarget(nr));
    } catch (const engine::Abort &) {
    } catch (const engine::EngineError &e) {
        showEngineError(e);
    }
}

void TWFilm::ShowFreeField(int nr)
{
    if (nr < 1 || nr > 15)
        return;
    const size_t i = size_t(nr - 1);
    LabelF[i]->setText(GetFilmFreeLabel(nr));
    ShowFreeFieldRow({nr, LabelF[i], DBEF[i], DBEFL[i], ButtF[i]}, GetFilmFreeIsFileLink(nr));
}

void TWFilm::FreeFieldCaptionClick(int nr)
{
    Q_UNUSED(nr);
    if (!MediaTable || !MediaTable->active() || MediaTable->readOnly()) {
        LockButton1->BlinkIfLocked();
        return;
    }
    ExecEditLabels(false, false, this);
}

void TWFilm::ShowPersonWindow(const QString &name)
{
    if (Mainform)
        ShowPersonCard(*Mainform, name);
}

void TWFilm::PersonFieldDblClick(int nr)
{
    if (!isPersonField(nr) || !Mainform || !PersTable || !PersTable->active())
        return;
    const QString name = DBEF[size_t(nr - 1)]->text();
    TWPers *card = BoundPersonCard(*Mainform);
    if (!name.isEmpty() && !IsJumpEntry(name)) {
        if (!card->LocatePersonByName(name) && !PersTable->readOnly())
            card->InsertPerson(name);
        card->ShowPerson();
        return;
    }
    if (!editable())
        return;
    // No name yet: the person card picks one.
    card->close();
    if (card->ShowModal() != mrOk || PersTable->isEmpty())
        return;
    const QString chosen = PersTable->fieldByName(QStringLiteral("Name"))->asString();
    if (!DataSource1->edit())
        return;
    Table1->fieldByName(QStringLiteral("Free%1").arg(nr))->setAsString(chosen);
}

void TWFilm::TitleTooLong()
{
    ShowMetalMessage(QStringLiteral("Titel zu lang..."), TitleTooLongText);
}

void TWFilm::ShowMemoWindow()
{
    if (!WMemo) {
        TWMemoLinks links;
        links.filmSource = DataSource1;
        if (WPers)
            links.personSource = WPers->DataSource1;
        links.lockClick = [] {
            if (Mainform)
                Mainform->SpBReadOnlyClick();
        };
        links.mediaReadOnly = [this] { return !MediaTable || !MediaTable->active() || MediaTable->readOnly(); };
        WMemo = CreateForm<TWMemo>(links);
    }
    WMemo->ShowFor(DataSource1);
}

void TWFilm::SpBExpClick()
{
    QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QRect avail = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 1024);
    move(avail.topLeft());
    ShowMemoWindow();
    WMemo->setGeometry(avail.left(), avail.top() + frameGeometry().height(), avail.width(),
                       qMax(120, avail.height() - frameGeometry().height()));
    TWGrafik *g = PictureWindow();
    g->ShowFor(DataSource1, QStringLiteral("Titel"));
    g->setGeometry(avail.left() + frameGeometry().width(), avail.top(),
                   qMax(160, avail.width() - frameGeometry().width()), frameGeometry().height());
    TabSet1->setCurrentIndex(0);
}

bool TWFilm::cardKey(QObject *watched, QKeyEvent *e)
{
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    if (mods == Qt::NoModifier) {
        switch (e->key()) {
        case Qt::Key_F5:
        case Qt::Key_F6:
        case Qt::Key_F7:
        case Qt::Key_F8:
        case Qt::Key_F10:
        case Qt::Key_F12:
            keyPressEvent(e);
            return true;
        default:
            break;
        }
    }
    // The title holds only so many characters.
    if ((watched == DBETitel || watched == DBETitel->lineEdit()) && !e->text().isEmpty()
        && e->text().at(0).isPrint() && mods != Qt::ControlModifier) {
        QChar key = e->text().at(0);
        QLineEdit *le = DBETitel->lineEdit();
        const bool replacing = le && le->hasSelectedText();
        if (!replacing && LimitComboToFieldSize(DBETitel, key)) {
            TitleTooLong();
            return true;
        }
    }
    if (!Table1 || !Table1->active() || watched == DBMemo || watched == DBMemo->viewport())
        return false;
    const int vk = VirtualKeyOf(*e);
    if (!vk)
        return false;
    if (Table1->readOnly() && (vk == VK_INSERT || vk == VK_DELETE || vk == VK_ADD || vk == VK_SUBTRACT)
        && mods == Qt::ControlModifier) {
        LockButton1->BlinkIfLocked();
        return true;
    }
    // Ctrl+Insert and Ctrl++ add a film as the navigator's "+" does.
    if ((vk == VK_INSERT || vk == VK_ADD) && mods == Qt::ControlModifier && OnNewFilm
        && Table1->state() == engine::DataSetState::Browse) {
        OnNewFilm();
        return true;
    }
    int options = 127;
    for (dbui::DbComboBox *c : std::initializer_list<dbui::DbComboBox *>{DBETitel, DBESub})
        if (watched == c || watched == c->lineEdit())
            options = ComboNavOptions(*c);
    for (dbui::DbComboBox *c : DBEF)
        if (watched == c || watched == c->lineEdit())
            options = ComboNavOptions(*c);
    try {
        return HandleDataSetKey(*Table1, options, *e, QStringLiteral("KassNr"));
    } catch (const engine::Abort &) {
        return true;
    } catch (const engine::EngineError &err) {
        showEngineError(err);
        return true;
    }
}

bool TWFilm::fieldEvent(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && isAncestorOf(qobject_cast<QWidget *>(watched)))
        if (cardKey(watched, static_cast<QKeyEvent *>(event)))
            return true;
    if (watched == DBMemo && event->type() == QEvent::MouseButtonDblClick) {
        ShowMemoWindow();
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease)
        for (int i = 0; i < 15; ++i)
            if (watched == LabelF[size_t(i)]) {
                FreeFieldCaptionClick(i + 1);
                return true;
            }
    for (int i = 0; i < 15; ++i) {
        dbui::DbComboBox *c = DBEF[size_t(i)];
        if (watched != c->lineEdit() && watched != c)
            continue;
        const int nr = i + 1;
        switch (event->type()) {
        case QEvent::MouseButtonDblClick:
            if (isPersonField(nr)) {
                PersonFieldDblClick(nr);
                return true;
            }
            break;
        case QEvent::Enter:
        case QEvent::MouseMove: {
            const bool link = isPersonField(nr) && !editable() && !c->text().isEmpty();
            if (link != (m_hoverField == nr)) {
                ShowFieldAsLink(c, link);
                m_hoverField = link ? nr : 0;
            }
            break;
        }
        case QEvent::Leave:
            if (m_hoverField == nr) {
                ShowFieldAsLink(c, false);
                m_hoverField = 0;
            }
            break;
        case QEvent::MouseButtonRelease:
            if (m_hoverField == nr && !editable()) {
                PersonFieldDblClick(nr);
                return true;
            }
            break;
        default:
            break;
        }
    }
    return false;
}
