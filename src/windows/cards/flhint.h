// "Verknüpfung oder Kopie?": asked when a file is dropped onto a file-link
// field from outside the database's LNK folder.
#pragma once

#include "kit/oberformmetal.h"

class QLabel;
class TOzoCheck;
class TOzoNewButton;

class TDFLHint : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDFLHint(QWidget *parent = nullptr);

    QLabel *Label1;
    TOzoCheck *RadLNK, *RadCOPY;
    TOzoNewButton *BitBtnHelp, *BitBtnOK, *BitBtnCancel;
};

// copy on entry preselects the copy; true on OK with copy = the choice.
bool AskLinkOrCopy(bool &copy);
