#include "windows/cards/freefieldrows.h"

#include "dbui/dbcombobox.h"
#include "dbui/dbedit.h"
#include "kit/pzspeedbutton.h"

#include <QLabel>

std::vector<TFreeFieldRow> AddFreeFieldRows(QWidget *panel, dbui::DataSource *source, const TFreeFieldRowLayout &l)
{
    std::vector<TFreeFieldRow> rows;
    for (int i = 0; i < l.count; ++i) {
        const int nr = i + 1;
        const int column = l.rowsPerColumn > 0 ? i / l.rowsPerColumn : 0;
        const int row = l.rowsPerColumn > 0 ? i % l.rowsPerColumn : i;
        const QPoint at(column * l.columnWidth, row * l.rowHeight);
        const QString field = QStringLiteral("Free%1").arg(nr);
        TFreeFieldRow r;
        r.nr = nr;
        r.caption = new QLabel(panel);
        r.caption->setObjectName(l.captionName + QString::number(nr));
        r.caption->setGeometry(l.caption.translated(at));
        r.combo = new dbui::DbComboBox(panel);
        r.combo->setObjectName(QStringLiteral("DBEF%1").arg(nr));
        r.combo->setGeometry(l.combo.translated(at));
        r.combo->setDataSource(source);
        r.combo->setDataField(field);
        r.combo->setProperty("Tag", nr);
        if (l.linkEdits) {
            r.link = new dbui::DbEdit(panel);
            r.link->setObjectName(QStringLiteral("DBEFL%1").arg(nr));
            r.link->setGeometry(l.combo.translated(at));
            r.link->setDataSource(source);
            r.link->setDataField(field);
            r.link->setProperty("Tag", nr);
            r.link->hide();
        }
        r.button = new TPZSpeedButton(panel);
        r.button->setObjectName(QStringLiteral("ButtF%1").arg(nr));
        r.button->setGeometry(l.button.translated(at));
        r.button->SetCaption(QStringLiteral("▾"));
        r.button->setProperty("Tag", nr);
        r.caption->setBuddy(r.combo); // the caption's "&" marks its key
        rows.push_back(r);
    }
    return rows;
}

void ShowFreeFieldRow(const TFreeFieldRow &row, bool fileLink)
{
    if (!row.link)
        return;
    row.combo->setVisible(!fileLink);
    row.link->setVisible(fileLink);
    row.button->setVisible(fileLink);
    row.caption->setBuddy(fileLink ? static_cast<QWidget *>(row.link) : static_cast<QWidget *>(row.combo));
}
