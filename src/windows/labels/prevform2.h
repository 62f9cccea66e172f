// "Etikett: \IVorschau": the label of the main window's current medium as
// it prints, drawn by the same routine at the screen's fixed scales. The
// wheel steps through the media; the context menu holds the label settings.
#pragma once

#include "kit/oberformmetal.h"
#include "print/labeldata.h"

#include <QString>
#include <QWidget>

namespace engine { class DataSet; class Table; }
namespace dbui { class DataSource; }
class QMenu;

class TPrevPaintBox : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;
    engine::DataSet *Media = nullptr;
    // The main window's film cursor: its table is read when the label is
    // drawn, so the preview follows a switch of the database.
    engine::Table *Films = nullptr;
    // The medium the label shows now, as it is drawn.
    TLabelMedium ShownMedium() const;

protected:
    void paintEvent(QPaintEvent *) override;
};

class TPrevForm2 : public tOzoFormMetal
{
    Q_OBJECT
public:
    // media: the main window's media table; its source tells of every move.
    // films: the film cursor whose table holds the media's films.
    TPrevForm2(engine::DataSet *media, dbui::DataSource *source, engine::Table *films, QWidget *parent = nullptr);

    QWidget *Panel1;
    TPrevPaintBox *PaintBox1;
    QMenu *PopupMenu1;

    void UpdatePreviewSize();

protected:
    void wheelEvent(QWheelEvent *e) override;
    void contextMenuEvent(QContextMenuEvent *e) override;
};

// The one preview (created on first use), shown.
void ShowLabelPreview(engine::DataSet *media, dbui::DataSource *source, engine::Table *films, QWidget *owner);
// Resizes and repaints the preview when it is there (after a change of the
// kind, the format, a font or a setting).
void UpdatePreviewSize();
