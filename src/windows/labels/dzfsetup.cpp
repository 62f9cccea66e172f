#include "windows/labels/dzfsetup.h"

#include "app/labelsettings.h"
#include "dbui/datasource.h"
#include "dbui/dbedit.h"
#include "dbui/dbnavigator.h"
#include "engine/engineerror.h"
#include "engine/field.h"
#include "engine/session.h"
#include "engine/table.h"
#include "kit/enterexitbutton.h"
#include "kit/msgboxmetal.h"
#include "kit/ozodbcheck.h"
#include "kit/presenter.h"
#include "kit/pzlabel.h"
#include "print/labelformat.h"
#include "print/labellayout.h"
#include "print/calibrationpage.h"
#include "print/labelscale.h"
#include "windows/labels/detikind.h"
#include "windows/labels/dzfsetupframes.h"
#include "windows/dialogs/dialogparts.h"
#include "windows/labels/sheetpreviewbox.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QSpinBox>
#include "kit/pagecontroles.h"

namespace {

QSpinBox *spin(QWidget *page, const char *name, const QString &caption, int y, int lo, int hi, int step)
{
    auto *l = new QLabel(caption, page);
    l->setObjectName(QStringLiteral("Label") + QLatin1String(name));
    l->setGeometry(12, y + 3, 300, 18);
    auto *s = new QSpinBox(page);
    s->setObjectName(QLatin1String(name));
    s->setRange(lo, hi);
    s->setSingleStep(step);
    s->setGeometry(316, y, 80, 23);
    l->setBuddy(s);
    return s;
}

dbui::DbEdit *fieldEdit(QWidget *page, dbui::DataSource *src, const char *field, const QString &caption, int x,
                        int y, int w)
{
    auto *l = new QLabel(caption, page);
    l->setObjectName(QStringLiteral("Label") + QLatin1String(field));
    l->setGeometry(x, y, w, 16);
    auto *e = new dbui::DbEdit(page);
    e->setObjectName(QStringLiteral("DBEdit") + QLatin1String(field));
    e->setDataSource(src);
    e->setDataField(QLatin1String(field));
    e->setGeometry(x, y + 17, w, 23);
    l->setBuddy(e);
    return e;
}

QSpinBox *spin(QWidget *page, const char *name, const QString &caption, int y, TValueRange range, int step)
{
    return spin(page, name, caption, y, range.Min, range.Max, step);
}

} // namespace

TDZFSetup::TDZFSetup(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DZFSetup"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    resize(600, 420);
    PageControl1 = new TPageControles(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(8, 8, 584, 366);

    auto *info = new QWidget;
    info->setObjectName(QStringLiteral("TabInfo"));
    PZLabelInfo = new TPZLabel(info);
    PZLabelInfo->setObjectName(QStringLiteral("PZLabelInfo"));
    PZLabelInfo->setGeometry(12, 12, 552, 300);
    PZLabelInfo->SetCaption(QStringLiteral(
        "Hier richten Sie den Druck auf \\BSelbstklebeetiketten\\b ein.\\lb\\lb"
        "1. Kalibrieren Sie Ihren Drucker: Drucken Sie die Testseite, messen Sie die Abstände der Linien "
        "zum Blattrand und tragen Sie sie auf der Seite \"Drucker-Kalibrierung\" ein.\\lb\\lb"
        "2. Stellen Sie die Maße Ihrer Etikettenbögen für Rücken- und Fensteretiketten ein (für die Bögen "
        "Zweckform 4746 und 4742 gibt es fertige Werte).\\lb\\lb"
        "3. Auf der letzten Seite legen Sie eigene Etikettenformate an.\\lb\\lb"
        "Alle Maße sind in zehntel Millimetern."));
    PageControl1->addTab(info, QStringLiteral("Information"));

    auto *calib = new QWidget;
    calib->setObjectName(QStringLiteral("TabKalibrierung"));
    BtnTestPrint = MakeDialogButton(calib, "BtnTestPrint", ibkOther,
                               QRect(12, 12, 200, 25), QStringLiteral("Testausdruck starten!"));
    BtnPrinter = MakeDialogButton(calib, "BtnPrinter", ibkOther, QRect(222, 12, 100, 25), QStringLiteral("Drucker..."));
    // Shown as the distance measured on the test page: 200 less the correction.
    const int measuredMin = 200 - SheetRange::K.Max, measuredMax = 200 - SheetRange::K.Min;
    SpinLeftKorr = spin(calib, "SpinLeftKorr", QStringLiteral("Abstand senkrechte Linie zum &linken Rand:"), 60,
                        measuredMin, measuredMax, 5);
    SpinTopKorr = spin(calib, "SpinTopKorr", QStringLiteral("Abstand waagerechte Linie zum &oberen Rand:"), 92,
                       measuredMin, measuredMax, 5);
    PageControl1->addTab(calib, QStringLiteral("Drucker-Kalibrierung"));

    auto *spine = new QWidget;
    spine->setObjectName(QStringLiteral("TabRuecken"));
    SpinRTop = spin(spine, "SpinRTop", QStringLiteral("Rand &oben (bis zum ersten Etikett):"), 12, SheetRange::RTop, 5);
    SpinRLeft = spin(spine, "SpinRLeft", QStringLiteral("Rand &links:"), 44, SheetRange::RLeft, 5);
    SpinRA = spin(spine, "SpinRA", QStringLiteral("&Abstand der Etiketten-Oberkanten:"), 76, SheetRange::RA, 5);
    SpinRAnz = spin(spine, "SpinRAnz", QStringLiteral("A&nzahl Etiketten:"), 108, SheetRange::RAnz, 1);
    BtnZ4746 = MakeDialogButton(spine, "BtnZ4746", ibkOther, QRect(12, 150, 160, 25), QStringLiteral("Zweckform 4746"));
    PageControl1->addTab(spine, QStringLiteral("VHS-Rückenetiketten"));

    auto *window = new QWidget;
    window->setObjectName(QStringLiteral("TabFenster"));
    SpinGTop = spin(window, "SpinGTop", QStringLiteral("Rand &oben (bis zum ersten Etikett):"), 12, SheetRange::GTop, 5);
    SpinGLeft = spin(window, "SpinGLeft", QStringLiteral("Rand &links:"), 44, SheetRange::GLeft, 5);
    SpinGAVert = spin(window, "SpinGAVert", QStringLiteral("Abstand der Oberkanten (&senkrecht):"), 76,
                      SheetRange::GAv, 5);
    SpinGAHoriz = spin(window, "SpinGAHoriz", QStringLiteral("Abstand der linken Kanten (&waagerecht):"), 108,
                       SheetRange::GAh, 5);
    SpinGAnz = spin(window, "SpinGAnz", QStringLiteral("A&nzahl Etiketten:"), 140, SheetRange::GAnz, 2);
    BtnZ4742 = MakeDialogButton(window, "BtnZ4742", ibkOther, QRect(12, 182, 160, 25), QStringLiteral("Zweckform 4742"));
    PageControl1->addTab(window, QStringLiteral("VHS-\"Fensteretiketten\""));

    auto *user = new QWidget;
    user->setObjectName(QStringLiteral("TabEigene"));
    DataSource1 = new dbui::DataSource(this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    DBNavigator1 = new dbui::DbNavigator(user);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setDataSource(DataSource1);
    DBNavigator1->setVisibleButtons({dbui::DbNavigator::First, dbui::DbNavigator::Prior, dbui::DbNavigator::Next,
                                     dbui::DbNavigator::Last, dbui::DbNavigator::Insert,
                                     dbui::DbNavigator::Delete});
    DBNavigator1->setGeometry(12, 8, 240, 25);
    DBEditName = fieldEdit(user, DataSource1, "Name", QStringLiteral("&Name:"), 12, 40, 260);
    DBEditRandL = fieldEdit(user, DataSource1, "RandL", QStringLiteral("Rand links:"), 12, 84, 130);
    DBEditRandO = fieldEdit(user, DataSource1, "RandO", QStringLiteral("Rand oben:"), 148, 84, 124);
    DBEditBreite = fieldEdit(user, DataSource1, "Breite", QStringLiteral("Breite:"), 12, 128, 130);
    DBEditHoehe = fieldEdit(user, DataSource1, "Hoehe", QStringLiteral("Höhe:"), 148, 128, 124);
    DBEditAx = fieldEdit(user, DataSource1, "Ax", QStringLiteral("Abstand waagerecht:"), 12, 172, 130);
    DBEditAy = fieldEdit(user, DataSource1, "Ay", QStringLiteral("Abstand senkrecht:"), 148, 172, 124);
    DBEditSpaltenAnz = fieldEdit(user, DataSource1, "SpaltenAnz", QStringLiteral("Spalten:"), 12, 216, 80);
    DBEditZeilenAnz = fieldEdit(user, DataSource1, "ZeilenAnz", QStringLiteral("Zeilen:"), 100, 216, 80);
    DBEditMaxFAnz = fieldEdit(user, DataSource1, "MaxFAnz", QStringLiteral("Filme:"), 188, 216, 84);
    ComboBoxTyp = new QComboBox(user);
    ComboBoxTyp->setObjectName(QStringLiteral("ComboBoxTyp"));
    ComboBoxTyp->addItems(PrintTypeNames(false));
    ComboBoxTyp->setGeometry(12, 262, 260, 23);
    DBChkQuer = new TOzoDBCheck(user);
    DBChkQuer->setObjectName(QStringLiteral("DBChkQuer"));
    DBChkQuer->SetCaption(QStringLiteral("Druck im &Querformat"));
    DBChkQuer->SetDataSource(DataSource1);
    DBChkQuer->SetDataField(QStringLiteral("Quer"));
    DBChkQuer->setGeometry(12, 292, 200, 20);
    DBChkZF = new TOzoDBCheck(user);
    DBChkZF->setObjectName(QStringLiteral("DBChkZF"));
    DBChkZF->SetCaption(QStringLiteral("Selbstklebeetiketten"));
    DBChkZF->SetDataSource(DataSource1);
    DBChkZF->setGeometry(12, 314, 200, 20);
    BtnFrames = MakeDialogButton(user, "BtnFrames", ibkOther,
                            QRect(280, 8, 284, 25), QStringLiteral("Etikett in Rahmen aufteilen..."));
    PaintBoxUser = new TSheetPreviewBox(user);
    PaintBoxUser->setObjectName(QStringLiteral("PaintBoxUser"));
    PaintBoxUser->setGeometry(280, 40, 284, 290);
    PageControl1->addTab(user, QStringLiteral("Eigene Etikettenformate"));

    BitBtnOK = MakeDialogButton(this, "BitBtnOK", ibkOK, QRect(384, 384, 100, 25), QString());
    BitBtnOK->setDefault(true);
    BitBtnCancel = MakeDialogButton(this, "BitBtnCancel", ibkCancel, QRect(492, 384, 100, 25), QString());

    LoadSheetValues();
    OpenUserTable();

    for (QSpinBox *s : {SpinLeftKorr, SpinTopKorr, SpinRTop, SpinRLeft, SpinRA, SpinRAnz, SpinGTop, SpinGLeft,
                        SpinGAVert, SpinGAHoriz, SpinGAnz})
        connect(s, &QSpinBox::valueChanged, this, [this] { MarkChanged(); });
    connect(BtnZ4746, &QPushButton::clicked, this, [this] {
        SpinRTop->setValue(184);
        SpinRLeft->setValue(313);
        SpinRA->setValue(200);
        SpinRAnz->setValue(13);
    });
    connect(BtnZ4742, &QPushButton::clicked, this, [this] {
        SpinGTop->setValue(87);
        SpinGLeft->setValue(250);
        SpinGAVert->setValue(466);
        SpinGAHoriz->setValue(813);
        SpinGAnz->setValue(12);
    });
    connect(BtnPrinter, &QPushButton::clicked, this, [this] {
        QPrinter printer;
        QPageSetupDialog dlg(&printer, this);
        kit::execDialog(dlg);
    });
    connect(BtnTestPrint, &QPushButton::clicked, this, [this] {
        QPrinter printer(QPrinter::HighResolution);
        QPrintDialog dlg(&printer, this);
        if (kit::execDialog(dlg) != mrOk)
            return;
        printer.setDocName(QStringLiteral("TarVO - Testausdruck"));
        printer.setFullPage(true);
        QPainter p;
        if (!p.begin(&printer)) {
            ShowMetalMessage(QStringLiteral("Fehler"), QStringLiteral("Der Testausdruck konnte nicht gestartet werden."));
            return;
        }
        TLabelLayout out;
        const QRect page = printer.pageLayout().fullRectPixels(printer.resolution());
        DrawCalibrationTestPage(out, page.size(), DpiLabelScale(printer.resolution(), printer.resolution()));
        PaintLabelLayout(p, out);
        p.end();
    });
    connect(ComboBoxTyp, &QComboBox::activated, this, [this](int index) {
        if (!m_table || !DataSource1->edit())
            return;
        m_table->fieldByName(QStringLiteral("Drucktyp"))->setValue(index);
    });
    connect(DataSource1, &dbui::DataSource::dataChange, this, [this] { UserRowShown(); });
    connect(DataSource1, &dbui::DataSource::stateChange, this, [this] { UserRowShown(); });
    connect(BtnFrames, &QPushButton::clicked, this, [this] {
        if (!m_table)
            return;
        if (!m_frames) {
            m_frames = new TDZFSetupFrames(DataSource1, this);
            m_frames->setAttribute(Qt::WA_DeleteOnClose);
            m_frames->Create();
            // Beside the set-up, or at the screen's left edge when there is no room.
            const QRect screen = this->screen() ? this->screen()->availableGeometry() : QRect(0, 0, 1024, 768);
            int x = frameGeometry().right() + 1;
            if (x + m_frames->width() > screen.right())
                x = screen.left();
            m_frames->move(x, frameGeometry().top());
        }
        m_frames->show();
        m_frames->raise();
    });
    connect(PageControl1, &TPageControles::currentChanged, this, [this](int index) {
        if (index != 4)
            CloseFrames();
    });
    connect(BitBtnOK, &QPushButton::clicked, this, [this] {
        if (Apply())
            done(mrOk);
    });
    connect(BitBtnCancel, &QPushButton::clicked, this, [this] {
        Discard();
        done(mrCancel);
    });
    Create();
    SetCaption(QStringLiteral("Einrichtung für Selbstklebeetiketten"));
    m_changed = false;
}

TDZFSetup::~TDZFSetup()
{
    CloseFrames();
    DataSource1->setDataSet(nullptr);
}

TDZFSetupFrames *TDZFSetup::FramesWindow() const
{
    return m_frames.data();
}

void TDZFSetup::LoadSheetValues()
{
    const TZFSheetLayout &z = ZFSheetLayout;
    SpinRTop->setValue(z.ZFRTop);
    SpinRLeft->setValue(z.ZFRLeft);
    SpinRA->setValue(z.ZFRA);
    SpinRAnz->setValue(z.ZFRAnz);
    SpinGTop->setValue(z.ZFGTop);
    SpinGLeft->setValue(z.ZFGLeft);
    SpinGAVert->setValue(z.ZFGAv);
    SpinGAHoriz->setValue(z.ZFGAh);
    SpinGAnz->setValue(z.ZFGAnz);
    SpinLeftKorr->setValue(200 - z.ZFKX);
    SpinTopKorr->setValue(200 - z.ZFKY);
}

void TDZFSetup::MarkChanged()
{
    m_changed = true;
}

void TDZFSetup::OpenUserTable()
{
    m_session = std::make_unique<engine::Session>();
    m_table = OpenUserLabelsTableOrSay(*m_session, false);
    if (m_table)
        m_beforePost = m_table->beforePost.subscribe([this](engine::DataSet &) { CheckRowBeforePost(); });
    const bool hasZF = m_table && m_table->findField(QStringLiteral("ZF")) != nullptr;
    if (m_table)
        DataSource1->setDataSet(m_table.get());
    DBChkZF->setVisible(hasZF);
    if (hasZF)
        DBChkZF->SetDataField(QStringLiteral("ZF"));
    PageControl1->widget(4)->setEnabled(m_table != nullptr);
    UserRowShown();
}

void TDZFSetup::CheckRowBeforePost()
{
    // The row as typed: a value beyond the sheet is refused, not held.
    TLabelFormat f;
    if (!ReadLabelRowAsStored(*m_table, f)) {
        ShowMetalMessage(ReadLabelDataFailedCaption, ReadLabelDataFailedText);
        throw engine::Abort();
    }
    const QString problem = CheckLabelFormat(f);
    if (!problem.isEmpty()) {
        ShowMetalMessage(QStringLiteral("Fehler"),
                         QStringLiteral("Das Etikettenformat \"%1\" kann so nicht gespeichert werden: %2")
                             .arg(f.Name, problem));
        throw engine::Abort();
    }
}

void TDZFSetup::UserRowShown()
{
    if (!m_table || !m_table->active() || m_table->isEmpty()) {
        PaintBoxUser->SetSheet(TLabelFormat(), 0, 1, Qt::black);
        return;
    }
    // A row being typed may hold anything; the picture shows what can be
    // shown, its values held to the sheet.
    TLabelFormat f;
    ReadLabelDataFromDB(*m_table, f);
    if (LabelsPerSheet(f) > 255)
        f.ZeilenAnz = 0;
    PaintBoxUser->SetSheet(f, 0, 1, Qt::black);
    const int type = m_table->fieldByName(QStringLiteral("Drucktyp"))->asInteger();
    ComboBoxTyp->setCurrentIndex(type >= 0 && type < ComboBoxTyp->count() ? type : -1);
    if (m_frames)
        m_frames->ShowTypes();
}

void TDZFSetup::CloseFrames()
{
    if (m_frames)
        m_frames->close();
}

TZFSheetLayout TDZFSetup::SheetValues() const
{
    TZFSheetLayout z = ZFSheetLayout;
    z.ZFRTop = SpinRTop->value();
    z.ZFRLeft = SpinRLeft->value();
    z.ZFRA = SpinRA->value();
    z.ZFRAnz = SpinRAnz->value();
    z.ZFGTop = SpinGTop->value();
    z.ZFGLeft = SpinGLeft->value();
    z.ZFGAv = SpinGAVert->value();
    z.ZFGAh = SpinGAHoriz->value();
    z.ZFGAnz = SpinGAnz->value();
    z.ZFKX = 200 - SpinLeftKorr->value();
    z.ZFKY = 200 - SpinTopKorr->value();
    return z;
}

bool TDZFSetup::SheetsFit()
{
    // Both sheets as the labels are laid out on them: every label on the page.
    const TZFSheetLayout z = SheetValues();
    const struct { quint8 kind; int page; const char *name; } sheets[] = {
        {lkSpine, 2, "VHS-Rückenetiketten"}, {lkWindow, 3, "VHS-\"Fensteretiketten\""}};
    for (const auto &sheet : sheets) {
        TLabelFormat f;
        ApplyBuiltInLabelKind(f, sheet.kind, true, z);
        const QString problem = CheckLabelFormat(f);
        if (problem.isEmpty())
            continue;
        PageControl1->setCurrentIndex(sheet.page);
        ShowMetalMessage(QStringLiteral("Fehler"), QStringLiteral("%1: %2").arg(QString::fromUtf8(sheet.name), problem));
        return false;
    }
    return true;
}

bool TDZFSetup::Apply()
{
    if (!SheetsFit())
        return false;
    if (m_table && DataSource1->isEditing()) {
        try {
            m_table->post();
        } catch (const engine::Abort &) {
            return false; // refused with a message: the user mends the row first
        } catch (const std::exception &e) {
            ShowMetalMessage(QStringLiteral("Datenbank-Fehler"), QString::fromUtf8(e.what()));
            return false;
        }
    }
    CloseFrames();
    TZFSheetLayout &z = ZFSheetLayout;
    z = SheetValues();
    if (m_changed)
        z.Changed = true;
    if (z.Changed)
        SaveSelfAdhesiveSetup();
    return true;
}

void TDZFSetup::Discard()
{
    CloseFrames();
    if (m_table && DataSource1->isEditing())
        m_table->cancel();
}

bool ExecSelfAdhesiveSetup(QWidget *owner)
{
    auto dlg = std::unique_ptr<TDZFSetup>(CreateForm<TDZFSetup>(owner));
    DeactivateMetalForm();
    const TModalResult r = kit::execDialog(*dlg);
    ReactivateMetalForm();
    return r == mrOk;
}

void ExecLabelSetupDialog(QWidget *owner)
{
    ExecSelfAdhesiveSetup(owner);
}
