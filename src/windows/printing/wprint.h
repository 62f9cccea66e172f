// The small window every printout shows while its job is built: the
// creating text with a little animation and "Abbruch", then, once the job
// is handed over, the printing text; it closes itself 7 seconds later.
#pragma once

#include "kit/oberformmetal.h"

#include <QPointer>
#include <QString>

class QLabel;
class QTimer;
class TPZLabel;
class TPrintJob;
class TOzoNewButton;

class TWPrint : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TWPrint(QWidget *parent = nullptr);

    TPZLabel *PZLabel1;
    QLabel *Image1, *Image2, *Image3, *Image4;
    TOzoNewButton *BtnAbbruch;
    QTimer *Timer1, *Timer2;

    void Watch(TPrintJob *job, const QString &printingText);
    void Timer1Timer();
    void Timer2Timer();
    void BtnAbbruchClick();

private:
    QPointer<TPrintJob> m_job;
    QString m_printingText;
};

// The window of the running job (one at a time); null when none is shown.
TWPrint *PrintProgressWindow();
void ShowPrintProgress(TPrintJob *job, const QString &caption, const QString &creatingText,
                       const QString &printingText);
// Right after BeginDoc.
void StartPrintProgress();
