// "Etikett in Rahmen unterteilen": up to three frames inside a user label
// format, each with its insets, print type, picture turns and outline; a
// window beside the set-up that edits its current row.
#pragma once

#include "kit/oberformmetal.h"

class QComboBox;
class TOzoDBCheck;
namespace dbui { class DataSource; class DbEdit; }

class TDZFSetupFrames : public tOzoFormMetal
{
    Q_OBJECT
public:
    TDZFSetupFrames(dbui::DataSource *source, QWidget *parent = nullptr);

    struct Frame
    {
        TOzoDBCheck *Active;
        dbui::DbEdit *Left, *Right, *Top, *Bottom, *Turns;
        QComboBox *Type; // item 0: the format's own print type (empty field)
        TOzoDBCheck *Border;
    };
    Frame Frames[3];
    dbui::DbEdit *DBEditZoom; // ImgMaxZoom

    // Shows the row's print types in the combos.
    void ShowTypes();

private:
    dbui::DataSource *m_source;
};
