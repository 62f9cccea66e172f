#include "windows/dialogs/dinfo.h"

#include "app/settings.h"
#include "data/playtime.h"
#include "engine/engineerror.h"
#include "engine/table.h"
#include "kit/enterexitbutton.h"
#include "kit/msgboxmetal.h"
#include "kit/pzlabel.h"
#include "windows/dialogs/dialogparts.h"
#include "windows/main/mainform.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPixmap>
#include <QTableWidget>
#include <QValueAxis>

namespace {

QWidget *panel(QWidget *parent, const char *name, const QString &title, const QRect &g)
{
    auto *p = new QWidget(parent);
    p->setObjectName(QLatin1String(name));
    p->setGeometry(g);
    p->setAutoFillBackground(true);
    auto *t = new QLabel(title, p);
    t->setGeometry(8, 4, g.width() - 16, 18);
    QFont f = t->font();
    f.setBold(true);
    t->setFont(f);
    return p;
}

// A caption and its value on one line of a panel.
QLabel *row(QWidget *p, const char *name, const QString &caption, int y, int captionWidth = 150)
{
    auto *c = new QLabel(caption, p);
    c->setGeometry(12, y, captionWidth, 18);
    QLabel *v = MakeDialogLabel(p, QLatin1String(name), QString(), QRect(12 + captionWidth, y, 120, 18));
    v->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return v;
}

QString minutes(int m)
{
    return FormatPlayTime(m, PlayTimeFormat);
}

} // namespace

TDInfo::TDInfo(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DInfo"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    resize(620, 470);
    PanelFilme = panel(this, "PanelFilme", QStringLiteral("Erfasste Filme:"), QRect(12, 12, 300, 200));
    LabelFilmeAlle = row(PanelFilme, "LabelFilmeAlle", QStringLiteral("Alle Einträge:"), 28);
    LabelFilmeEcht = row(PanelFilme, "LabelFilmeEcht", QStringLiteral("Echte Filme:"), 48);
    LabelFilmeFrei = row(PanelFilme, "LabelFilmeFrei", QStringLiteral("Zu löschende Filme:"), 68);
    auto *freeNote = new QLabel(QStringLiteral("(Freie Bereiche)"), PanelFilme);
    freeNote->setGeometry(24, 84, 200, 16);
    LabelLenAlle = row(PanelFilme, "LabelLenAlle", QStringLiteral("Gesamtlänge alle:"), 106);
    LabelLenEcht = row(PanelFilme, "LabelLenEcht", QStringLiteral("Länge echte Filme:"), 124);
    LabelLenFrei = row(PanelFilme, "LabelLenFrei", QStringLiteral("Länge freie Bereiche:"), 142);
    LabelAvgEcht = row(PanelFilme, "LabelAvgEcht", QStringLiteral("Ø echte Filme:"), 160);
    LabelAvgFrei = row(PanelFilme, "LabelAvgFrei", QStringLiteral("Ø freie Bereiche:"), 178);

    PanelPers = panel(this, "PanelPers", QStringLiteral("Erfasste Personen:"), QRect(12, 218, 300, 124));
    LabelMaenner = row(PanelPers, "LabelMaenner", QStringLiteral("Männer:"), 28);
    LabelFrauen = row(PanelPers, "LabelFrauen", QStringLiteral("Frauen:"), 48);
    LabelOhneMF = row(PanelPers, "LabelOhneMF", QStringLiteral("Ohne Angabe (M/F):"), 68);
    LabelPersGesamt = row(PanelPers, "LabelPersGesamt", QStringLiteral("Gesamt:"), 96);

    PanelMedien = panel(this, "PanelMedien", QStringLiteral("Erfasste Medien:"), QRect(320, 12, 288, 406));
    DBGrid1 = new QTableWidget(0, 2, PanelMedien);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setGeometry(8, 26, 272, 120);
    DBGrid1->setHorizontalHeaderLabels({QStringLiteral("Medium"), QStringLiteral("Anzahl")});
    DBGrid1->verticalHeader()->hide();
    DBGrid1->horizontalHeader()->setStretchLastSection(true);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LabelSumme = row(PanelMedien, "LabelSumme", QStringLiteral("Summe:"), 150);
    DBChart1 = new QChartView(PanelMedien);
    DBChart1->setObjectName(QStringLiteral("DBChart1"));
    DBChart1->setGeometry(8, 172, 272, 226);
    DBChart1->setRenderHint(QPainter::Antialiasing);

    PZLabelNote = new TPZLabel(this);
    PZLabelNote->setObjectName(QStringLiteral("PZLabelNote"));
    PZLabelNote->setGeometry(12, 350, 300, 68);
    PZLabelNote->SetCaption(QStringLiteral("\\UAnmerkung zum Medientyp:\\u\\lbVHS-KK steht für Kaufkassetten "
                                           "und\\lbVHS-SB für selbstbespielte VHS-Kassetten."));
    ImageRolle = MakeDialogLabel(this, QStringLiteral("ImageRolle"), QString(), QRect(12, 424, 40, 36));
    BitBtn1 = MakeDialogButton(this, "BitBtn1", ibkOK, QRect(508, 430, 100, 25));
    BitBtn1->setDefault(true);
    Create();
    SetCaption(QStringLiteral("Information zur Datenbank"));
}

void TDInfo::FormShow()
{
    tOzoFormMetal::FormShow();
    if (!SkinsInUse)
        return;
    const QString reel = SkinDir + QStringLiteral("Back/FilmRolle.Bmp");
    if (QFileInfo::exists(reel))
        ImageRolle->setPixmap(QPixmap(reel).scaled(ImageRolle->size(), Qt::KeepAspectRatio));
}

void TDInfo::ShowInfo(const TDatabaseInfo &i)
{
    LabelFilmeAlle->setText(QString::number(i.allFilms));
    LabelFilmeEcht->setText(QString::number(i.realFilms));
    LabelFilmeFrei->setText(QString::number(i.freeAreas));
    LabelLenAlle->setText(minutes(i.lenAll));
    LabelLenEcht->setText(minutes(i.lenReal));
    LabelLenFrei->setText(minutes(i.lenFree));
    LabelAvgEcht->setText(minutes(i.avgReal));
    LabelAvgFrei->setText(minutes(i.avgFree));
    LabelMaenner->setText(QString::number(i.men));
    LabelFrauen->setText(QString::number(i.women));
    LabelOhneMF->setText(QString::number(i.unstated));
    LabelPersGesamt->setText(QString::number(i.persons));

    DBGrid1->setRowCount(int(i.kinds.size()));
    auto *set = new QBarSet(QStringLiteral("Medien"));
    QStringList kinds;
    int most = 0;
    for (int r = 0; r < i.kinds.size(); ++r) {
        DBGrid1->setItem(r, 0, new QTableWidgetItem(i.kinds[r].first));
        auto *n = new QTableWidgetItem(QString::number(i.kinds[r].second));
        n->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        DBGrid1->setItem(r, 1, n);
        *set << i.kinds[r].second;
        kinds << i.kinds[r].first;
        most = std::max(most, i.kinds[r].second);
    }
    LabelSumme->setText(QString::number(i.mediaSum));

    auto *chart = new QChart;
    chart->legend()->hide();
    chart->setTitle(QStringLiteral("Medien pro Medientyp"));
    auto *bars = new QBarSeries(chart);
    bars->append(set);
    chart->addSeries(bars);
    auto *x = new QBarCategoryAxis(chart);
    x->append(kinds);
    chart->addAxis(x, Qt::AlignBottom);
    bars->attachAxis(x);
    auto *y = new QValueAxis(chart);
    // Whole numbers only: the ticks fall on counts.
    const TCountAxis axis = CountAxisFor(most);
    y->setRange(0, qreal(axis.max));
    y->setTickCount(axis.tickCount());
    y->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(y, Qt::AlignLeft);
    bars->attachAxis(y);
    QChart *old = DBChart1->chart();
    DBChart1->setChart(chart);
    delete old;
}

void ExecDatabaseInfo()
{
    if (!Mainform)
        return;
    TDatabaseInfo info;
    try {
        info = ComputeDatabaseInfo(Mainform->FilmTable.get(), Mainform->PersTable.get(), Mainform->Table1.get());
    } catch (const engine::EngineError &e) {
        ShowMetalMessage(QStringLiteral("Datenbank-Fehler"), e.message(), true);
        return;
    }
    TDInfo dlg;
    dlg.ShowInfo(info);
    ExecMetalModal(dlg);
}
