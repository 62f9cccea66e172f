#include "windows/labels/detikind.h"
#include "windows/labels/labellist.h"

#include "app/settings.h"
#include "engine/session.h"
#include "engine/table.h"
#include "kit/enterexitbutton.h"
#include "kit/msgboxmetal.h"
#include "kit/ozocheck.h"
#include "kit/presenter.h"
#include "windows/labels/dzfhint.h"
#include "windows/dialogs/dialogparts.h"
#include "windows/labels/sheetpreviewbox.h"

#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QSpinBox>

TDEtiKind::TDEtiKind(bool forPrinting, int labelsToPrint, QWidget *parent)
    : tOzoFormMetal(parent), m_forPrinting(forPrinting), m_labelsToPrint(std::max(1, labelsToPrint)),
      m_format(ActiveLabelFormat)
{
    setObjectName(QStringLiteral("DEtiKind"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    resize(560, 372);
    RadTop = MakeDialogCheck(this, "RadTop", QStringLiteral("Etikett für VHS-Hüllen-&Oberkante"), QRect(12, 12, 300, 20), 1);
    RadBig = MakeDialogCheck(this, "RadBig", QStringLiteral("VHS-\"&Fensteretikett\""), QRect(12, 36, 300, 20), 1);
    RadRueck = MakeDialogCheck(this, "RadRueck", QStringLiteral("VHS-&Rückenetikett"), QRect(12, 60, 300, 20), 1);
    RadEigen = MakeDialogCheck(this, "RadEigen", QStringLiteral("&Eigenes Etikettenformat:"), QRect(12, 84, 300, 20), 1);
    DBGrid1 = new QListWidget(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setGeometry(32, 108, 280, 132);
    ChkZF = MakeDialogCheck(this, "ChkZF", QStringLiteral("Auf &Selbstklebeetiketten drucken"), QRect(12, 250, 300, 20), 0);
    LabelStart = new QLabel(QStringLiteral("&Start bei Etikett Nr.:"), this);
    LabelStart->setObjectName(QStringLiteral("LabelStart"));
    LabelStart->setGeometry(12, 282, 150, 20);
    SpinStart = new QSpinBox(this);
    SpinStart->setObjectName(QStringLiteral("SpinStart"));
    SpinStart->setGeometry(166, 280, 64, 23);
    LabelStart->setBuddy(SpinStart);
    BtnPrinter = MakeDialogButton(this, "BtnPrinter", ibkOther, QRect(240, 279, 100, 25), QStringLiteral("Drucker..."));
    PaintBox1 = new TSheetPreviewBox(this);
    PaintBox1->setObjectName(QStringLiteral("PaintBox1"));
    PaintBox1->setGeometry(330, 12, 218, 250);
    BitBtnOK = MakeDialogButton(this, "BitBtnOK", ibkOK, QRect(340, 330, 100, 25), QString());
    BitBtnOK->setDefault(true);
    BitBtnCancel = MakeDialogButton(this, "BitBtnCancel", ibkCancel, QRect(448, 330, 100, 25), QString());

    SpinStart->setEnabled(forPrinting);
    LabelStart->setEnabled(forPrinting);
    BtnPrinter->setEnabled(forPrinting);

    OpenUserTable();
    ChkZF->SetChecked(ZFOn);
    TOzoCheck *radios[] = {RadTop, RadBig, RadRueck, RadEigen};
    const quint8 kind = (LabelKind == lkUser && !m_table) ? quint8(lkSpine) : LabelKind;
    radios[std::clamp<int>(kind, 1, 4) - 1]->SetChecked(true);
    if (kind == lkUser) {
        const auto hits = DBGrid1->findItems(ActiveLabelFormat.Name, Qt::MatchExactly);
        DBGrid1->setCurrentItem(hits.isEmpty() ? DBGrid1->item(0) : hits.first());
    } else if (DBGrid1->count()) {
        DBGrid1->setCurrentRow(0);
    }
    for (TOzoCheck *r : radios)
        r->OnStateChange = [this](QObject *) { KindChanged(); };
    ChkZF->OnClick = [this](QObject *) {
        if (ChkZF->Checked() && ZFShowHint)
            ExecZFHint();
        KindChanged();
    };
    connect(DBGrid1, &QListWidget::currentRowChanged, this, [this] {
        if (RadEigen->Checked())
            UserRowChanged();
    });
    connect(SpinStart, &QSpinBox::valueChanged, this, [this] { UpdateStartAndPreview(); });
    connect(BtnPrinter, &QPushButton::clicked, this, [this] {
        QPrinter printer;
        QPageSetupDialog dlg(&printer, this);
        kit::execDialog(dlg);
    });
    connect(BitBtnOK, &QPushButton::clicked, this, [this] {
        if (Apply())
            done(mrOk);
    });
    connect(BitBtnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
    Create();
    SetCaption(forPrinting ? QStringLiteral("Etiketten-Art und Startposition für Druck")
                           : QStringLiteral("Etiketten-Art auswählen"));
    KindChanged();
}

TDEtiKind::~TDEtiKind() = default;

void TDEtiKind::OpenUserTable()
{
    m_session = std::make_unique<engine::Session>();
    m_table = OpenUserLabelsTableOrSay(*m_session, true);
    if (m_table)
        for (m_table->first(); !m_table->eof(); m_table->next())
            DBGrid1->addItem(m_table->fieldByName(QStringLiteral("Name"))->asString());
    RadEigen->setEnabled(m_table != nullptr);
    DBGrid1->setEnabled(m_table != nullptr);
}

quint8 TDEtiKind::ChosenKind() const
{
    if (RadTop->Checked())
        return lkCaseTop;
    if (RadBig->Checked())
        return lkWindow;
    if (RadEigen->Checked() && m_table)
        return lkUser;
    return lkSpine;
}

void TDEtiKind::KindChanged()
{
    const quint8 kind = ChosenKind();
    // The case top goes on sheets only when it is set to use the spine stickers.
    ChkZF->setEnabled(kind != lkCaseTop || PrintHZF);
    if (kind == lkUser)
        UserRowChanged();
    else
        ApplyBuiltInLabelKind(m_format, kind, ChkZF->Checked() && ChkZF->isEnabled(), ZFSheetLayout);
    UpdateStartAndPreview();
}

void TDEtiKind::UserRowChanged()
{
    const QListWidgetItem *item = DBGrid1->currentItem();
    if (!m_table || !item)
        return;
    if (m_table->locate(QStringLiteral("Name"), item->text())) {
        if (!ReadLabelDataFromDB(*m_table, m_format))
            ShowMetalMessage(ReadLabelDataFailedCaption, ReadLabelDataFailedText);
        if (m_format.ZFValid)
            ChkZF->SetChecked(m_format.ZF);
    }
    UpdateStartAndPreview();
}

void TDEtiKind::UpdateStartAndPreview()
{
    const int largest = std::max(1, LargestStartLabel(m_format, m_labelsToPrint));
    SpinStart->blockSignals(true);
    SpinStart->setRange(m_forPrinting ? 1 : 0, m_forPrinting ? largest : 0);
    SpinStart->blockSignals(false);
    const QColor pen = ChkZF->Checked() ? QColor(192, 192, 192) : QColor(Qt::black);
    PaintBox1->SetSheet(m_format, m_forPrinting ? SpinStart->value() : 0, m_labelsToPrint, pen);
}

bool TDEtiKind::Apply()
{
    const quint8 kind = ChosenKind();
    const QString problem = CheckLabelFormat(m_format);
    if (!problem.isEmpty()) {
        ShowMetalMessage(QStringLiteral("Fehler"),
                         QStringLiteral("Dieses Etikettenformat kann nicht verwendet werden: ") + problem);
        return false;
    }
    LabelKind = kind;
    ActiveLabelFormat = m_format;
    ZFOn = ChkZF->Checked();
    SaveSettings();
    if (kind == lkUser && m_table) {
        const QString path = m_table->tableName();
        m_table->close();
        const QString failed = StoreUserLabelZF(path, m_format.Name, ZFOn);
        if (failed.isEmpty()) {
            ActiveLabelFormat.ZF = ZFOn;
            ActiveLabelFormat.ZFValid = true;
        } else {
            ShowMetalMessage(QStringLiteral("Fehler"), failed);
        }
    }
    return true;
}

std::unique_ptr<engine::Table> OpenUserLabelsTableOrSay(engine::Session &session, bool readOnly)
{
    std::unique_ptr<engine::Table> t = OpenUserLabelsTable(session, readOnly);
    if (!t)
        ShowMetalMessage(QStringLiteral("Fehler"), UserLabelsOpenFailedText);
    return t;
}

bool ExecLabelKindDialog(bool forPrinting, int labelsToPrint, int &startLabel)
{
    auto dlg = std::unique_ptr<TDEtiKind>(CreateForm<TDEtiKind>(forPrinting, labelsToPrint));
    DeactivateMetalForm();
    const TModalResult r = kit::execDialog(*dlg);
    ReactivateMetalForm();
    if (r != mrOk)
        return false;
    startLabel = forPrinting ? dlg->SpinStart->value() : 0;
    ArrangeLabelList();
    return true;
}
