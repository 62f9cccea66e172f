#include "data/tabletools.h"

#include "data/tableschemas.h"
#include "engine/session.h"
#include "engine/table.h"
#include "engine/tablefile.h"

#include <QFileInfo>
#include <functional>

namespace {

// Every other data set of the program that still has the file open (a
// second cursor, a list's query, a search result) lets go of it for the
// operation and opens again afterwards, in the reverse order.
class OthersClosed
{
public:
    explicit OthersClosed(engine::Table &table)
    {
        const std::shared_ptr<engine::TableFile> file =
            table.session().attached(QFileInfo(table.tableName()).absoluteFilePath());
        if (!file)
            return;
        for (engine::DataSet *d : engine::DataSet::openOn(*file)) {
            d->checkBrowseMode();
            d->close();
            m_closed.push_back(d);
        }
    }
    // The first error of a reopening, after every one was tried.
    void reopen()
    {
        std::exception_ptr failure;
        for (auto it = m_closed.rbegin(); it != m_closed.rend(); ++it) {
            try {
                (*it)->open();
            } catch (...) {
                if (!failure)
                    failure = std::current_exception();
            }
        }
        m_closed.clear();
        if (failure)
            std::rethrow_exception(failure);
    }
    ~OthersClosed()
    {
        try {
            reopen();
        } catch (...) {
        }
    }

private:
    std::vector<engine::DataSet *> m_closed;
};

// Close, operate, always reopen as before; then pass an error on.
void withTableClosed(engine::Table &table, const std::function<void(const QString &path)> &op)
{
    const bool wasOpen = table.active();
    const bool exclusive = table.exclusive();
    table.disableControls();
    table.close();
    table.setExclusive(false);
    std::exception_ptr failure;
    try {
        OthersClosed others(table);
        try {
            op(QFileInfo(table.tableName()).absoluteFilePath());
        } catch (...) {
            failure = std::current_exception();
        }
        others.reopen();
    } catch (...) {
        if (!failure)
            failure = std::current_exception();
    }
    table.setExclusive(exclusive);
    try {
        if (wasOpen)
            table.open();
    } catch (...) {
        table.enableControls();
        if (!failure)
            throw;
        std::rethrow_exception(failure);
    }
    table.enableControls();
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace

void SetFieldValidity(engine::Table &table, const QString &fieldName, const QVariant *defaultValue,
                      bool required, bool drop)
{
    withTableClosed(table, [&](const QString &path) {
        engine::setTableFieldValidity(table.session(), path, fieldName,
                                      defaultValue ? *defaultValue : QVariant(), required, drop);
    });
}

void PackTable(engine::Table &table)
{
    withTableClosed(table, [&](const QString &path) { engine::packTableFile(table.session(), path); });
}

void SetTablePassword(engine::Table &table, const QString &password)
{
    withTableClosed(table, [&](const QString &path) {
        engine::setTableFilePassword(table.session(), path, password);
    });
}

void RebuildPrimaryIndex(engine::Table &table, int keyFields)
{
    withTableClosed(table, [&](const QString &path) {
        engine::rebuildPrimaryIndexFile(table.session(), path, keyFields);
    });
}

bool HasPrimaryIndex(engine::Table &table) { return table.hasPrimaryIndex(); }

void CreateNrExclIndex(engine::Table &table)
{
    const bool film = table.active()
        ? table.findField(QStringLiteral("KassNr")) != nullptr
        : engine::readTableDef(table.session(), table.tableName()).fieldIndex(QStringLiteral("KassNr")) >= 0;
    table.addIndex(NrExclIndexDef(film));
}
