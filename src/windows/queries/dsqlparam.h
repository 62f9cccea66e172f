// "Suchbegriff eingeben": the value of a statement's parameter whose type
// nobody has set yet. The name's ending suggests the type; the user may
// change it. One dialog serves all parameters of one statement.
#pragma once

#include "kit/oberformmetal.h"

namespace engine {
class Param;
class Query;
}
class QLabel;
class QLineEdit;
class QSpinBox;
class QWidget;
class TOzoCheck;
class TOzoNewButton;

class TDSQLParam : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDSQLParam(QWidget *parent = nullptr);

    QLabel *LabelParamName;
    TOzoCheck *RadioString, *RadioInteger, *RadioBoolean;
    QWidget *PanelString, *PanelInteger, *PanelBoolean;
    QLineEdit *EditString;
    QSpinBox *SpinInteger;
    TOzoCheck *RadioJa, *RadioNein;
    TOzoNewButton *BitBtnHelp, *BitBtnOK, *BitBtnCancel;

    // Shows the panel of the chosen type and moves the focus to its control.
    void ShowTypePanel();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

// Asks one parameter and sets its value; true on OK. A parameter with a
// known type is left alone and counts as answered.
bool AskQueryParam(TDSQLParam &dialog, engine::Param &param);
// Asks every parameter of the statement in order; false when one was
// cancelled (then the statement is not to be opened).
bool AskQueryParams(engine::Query &query, QWidget *owner = nullptr);
