// "Einrichtung für Selbstklebeetiketten": the self-adhesive sheets (spine
// and window labels), the printer calibration with its test page, and the
// user's own label formats.
#pragma once

#include "engine/signal.h"

#include "kit/oberformmetal.h"

#include <QPointer>
#include <memory>

class QComboBox;
class QLabel;
class QSpinBox;
class TPageControles;
class TOzoDBCheck;
class TOzoNewButton;
class TPZLabel;
class TSheetPreviewBox;
class TDZFSetupFrames;
struct TZFSheetLayout;
namespace dbui { class DataSource; class DbEdit; class DbNavigator; }
namespace engine { class Session; class Table; }

class TDZFSetup : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDZFSetup(QWidget *parent = nullptr);
    ~TDZFSetup() override;

    TPageControles *PageControl1;
    TPZLabel *PZLabelInfo;
    // Calibration
    QSpinBox *SpinLeftKorr, *SpinTopKorr;
    TOzoNewButton *BtnTestPrint, *BtnPrinter;
    // Spine sheet
    QSpinBox *SpinRTop, *SpinRLeft, *SpinRA, *SpinRAnz;
    TOzoNewButton *BtnZ4746;
    // Window sheet
    QSpinBox *SpinGTop, *SpinGLeft, *SpinGAVert, *SpinGAHoriz, *SpinGAnz;
    TOzoNewButton *BtnZ4742;
    // User formats
    dbui::DataSource *DataSource1;
    dbui::DbEdit *DBEditName, *DBEditRandL, *DBEditRandO, *DBEditBreite, *DBEditHoehe, *DBEditAx, *DBEditAy,
        *DBEditZeilenAnz, *DBEditSpaltenAnz, *DBEditMaxFAnz;
    dbui::DbNavigator *DBNavigator1;
    QComboBox *ComboBoxTyp;
    TOzoDBCheck *DBChkQuer, *DBChkZF;
    TOzoNewButton *BtnFrames;
    TSheetPreviewBox *PaintBoxUser;
    TOzoNewButton *BitBtnOK, *BitBtnCancel;

    engine::Table *UserTable() const { return m_table.get(); }
    TDZFSetupFrames *FramesWindow() const;
    // OK: the sheet values back into the geometry (written when changed), a
    // pending user format posted; false when that format is refused.
    bool Apply();
    void Discard();

private:
    void LoadSheetValues();
    // The sheet values as the spins hold them; SheetsFit refuses (with a
    // message, on the sheet's page) a sheet whose labels run off the page.
    TZFSheetLayout SheetValues() const;
    bool SheetsFit();
    void MarkChanged();
    void UserRowShown();
    void OpenUserTable();
    void CloseFrames();
    void CheckRowBeforePost();

    bool m_changed = false;
    std::unique_ptr<engine::Session> m_session;
    std::unique_ptr<engine::Table> m_table;
    engine::Subscription m_beforePost;
    QPointer<TDZFSetupFrames> m_frames;
};

// Shows TDZFSetup; true on OK.
bool ExecSelfAdhesiveSetup(QWidget *owner = nullptr);
// The menu's "(Selbstklebe)-Etiketten einrichten".
void ExecLabelSetupDialog(QWidget *owner);

