// The settings of the web search ("Einstellungen zu Internet-Suche"): the
// field of each card file whose value is proposed as the search term.
#pragma once

#include "kit/oberformmetal.h"

class QComboBox;
class QLabel;
class TOzoNewButton;

namespace platform {
class IniFile;
}

class TDWebSucheEinst : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDWebSucheEinst(QWidget *parent = nullptr);

    QLabel *Label1, *Label2, *LabelMed, *LabelFilm, *LabelPers;
    QComboBox *CBMed, *CBFilm, *CBPers;
    TOzoNewButton *BtnOK, *BtnCancel;

    // Presets the combos from the "Setup" keys, and writes them back.
    void Preset(const platform::IniFile &ini);
    void Store(platform::IniFile &ini) const;
};

// The entry of the combos that proposes nothing.
extern const QString NoWebSearchProposal;

// Shows the dialog; OK writes the keys into "search.ini" when it exists.
void ExecWebSearchSettings();
