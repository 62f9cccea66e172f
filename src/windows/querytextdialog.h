// The statement editor of the free query: the text typed in local SQL with
// the table words FILM, MED, KASS and PERS; OK runs it as a query, the
// second button executes it as a DML statement. It keeps its last text.
#pragma once

#include "kit/oberformmetal.h"

#include <QStringList>

class QPlainTextEdit;
class QPushButton;

class TQueryTextDialog : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TQueryTextDialog(QWidget *parent = nullptr);

    enum Action { Cancel, Run, Execute };
    struct Result {
        Action action = Cancel;
        QStringList lines;
    };

    QPlainTextEdit *MemoSQL;
    QPushButton *ButtOK, *ButtDML, *ButtCancel;

    static QString &LastText();
};

// Shows the editor modally; its text is kept for the next time.
TQueryTextDialog::Result ExecQueryTextDialog(QWidget *owner);
