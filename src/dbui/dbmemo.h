// A multi-line text bound to a memo (or string) field. Lines are stored
// with CR LF, as in every text of the program's databases.
#pragma once

#include "dbui/fieldcontrol.h"

#include <QPlainTextEdit>

namespace dbui {

class DbMemo : public QPlainTextEdit, public FieldControl
{
    Q_OBJECT

public:
    explicit DbMemo(QWidget *parent = nullptr);


    // The text as it goes into the field (CR LF line ends).
    QString fieldText() const;

signals:
    void editRefused();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void showField();
    void updateEditable();
    bool m_loading = false;
};

} // namespace dbui
