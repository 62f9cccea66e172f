// Keeping the media's "Etikett gedruckt" flag as the stored mode says: the
// questions after printing and after label-relevant changes (answered once
// or for good), the mode dialog, and the search for media whose label is
// not printed.
#pragma once

#include "data/printedflag.h"
#include "kit/oberformmetal.h"

class QWidget;
class TOzoCheck;
class TOzoNewButton;
class TPZLabel;
namespace engine { class Table; }

// Sets or clears the flag of the selection, then refreshes the media table
// (when it is not being edited) and the query window's result.
void SetPrintedFlagAndRefresh(engine::Table &media, const TMediumSelection &sel, bool value);
// After labels were printed: unless "Nie" was chosen, asks (or not, after
// "Immer"), asks once more while the media table is write-protected (unless
// told not to), and marks the selection printed. True when it was marked.
bool AutoSetPrintedFlag(engine::Table &media, const TMediumSelection &sel, const QString &question);
// After a change that alters the labels, the decision alone: false after
// "Nie" (now or before), true after "Immer" (now or before) or "Ja".
bool AskClearPrintedFlag(const QString &question);
// After a change that alters the labels: clears the flag as the mode says.
bool AutoClearPrintedFlag(engine::Table &media, const TMediumSelection &sel, const QString &question);
// The key set of one medium.
TMediumNrPairCollection SingleMediumPairs(const QString &kind, int nr);

class TDPrintedFlagAutoSetClearMode : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDPrintedFlagAutoSetClearMode(QWidget *parent = nullptr);

    TOzoCheck *RadSetAsk, *RadSetAlways, *RadSetNever;
    TOzoCheck *RadClearAsk, *RadClearAlways, *RadClearNever;
    TOzoCheck *ChkNoReadOnlyAsk;
    TOzoNewButton *BitBtnOK, *BitBtnCancel;

    // The switches shown now into the mode settings.
    void Store() const;

private:
    void UpdateEnabling();
};
// "Verwaltung des "Etikett gedruckt"-Feldes": OK stores and saves.
void ExecPrintedFlagSettings();

class TDFindNotPrinted : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDFindNotPrinted(QWidget *parent = nullptr);

    TPZLabel *PZLabel1;
    TOzoCheck *ChkSB, *ChkKK, *ChkDVD, *ChkOther;
    TOzoNewButton *BitBtnOK, *BitBtnCancel;

    void UpdateEnabling();
};
// "Medien ohne ge&druckte Etiketten...": the kinds, then the search in the
// query window and the label list of its result.
void ExecFindNotPrinted(QWidget *owner = nullptr);
