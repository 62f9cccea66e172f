// The person file dialogs: "Personenkartei Auswahl" (the database's own
// person table or one shared table) and the import of persons from another
// person table.
#pragma once

#include "kit/oberformmetal.h"

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QTimer;
class TOzoCheck;
class TOzoNewButton;
namespace engine {
class Table;
}

class TDPersKartei : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDPersKartei(QWidget *parent = nullptr);
    TOzoCheck *RadOwn, *RadShared;
    QLineEdit *EditFile;
    TOzoNewButton *ButtBrowse, *BitBtnOK, *BitBtnCancel;
    void UpdateEnabled();
};

class TDPersImport : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDPersImport(QWidget *parent = nullptr);
    QLineEdit *EditSource;
    TOzoNewButton *ButtBrowse, *BitBtnOK, *BitBtnCancel;
    QTimer *TimerCheck; // 300 ms after each edit of the source
    QWidget *GroupFields;
    std::array<TOzoCheck *, 7> CheckRow;
    std::array<QComboBox *, 7> ComboTarget;
    TOzoCheck *CheckMemo, *CheckGrafik;
    TOzoCheck *RadSkip, *RadOverwrite, *RadComplete;
    QString CurrentTable; // the person table in use
    std::array<QString, 7> SourceCaption;

    // Reads the source's captions and enables the fields and OK.
    void CheckSource();
    void UpdateEnabled();
    bool SourceValid() const { return m_valid; }

private:
    bool m_valid = false;
};

// "&Personenkartei" › "Auswählen / Öffnen...": on OK the setting is saved
// and persons reopens on the chosen file. True when it switched.
bool ExecPersonFileDialog(engine::Table &persons, QWidget *owner = nullptr);
// "&Personenkartei" › "Importieren...": merges the chosen source into
// persons; showCard shows the person card with its list closed first.
bool ExecPersonImport(engine::Table &persons, const std::function<void()> &showCard, QWidget *owner = nullptr);
