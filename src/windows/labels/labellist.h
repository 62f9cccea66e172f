// "Etikettenliste": the labels of a data set's records (the collected media,
// every medium, or a query's result) painted as they print, a grid of label
// panels over the data source at the preview's scales.
#pragma once

#include "kit/oberformmetal.h"

#include <QString>
#include <QWidget>

namespace dbui { class DataSource; }
namespace engine { class DataSet; }

class TLabelPanelGrid : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;
    engine::DataSet *Data = nullptr;
    QString FilmTablePath;
    int Columns = 1, Rows = 1;
    int TopRow = 0; // the data set's row (0-based) in the first panel

    int PanelCount() const { return Columns * Rows; }
    QSize PanelSize() const;
    // Keeps the current record in view.
    void FollowCursor();
    // The row (0-based) a panel shows, -1 for an empty panel.
    int RowOfPanel(int panel) const;

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;
};

class TWEtiListe : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TWEtiListe(QWidget *parent = nullptr);

    TLabelPanelGrid *DBCtrlGrid1;
    dbui::DataSource *Source = nullptr;
    bool StandardList = true; // false: it shows a query's result

    void SetSource(dbui::DataSource *source, const QString &filmTablePath);
    void Arrange(const QString &currentKind);

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void wheelEvent(QWheelEvent *e) override;

private:
    QMetaObject::Connection m_change, m_rows, m_state;
};

// Shows the one label list over the source (non-modal) with its caption and
// arranges it for the active format.
void ShowLabelList(dbui::DataSource *source, const QString &filmTablePath, bool standardList,
                   const QString &caption, QWidget *owner = nullptr);
// The list window, when it is there.
TWEtiListe *LabelListWindow();
// Resizes the list to the active format (after a change of kind or format).
void ArrangeLabelList();
// Closes the list when it shows the given source (its data goes away).
void CloseLabelListOf(dbui::DataSource *source);
