// The chart window: the query window's result as a pie, bar or line chart.
// A new chart always gets a new window; the old one closes first.
#pragma once

#include "kit/oberformmetal.h"
#include "query/chartdata.h"

class QChart;
class QChartView;
class TPZSpeedButton;

class TWDiagram : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TWDiagram(QWidget *parent = nullptr);
    ~TWDiagram() override;

    QChartView *DBChart1;
    TPZSpeedButton *SpBHelp;

    // Sets up the series; a pie shows the value field's name in its title.
    void SetChart(query::ChartKind kind, const QList<query::ChartSeriesData> &series);
    QChart *Chart() const;
    query::ChartKind Kind() const { return m_kind; }

    void FormCreate() override;
    void FormShow() override;
    void FormResize() override;
    void FormClose(TCloseAction &action) override;

private:
    query::ChartKind m_kind = query::ChartKind::Pie;
};

extern TWDiagram *WDiagram;

// Closes the chart window if there is one, makes a new one with the chart
// and shows it.
TWDiagram *ShowChartWindow(QWidget *owner, query::ChartKind kind, const QList<query::ChartSeriesData> &series);
// Closes and frees the chart window.
void CloseChartWindow();
