#include "windows/labels/labelselect.h"

#include "app/appmessage.h"
#include "app/settings.h"
#include "data/locate.h"
#include "data/printedflag.h"
#include "dbui/datasource.h"
#include "engine/field.h"
#include "engine/query.h"
#include "engine/table.h"
#include "kit/enterexitbutton.h"
#include "kit/msgboxmetal.h"
#include "kit/presenter.h"
#include "print/labelmedium.h"
#include "windows/labels/detikind.h"
#include "windows/dialogs/dialogparts.h"
#include "windows/labels/labellist.h"
#include "windows/labels/labelprint.h"
#include "windows/main/mainform.h"
#include "windows/labels/prevform2.h"
#include "windows/labels/printedflag.h"
#include "windows/printing/printjob.h"
#include "windows/queries/queryform.h"
#include "windows/tables/tabform.h"
#include "dbui/dbgrid.h"

#include <QAction>
#include <QGuiApplication>
#include <QListWidget>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>

TDDrckSelect *DDrckSelect = nullptr;

namespace {

const QString PrintedOneQuestion = QStringLiteral(
    "Soll das \"\\BEtikett gedruckt\\b\"-Feld für dieses Medium nun gesetzt werden?");
const QString PrintedAllQuestion = QStringLiteral(
    "Soll nun für alle Medien, für die soeben Etiketten gedruckt wurden, das \"\\BEtikett gedruckt\\b\"-Feld "
    "gesetzt werden?");

QString fieldText(engine::DataSet &ds, const char *name)
{
    engine::Field *f = ds.findField(QLatin1String(name));
    return f ? f->asString() : QString();
}

// The sheet of the active format, or 0 (after the reason) when it holds more
// than 255 labels.
int sheetLabels()
{
    const int n = CollectionLabelsPerSheet(ActiveLabelFormat);
    if (n == 0)
        ShowMetalMessage(QStringLiteral("Fehler"), CheckLabelFormat(ActiveLabelFormat), true);
    return n;
}

} // namespace

TDDrckSelect::TDDrckSelect(const TLabelSelectContext &ctx, QWidget *parent)
    : tOzoFormMetal(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("DDrckSelect"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    resize(430, 380);
    Query1 = std::make_unique<engine::Query>(ctx.sets.Table1 ? &ctx.sets.Table1->session() : nullptr);
    DataSource1 = new dbui::DataSource(Query1.get(), this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));

    BtnSofort = MakeDialogButton(this, "BtnSofort", ibkOther, QRect(12, 12, 200, 27),
                                 QStringLiteral("Sofort (einzeln) &drucken..."));
    BtnSpaeter = MakeDialogButton(this, "BtnSpaeter", ibkOther, QRect(218, 12, 200, 27),
                                  QStringLiteral("&Später (gesammelt) drucken"));
    MakeDialogLabel(this, QStringLiteral("LabelList"), QStringLiteral("Sammel-Liste:"), QRect(12, 48, 200, 18));
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setGeometry(12, 68, 200, 260);
    BtnShowCard = MakeDialogButton(this, "BtnShowCard", ibkOther, QRect(218, 68, 200, 25),
                                   QStringLiteral("Medien-Karteikarte zeigen"));
    BtnShowList = MakeDialogButton(this, "BtnShowList", ibkOther, QRect(218, 98, 200, 25),
                                   QStringLiteral("Ansicht als Etiketten-Liste"));
    BtnRemove = MakeDialogButton(this, "BtnRemove", ibkOther, QRect(218, 128, 200, 25),
                                 QStringLiteral("Markiertes Med. aus Liste entf."));
    BtnClear = MakeDialogButton(this, "BtnClear", ibkOther, QRect(218, 158, 200, 25), QStringLiteral("Liste leeren!"));
    BtnFindNotPrinted = MakeDialogButton(this, "BtnFindNotPrinted", ibkOther, QRect(218, 198, 200, 25),
                                         QStringLiteral("Suche &ungedruckte E."));
    BtnKind = MakeDialogButton(this, "BtnKind", ibkOther, QRect(218, 228, 200, 25),
                               QStringLiteral("Etiketten-&Art ..."));
    BtnPrintList = MakeDialogButton(this, "BtnPrintList", ibkOther, QRect(218, 268, 200, 27),
                                    QStringLiteral("&Etiketten drucken"));
    BtnClose = MakeDialogButton(this, "BtnClose", ibkOther, QRect(218, 340, 200, 25), QStringLiteral("&Schließen"));

    connect(BtnSofort, &QPushButton::clicked, this, [this] { SofortClick(); });
    connect(BtnSpaeter, &QPushButton::clicked, this, [this] { SpaeterClick(); });
    connect(BtnShowCard, &QPushButton::clicked, this, [this] { ShowCardClick(); });
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, [this] { ShowCardClick(); });
    connect(BtnShowList, &QPushButton::clicked, this, [this] { ShowListClick(); });
    connect(BtnRemove, &QPushButton::clicked, this, [this] { RemoveSelected(); });
    connect(BtnClear, &QPushButton::clicked, this, [this] { ClearList(); });
    connect(BtnFindNotPrinted, &QPushButton::clicked, this, [this] { ExecFindNotPrinted(this); });
    connect(BtnKind, &QPushButton::clicked, this, [this] { KindClick(); });
    connect(BtnPrintList, &QPushButton::clicked, this, [this] { PrintListClick(); });
    connect(BtnClose, &QPushButton::clicked, this, &QWidget::close);
    connect(ListBox1, &QListWidget::currentRowChanged, this, [this] { UpdateButtons(); });
    Create();
    SetCaption(QStringLiteral("Druck-Auswahl"));
    UpdateButtons();
}

TDDrckSelect::~TDDrckSelect()
{
    CloseLabelListOf(DataSource1);
    if (Query1->active())
        Query1->close();
    if (DDrckSelect == this)
        DDrckSelect = nullptr;
}

void TDDrckSelect::FormActivate()
{
    tOzoFormMetal::FormActivate();
    UpdateButtons();
}

void TDDrckSelect::UpdateButtons()
{
    const int n = int(m_items.size());
    const bool selected = ListBox1->currentRow() >= 0 && ListBox1->currentRow() < n;
    BtnSpaeter->setEnabled(n < CollectionLabelsPerSheet(ActiveLabelFormat));
    BtnRemove->setEnabled(selected);
    BtnShowCard->setEnabled(selected);
    BtnPrintList->setEnabled(n > 0);
    BtnClear->setEnabled(n > 0);
    BtnShowList->setEnabled(n > 0);
}

void TDDrckSelect::RebuildQuery()
{
    if (Query1->active())
        Query1->close();
    engine::Table *media = m_ctx.sets.Table1;
    QList<QPair<QString, QVariant>> binds;
    const QStringList lines = LabelCollectionQueryLines(media ? media->tableName() : QString(), m_items, &binds);
    if (lines.isEmpty() || !media || !media->active())
        return; // an empty list runs no query
    Query1->setSql(lines);
    for (const auto &b : binds)
        Query1->paramByName(b.first).setValue(b.second);
    Query1->open();
}

bool TDDrckSelect::AddToLabelCollection(engine::DataSet &ds)
{
    engine::Field *nr = ds.findField(QStringLiteral("Nr"));
    if (!nr)
        nr = ds.findField(QStringLiteral("KassNr"));
    bool added = false;
    if (!nr) {
        ShowMetalMessage(QStringLiteral("Hinweis"),
                         QStringLiteral("Die Tabelle enthält weder eine \"Nr\"- noch eine \"KassNr\"-Spalte. \\lb\\IEs "
                                        "kann daher keine Kassettenauswahl stattfinden!"));
    } else if (ds.active() && !ds.isEmpty()) {
        return AddItem({fieldText(ds, "Medium").left(6), qint32(nr->asInteger())});
    }
    UpdateButtons();
    RebuildQuery();
    return added;
}

bool TDDrckSelect::AddItem(const TLabelCollectionItem &item)
{
    const bool added = int(m_items.size()) < CollectionLabelsPerSheet(ActiveLabelFormat);
    if (added) {
        m_items.append(item);
        ListBox1->addItem(LabelCollectionItemText(item));
    }
    UpdateButtons();
    RebuildQuery();
    return added;
}

void ConnectTableViewLabelCollection()
{
    TLabelCollectionDoor &door = LabelCollectionDoor();
    door.count = [] { return DDrckSelect ? int(DDrckSelect->Items().size()) : 0; };
    door.clear = [] {
        if (DDrckSelect)
            DDrckSelect->ClearList();
    };
    door.add = [](const QString &kind, int nr) {
        ShowPrintSelection(MainformLabelContext())->AddItem({kind.left(6), qint32(nr)});
    };
    door.labelsPerSheet = [] { return CollectionLabelsPerSheet(ActiveLabelFormat); };
}

void TDDrckSelect::ClearList()
{
    m_items.clear();
    ListBox1->clear();
    UpdateButtons();
    RebuildQuery();
}

void TDDrckSelect::RemoveSelected()
{
    const int row = ListBox1->currentRow();
    if (row < 0 || row >= int(m_items.size()))
        return;
    m_items.removeAt(row);
    delete ListBox1->takeItem(row);
    UpdateButtons();
    RebuildQuery();
}

void TDDrckSelect::switchDvdToSpine()
{
    engine::Table *media = m_ctx.sets.Table1;
    if (LabelKind == lkUser || !media || !media->active() || media->isEmpty())
        return;
    if (fieldText(*media, "Medium").left(6) != QLatin1String("DVD") || LabelKind == lkSpine)
        return;
    LabelKind = lkSpine;
    ApplyBuiltInLabelKind(ActiveLabelFormat, lkSpine, ZFOn, ZFSheetLayout);
    ::UpdatePreviewSize();
    ArrangeLabelList();
}

void TDDrckSelect::SofortClick()
{
    engine::Table *media = m_ctx.sets.Table1;
    if (!media || !media->active() || media->isEmpty())
        return;
    switchDvdToSpine();
    const QString kind = fieldText(*media, "Medium");
    const int nr = int(media->fieldByName(QStringLiteral("Nr"))->asInteger());
    if (!PrintCurrentMediumLabel(*media, m_ctx.filmTablePath, this) || PFSetNever)
        return;
    const TMediumNrPairCollection pairs = SingleMediumPairs(kind, nr);
    if (!TestPrintedFlag(*media, {&pairs, {}}, true))
        AutoSetPrintedFlag(*media, {&pairs, {}}, PrintedOneQuestion);
}

void TDDrckSelect::SpaeterClick()
{
    engine::Table *media = m_ctx.sets.Table1;
    if (!media || !media->active() || sheetLabels() == 0)
        return;
    switchDvdToSpine();
    AddToLabelCollection(*media);
}

void TDDrckSelect::ShowCardClick()
{
    const int row = ListBox1->currentRow();
    if (row < 0 || row >= int(m_items.size()) || !m_ctx.sets.Table1)
        return;
    LocateMedium(m_ctx.sets, m_items[row].Medium, m_items[row].Nr, true);
    ::UpdatePreviewSize();
    if (m_ctx.showMainWindow)
        m_ctx.showMainWindow();
}

void TDDrckSelect::ShowListClick()
{
    RebuildQuery();
    ShowLabelList(DataSource1, m_ctx.filmTablePath, true, QStringLiteral("Inhalt der Etikettendruck-Sammelliste"),
                  parentWidget());
}

void TDDrckSelect::KindClick()
{
    int start = 0;
    ExecLabelKindDialog(false, 1, start);
    UpdateButtons();
}

void TDDrckSelect::PrintListClick()
{
    engine::Table *media = m_ctx.sets.Table1;
    const int n = int(m_items.size());
    if (n == 0 || !media || !media->active())
        return;
    int start = 1;
    if (!ExecLabelKindDialog(true, n, start))
        return;
    const int perSheet = sheetLabels();
    if (perSheet == 0)
        return;
    if (!LabelListFitsSheet(n, perSheet, start)) {
        ShowMetalMessage(QStringLiteral("Fehler"),
                         QStringLiteral("In der Liste stehen mehr Etiketten, als (ab der eingestellten Position) auf "
                                        "die Seite passen!"),
                         true);
        return;
    }
    QPrintDialog dlg(&ProgramPrinter(), this);
    if (kit::execDialog(dlg) != mrOk)
        return;
    // The labels are read medium by medium from the card, which comes back
    // to its medium afterwards.
    const QString hereKind = media->isEmpty() ? QString() : fieldText(*media, "Medium");
    const int hereNr = media->isEmpty() ? 0 : int(media->fieldByName(QStringLiteral("Nr"))->asInteger());
    // The missing media and the DVD hint are told once, before the job.
    const TLabelListPlan plan = PlanLabelListPrint(m_items, start, LabelKind, [this](const TLabelCollectionItem &it) {
        return LocateMedium(m_ctx.sets, it.Medium, it.Nr, true);
    });
    for (int k = 0; k < plan.missing.size(); ++k)
        ShowMetalMessage(QStringLiteral("Fehler"),
                         QStringLiteral("Ein Medium aus der Sammelliste wurde nicht mehr gefunden!"), true);
    if (plan.dvdSkipped)
        ShowMetalMessage(QStringLiteral("Hinweis!"),
                         QStringLiteral("\\BDie Sammelliste enthält mindestens eine DVD\\b,der eingestellte "
                                        "Etikettentyp steht für DVDs aber nicht zur Auswahl.\\lb Alle DVDs "
                                        "werden daher ausgelassen!"));
    QList<TLabelMedium> labels;
    QList<int> positions, itemOf;
    for (const TLabelListEntry &e : plan.entries) {
        const TLabelCollectionItem &item = m_items[e.item];
        if (!LocateMedium(m_ctx.sets, item.Medium, item.Nr, true))
            continue;
        labels << ReadLabelMedium(*media, &media->session(), m_ctx.filmTablePath, ActiveLabelFormat.MaxFAnz);
        positions << e.position;
        itemOf << e.item;
    }
    if (!hereKind.isEmpty())
        LocateMedium(m_ctx.sets, hereKind, hereNr, true);
    if (labels.isEmpty())
        return;
    TProgDirArtProvider art = ProgramLabelArt();
    const TLabelPrintResult r = PrintLabels(ProgramPrinter(), labels, start, art, positions);
    if (!r.ok)
        return;
    TMediumNrPairCollection printed;
    for (int k : r.drawn)
        printed.AddPair(m_items[itemOf[k]].Medium, m_items[itemOf[k]].Nr);
    if (!printed.isEmpty() && !TestPrintedFlag(*media, {&printed, {}}, true))
        AutoSetPrintedFlag(*media, {&printed, {}}, PrintedAllQuestion);
}

TDDrckSelect *EnsurePrintSelection(const TLabelSelectContext &ctx, QWidget *owner)
{
    if (!DDrckSelect) {
        DDrckSelect = new TDDrckSelect(ctx, owner);
        DDrckSelect->setWindowFlag(Qt::Window);
    } else {
        DDrckSelect->SetContext(ctx);
    }
    return DDrckSelect;
}

TDDrckSelect *ShowPrintSelection(const TLabelSelectContext &ctx, QWidget *owner)
{
    TDDrckSelect *w = EnsurePrintSelection(ctx, owner);
    if (!w->isVisible() && owner && !w->property("placed").toBool()) {
        // Right of the main window; at the screen's left edge when it does not fit.
        const QRect main = owner->window()->frameGeometry();
        const QScreen *screen = owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
        const QRect avail = screen ? screen->availableGeometry() : QRect(0, 0, 1920, 1080);
        int x = main.right() + 1;
        if (x + w->width() > avail.right())
            x = avail.left();
        w->move(x, main.top());
        w->setProperty("placed", true);
    }
    w->show();
    w->raise();
    w->UpdateButtons();
    return w;
}

void AddRowsToLabelCollection(engine::DataSet &result, const QList<int> &rows, const TLabelSelectContext &ctx,
                              QWidget *owner)
{
    if (rows.isEmpty()) {
        ShowMetalMessage(QStringLiteral("Hinweis"),
                         QStringLiteral("\\BEs sind keine Zeile(n) markiert!\\b\\lb\\lbDieser Befehl fügt die "
                                        "\\Umarkierte(n)\\u Zeile(n) in die Sammelliste ein!"));
        return;
    }
    TDDrckSelect *w = EnsurePrintSelection(ctx, owner);
    if (!w->Items().isEmpty()) {
        const TModalResult r = kit::messageBox(QStringLiteral("Soll die Sammelliste zunächst geleert werden?"),
                                               QStringLiteral("Nachfrage"), kit::MsgButtons::YesNoCancel,
                                               kit::BoxIcon::Question);
        if (r == mrCancel)
            return;
        if (r == mrYes)
            w->ClearList();
    }
    ShowPrintSelection(ctx, owner);
    bool tooMany = false;
    for (int row : rows) {
        result.setRecNo(row + 1);
        if (!w->AddToLabelCollection(result) && result.findField(QStringLiteral("Medium")))
            tooMany = true;
    }
    if (tooMany)
        ShowMetalMessage(QStringLiteral("Hinweis"),
                         QStringLiteral("\\BEs stehen nun mehr Etiketten in der Sammel-Liste, als \\b(bei der aktuell "
                                        "eingestellten Etiketten-Art)\\B auf eine Seite gedruckt werden können!\\b\\lb"
                                        "Löschen Sie einige Elemente der Sammel-Liste oder wählen Sie vor dem Druck "
                                        "eine passende Etiketten-Art aus."));
}

TLabelSelectContext MainformLabelContext()
{
    TLabelSelectContext ctx;
    if (!Mainform)
        return ctx;
    ctx.sets = Mainform->DataSets();
    ctx.filmTablePath = Mainform->Table2 ? Mainform->Table2->tableName() : QString();
    ctx.showMainWindow = [] {
        if (Mainform) {
            Mainform->show();
            Mainform->raise();
            Mainform->activateWindow();
        }
    };
    return ctx;
}

void ShowAllMediaLabelList(QWidget *owner)
{
    if (!Mainform || !Mainform->Table1->active())
        return;
    ShowLabelList(Mainform->DataSource1, Mainform->Table2->tableName(), true,
                  QStringLiteral("Etikettenliste - \\bAlle Medien"), owner);
}

void ShowQueryLabelList(TQueryForm &form)
{
    ShowLabelList(form.DataSource2, MainformLabelContext().filmTablePath, false,
                  QStringLiteral("Abfrageergebnisse \\b(Etikettenliste)"), form.parentWidget());
}

void HookQueryLabelCommands(TQueryForm &form)
{
    QObject::connect(form.MenAddToCollection, &QAction::triggered, &form, [&form] {
        if (form.Query1->active())
            AddRowsToLabelCollection(*form.Query1, form.DBGrid1->selectedRows(), MainformLabelContext(),
                                     form.parentWidget());
    });
    QObject::connect(form.MenLabelList, &QAction::triggered, &form, [&form] {
        if (form.Query1->active())
            ShowQueryLabelList(form);
    });
}
