// "Spielzeiteingabe": a film's playing time as hours and minutes, as the
// tape's end position or as the tape's new remaining time.
#pragma once

#include "data/lenenter.h"
#include "kit/oberformmetal.h"

class QLabel;
class QSpinBox;
class TPageControles;
class TOzoCheck;
class TOzoNewButton;

class TDLenEnter : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDLenEnter(QWidget *parent = nullptr);

    TPageControles *PageControl1;
    QWidget *TabSheet1, *TabSheet2, *TabSheet3;
    QSpinBox *EH, *EMin;
    QLabel *LabSh, *LabSmin;
    QSpinBox *EEpH, *EEpMin;
    TOzoCheck *RadSP, *RadLP;
    QSpinBox *ERest;
    TOzoCheck *ChkLP;
    TOzoNewButton *BitBtnHelp, *BitBtnOK, *BitBtnCancel;

    // Takes the values and fills the pages.
    void Setup(const LenEnterState &state, bool hasTape);
    LenEnterState State() const { return m_state; }
    // The length from the active page; a message keeps the old length.
    void ComputeLength();

private:
    void fillPages();
    void pageChanged(int index);
    void counterChanged(bool lp);
    LenEnterState m_state;
    bool m_hasTape = true;
    int m_page = 0;
    bool m_filling = false;
};

// Returns the new length; on Cancel the incoming length with longPlay unchanged.
int ExecLenEnter(int length, int tapeLength, const QPoint &screenPos, int filmNr, int mediumNr, const QString &kind,
                 bool &longPlay, const QList<TapeFilm> &films);
