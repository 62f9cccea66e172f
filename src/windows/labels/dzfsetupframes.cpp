#include "windows/labels/dzfsetupframes.h"

#include "dbui/datasource.h"
#include "dbui/dbedit.h"
#include "engine/dataset.h"
#include "engine/field.h"
#include "kit/ozodbcheck.h"
#include "kit/pzlabel.h"
#include "print/labelformat.h"

#include <QComboBox>
#include <QLabel>

namespace {

dbui::DbEdit *insetEdit(QWidget *parent, dbui::DataSource *src, const QString &field, const QString &caption,
                        int x, int y)
{
    auto *l = new QLabel(caption, parent);
    l->setGeometry(x, y + 3, 52, 18);
    auto *e = new dbui::DbEdit(parent);
    e->setObjectName(QStringLiteral("DBEdit") + field);
    e->setDataSource(src);
    e->setDataField(field);
    e->setGeometry(x + 54, y, 56, 23);
    l->setBuddy(e);
    return e;
}

TOzoDBCheck *fieldCheck(QWidget *parent, dbui::DataSource *src, const QString &field, const QString &caption,
                        const QRect &g)
{
    auto *c = new TOzoDBCheck(parent);
    c->setObjectName(QStringLiteral("DBChk") + field);
    c->SetCaption(caption);
    c->SetDataSource(src);
    c->SetDataField(field);
    c->setGeometry(g);
    return c;
}

} // namespace

TDZFSetupFrames::TDZFSetupFrames(dbui::DataSource *source, QWidget *parent)
    : tOzoFormMetal(parent), m_source(source)
{
    setObjectName(QStringLiteral("DZFSetupFrames"));
    setWindowFlag(Qt::Tool, true);
    setModal(false);
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    resize(420, 500);
    auto *hint = new TPZLabel(this);
    hint->setObjectName(QStringLiteral("PZLabel1"));
    hint->setGeometry(12, 8, 396, 36);
    hint->SetCaption(QStringLiteral("Sie können bis zu 3 Rahmen in Ihrem Etikett einbetten, die Etikettentext "
                                    "oder Bilder (Film-Anhang) enthalten können."));
    QStringList types{QStringLiteral("Beibehalten... (wie Etikett-Einstellung)")};
    types << PrintTypeNames(true);
    for (int i = 0; i < 3; ++i) {
        const QString p = QStringLiteral("R%1").arg(i + 1);
        const int y = 50 + i * 136;
        Frame &fr = Frames[i];
        fr.Active = fieldCheck(this, source, p, QStringLiteral("Rahmen %1 &aktivieren!").arg(i + 1),
                               QRect(12, y, 200, 20));
        fr.Left = insetEdit(this, source, p + QLatin1Char('l'), QStringLiteral("&Links:"), 12, y + 24);
        fr.Right = insetEdit(this, source, p + QLatin1Char('r'), QStringLiteral("&Rechts:"), 132, y + 24);
        fr.Top = insetEdit(this, source, p + QLatin1Char('o'), QStringLiteral("&Oben:"), 252, y + 24);
        fr.Bottom = insetEdit(this, source, p + QLatin1Char('u'), QStringLiteral("&Unten:"), 12, y + 50);
        auto *typeLabel = new QLabel(QStringLiteral("Druck-&Typ:"), this);
        typeLabel->setGeometry(132, y + 53, 70, 18);
        fr.Type = new QComboBox(this);
        fr.Type->setObjectName(QStringLiteral("ComboTyp") + p);
        fr.Type->addItems(types);
        fr.Type->setGeometry(204, y + 50, 204, 23);
        typeLabel->setBuddy(fr.Type);
        auto *turnLabel = new QLabel(QStringLiteral("Bild im Uhrzeigersinn &drehen:"), this);
        turnLabel->setGeometry(12, y + 79, 190, 18);
        fr.Turns = new dbui::DbEdit(this);
        fr.Turns->setObjectName(QStringLiteral("DBEdit") + p + QStringLiteral("ImgTurns"));
        fr.Turns->setDataSource(source);
        fr.Turns->setDataField(p + QStringLiteral("ImgTurns"));
        fr.Turns->setGeometry(204, y + 76, 40, 23);
        turnLabel->setBuddy(fr.Turns);
        auto *mal = new QLabel(QStringLiteral("mal"), this);
        mal->setGeometry(250, y + 79, 30, 18);
        fr.Border = fieldCheck(this, source, p + QStringLiteral("Border"), QStringLiteral("Rand &mitdrucken"),
                               QRect(12, y + 104, 200, 20));
        QComboBox *combo = fr.Type;
        const QString field = p + QStringLiteral("Drucktyp");
        connect(combo, &QComboBox::activated, this, [this, field](int index) {
            if (!m_source->dataSet() || !m_source->edit())
                return;
            // Item 0 keeps the format's own print type: an empty field.
            m_source->dataSet()->fieldByName(field)->setValue(index == 0 ? QVariant() : QVariant(index - 1));
        });
    }
    auto *zoomLabel = new QLabel(QStringLiteral("Maximaler &Zoomfaktor für Bilder:"), this);
    zoomLabel->setGeometry(12, 463, 200, 18);
    DBEditZoom = new dbui::DbEdit(this);
    DBEditZoom->setObjectName(QStringLiteral("DBEditImgMaxZoom"));
    DBEditZoom->setDataSource(source);
    DBEditZoom->setDataField(QStringLiteral("ImgMaxZoom"));
    DBEditZoom->setGeometry(214, 460, 60, 23);
    zoomLabel->setBuddy(DBEditZoom);
    connect(source, &dbui::DataSource::dataChange, this, [this] { ShowTypes(); });
    Create();
    SetCaption(QStringLiteral("Etikett in Rahmen unterteilen"));
    ShowTypes();
}

void TDZFSetupFrames::ShowTypes()
{
    engine::DataSet *ds = m_source->dataSet();
    for (int i = 0; i < 3; ++i) {
        QComboBox *c = Frames[i].Type;
        int index = 0;
        if (ds && ds->active() && !ds->isEmpty()) {
            engine::Field *f = ds->findField(QStringLiteral("R%1Drucktyp").arg(i + 1));
            if (f && !f->isNull())
                index = f->asInteger() + 1;
        }
        c->setCurrentIndex(index >= 0 && index < c->count() ? index : 0);
    }
}
