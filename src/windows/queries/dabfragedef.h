// "SQL-Abfrage definieren": the statement editor of the free query. The
// statement is typed with the help of operator buttons and the list of the
// database's fields, opened from and saved to ".SQL" files in the per-user
// "SQL" folder. OK runs it as a query, the DML button executes it. The
// editor is made once and kept with its text (query by example frees it
// after handing a statement over, so its next use starts afresh).
#pragma once

#include "kit/oberformmetal.h"

#include <QStringList>

class QListWidget;
class QPlainTextEdit;
class QPushButton;
class TOzoNewButton;

class TDAbfrageDef : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDAbfrageDef(QWidget *parent = nullptr);
    ~TDAbfrageDef() override;

    QPlainTextEdit *Memo1;
    QListWidget *ListBox1;
    // Button1..Button20 (there is no Button8); index n holds Button<n>.
    QPushButton *Buttons[21] = {};
    TOzoNewButton *BitBtn1, *BitBtn2, *BitBtn3, *BitBtn4, *BitBtn5, *BitBtn6, *BitBtn7, *BitBtn8;
    QString LastFolder; // where the open and save dialogs start (empty: the "SQL" folder)

    QStringList Lines() const;
    void SetLines(const QStringList &lines);

    // Asks the query source and presets the text and the field list; a
    // cancelled source dialog changes nothing.
    void NewQueryText();
    void ListBox1DblClick();
    void OpenClick();
    void SaveClick();

private:
    void addButton(int n, const QString &caption, const QString &hint, bool newLine, int x, int y, int w = 44);
};

extern TDAbfrageDef *DAbfrageDef;

// The editor, made when there is none; a new one is preset through the
// query source dialog unless preset is false (a statement is handed in).
TDAbfrageDef *EnsureAbfrageDef(QWidget *owner = nullptr, bool preset = true);
// Frees the editor, so that its next use starts afresh.
void FreeAbfrageDef();
// The per-user folder of stored queries.
QString StoredQueryFolder();
