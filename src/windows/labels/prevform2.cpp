#include "windows/labels/prevform2.h"

#include "app/settings.h"
#include "dbui/datasource.h"
#include "engine/dataset.h"
#include "engine/field.h"
#include "engine/table.h"
#include "kit/presenter.h"
#include "print/labelmedium.h"
#include "print/previewsize.h"
#include "windows/labels/detikind.h"
#include "windows/labels/labelprint.h"
#include "windows/labels/labeloptions.h"
#include "windows/labels/labelselect.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QWheelEvent>

namespace {
QPointer<TPrevForm2> g_preview;
}

TLabelMedium TPrevPaintBox::ShownMedium() const
{
    if (!Media || !Media->active() || Media->isEmpty())
        return {};
    return ReadLabelMedium(*Media, &Media->session(), Films ? Films->tableName() : QString(),
                           ActiveLabelFormat.MaxFAnz);
}

void TPrevPaintBox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (!Media || !Media->active() || Media->isEmpty())
        return;
    const TLabelMedium m = ShownMedium();
    TProgDirArtProvider art = ProgramLabelArt();
    const TLabelScale scale = InitLabelPrintJob(false, nullptr, nullptr);
    p.translate(PreviewLabelInset, PreviewLabelInset);
    PaintLabelLayout(p, DrawLabel(m, false, PreviewLabelFormat(ActiveLabelFormat), 0, TLabelTarget{LabelKind, false},
                                  CurrentLabelSettings(), scale, art)
                            .Layout);
}

TPrevForm2::TPrevForm2(engine::DataSet *media, dbui::DataSource *source, engine::Table *films, QWidget *parent)
    : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("PrevForm2"));
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    PaintBox1 = new TPrevPaintBox(Panel1);
    PaintBox1->setObjectName(QStringLiteral("PaintBox1"));
    PaintBox1->Media = media;
    PaintBox1->Films = films;
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    auto add = [this](const char *name, const QString &caption, std::function<void()> f) {
        QAction *a = PopupMenu1->addAction(caption);
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, [f] { f(); });
    };
    add("EtikettenArtauswhlen1", QStringLiteral("Etiketten-&Art auswählen..."), [] {
        int start = 1;
        if (ExecLabelKindDialog(false, 1, start))
            ::UpdatePreviewSize();
    });
    add("SchriftartEtikettenText1", QStringLiteral("&Schriftart Etiketten-Text..."),
        [this] { ChooseLabelFont(false, this); });
    add("SchriftartNummernEtikett1", QStringLiteral("Schriftart &Nummern-Etikett..."),
        [this] { ChooseLabelFont(true, this); });
    add("ErweiterteDruckoptionen1", QStringLiteral("&Erweiterte Druckoptionen..."), [] { ExecLabelOptions(); });
    add("FuSymbolGrafik1", QStringLiteral("Fuß-Symbol-&Grafik..."), [] { ChooseFootSymbol(); });
    add("Etikettdrucken1", QStringLiteral("Etikett(en) &drucken..."),
        [this] { ShowPrintSelection(MainformLabelContext(), parentWidget()); });
    if (source) {
        connect(source, &dbui::DataSource::dataChange, this, [this] { UpdatePreviewSize(); });
        connect(source, &dbui::DataSource::stateChange, this, [this] { UpdatePreviewSize(); });
    }
    Create();
    SetCaption(QStringLiteral("Etikett: \\IVorschau"));
    UpdatePreviewSize();
}

void TPrevForm2::UpdatePreviewSize()
{
    if (isMinimized())
        return;
    QString kind;
    if (PaintBox1->Media && PaintBox1->Media->active() && !PaintBox1->Media->isEmpty())
        if (engine::Field *f = PaintBox1->Media->findField(QStringLiteral("Medium")))
            kind = f->asString();
    const QSize box = PreviewPaintBoxSize(ActiveLabelFormat, LabelKind, NrEtiSeparate, kind);
    // The panel inside the client area, the paint box 3 pixels smaller; the
    // window as large as the panel needs below its title bar.
    Panel1->setGeometry(8, 8, box.width() + 3, box.height() + 3);
    PaintBox1->setGeometry(0, 0, box.width(), box.height());
    resize(box.width() + 19, TitleHeight() + box.height() + 19);
    PaintBox1->update();
}

void TPrevForm2::wheelEvent(QWheelEvent *e)
{
    if (PaintBox1->Media && PaintBox1->Media->active()) {
        if (e->angleDelta().y() < 0)
            PaintBox1->Media->next();
        else if (e->angleDelta().y() > 0)
            PaintBox1->Media->prior();
    }
    e->accept();
}

void TPrevForm2::contextMenuEvent(QContextMenuEvent *e)
{
    kit::popupMenu(*PopupMenu1, e->globalPos());
}

void ShowLabelPreview(engine::DataSet *media, dbui::DataSource *source, engine::Table *films, QWidget *owner)
{
    if (!g_preview) {
        g_preview = new TPrevForm2(media, source, films, owner);
        g_preview->setAttribute(Qt::WA_DeleteOnClose);
    }
    g_preview->show();
    g_preview->raise();
    g_preview->UpdatePreviewSize();
}

void UpdatePreviewSize()
{
    if (g_preview)
        g_preview->UpdatePreviewSize();
}
