#include "windows/exchange/exportcommands.h"

#include "app/settings.h"
#include "dbui/dbgrid.h"
#include "engine/engineerror.h"
#include "engine/query.h"
#include "exchange/exportsource.h"
#include "kit/inpboxmetal.h"
#include "kit/msgboxmetal.h"
#include "kit/presenter.h"
#include "windows/exchange/tdanhexport.h"
#include "windows/exchange/tdlistexport.h"
#include "windows/exchange/tdtabexport.h"
#include "windows/main/mediafilterscope.h"


#include <memory>
#include <optional>

namespace {

const QString TableQuestion = QStringLiteral(
    "Wollen Sie die gefilterte Tabelle exportieren (\"Ja\"), oder die vollständige Medientabelle (\"Nein\")?");

bool report(bool ok, const QString &error)
{
    if (!ok)
        ShowMetalMessage(QStringLiteral("Fehler"), error, true);
    return ok;
}

// The source to read: the set itself, or the copy of a shown query.
struct SourceCopy {
    std::unique_ptr<engine::Query> copy;
    engine::DataSet *set = nullptr;
    QString error;

    explicit SourceCopy(engine::DataSet &shown)
    {
        try {
            copy = ExportQueryCopy(shown);
            set = copy ? copy.get() : &shown;
        } catch (const engine::EngineError &e) {
            error = ExportReadErrorText(e.message());
        }
    }
};

// Runs the dialog of an export; its options when it was closed with OK.
template <class Dialog, class Run>
auto chosenOptions(QWidget *owner, Run run) -> std::optional<decltype(std::declval<Dialog &>().Options())>
{
    std::unique_ptr<Dialog> dlg(CreateForm<Dialog>(owner));
    if (!run(*dlg))
        return std::nullopt;
    return dlg->Options();
}

} // namespace

QList<ExportColumn> ExportColumnsOf(const dbui::DbGrid &grid)
{
    QList<ExportColumn> out;
    for (int c = 0; c < grid.columnCount(); ++c)
        out.append({grid.columns().at(c).fieldName, grid.gridModel()->columnTitle(c),
                    !grid.columns().at(c).visible || grid.gridColumnWidth(c) < 1});
    return out;
}

bool ExecTableExport(QWidget *owner, engine::DataSet &set, const dbui::DbGrid &grid, ExportSource source,
                     const TableExportContext &context, const MediaFilter &mediaFilter)
{
    const auto options = chosenOptions<TDTabExport>(owner, [&](TDTabExport &d) {
        d.SetWebSearchAvailable(bool(context.webSearchLinks));
        return ExecTabExportDialog(d, source == ExportSource::MediaGrid && context.films);
    });
    if (!options)
        return false;
    SourceCopy src(set);
    if (!src.set)
        return report(false, src.error);
    MediaFilterScope filter(*src.set, source == ExportSource::MediaGrid ? mediaFilter : MediaFilter(),
                            TableQuestion);
    QString error;
    return report(ExportTable(*src.set, ExportColumnsOf(grid), source, *options, context, &error), error);
}

bool ExecListExport(QWidget *owner, engine::DataSet &set, bool isStandardList, bool isFilmList, bool singleLine,
                    const ListExportContext &context, const MediaFilter &mediaFilter, int filterMinutes)
{
    const auto options = chosenOptions<TDListExport>(owner, [](TDListExport &d) { return ExecListExportDialog(d); });
    if (!options)
        return false;
    SourceCopy src(set);
    if (!src.set)
        return report(false, src.error);
    MediaFilterScope filter(*src.set, isStandardList && !isFilmList ? mediaFilter : MediaFilter(), TableQuestion);
    QString heading = ListExportHeading(isStandardList, isFilmList, DBBase, filter.applied() ? filterMinutes : -1);
    if (!MetalInputBox(QStringLiteral("Liste exportieren"),
                       QStringLiteral("Der folgende Text wird als \\BÜberschrift\\b über die Liste gesetzt:"), heading))
        heading = QString(); // the file stays empty
    QString error;
    return report(ExportList(*src.set, isStandardList, isFilmList, *options, singleLine, heading, context, &error), error);
}

bool ExecAttachmentExport(QWidget *owner, AttachmentKind kind, engine::DataSet &record,
                          const AttachmentExportContext &context,
                          const std::function<void(QString &caption, QStringList &films)> &personFilms)
{
    const auto options = chosenOptions<TDAnhExport>(owner, [&](TDAnhExport &d) {
        return ExecAnhExportDialog(d, kind == AttachmentKind::Film, kind == AttachmentKind::Person && personFilms);
    });
    if (!options)
        return false;
    AttachmentExportContext ctx = context;
    if (options->personFilms && personFilms)
        personFilms(ctx.filmsCaption, ctx.films);
    QString error;
    return report(ExportAttachment(kind, record, *options, ctx, &error), error);
}
