#include "windows/queries/wdiagram.h"

#include "kit/help.h"
#include "kit/pzspeedbutton.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QPieSeries>
#include <QPieSlice>
#include <QValueAxis>

TWDiagram *WDiagram = nullptr;

namespace {
constexpr int hcDiagram = 69;
} // namespace

TWDiagram::TWDiagram(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("WDiagram"));
    setWindowTitle(QStringLiteral("Abfrageergebnisse\\b (Diagrammansicht)"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    resize(640, 480);
    DBChart1 = new QChartView(this);
    DBChart1->setObjectName(QStringLiteral("DBChart1"));
    DBChart1->setRenderHint(QPainter::Antialiasing);
    DBChart1->setGeometry(0, 0, 620, 430);
    SpBHelp = new TPZSpeedButton(this);
    SpBHelp->setObjectName(QStringLiteral("SpBHelp"));
    SpBHelp->SetCaption(QStringLiteral("?"));
    SpBHelp->setToolTip(QStringLiteral("Hilfe"));
    SpBHelp->setGeometry(594, 436, 24, 24);
    connect(SpBHelp, &TPZSpeedButton::Click, this, [] { kit::showHelp(hcDiagram); });
}

TWDiagram::~TWDiagram()
{
    if (WDiagram == this)
        WDiagram = nullptr;
}

QChart *TWDiagram::Chart() const
{
    return DBChart1->chart();
}

void TWDiagram::FormCreate()
{
    tOzoFormMetal::FormCreate();
}

void TWDiagram::FormShow()
{
    tOzoFormMetal::FormShow();
    QChart *c = Chart();
    c->setBackgroundBrush(Color);
    // The metal look tiles the brushed-metal skin behind the chart.
    if (SkinsInUse && !SkinInactive().isNull())
        c->setBackgroundBrush(QBrush(SkinInactive()));
    FormResize();
}

void TWDiagram::FormResize()
{
    tOzoFormMetal::FormResize();
    if (!DBChart1 || !DBChart1->parentWidget())
        return;
    const QSize area = DBChart1->parentWidget()->size();
    DBChart1->setGeometry(0, 0, area.width(), std::max(0, area.height() - 32));
    SpBHelp->move(area.width() - 28, area.height() - 28);
}

void TWDiagram::FormClose(TCloseAction &action)
{
    tOzoFormMetal::FormClose(action);
    action = caFree;
    if (WDiagram == this)
        WDiagram = nullptr;
}

void TWDiagram::SetChart(query::ChartKind kind, const QList<query::ChartSeriesData> &series)
{
    m_kind = kind;
    auto *chart = new QChart;
    QStringList title = {QStringLiteral("Dargestelltes Feld:")};
    if (kind == query::ChartKind::Pie && !series.isEmpty()) {
        const query::ChartSeriesData &s = series.first();
        auto *pie = new QPieSeries(chart);
        pie->setName(s.title);
        for (int i = 0; i < s.values.size(); ++i) {
            QPieSlice *slice = pie->append(s.labels.value(i), s.values[i]);
            slice->setLabelVisible(true);
            slice->setLabelArmLengthFactor(0.08);
        }
        chart->addSeries(pie);
        title << s.title;
        chart->setTitle(title.join(QStringLiteral("<br>")));
    } else if (kind == query::ChartKind::Bar) {
        auto *bars = new QBarSeries(chart);
        for (const auto &s : series) {
            auto *set = new QBarSet(s.title);
            for (double v : s.values)
                set->append(v);
            bars->append(set);
        }
        bars->setLabelsVisible(false);
        chart->addSeries(bars);
        auto *x = new QBarCategoryAxis(chart);
        if (!series.isEmpty())
            x->append(query::ChartAxisLabels(series.first().labels));
        chart->addAxis(x, Qt::AlignBottom);
        bars->attachAxis(x);
        auto *y = new QValueAxis(chart);
        chart->addAxis(y, Qt::AlignLeft);
        bars->attachAxis(y);
    } else if (kind == query::ChartKind::Line) {
        auto *x = new QCategoryAxis(chart);
        x->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        if (!series.isEmpty()) {
            const QStringList labels = query::ChartAxisLabels(series.first().labels);
            for (int i = 0; i < labels.size(); ++i)
                x->append(labels[i], i);
        }
        chart->addAxis(x, Qt::AlignBottom);
        auto *y = new QValueAxis(chart);
        chart->addAxis(y, Qt::AlignLeft);
        double lo = 0, hi = 0;
        for (const auto &s : series) {
            auto *line = new QLineSeries(chart);
            line->setName(s.title);
            line->setPointLabelsVisible(false);
            for (int i = 0; i < s.values.size(); ++i) {
                line->append(i, s.values[i]);
                lo = std::min(lo, s.values[i]);
                hi = std::max(hi, s.values[i]);
            }
            chart->addSeries(line);
            line->attachAxis(x);
            line->attachAxis(y);
        }
        y->setRange(lo, hi > lo ? hi : lo + 1);
    }
    if (kind != query::ChartKind::Pie)
        chart->setTitle(QString());
    chart->legend()->setVisible(true);
    QChart *old = DBChart1->chart();
    DBChart1->setChart(chart);
    delete old;
}

TWDiagram *ShowChartWindow(QWidget *owner, query::ChartKind kind, const QList<query::ChartSeriesData> &series)
{
    CloseChartWindow();
    WDiagram = CreateForm<TWDiagram>(owner ? owner->window() : nullptr);
    WDiagram->setWindowFlag(Qt::Window, true);
    if (owner)
        WDiagram->setWindowIcon(owner->window()->windowIcon());
    WDiagram->SetChart(kind, series);
    WDiagram->show();
    return WDiagram;
}

void CloseChartWindow()
{
    if (!WDiagram)
        return;
    TWDiagram *w = WDiagram;
    WDiagram = nullptr;
    w->close();
    delete w;
}
