// Read-only text bound to a field (a label that shows the value).
#pragma once

#include "dbui/fieldcontrol.h"

#include <QLabel>

namespace dbui {

class DbText : public QLabel, public FieldControl
{
    Q_OBJECT

public:
    explicit DbText(QWidget *parent = nullptr);

private:
    void showField();
};

} // namespace dbui
