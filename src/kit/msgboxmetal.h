// The program's message box: a caption, a text in the message mark-up
// (kit/markup.h) and an OK button. Every message of the program is shown
// through ShowMetalMessage.
#pragma once

#include "kit/oberformmetal.h"

class TOzoNewButton;
class TOzoWindowSizeHook;
class TPZLabel;

class TWMsgBoxMetal : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TWMsgBoxMetal(QWidget *parent = nullptr);

    TPZLabel *PZLabel1;
    TOzoNewButton *OzoNewButton1;
    TOzoWindowSizeHook *OzoWindowSizeHook1;
};

// The box while it is shown, else null.
extern TWMsgBoxMetal *WMsgBoxMetal;

// Shows Text under Caption and waits for OK. With escapeBackslashes the text
// shows exactly as given (file names, SQL, system messages); without, it is
// mark-up.
void ShowMetalMessage(const QString &Caption, const QString &Text, bool escapeBackslashes = false);

// Every backslash doubled, so that mark-up shows the text as it is.
QString DoubleBackslashes(const QString &s);
