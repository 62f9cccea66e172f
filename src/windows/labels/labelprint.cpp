#include "windows/labels/labelprint.h"

#include "app/appmessage.h"
#include "app/settings.h"
#include "data/categories.h"
#include "engine/dataset.h"
#include "kit/msgboxmetal.h"
#include "kit/presenter.h"
#include "print/labelmedium.h"
#include "windows/cards/categorydialogs.h"
#include "windows/labels/detikind.h"
#include "windows/labels/labellist.h"
#include "windows/labels/prevform2.h"
#include "windows/printing/printjob.h"
#include "windows/printing/wprint.h"

#include <QApplication>
#include <QFontDialog>
#include <QPrintDialog>
#include <QPrinter>

TLabelScale InitLabelPrintJob(bool printing, QPrinter *printer, std::unique_ptr<TPrintJob> *job)
{
    if (!printing || !printer || !job)
        return PreviewLabelScale();
    *job = std::make_unique<TPrintJob>(*printer);
    ShowPrintProgress(job->get(), QStringLiteral("Etikett(en) drucken"),
                      QStringLiteral("Der Druckauftrag\\lb\\Bwird erstellt..."),
                      QStringLiteral("Etikett(en) wird/werden gedruckt..."));
    if (LabelKind == lkUser) {
        printer->setPageOrientation(ActiveLabelFormat.Quer ? QPageLayout::Landscape : QPageLayout::Portrait);
    } else if (printer->pageLayout().orientation() == QPageLayout::Landscape
               && AppMessage(QStringLiteral("Sie haben den Drucker auf Druck im Querformat (\"Landscape\") eingestellt.\r"
                                            "Für Etikettendrucke sollte üblicherweise Hochformat (\"Portrait\") "
                                            "eingestellt sein!\rSoll wieder auf Hochformat umgeschaltet werden?"),
                             QStringLiteral("ACHTUNG!"), platform::MessageIcon::Question, platform::MessageButtons::YesNo)
                      == mrYes) {
        printer->setPageOrientation(QPageLayout::Portrait);
    }
    if (!(*job)->begin(QStringLiteral("TarVO - Etikett")))
        return PreviewLabelScale();
    StartPrintProgress();
    // Pixels per millimetre from the device's resolution: the page's size
    // in whole pixels over whole millimetres is a little off (a PDF page of
    // A4 is 2099 pixels over 210 mm at 254 dpi).
    return DpiLabelScale(printer->resolution(), printer->resolution());
}

TLabelPrintResult PrintLabels(QPrinter &printer, const QList<TLabelMedium> &media, int startLabel,
                              TLabelArtProvider &art, const QList<int> &positions)
{
    TLabelPrintResult result;
    std::unique_ptr<TPrintJob> job;
    const TLabelScale scale = InitLabelPrintJob(true, &printer, &job);
    if (!job || job->aborted()) {
        job.reset();
        ShowMetalMessage(QStringLiteral("Fehler"), QStringLiteral("Der Druckauftrag konnte nicht gestartet werden."));
        return result;
    }
    const TLabelSettings s = CurrentLabelSettings();
    const TLabelTarget target{LabelKind, ZFOn};
    const int perSheet = std::max(1, LabelsPerSheet(ActiveLabelFormat));
    int position = std::clamp(startLabel - 1, 0, perSheet - 1);
    bool tooSmallTold = false;
    for (int i = 0; i < media.size(); ++i) {
        const TLabelMedium &m = media[i];
        QApplication::processEvents(); // the progress window's cancel
        if (job->aborted())
            break;
        if (i < positions.size())
            position = std::clamp(positions[i], 0, perSheet - 1);
        else if (position >= perSheet) {
            if (!job->newPage())
                break;
            position = 0;
        }
        const TLabelDrawing d = DrawLabel(m, true, ActiveLabelFormat, position, target, s, scale, art);
        if (d.Outcome != TLabelOutcome::Drawn) {
            ShowMetalMessage(LabelOutcomeCaption(d.Outcome), LabelOutcomeText(d.Outcome));
            continue;
        }
        if (d.TooSmall && !tooSmallTold) {
            AppMessage(LabelTooSmallText, LabelTooSmallCaption, platform::MessageIcon::Error);
            tooSmallTold = true;
        }
        PaintLabelLayout(job->painter(), d.Layout);
        ++position;
        ++result.printed;
        result.drawn << i;
    }
    const bool cancelled = job->aborted();
    // Nothing drawn (every medium refused): no empty page goes out.
    if (result.printed == 0 && !cancelled)
        job->abort();
    result.ok = result.printed > 0 && job->end();
    job.reset();
    if (!result.ok && (cancelled || result.printed > 0))
        ShowMetalMessage(QStringLiteral("Fehler"),
                         cancelled ? QStringLiteral("Der Druckauftrag wurde abgebrochen.")
                                   : QStringLiteral("Der Druckauftrag konnte nicht abgeschlossen werden."));
    return result;
}

TProgDirArtProvider ProgramLabelArt()
{
    TProgDirArtProvider art(ProgDir);
    std::vector<TProgDirArtProvider::Category> cats;
    for (const TCategory &c : CategoryTable) {
        TProgDirArtProvider::Category k;
        k.name = c.name;
        k.symbolPath = c.symbol;
        if (c.font) {
            QFont f(c.font->face);
            f.setBold(c.font->style & fsBold);
            f.setItalic(c.font->style & fsItalic);
            f.setUnderline(c.font->style & fsUnderline);
            f.setStrikeOut(c.font->style & fsStrikeOut);
            k.font = f;
        }
        cats.push_back(k);
    }
    art.setCategories(cats);
    return art;
}

bool PrintCurrentMediumLabel(engine::DataSet &media, const QString &filmTablePath, QWidget *owner)
{
    if (!media.active() || media.isEmpty())
        return false;
    int start = 1;
    if (!ExecLabelKindDialog(true, 1, start))
        return false;
    QPrintDialog dlg(&ProgramPrinter(), owner);
    if (kit::execDialog(dlg) != mrOk)
        return false;
    const TLabelMedium m = ReadLabelMedium(media, &media.session(), filmTablePath, ActiveLabelFormat.MaxFAnz);
    TProgDirArtProvider art = ProgramLabelArt();
    return PrintLabels(ProgramPrinter(), {m}, start, art).ok;
}

void ChooseProgramPrinter(QWidget *owner)
{
    QPrintDialog dlg(&ProgramPrinter(), owner);
    kit::execDialog(dlg);
}

void ChooseLabelFont(bool numberLabel, QWidget *owner)
{
    TFontSpec &chosen = numberLabel ? NrEtiFont : LabelFont;
    QFontDialog dlg(FontSpecToQFont(chosen), owner);
    if (kit::execDialog(dlg) != mrOk)
        return;
    QFont f = dlg.selectedFont();
    chosen = QFontToFontSpec(f, chosen.Color);
    SaveSettings();
    UpdatePreviewSize();
    ArrangeLabelList();
}

void ChooseFootSymbol()
{
    QString symbol = SymbolFile;
    if (!ExecSymbolOpen(symbol, true))
        return;
    SymbolFile = symbol;
    SaveSettings();
    UpdatePreviewSize();
    ArrangeLabelList();
}
