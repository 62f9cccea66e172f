// The rows of a record window's free fields, laid out once for the film card
// and the person card: the caption label, the value drop-down bound to
// "Free<n>", the file-name edit bound to the same field (where the window has
// file links in place of drop-downs) and the small button beside it.
#pragma once

#include <QRect>
#include <QString>

#include <vector>

class QLabel;
class QWidget;
class TPZSpeedButton;
namespace dbui {
class DataSource;
class DbComboBox;
class DbEdit;
}

struct TFreeFieldRow
{
    int nr = 0;
    QLabel *caption = nullptr;
    dbui::DbComboBox *combo = nullptr; // "DBEF<n>"
    dbui::DbEdit *link = nullptr;      // "DBEFL<n>"; null without file-name edits
    TPZSpeedButton *button = nullptr;  // "ButtF<n>"
};

struct TFreeFieldRowLayout
{
    int count = 0;
    int rowsPerColumn = 0;  // the rows of one column; the next column follows to the right
    int columnWidth = 0;
    int rowHeight = 0;
    QRect caption, combo, button; // within a row, from its top left corner
    QString captionName;          // objectName of the caption labels, followed by n
    bool linkEdits = false;       // a file-name edit over the drop-down's place
};

// The rows 1..count on the panel, bound to source.
std::vector<TFreeFieldRow> AddFreeFieldRows(QWidget *panel, dbui::DataSource *source, const TFreeFieldRowLayout &layout);

// A file-link field shows its file-name edit and button in place of the
// drop-down, any other field the drop-down alone; the caption label's key
// leads to the control shown.
void ShowFreeFieldRow(const TFreeFieldRow &row, bool fileLink);
