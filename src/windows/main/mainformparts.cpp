#include "windows/main/mainformparts.h"

#include "dbui/dbedit.h"
#include "dbui/errorsink.h"
#include "engine/dataset.h"
#include "engine/table.h"
#include "kit/kitresources.h"
#include "kit/msgboxmetal.h"
#include "kit/pzspeedbutton.h"

#include <QLabel>
#include <QPainter>

namespace mainparts {

PercentShape::PercentShape(QWidget *parent, const char *name, const QColor &colour)
    : QFrame(parent), m_colour(colour)
{
    setObjectName(QLatin1String(name));
    hide();
}

void PercentShape::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Hatched ? QColor(255, 255, 255) : m_colour);
    if (Hatched)
        p.fillRect(rect(), QBrush(m_colour, Qt::DiagCrossPattern));
    p.setPen(m_colour.darker(160));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

// An edit bound to a field of the card's data source.
dbui::DbEdit *makeDbEdit(QWidget *parent, dbui::DataSource *source, const char *name, const char *field,
                         const QRect &g)
{
    auto *e = named(new dbui::DbEdit(parent), name);
    e->setGeometry(g);
    e->setDataSource(source);
    e->setDataField(QLatin1String(field));
    return e;
}

QLabel *makeLabel(QWidget *parent, const char *name, const QString &text, const QRect &g)
{
    auto *l = named(new QLabel(text, parent), name);
    l->setGeometry(g);
    return l;
}

TPZSpeedButton *makeSpeed(QWidget *parent, const char *name, const QRect &g, const QString &glyph,
                          const QString &hint)
{
    auto *b = named(new TPZSpeedButton(parent), name);
    b->setGeometry(g);
    if (!glyph.isEmpty())
        b->SetGlyph(LoadResourceBitmap(glyph));
    b->setToolTip(hint);
    return b;
}

void showDatabaseError(const QString &message)
{
    ShowMetalMessage(QStringLiteral("Datenbank-Fehler"), message, true);
}

bool guardedStep(const std::function<void()> &step)
{
    return dbui::guarded(step, showDatabaseError);
}

bool isBrowsing(const engine::Table *t)
{
    return t && t->active() && t->state() == engine::DataSetState::Browse;
}

void postPending(engine::DataSet *t)
{
    if (t && t->active()
        && (t->state() == engine::DataSetState::Edit || t->state() == engine::DataSetState::Insert))
        t->post();
}

bool anyFilled(engine::DataSet &ds, const char *prefix, int count)
{
    for (int i = 1; i <= count; ++i) {
        engine::Field *f = ds.findField(QLatin1String(prefix) + QString::number(i));
        if (f && !f->asString().trimmed().isEmpty())
            return true;
    }
    return false;
}

bool blobFilled(engine::DataSet &ds, const char *name)
{
    engine::Field *f = ds.findField(QLatin1String(name));
    return f && !f->isNull() && !f->asBytes().isEmpty();
}

} // namespace mainparts
