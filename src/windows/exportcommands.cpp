#include "windows/exportcommands.h"

#include "app/settings.h"
#include "engine/engineerror.h"
#include "engine/query.h"
#include "exchange/exportsource.h"
#include "kit/inpboxmetal.h"
#include "kit/msgboxmetal.h"
#include "kit/presenter.h"
#include "windows/tdanhexport.h"
#include "windows/tdlistexport.h"
#include "windows/tdtabexport.h"


#include <memory>
#include <optional>

namespace {

// Applies the main media table's filter to the export source when the user
// wants the filtered table, and switches it off again afterwards.
class MediaFilterScope
{
public:
    MediaFilterScope(engine::DataSet &set, const MediaFilter &filter) : m_set(set)
    {
        if (!filter)
            return;
        const TModalResult r = kit::messageBox(
            QStringLiteral("Die Medientabelle ist momentan gefiltert!\rWollen Sie die gefilterte Tabelle exportieren "
                           "(\"Ja\"), oder die vollständige Medientabelle (\"Nein\")?"),
            QStringLiteral("Frage"), kit::MsgButtons::YesNo, kit::BoxIcon::Question);
        if (r != mrYes)
            return;
        m_old = m_set.onFilterRecord;
        m_wasFiltered = m_set.filtered();
        m_set.onFilterRecord = filter;
        m_set.setFiltered(false);
        m_set.setFiltered(true);
        m_applied = true;
    }
    ~MediaFilterScope()
    {
        if (!m_applied)
            return;
        m_set.setFiltered(false);
        m_set.onFilterRecord = m_old;
        m_set.setFiltered(m_wasFiltered);
    }
    bool applied() const { return m_applied; }

private:
    engine::DataSet &m_set;
    std::function<bool(engine::DataSet &)> m_old;
    bool m_wasFiltered = false;
    bool m_applied = false;
};

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
    MediaFilterScope filter(*src.set, source == ExportSource::MediaGrid ? mediaFilter : MediaFilter());
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
    MediaFilterScope filter(*src.set, isStandardList && !isFilmList ? mediaFilter : MediaFilter());
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
