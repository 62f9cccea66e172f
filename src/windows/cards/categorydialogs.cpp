#include "windows/cards/categorydialogs.h"

#include "data/printedflag.h"
#include "windows/dialogs/askwithremember.h"

#include "app/appmessage.h"
#include "app/apppaths.h"
#include "app/settings.h"
#include "data/database.h"
#include "engine/engineerror.h"
#include "engine/sqldialect.h"
#include "engine/table.h"
#include "kit/inpboxmetal.h"
#include "kit/presenter.h"
#include "platform/tcolor.h"
#include "windows/dialogs/dialogparts.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFileInfo>
#include <QFontDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>
#include <QTableWidget>

namespace {

// The symbol scaled into a cell, centred; a missing file is a cross.
QPixmap symbolPicture(const QString &stored, const QSize &cell)
{
    QPixmap out(cell);
    out.fill(Qt::transparent);
    if (stored.isEmpty())
        return out;
    QPainter p(&out);
    const QImage img(CategorySymbolFile(stored));
    if (img.isNull()) {
        p.setPen(QPen(Qt::red, 2));
        p.drawLine(4, 4, cell.width() - 4, cell.height() - 4);
        p.drawLine(cell.width() - 4, 4, 4, cell.height() - 4);
        return out;
    }
    const QImage s = img.scaled(cell - QSize(2, 2), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    p.drawImage((cell.width() - s.width()) / 2, (cell.height() - s.height()) / 2, s);
    return out;
}

QFont categoryFont(const TCategoryFont &f)
{
    QFont font(f.face);
    font.setPointSize(10);
    font.setBold(f.style & 1);
    font.setItalic(f.style & 2);
    font.setUnderline(f.style & 4);
    font.setStrikeOut(f.style & 8);
    return font;
}

// The film data set the codes are changed in: the film card's, else the
// main window's cursor.
engine::Table *filmTable()
{
    if (DBTables.FilmTable && DBTables.FilmTable->active())
        return DBTables.FilmTable;
    return DBTables.Table2;
}

void refreshOpen(engine::Table *t)
{
    if (t && t->active() && t->state() == engine::DataSetState::Browse)
        t->refresh();
}

const QString kRecodeWarning = QStringLiteral(
    "Ein Umgruppieren der Kategorie-Zuordnung macht eine entsprechende Änderung aller Film-Datensätze der "
    "betroffenen Kategorien notwendig. Das kann zum ersten ein wenig dauern, und zum zweiten sei hiermit "
    "empfohlen, für alle Fälle vorher eine Datensicherung durchzuführen! \rUmgruppierung nun vornehmen?");

} // namespace

// ---- TDKateg ------------------------------------------------------------------------

TDKateg::TDKateg(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DKateg"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    RadioGroup1 = new QGroupBox(QStringLiteral("Kategorie"), this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    FGroup = new QButtonGroup(this);
    BitBtnEdit = MakeDialogButton(this, "BitBtnEdit", ibkOther, QRect(12, 0, 180, 25),
                                  QStringLiteral("Kategorien bearbeiten..."));
    BitBtnOK = MakeDialogButton(this, "BitBtnOK", ibkOK, QRect(200, 0, 100, 25));
    BitBtnOK->setDefault(true);
    connect(BitBtnOK, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(BitBtnEdit, &QPushButton::clicked, this, [this] {
        const QChar code = Code();
        ExecCategoryEditor(this);
        RefreshCategoryPicker();
        SetCode(code);
    });
    Create();
    SetCaption(QStringLiteral("Kategorien"));
    RefreshCategoryPicker();
}

void TDKateg::RefreshCategoryPicker()
{
    for (QAbstractButton *b : FGroup->buttons()) {
        FGroup->removeButton(b);
        delete b;
    }
    const QList<int> named = NamedCategories();
    int y = 18;
    for (int n : named) {
        auto *r = new QRadioButton(CategoryTable[size_t(n - 1)].name, RadioGroup1);
        r->setObjectName(QStringLiteral("Kat%1").arg(n));
        r->setProperty("Code", QString(KategIndexToChar(n)));
        r->setGeometry(8, y, 280, 15);
        r->show();
        FGroup->addButton(r, n);
        y += 15;
    }
    RadioGroup1->setGeometry(12, 8, 288, y + 8);
    BitBtnEdit->move(12, y + 24);
    BitBtnOK->move(200, y + 24);
    resize(312, y + 62);
}

QChar TDKateg::Code() const
{
    const int id = FGroup->checkedId();
    return id > 0 ? KategIndexToChar(id) : QChar();
}

void TDKateg::SetCode(QChar code)
{
    if (code.isNull())
        return;
    if (QAbstractButton *b = FGroup->button(KategCharToIndex(code)))
        b->setChecked(true);
}

bool ExecCategoryPicker(QChar &code, QWidget *owner)
{
    auto dlg = std::unique_ptr<TDKateg>(CreateForm<TDKateg>(owner));
    dlg->SetCode(code);
    DeactivateMetalForm();
    const TModalResult r = kit::execDialog(*dlg);
    ReactivateMetalForm();
    if (r != mrOk || dlg->Code().isNull())
        return false;
    code = dlg->Code();
    return true;
}

// ---- TDKatSymb -----------------------------------------------------------------------

TDKatSymb::TDKatSymb(engine::Table *films, engine::Table *media, QWidget *parent)
    : tOzoFormMetal(parent), FFilms(films), FMedia(media),
      FReorder(CategoryTable, films, [] {
          return kit::messageBox(kRecodeWarning, QStringLiteral("Warnung"), kit::MsgButtons::YesNo,
                                 kit::BoxIcon::Warning)
                 == mrYes;
      })
{
    setObjectName(QStringLiteral("DKatSymb"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    Tag = 44;
    resize(664, 470);
    StringGrid1 = new QTableWidget(CategoryCount, 4, this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setGeometry(12, 12, 430, 446);
    StringGrid1->setHorizontalHeaderLabels({QString(), QString(), QStringLiteral("Kategorie"),
                                            QStringLiteral("Symboldatei")});
    StringGrid1->verticalHeader()->hide();
    StringGrid1->setColumnWidth(0, 24);
    StringGrid1->setColumnWidth(1, 40);
    StringGrid1->setColumnWidth(2, 190);
    StringGrid1->setColumnWidth(3, 160);
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int r = 0; r < CategoryCount; ++r)
        StringGrid1->setRowHeight(r, 28);
    int y = 12;
    auto button = [&](const char *name, const QString &caption, int h = 25) {
        TOzoNewButton *b = MakeDialogButton(this, name, ibkOther, QRect(454, y, 198, h), caption);
        y += h + 8;
        return b;
    };
    BtnRename = button("BtnRename", QStringLiteral("  &Kateg. (um)benennen  "));
    BtnSymbol = button("BtnSymbol", QStringLiteral("   S&ymboldatei wählen   "));
    BtnFont = button("BtnFont", QStringLiteral("&Sonderschriftart wählen"));
    BtnNoFont = button("BtnNoFont", QStringLiteral("  &Keine Sonderschriftart  "));
    y += 12;
    BtnUp = button("BtnUp", QStringLiteral("▲"));
    BtnUp->setToolTip(QStringLiteral("Markierte Kateg. nach oben verschieben"));
    BtnDown = button("BtnDown", QStringLiteral("▼"));
    BtnDown->setToolTip(QStringLiteral("Markierte Kateg. nach unten verschieben"));
    // A disabled arrow is drawn in a grey darker than the face, so that it
    // reads as a greyed arrow and not as a blank button (without pictures the
    // colour is the face's own and stays).
    if (TOzoNewButton::UseBitmaps())
        for (TOzoNewButton *arrow : {BtnUp, BtnDown})
            arrow->SetColor(QColor(150, 150, 150));
    BtnSort = button("BtnSort", QStringLiteral("Kat. alphabetisch sortieren!"));
    BtnFertig = MakeDialogButton(this, "BtnFertig", ibkOK, QRect(454, 433, 198, 25), QStringLiteral("&Fertig"));
    connect(BtnRename, &QPushButton::clicked, this, &TDKatSymb::BtnRenameClick);
    connect(BtnSymbol, &QPushButton::clicked, this, &TDKatSymb::BtnSymbolClick);
    connect(BtnFont, &QPushButton::clicked, this, &TDKatSymb::BtnFontClick);
    connect(BtnNoFont, &QPushButton::clicked, this, &TDKatSymb::BtnNoFontClick);
    connect(BtnUp, &QPushButton::clicked, this, &TDKatSymb::BtnUpClick);
    connect(BtnDown, &QPushButton::clicked, this, &TDKatSymb::BtnDownClick);
    connect(BtnSort, &QPushButton::clicked, this, &TDKatSymb::BtnSortClick);
    connect(BtnFertig, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(StringGrid1, &QTableWidget::currentCellChanged, this, [this] { UpdateButtons(); });
    Create();
    SetCaption(QStringLiteral("Kategorien festlegen"));
    RedrawGrid();
    StringGrid1->setCurrentCell(0, 2);
    UpdateButtons();
}

int TDKatSymb::Row() const
{
    const int r = StringGrid1->currentRow();
    return r < 0 ? 1 : r + 1;
}

void TDKatSymb::RedrawGrid()
{
    const QSize cell(StringGrid1->columnWidth(1), 28);
    for (int r = 0; r < CategoryCount; ++r) {
        const TCategory &c = CategoryTable[size_t(r)];
        auto *code = new QTableWidgetItem(QString(KategIndexToChar(r + 1)));
        code->setTextAlignment(Qt::AlignCenter);
        StringGrid1->setItem(r, 0, code);
        auto *sym = new QTableWidgetItem;
        sym->setData(Qt::DecorationRole, symbolPicture(c.symbol, cell));
        StringGrid1->setItem(r, 1, sym);
        auto *name = new QTableWidgetItem(c.name);
        QFont f = StringGrid1->font();
        f.setPointSize(10);
        if (c.font) {
            f = categoryFont(*c.font);
            name->setForeground(platform::toQColor(c.font->color));
        }
        name->setFont(f);
        StringGrid1->setItem(r, 2, name);
        StringGrid1->setItem(r, 3, new QTableWidgetItem(c.symbol));
    }
    StringGrid1->setIconSize(cell);
}

void TDKatSymb::UpdateButtons()
{
    const int r = Row();
    BtnUp->setEnabled(FReorder.canMoveUp(r));
    BtnDown->setEnabled(FReorder.canMoveDown(r));
    BtnSort->setEnabled(FReorder.hasSpare());
}

void TDKatSymb::BtnRenameClick()
{
    TCategory &c = CategoryTable[size_t(Row() - 1)];
    QString name = c.name;
    if (!MetalInputBox(QStringLiteral("Kategoriename"), QStringLiteral("Name für die ausgewählte Kategorie:"), name))
        return;
    c.name = name;
    RedrawGrid();
}

void TDKatSymb::BtnSymbolClick()
{
    const int n = Row();
    TCategory &c = CategoryTable[size_t(n - 1)];
    QString symbol = c.symbol;
    if (!ExecSymbolOpen(symbol, false) || symbol == c.symbol)
        return;
    c.symbol = symbol;
    RedrawGrid();
    if (!PrintKategSymb || !FFilms || !FMedia || !FFilms->active() || !FMedia->active())
        return;
    try {
        const TMediumNrPairCollection pairs = GetCategoryMediaPairs(*FFilms, n);
        if (!TestPrintedFlag(*FMedia, {&pairs, {}}, false))
            return;
        if (AskWithRemember(QStringLiteral("Etiketten aktualisieren?"),
                            QStringLiteral("Sie haben ein Kategorie-Symbol geändert, was Auswirkungen auf manche "
                                           "Etiketten hat.\\lbSoll für alle Kassetten, die Filme dieser Kategorie "
                                           "enthalten, das \"Etikett gedruckt\"-Feld zurückgesetzt werden?"),
                            false, false)
            != mrAskYes)
            return;
        SetPrintedFlag(*FMedia, {&pairs, {}}, false);
        refreshOpen(FMedia);
    } catch (const engine::EngineError &e) {
        AppMessage(e.message(), QStringLiteral("Datenbank-Fehler"), platform::MessageIcon::Error);
    }
}

void TDKatSymb::BtnFontClick()
{
    TCategory &c = CategoryTable[size_t(Row() - 1)];
    QFontDialog dlg(c.font ? categoryFont(*c.font) : QFont(), this);
    dlg.setObjectName(QStringLiteral("FontDialog1"));
    if (kit::execDialog(dlg) != mrOk)
        return;
    const QFont f = dlg.selectedFont();
    TCategoryFont font = c.font.value_or(TCategoryFont{});
    font.face = f.family();
    font.style = quint8((f.bold() ? 1 : 0) | (f.italic() ? 2 : 0) | (f.underline() ? 4 : 0) | (f.strikeOut() ? 8 : 0));
    c.font = font;
    RedrawGrid();
}

void TDKatSymb::BtnNoFontClick()
{
    CategoryTable[size_t(Row() - 1)].font.reset();
    RedrawGrid();
}

namespace {

void afterRecoding(engine::Table *films)
{
    refreshOpen(films);
    if (films != DBTables.Table2)
        refreshOpen(DBTables.Table2);
}

} // namespace

void TDKatSymb::MoveRow(bool up)
{
    try {
        const int r = Row();
        if (const int t = up ? FReorder.moveUp(r) : FReorder.moveDown(r)) {
            afterRecoding(FFilms);
            RedrawGrid();
            StringGrid1->setCurrentCell(t - 1, 2);
        }
    } catch (const engine::EngineError &e) {
        AppMessage(e.message(), QStringLiteral("Datenbank-Fehler"), platform::MessageIcon::Error);
    }
    UpdateButtons();
}

void TDKatSymb::BtnUpClick()
{
    MoveRow(true);
}

void TDKatSymb::BtnDownClick()
{
    MoveRow(false);
}

void TDKatSymb::BtnSortClick()
{
    try {
        if (FReorder.sort())
            afterRecoding(FFilms);
    } catch (const engine::EngineError &e) {
        AppMessage(e.message(), QStringLiteral("Datenbank-Fehler"), platform::MessageIcon::Error);
    }
    RedrawGrid();
    UpdateButtons();
}

void ExecCategoryEditor(QWidget *owner)
{
    if (DBBase.isEmpty())
        return;
    {
        auto dlg = std::make_unique<TDKatSymb>(filmTable(), DBTables.Table1, owner);
        DeactivateMetalForm();
        kit::execDialog(*dlg);
        ReactivateMetalForm();
    }
    QString error;
    if (!SaveCategories(CategoryFilePath(DBBase), CategoryTable, &error))
        AppMessage(error, QStringLiteral("Fehler"), platform::MessageIcon::Error);
}

// ---- TDSymbolOpen ----------------------------------------------------------------------

TDSymbolOpen::TDSymbolOpen(bool footer, QWidget *parent) : tOzoFormMetal(parent), FFooter(footer)
{
    setObjectName(QStringLiteral("DSymbolOpen"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    resize(330, 220);
    Image1 = MakeDialogLabel(this, QStringLiteral("Image1"), QString(), QRect(12, 12, 180, 150));
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setFrameShape(QFrame::Box);
    BtnOpen = MakeDialogButton(this, "BtnOpen", ibkOther, QRect(204, 12, 114, 25), QStringLiteral("&Öffnen..."));
    BtnNone = MakeDialogButton(this, "BtnNone", ibkOther, QRect(204, 45, 114, 25), QStringLiteral("&Kein Symbol"));
    BitBtnOK = MakeDialogButton(this, "BitBtnOK", ibkOK, QRect(110, 180, 100, 25));
    BitBtnOK->setDefault(true);
    BitBtnCancel = MakeDialogButton(this, "BitBtnCancel", ibkCancel, QRect(218, 180, 100, 25));
    connect(BtnOpen, &QPushButton::clicked, this, &TDSymbolOpen::BtnOpenClick);
    connect(BtnNone, &QPushButton::clicked, this, &TDSymbolOpen::BtnNoneClick);
    connect(BitBtnOK, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(BitBtnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
    Create();
    SetCaption(QStringLiteral("Symboldatei"));
}

void TDSymbolOpen::SetSymbol(const QString &stored)
{
    FSymbol = stored;
    Image1->setPixmap(QPixmap());
    if (stored.isEmpty()) {
        Image1->setText(QStringLiteral("Kein Symbol gewählt..."));
        return;
    }
    const QString file = CategorySymbolFile(stored);
    const QImage img(file);
    if (!QFileInfo::exists(file) || img.isNull()) {
        Image1->setText(QStringLiteral("Datei nicht gefunden!"));
        return;
    }
    Image1->setText(QString());
    Image1->setPixmap(QPixmap::fromImage(img.scaled(Image1->size() - QSize(4, 4), Qt::KeepAspectRatio)));
}

void TDSymbolOpen::BtnOpenClick()
{
    kit::FileRequest req;
    req.mode = kit::FileMode::Open;
    req.caption = QStringLiteral("Symboldatei");
    // A folder of the settings ("Symbole" at first) lies in the program folder.
    req.folder = ExpandProgramPath(FFooter ? SymbDirF : SymbDirK);
    if (!FSymbol.isEmpty() && QFileInfo::exists(CategorySymbolFile(FSymbol)))
        req.fileName = CategorySymbolFile(FSymbol);
    req.filter = QStringLiteral("Bilder (*.bmp *.png *.jpg *.jpeg *.gif);;Bitmaps (*.bmp);;JPEG-Bilder (*.jpg *.jpeg);;"
                                "Alle Dateien (*)");
    req.parent = this;
    const QString file = kit::chooseFile(req);
    if (file.isEmpty())
        return;
    const QString folder = QFileInfo(file).absolutePath() + QLatin1Char('/');
    if (FFooter)
        SymbDirF = folder;
    else
        SymbDirK = folder;
    SaveSettings();
    SetSymbol(StoredSymbolName(file));
}

void TDSymbolOpen::BtnNoneClick()
{
    SetSymbol(QString());
}

bool ExecSymbolOpen(QString &symbol, bool footer)
{
    auto dlg = std::unique_ptr<TDSymbolOpen>(CreateForm<TDSymbolOpen>(footer));
    dlg->SetSymbol(symbol);
    if (kit::execDialog(*dlg) != mrOk)
        return false;
    symbol = dlg->Symbol();
    return true;
}

// ---- TDFindKat ----------------------------------------------------------------------------

TDFindKat::TDFindKat(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DFindKat"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    resize(400, 150);
    Label1 = MakeDialogLabel(this, QStringLiteral("Label1"),
                             QStringLiteral("Diese Funktion sucht alle Filme einer bestimmten Kategorie."),
                             QRect(12, 10, 376, 20));
    Label2 = MakeDialogLabel(this, QStringLiteral("Label2"), QStringLiteral("Zu suchende &Kategorie:"),
                             QRect(12, 40, 376, 18));
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setGeometry(12, 60, 376, 23);
    Label2->setBuddy(ComboBox1);
    for (int n : NamedCategories())
        ComboBox1->addItem(CategoryTable[size_t(n - 1)].name);
    ComboBox1->setCurrentIndex(-1);
    BitBtnOK = MakeDialogButton(this, "BitBtnOK", ibkOK, QRect(180, 108, 100, 25));
    BitBtnOK->setDefault(true);
    BitBtnCancel = MakeDialogButton(this, "BitBtnCancel", ibkCancel, QRect(288, 108, 100, 25));
    connect(BitBtnOK, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(BitBtnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
    Create();
    SetCaption(QStringLiteral("Kategorie-Suche"));
}

int ExecFindCategory(QWidget *owner)
{
    auto dlg = std::unique_ptr<TDFindKat>(CreateForm<TDFindKat>(owner));
    DeactivateMetalForm();
    const TModalResult r = kit::execDialog(*dlg);
    ReactivateMetalForm();
    if (r != mrOk)
        return 0;
    return FindCategoryByName(dlg->ComboBox1->currentText().trimmed());
}

QStringList CategorySearchSql(const QString &filmTablePath, int n)
{
    // The code is one of our own 62 characters: nothing to quote.
    return {QStringLiteral("SELECT * FROM ") + SQLTableRef(filmTablePath),
            QStringLiteral("WHERE Kateg = \"") + KategIndexToChar(n) + QLatin1Char('"')};
}
