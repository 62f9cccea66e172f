// The database statistics "Information zur Datenbank": films, free areas and
// their lengths, persons, and the media per kind as a grid and a chart.
#pragma once

#include "data/databaseinfo.h"
#include "kit/oberformmetal.h"

class QChartView;
class QLabel;
class QTableWidget;
class TOzoNewButton;
class TPZLabel;

class TDInfo : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDInfo(QWidget *parent = nullptr);

    QWidget *PanelFilme, *PanelPers, *PanelMedien;
    QLabel *LabelFilmeAlle, *LabelFilmeEcht, *LabelFilmeFrei;
    QLabel *LabelLenAlle, *LabelLenEcht, *LabelLenFrei;
    QLabel *LabelAvgEcht, *LabelAvgFrei;
    QLabel *LabelMaenner, *LabelFrauen, *LabelOhneMF, *LabelPersGesamt;
    QTableWidget *DBGrid1;
    QChartView *DBChart1;
    QLabel *LabelSumme;
    TPZLabel *PZLabelNote;
    QLabel *ImageRolle;
    TOzoNewButton *BitBtn1;

    // Shows the figures.
    void ShowInfo(const TDatabaseInfo &info);

    void FormShow() override;
};

// Builds the statistics over the main window's tables and shows them.
void ExecDatabaseInfo();
