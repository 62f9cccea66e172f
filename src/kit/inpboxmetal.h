// The program's input box: a prompt in mark-up, one line to edit, and Help,
// OK and Cancel.
#pragma once

#include "kit/oberformmetal.h"

class QLineEdit;
class TOzoNewButton;
class TOzoRoundRectPanel;
class TOzoWindowSizeHook;
class TPZLabel;

class TWiInputBox : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TWiInputBox(QWidget *parent = nullptr);

    TPZLabel *PZLabel1;
    TOzoRoundRectPanel *OzoRoundRectPanel1;
    QLineEdit *Edit1;
    TOzoNewButton *HelpButton;
    TOzoNewButton *OzoNewButton2;
    TOzoNewButton *OzoNewButton3;
    TOzoWindowSizeHook *OzoWindowSizeHook1;

    int HelpContext = 0;

    void HelpButtonClick();
};

// The box while it is shown, else null.
extern TWiInputBox *WiInputBox;

// Asks for a line of text. OK: Value becomes the text typed (which may be
// empty) and the result is true; Cancel or closing the box: Value stays as it
// was and the result is false. The Help button is enabled only with a help
// context other than 0.
bool MetalInputBox(const QString &Caption, const QString &Prompt, QString &Value, int HelpContext = 0);
