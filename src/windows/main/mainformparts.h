// Small pieces the main window's files share: the makers of its named
// components, the shape of the percentage bar, the one box for a database
// error, and the data-set checks the card's handlers ask again and again.
#pragma once

#include <QColor>
#include <QFrame>
#include <QRect>
#include <QString>

#include <functional>

namespace engine {
class DataSet;
class EngineError;
class Table;
}
namespace dbui {
class DataSource;
class DbEdit;
}
class QLabel;
class TPZSpeedButton;

namespace mainparts {

// One shape of the percentage bar: solid for a film, cross-hatched for a
// free area.
class PercentShape : public QFrame
{
public:
    PercentShape(QWidget *parent, const char *name, const QColor &colour);
    bool Hatched = false;
    QColor m_colour;

protected:
    void paintEvent(QPaintEvent *) override;
};

template <class T> T *named(T *w, const char *name)
{
    w->setObjectName(QLatin1String(name));
    return w;
}

// An edit bound to a field of the card's data source.
dbui::DbEdit *makeDbEdit(QWidget *parent, dbui::DataSource *source, const char *name, const char *field,
                         const QRect &g);
QLabel *makeLabel(QWidget *parent, const char *name, const QString &text, const QRect &g);
TPZSpeedButton *makeSpeed(QWidget *parent, const char *name, const QRect &g, const QString &glyph,
                          const QString &hint);

// The window's box for a database error.
void showDatabaseError(const QString &message);
// Runs a step of the window on the data sets: a silent abort ends it
// quietly, an engine error shows the window's box. Returns whether the step
// ran to its end.
bool guardedStep(const std::function<void()> &step);
bool isBrowsing(const engine::Table *t);
// Posts a pending insert or edit.
void postPending(engine::DataSet *t);
// Whether one of the fields prefix1..prefix<count> holds a text.
bool anyFilled(engine::DataSet &ds, const char *prefix, int count);
bool blobFilled(engine::DataSet &ds, const char *name);

} // namespace mainparts
