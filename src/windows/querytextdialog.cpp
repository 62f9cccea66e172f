#include "windows/querytextdialog.h"

#include "kit/presenter.h"

#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

TQueryTextDialog::TQueryTextDialog(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("QueryTextDialog"));
    setWindowTitle(QStringLiteral("SQL-Abfrage definieren"));
    BorderStyle = bsDialog;
    auto *hint = new QLabel(
        QStringLiteral("Erstellen Sie einen Abfragetext (SQL: Structured Query Language). Die Tabellen heißen "
                       "FILM, MED (oder KASS) und PERS."),
        this);
    hint->setObjectName(QStringLiteral("LabelHint"));
    hint->setWordWrap(true);
    hint->setGeometry(8, 8, 544, 36);
    MemoSQL = new QPlainTextEdit(this);
    MemoSQL->setObjectName(QStringLiteral("MemoSQL"));
    MemoSQL->setLineWrapMode(QPlainTextEdit::NoWrap);
    MemoSQL->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    MemoSQL->setGeometry(8, 48, 544, 240);
    MemoSQL->setPlainText(LastText());
    ButtOK = new QPushButton(QStringLiteral("OK (Abfrage ausführen)"), this);
    ButtOK->setObjectName(QStringLiteral("ButtOK"));
    ButtOK->setGeometry(8, 298, 180, 28);
    ButtOK->setDefault(false);
    ButtDML = new QPushButton(QStringLiteral("SQL-(DML-)Befehl ausführen!"), this);
    ButtDML->setObjectName(QStringLiteral("ButtDML"));
    ButtDML->setGeometry(196, 298, 200, 28);
    ButtCancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    ButtCancel->setObjectName(QStringLiteral("ButtCancel"));
    ButtCancel->setProperty("tarvoCancel", true);
    ButtCancel->setGeometry(452, 298, 100, 28);
    connect(ButtOK, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(ButtDML, &QPushButton::clicked, this, [this] { done(mrYes); });
    connect(ButtCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
}

QString &TQueryTextDialog::LastText()
{
    static QString text = QStringLiteral("SELECT * FROM");
    return text;
}

TQueryTextDialog::Result ExecQueryTextDialog(QWidget *owner)
{
    TQueryTextDialog *d = CreateForm<TQueryTextDialog>(owner ? owner->window() : nullptr);
    const TModalResult r = kit::execDialog(*d);
    TQueryTextDialog::Result out;
    TQueryTextDialog::LastText() = d->MemoSQL->toPlainText();
    out.lines = TQueryTextDialog::LastText().split(QLatin1Char('\n'));
    out.action = r == mrOk ? TQueryTextDialog::Run : r == mrYes ? TQueryTextDialog::Execute : TQueryTextDialog::Cancel;
    delete d;
    return out;
}
