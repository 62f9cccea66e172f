// A single-line edit bound to a field: shows the value (dates as
// "dd.mm.yyyy"), takes at most the field's size in characters, puts the
// record into edit state on the first typed key and writes the text back
// when the record is posted or the edit loses the focus.
#pragma once

#include "dbui/fieldcontrol.h"

#include <QLineEdit>

namespace dbui {

class DbEdit : public QLineEdit, public FieldControl
{
    Q_OBJECT

public:
    explicit DbEdit(QWidget *parent = nullptr);


signals:
    // A key was refused because the set is write-protected.
    void editRefused();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void showField();
    void updateEditable();
};

} // namespace dbui
