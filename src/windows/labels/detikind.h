// "Etiketten-Art auswählen": the label kind (case top, window label, spine
// label or one of the user's own formats), the self-adhesive switch and, for
// printing, the first label position on the sheet.
#pragma once

#include "kit/oberformmetal.h"
#include "print/labelformat.h"

#include <memory>

class QLabel;
class QListWidget;
class QSpinBox;
class TOzoCheck;
class TOzoNewButton;
class TSheetPreviewBox;
namespace engine { class Session; class Table; }

class TDEtiKind : public tOzoFormMetal
{
    Q_OBJECT
public:
    TDEtiKind(bool forPrinting, int labelsToPrint, QWidget *parent = nullptr);
    ~TDEtiKind() override;

    TOzoCheck *RadTop, *RadBig, *RadRueck, *RadEigen;
    TOzoCheck *ChkZF;
    QListWidget *DBGrid1;     // the user formats, by name
    QLabel *LabelStart;
    QSpinBox *SpinStart;      // first label, 1-based
    TOzoNewButton *BtnPrinter; // "Drucker..."
    TSheetPreviewBox *PaintBox1;
    TOzoNewButton *BitBtnOK, *BitBtnCancel;

    // The kind chosen now (1..4) and the format it gives.
    quint8 ChosenKind() const;
    const TLabelFormat &ChosenFormat() const { return m_format; }
    bool UserTableOpen() const { return m_table != nullptr; }

    // Puts the choice into LabelKind, ZFOn, the active format and the
    // user format's row; false (after a message) when the format is unusable.
    bool Apply();

private:
    void KindChanged();
    void UserRowChanged();
    void UpdateStartAndPreview();
    void OpenUserTable();

    bool m_forPrinting;
    int m_labelsToPrint;
    TLabelFormat m_format;
    std::unique_ptr<engine::Session> m_session;
    std::unique_ptr<engine::Table> m_table;
};

// The user formats table opened for a label dialog, or null after the
// message that it cannot be opened.
std::unique_ptr<engine::Table> OpenUserLabelsTableOrSay(engine::Session &session, bool readOnly);

// Shows TDEtiKind. For printing the start label can be chosen (1-based in
// startLabel); otherwise it is 0. True on OK.
bool ExecLabelKindDialog(bool forPrinting, int labelsToPrint, int &startLabel);
