#include "exchange/exportsource.h"

#include "engine/dataset.h"
#include "engine/engineerror.h"
#include "engine/query.h"

bool WalkExportSource(engine::DataSet &set, const std::function<void()> &body, QString *error)
{
    set.disableControls();
    const engine::Bookmark here = set.isEmpty() ? engine::InvalidBookmark : set.bookmark();
    bool ok = true;
    try {
        set.first();
        body();
    } catch (const engine::EngineError &e) {
        ok = false;
        if (error)
            *error = ExportReadErrorText(e.message());
    }
    try {
        if (here != engine::InvalidBookmark && set.bookmarkValid(here))
            set.gotoBookmark(here);
    } catch (const engine::EngineError &) {
        // The record is gone meanwhile; the cursor stays where the export left it.
    }
    set.enableControls();
    return ok;
}

QString ExportReadErrorText(const QString &detail)
{
    return QStringLiteral("Beim Lesen der Daten für den Export ist ein Fehler aufgetreten:\n%1").arg(detail);
}

std::unique_ptr<engine::Query> ExportQueryCopy(engine::DataSet &set)
{
    auto *shown = dynamic_cast<engine::Query *>(&set);
    if (!shown)
        return nullptr;
    auto copy = std::make_unique<engine::Query>(&shown->session());
    copy->setName(shown->name());
    copy->setDatabaseFolder(shown->databaseFolder());
    copy->setSql(shown->sql());
    for (int i = 0; i < shown->paramCount(); ++i)
        if (engine::Param *p = copy->findParam(shown->param(i).name()))
            *p = shown->param(i);
    copy->open();
    return copy;
}
