#include "windows/queries/dabfragedef.h"

#include "app/apppaths.h"
#include "data/database.h"
#include "engine/table.h"
#include "kit/help.h"
#include "kit/msgboxmetal.h"
#include "kit/presenter.h"
#include "kit/textfit.h"
#include "query/storedquery.h"
#include "windows/dialogs/dialogparts.h"
#include "windows/queries/dquerykind.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

TDAbfrageDef *DAbfrageDef = nullptr;

namespace {
constexpr int hcAbfrageDef = 60;

QStringList fieldsOf(engine::Table *t)
{
    return t && t->active() ? t->fieldNames() : QStringList();
}
} // namespace

QString StoredQueryFolder()
{
    return ExpandProfilePath(QStringLiteral("SQL"));
}

TDAbfrageDef::TDAbfrageDef(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DAbfrageDef"));
    BorderStyle = bsSizeable;
    resize(680, 440);
    auto *hint = MakeDialogLabel(
        this, QStringLiteral("Label1"),
        QStringLiteral("Erstellen Sie einen Abfragetext (SQL: Structured Query Language). Lesen Sie bitte die Hilfe "
                       "zu diesem Dialog. Einfachere Abfragen können Sie auch tabellarisch erstellen, benutzen Sie "
                       "dazu Menüpunkt \"Suche | Abfrage definieren (tabellarisch)\""),
        QRect(8, 6, 624, 48));
    hint->setWordWrap(true);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    Memo1->setGeometry(8, 58, 450, 270);
    Memo1->setPlainText(QStringLiteral("SELECT * FROM"));
    auto *fieldLabel = MakeDialogLabel(this, QStringLiteral("Label2"), QStringLiteral("Datenbank-&Felder"),
                                       QRect(466, 58, 166, 18));
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setToolTip(QStringLiteral("Zum Einfügen doppelklicken"));
    ListBox1->setGeometry(466, 78, 166, 250);
    fieldLabel->setBuddy(ListBox1);
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, [this] { ListBox1DblClick(); });

    // Operator buttons in two rows under the text.
    int x = 8;
    const int y1 = 334, y2 = 362;
    addButton(1, QStringLiteral("AND"), QStringLiteral("Und"), true, x, y1);
    addButton(2, QStringLiteral("OR"), QStringLiteral("Oder (\"und/oder\")"), true, x += 46, y1);
    addButton(9, QStringLiteral("NOT"), QStringLiteral("Nicht"), true, x += 46, y1);
    addButton(14, QStringLiteral("ORDER BY"), QStringLiteral("ORDER BY"), true, x += 46, y1, 72);
    addButton(15, QStringLiteral("GROUP BY"), QStringLiteral("GROUP BY"), true, x += 74, y1, 72);
    addButton(16, QStringLiteral("IS NULL"), QStringLiteral("IS NULL"), false, x += 74, y1, 72);
    addButton(17, QStringLiteral("IS NOT NULL"), QStringLiteral("IS NOT NULL"), false, x += 74, y1, 90);
    addButton(18, QStringLiteral("LIKE"), QStringLiteral("LIKE"), false, x += 92, y1);
    addButton(19, QStringLiteral("UPPER ("), QStringLiteral("UPPER ("), false, x += 46, y1, 60);
    x = 8;
    addButton(3, QStringLiteral("<"), QStringLiteral("Kleiner"), false, x, y2, 32);
    addButton(4, QStringLiteral("<="), QStringLiteral("Kleiner oder gleich"), false, x += 34, y2, 32);
    addButton(5, QStringLiteral("="), QStringLiteral("Gleich"), false, x += 34, y2, 32);
    addButton(6, QStringLiteral(">="), QStringLiteral("Größer oder gleich"), false, x += 34, y2, 32);
    addButton(7, QStringLiteral(">"), QStringLiteral("Größer"), false, x += 34, y2, 32);
    addButton(13, QStringLiteral("<>"), QStringLiteral("Ungleich (kleiner oder größer)"), false, x += 34, y2, 32);
    addButton(10, QStringLiteral("("), QStringLiteral("("), false, x += 34, y2, 32);
    addButton(11, QStringLiteral(")"), QStringLiteral(")"), false, x += 34, y2, 32);
    addButton(20, QStringLiteral(","), QStringLiteral(","), false, x += 34, y2, 32);
    Buttons[12] = new QPushButton(QStringLiteral("\""), this);
    Buttons[12]->setObjectName(QStringLiteral("Button12"));
    Buttons[12]->setGeometry(x += 34, y2, 32, 24);
    connect(Buttons[12], &QPushButton::clicked, this,
            [this] { SetLines(query::AppendToLastLine(Lines(), QStringLiteral("\""))); });

    const int y3 = 400;
    BitBtn1 = MakeDialogButton(this, "BitBtn1", ibkOK, QRect(8, y3, 100, 28), QStringLiteral("OK"));
    BitBtn1->setToolTip(QStringLiteral("OK (Abfrage ausführen)"));
    BitBtn8 = MakeDialogButton(this, "BitBtn8", ibkOther, QRect(114, y3, 60, 28), QStringLiteral("DML!"));
    BitBtn8->setToolTip(QStringLiteral("SQL-(DML-)Befehl ausführen!"));
    BitBtn3 = MakeDialogButton(this, "BitBtn3", ibkOther, QRect(190, y3, 60, 28), QStringLiteral("↵"));
    BitBtn3->setToolTip(QStringLiteral("Neue Zeile"));
    BitBtn7 = MakeDialogButton(this, "BitBtn7", ibkOther, QRect(256, y3, 60, 28), QStringLiteral("Reset"));
    BitBtn7->setToolTip(QStringLiteral("Reset"));
    BitBtn5 = MakeDialogButton(this, "BitBtn5", ibkOther, QRect(322, y3, 60, 28), QStringLiteral("Öffnen"));
    BitBtn5->setToolTip(QStringLiteral("Gespeicherte Abfrage öffnen"));
    BitBtn6 = MakeDialogButton(this, "BitBtn6", ibkOther, QRect(388, y3, 70, 28), QStringLiteral("Speichern"));
    BitBtn6->setToolTip(QStringLiteral("Diesen Abfragetext speichern"));
    BitBtn4 = MakeDialogButton(this, "BitBtn4", ibkHelp, QRect(456, y3, 100, 28), QStringLiteral("Hilfe"));
    BitBtn2 = MakeDialogButton(this, "BitBtn2", ibkCancel, QRect(564, y3, 108, 28), QStringLiteral("Abbrechen"));
    BitBtn2->setToolTip(QStringLiteral("Abbrechen"));
    connect(BitBtn1, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(BitBtn8, &QPushButton::clicked, this, [this] { done(mrYes); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { done(mrCancel); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { SetLines(query::AppendLine(Lines(), QStringLiteral(" "))); });
    connect(BitBtn7, &QPushButton::clicked, this, [this] {
        ShowInactiveCaption();
        NewQueryText();
        ShowActiveCaption();
    });
    connect(BitBtn5, &QPushButton::clicked, this, [this] { OpenClick(); });
    connect(BitBtn6, &QPushButton::clicked, this, [this] { SaveClick(); });
    connect(BitBtn4, &QPushButton::clicked, this, [] { kit::showHelp(hcAbfrageDef); });
    Create();
    SetCaption(QStringLiteral("SQL-Abfrage definieren"));
}

void TDAbfrageDef::addButton(int n, const QString &caption, const QString &hint, bool newLine, int x, int y, int w)
{
    auto *b = new QPushButton(caption, this);
    b->setObjectName(QStringLiteral("Button%1").arg(n));
    b->setToolTip(hint);
    b->setGeometry(x, y, w, 24);
    Buttons[n] = b;
    connect(b, &QPushButton::clicked, this, [this, caption, newLine] {
        SetLines(newLine ? query::AppendLine(Lines(), caption + u' ')
                         : query::AppendToLastLine(Lines(), u' ' + caption + u' '));
    });
}

QStringList TDAbfrageDef::Lines() const
{
    return query::EditorLines(Memo1->toPlainText());
}

void TDAbfrageDef::SetLines(const QStringList &lines)
{
    Memo1->setPlainText(query::EditorText(lines));
    Memo1->moveCursor(QTextCursor::End);
}

void TDAbfrageDef::NewQueryText()
{
    const int source = AskQueryKind(this);
    if (source == query::qsNone)
        return;
    SetLines(query::NewQueryLines(source));
    ListBox1->clear();
    ListBox1->addItems(query::QueryFieldList(source, fieldsOf(DBTables.Table1), fieldsOf(DBTables.Table2),
                                             fieldsOf(DBTables.PersTable)));
    kit::ShowWholeRows(ListBox1);
}

void TDAbfrageDef::ListBox1DblClick()
{
    if (QListWidgetItem *item = ListBox1->currentItem())
        SetLines(query::AppendToLastLine(Lines(), u' ' + item->text()));
}

void TDAbfrageDef::OpenClick()
{
    kit::FileRequest req;
    req.caption = QStringLiteral("Gespeicherte Abfrage öffnen");
    req.folder = LastFolder.isEmpty() ? StoredQueryFolder() : LastFolder;
    req.filter = QStringLiteral("Local SQL Abfragetext (*.SQL *.sql)");
    req.parent = this;
    const QString name = kit::chooseFile(req);
    if (name.isEmpty())
        return;
    LastFolder = QFileInfo(name).absolutePath();
    QString error;
    const auto lines = query::ReadStoredQuery(name, &error);
    if (!lines) {
        ShowMetalMessage(QStringLiteral("Fehler"),
                         QStringLiteral("Die Abfragedatei \"%1\" konnte nicht gelesen werden:\\lb%2").arg(name, error));
        return;
    }
    SetLines(*lines);
}

void TDAbfrageDef::SaveClick()
{
    kit::FileRequest req;
    req.mode = kit::FileMode::Save;
    req.caption = QStringLiteral("Diesen Abfragetext speichern");
    req.folder = LastFolder.isEmpty() ? StoredQueryFolder() : LastFolder;
    req.filter = QStringLiteral("SQL-Abfragetext (*.SQL *.sql)");
    req.defaultSuffix = QStringLiteral("SQL");
    req.parent = this;
    const QString name = kit::chooseFile(req);
    if (name.isEmpty())
        return;
    LastFolder = QFileInfo(name).absolutePath();
    QString error;
    if (!query::WriteStoredQuery(name, Lines(), &error))
        ShowMetalMessage(QStringLiteral("Fehler"),
                         QStringLiteral("Die Abfragedatei \"%1\" konnte nicht geschrieben werden:\\lb%2")
                             .arg(name, error));
}

TDAbfrageDef::~TDAbfrageDef()
{
    if (DAbfrageDef == this)
        DAbfrageDef = nullptr;
}

TDAbfrageDef *EnsureAbfrageDef(QWidget *owner, bool preset)
{
    if (!DAbfrageDef) {
        DAbfrageDef = CreateForm<TDAbfrageDef>(owner ? owner->window() : nullptr);
        if (preset)
            DAbfrageDef->NewQueryText();
    }
    return DAbfrageDef;
}

void FreeAbfrageDef()
{
    delete DAbfrageDef;
    DAbfrageDef = nullptr;
}
