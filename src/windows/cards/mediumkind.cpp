#include "windows/cards/mediumkind.h"

#include "data/database.h"
#include "data/locate.h"
#include "data/mediumcard.h"
#include "data/mediumrecords.h"
#include "data/tapearithmetic.h"
#include "engine/engineerror.h"
#include "engine/query.h"
#include "engine/table.h"
#include "kit/enterexitbutton.h"
#include "kit/help.h"
#include "kit/msgboxmetal.h"
#include "kit/ozocheck.h"
#include "kit/presenter.h"
#include "kit/textfit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QMouseEvent>
#include <QPainterPath>
#include <QRegion>
#include <QScreen>
#include <QSpinBox>

#include <climits>
#include <memory>

namespace {

const char *const kNewKindText =
    "Sie können direkt in der Medien-Karteikarte im Feld \\B\"Medium\"\\b einen beliebigen "
    "Medientyp mit bis zu 6 Zeichen eintippen, zum Beispiel \\IBeta\\i oder \\IVideo8\\i.\\lb"
    "Sobald ein Medium dieses Typs gespeichert ist, wird der neue Typ von da an hier unter den "
    "\\BSonstigen Medientypen\\b aufgeführt.";

QString mediaTableName()
{
    return DBTables.Table1 ? DBTables.Table1->tableName() : QString();
}

// The first column of a query's rows; an engine failure gives what was read.
// Values go in as the named parameters, never into the text.
QStringList firstColumn(const QStringList &sql, const QVariantMap &params = {})
{
    QStringList out;
    try {
        engine::Query q;
        q.setSql(sql);
        for (auto it = params.begin(); it != params.end(); ++it)
            q.paramByName(it.key()).setValue(it.value());
        q.open();
        for (q.first(); !q.eof(); q.next())
            out << q.field(0)->asString();
        q.close();
    } catch (const engine::EngineError &) {
    }
    return out;
}

} // namespace

// ---- TDMedienDropDown ---------------------------------------------------------

TDMedienDropDown::TDMedienDropDown(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("DMedienDropDown"));
    setWindowFlags(Qt::Popup | Qt::FramelessWindowHint);
    setModal(true);
    setFixedSize(260, 330);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(236, 238, 244));
    setPalette(pal);

    auto heading = [this](const char *name, const QString &text, int y) {
        auto *l = new QLabel(text, this);
        l->setObjectName(QLatin1String(name));
        l->setGeometry(10, y, 240, 18);
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        return l;
    };
    Label1 = heading("Label1", QStringLiteral("Standard-Medientypen"), 8);
    auto radio = [this](const char *name, const QString &caption, int y) {
        auto *r = new TOzoCheck(this);
        r->setObjectName(QLatin1String(name));
        r->SetCaption(caption);
        r->SetIsRadioButton(true);
        r->SetRadioGroup(1);
        r->SetImageType(igCirce);
        r->setGeometry(14, y, 236, 20);
        r->OnClick = [this](QObject *) { radioClicked(); };
        r->installEventFilter(this);
        return r;
    };
    RadSB = radio("RadSB", QStringLiteral("VHS-&SB (selbstbespielte VHS-Kassette)"), 28);
    RadKK = radio("RadKK", QStringLiteral("VHS-&KK (VHS-Kaufkassette)"), 50);
    RadDVD = radio("RadDVD", QStringLiteral("D&VD      (Video-DVD)"), 72);
    Label2 = heading("Label2", QStringLiteral("Sonstige Medientypen"), 100);
    Listbox1 = new QListWidget(this);
    Listbox1->setObjectName(QStringLiteral("Listbox1"));
    Listbox1->setGeometry(14, 120, 232, 136);
    // Picking a list entry (by mouse or keyboard) clears the three radio boxes.
    connect(Listbox1, &QListWidget::itemSelectionChanged, this, [this] {
        if (Listbox1->selectedItems().isEmpty())
            return;
        for (TOzoCheck *r : {RadSB, RadKK, RadDVD})
            r->SetChecked(false);
    });
    connect(Listbox1, &QListWidget::itemDoubleClicked, this, [this] { done(mrOk); });
    LabelNewKind = new QLabel(QStringLiteral("<u>Gesuchter Typ nicht dabei? Neuen Typ anlegen</u>"), this);
    LabelNewKind->setObjectName(QStringLiteral("LabelNewKind"));
    LabelNewKind->setGeometry(14, 262, 236, 18);
    LabelNewKind->setStyleSheet(QStringLiteral("color: #0000c0"));
    LabelNewKind->setCursor(Qt::PointingHandCursor);
    LabelNewKind->installEventFilter(this);
    BitBtnOK = new TOzoNewButton(this);
    BitBtnOK->setObjectName(QStringLiteral("BitBtnOK"));
    BitBtnOK->SetKind(ibkOK);
    BitBtnOK->setGeometry(30, 292, 96, 25);
    BitBtnOK->setDefault(true);
    BitBtnCancel = new TOzoNewButton(this);
    BitBtnCancel->setObjectName(QStringLiteral("BitBtnCancel"));
    BitBtnCancel->SetKind(ibkCancel);
    BitBtnCancel->setGeometry(134, 292, 96, 25);
    connect(BitBtnOK, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(BitBtnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
    FillList();
    FitToTexts();
}

void TDMedienDropDown::FitToTexts()
{
    // As wide as the longest text needs in the font in use, never narrower
    // than the layout's 260; the list shows whole rows only.
    int need = 260;
    for (TOzoCheck *r : {RadSB, RadKK, RadDVD})
        need = std::max(need, r->x() + r->CaptionRect().right() + 1 + 10);
    need = std::max(need, LabelNewKind->x() + LabelNewKind->sizeHint().width() + 10);
    for (int i = 0; i < Listbox1->count(); ++i)
        need = std::max(need, Listbox1->x() + Listbox1->fontMetrics().horizontalAdvance(Listbox1->item(i)->text())
                                  + 2 * Listbox1->frameWidth() + Listbox1->verticalScrollBar()->sizeHint().width() + 16);
    setFixedSize(need, height());
    for (QWidget *w : std::initializer_list<QWidget *>{Label1, Label2})
        w->resize(need - 2 * w->x(), w->height());
    for (QWidget *w : std::initializer_list<QWidget *>{RadSB, RadKK, RadDVD, LabelNewKind})
        w->resize(need - w->x() - 10, w->height());
    Listbox1->resize(need - 2 * Listbox1->x(), Listbox1->height());
    kit::ShowWholeRows(Listbox1);
    BitBtnOK->move(need / 2 - 4 - BitBtnOK->width(), BitBtnOK->y());
    BitBtnCancel->move(need / 2 + 4, BitBtnCancel->y());
}

void TDMedienDropDown::resizeEvent(QResizeEvent *e)
{
    QDialog::resizeEvent(e);
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), 5.5, 5.5);
    setMask(QRegion(path.toFillPolygon().toPolygon()));
}

void TDMedienDropDown::FillList()
{
    Listbox1->clear();
    if (!mediaTableName().isEmpty())
        Listbox1->addItems(firstColumn(StoredKindsQueryLines(mediaTableName())));
    Listbox1->addItems(StandardMediumKinds());
}

void TDMedienDropDown::Preselect(const QString &kind)
{
    const QString k = CutKind(kind);
    TOzoCheck *radio = k == QLatin1String("VHS-SB") ? RadSB
        : k == QLatin1String("VHS-KK")             ? RadKK
        : k == QLatin1String("DVD")                ? RadDVD
                                                   : nullptr;
    if (radio) {
        radio->SetChecked(true);
        Listbox1->setCurrentRow(-1);
        Listbox1->clearSelection();
        return;
    }
    const auto hits = Listbox1->findItems(k, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (!hits.isEmpty())
        Listbox1->setCurrentItem(hits.first());
    else
        Listbox1->clearSelection();
}

QString TDMedienDropDown::ChosenKind(const QString &current) const
{
    if (RadSB->Checked())
        return QStringLiteral("VHS-SB");
    if (RadKK->Checked())
        return QStringLiteral("VHS-KK");
    if (RadDVD->Checked())
        return QStringLiteral("DVD");
    const QList<QListWidgetItem *> sel = Listbox1->selectedItems();
    if (!sel.isEmpty())
        return CutKind(sel.first()->text());
    return CutKind(current);
}

void TDMedienDropDown::radioClicked()
{
    Listbox1->clearSelection();
    Listbox1->setCurrentRow(-1);
}

void TDMedienDropDown::LabelNewKindClick()
{
    ShowMetalMessage(QStringLiteral("Neuen Medientyp anlegen"), QString::fromUtf8(kNewKindText));
}

bool TDMedienDropDown::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick
        && (watched == RadSB || watched == RadKK || watched == RadDVD)) {
        static_cast<TOzoCheck *>(watched)->SetChecked(true);
        radioClicked();
        done(mrOk);
        return true;
    }
    if (watched == LabelNewKind && event->type() == QEvent::MouseButtonRelease) {
        LabelNewKindClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

QPoint MediumDropDownPosition(int x, int y, int height, int screenHeight)
{
    int top = y;
    if (y + height > screenHeight)
        top = y - 20 - height;
    if (top < 0)
        top = 0;
    return {x, top};
}

QString ChooseMediumKind(int x, int y, const QString &currentKind)
{
    const QString current = CutKind(currentKind);
    auto dlg = std::make_unique<TDMedienDropDown>();
    dlg->Preselect(current);
    const QScreen *screen = QGuiApplication::primaryScreen();
    const int screenHeight = screen ? screen->geometry().height() : 768;
    dlg->move(MediumDropDownPosition(x, y, dlg->height(), screenHeight));
    if (kit::execDialog(*dlg) != mrOk)
        return current;
    return dlg->ChosenKind(current);
}

// ---- TDLocateKass ---------------------------------------------------------------

TDLocateKass::TDLocateKass(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DLocateKass"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    Tag = 89;
    resize(330, 168);
    Label1 = new QLabel(QStringLiteral("Welches Medium wollen Sie lokalisieren?"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(12, 10, 306, 18);
    QFont f = Label1->font();
    f.setBold(true);
    Label1->setFont(f);
    LabelMed = new QLabel(QStringLiteral("&Medium:"), this);
    LabelMed->setObjectName(QStringLiteral("LabelMed"));
    LabelMed->setGeometry(12, 42, 80, 20);
    EditMed = new QLineEdit(this);
    EditMed->setObjectName(QStringLiteral("EditMed"));
    EditMed->setGeometry(96, 40, 90, 23);
    EditMed->setMaxLength(6);
    LabelMed->setBuddy(EditMed);
    ButtMedPPP = new TOzoNewButton(this);
    ButtMedPPP->setObjectName(QStringLiteral("ButtMedPPP"));
    ButtMedPPP->SetKind(ibkPPP);
    ButtMedPPP->setGeometry(190, 40, 23, 23);
    LabelNr = new QLabel(QStringLiteral("Medien-&Nr:"), this);
    LabelNr->setObjectName(QStringLiteral("LabelNr"));
    LabelNr->setGeometry(12, 74, 80, 20);
    SpinEdit1 = new QSpinBox(this);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setGeometry(96, 72, 90, 23);
    SpinEdit1->setRange(0, INT_MAX - 1);
    SpinEdit1->setValue(1);
    SpinEdit1->installEventFilter(this);
    LabelNr->setBuddy(SpinEdit1);
    ButtLetzte = new TOzoNewButton(this);
    ButtLetzte->setObjectName(QStringLiteral("ButtLetzte"));
    ButtLetzte->SetKind(ibkOther);
    ButtLetzte->setText(QStringLiteral("Letzte!"));
    ButtLetzte->setGeometry(194, 72, 70, 23);
    BitBtnOK = new TOzoNewButton(this);
    BitBtnOK->setObjectName(QStringLiteral("BitBtnOK"));
    BitBtnOK->SetKind(ibkOK);
    BitBtnOK->setGeometry(108, 112, 100, 25);
    BitBtnOK->setDefault(true);
    BitBtnCancel = new TOzoNewButton(this);
    BitBtnCancel->setObjectName(QStringLiteral("BitBtnCancel"));
    BitBtnCancel->SetKind(ibkCancel);
    BitBtnCancel->setGeometry(216, 112, 100, 25);
    connect(ButtMedPPP, &QPushButton::clicked, this, [this] { ButtMedPPPClick(); });
    connect(ButtLetzte, &QPushButton::clicked, this, [this] { ButtLetzteClick(); });
    connect(BitBtnOK, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(BitBtnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
    Create();
    SetCaption(QStringLiteral("Medium lokalisieren"));
}

void TDLocateKass::SetAcrossAll(bool acrossAll, const QString &currentKind)
{
    m_acrossAll = acrossAll;
    EditMed->setText(acrossAll ? QStringLiteral("Alle") : CutKind(currentKind));
    EditMed->setEnabled(!acrossAll);
    ButtMedPPP->setEnabled(!acrossAll);
}

void TDLocateKass::ButtMedPPPClick()
{
    const QPoint below = ButtMedPPP->mapToGlobal(QPoint(0, ButtMedPPP->height()));
    EditMed->setText(ChooseMediumKind(below.x(), below.y(), EditMed->text()));
}

void TDLocateKass::ButtLetzteClick()
{
    const QString table = mediaTableName();
    if (table.isEmpty())
        return;
    QVariantMap params;
    if (!m_acrossAll)
        params.insert(QStringLiteral("Kind"), EditMed->text());
    const QStringList v = firstColumn(LastMediumNrQueryLines(table, !m_acrossAll), params);
    if (!v.isEmpty() && !v.first().isEmpty())
        SpinEdit1->setValue(v.first().toInt());
}

bool TDLocateKass::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == SpinEdit1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            done(mrOk);
            return true;
        }
    }
    return tOzoFormMetal::eventFilter(watched, event);
}

void ShowLocateMediumDialog(QWidget *owner, const MainDataSets &sets, NumberingMode mode)
{
    if (!sets.Table1)
        return;
    auto dlg = std::unique_ptr<TDLocateKass>(CreateForm<TDLocateKass>(owner));
    const bool acrossAll = mode == NumberingMode::AcrossAll;
    QString kind;
    if (sets.Table1->active() && !sets.Table1->isEmpty())
        kind = sets.Table1->fieldByName(QStringLiteral("Medium"))->asString();
    dlg->SetAcrossAll(acrossAll, kind);
    const TModalResult r = ExecMetalModal(*dlg);
    if (r != mrOk)
        return;
    const int nr = dlg->SpinEdit1->value();
    const bool found = acrossAll ? LocateMediumByNr(sets, nr)
                                 : LocateMedium(sets, dlg->EditMed->text(), nr, true);
    if (!found)
        ShowMetalMessage(QStringLiteral("Fehler"), QStringLiteral("Medium nicht gefunden!"));
}
