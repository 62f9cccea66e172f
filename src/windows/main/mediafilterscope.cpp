#include "windows/main/mediafilterscope.h"

#include "kit/presenter.h"

MediaFilterScope::MediaFilterScope(engine::DataSet &set, const MediaFilter &filter, const QString &question)
    : m_set(set)
{
    if (!filter)
        return;
    const TModalResult r = kit::messageBox(QStringLiteral("Die Medientabelle ist momentan gefiltert!\r") + question,
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

MediaFilterScope::~MediaFilterScope()
{
    if (!m_applied)
        return;
    m_set.setFiltered(false);
    m_set.onFilterRecord = m_old;
    m_set.setFiltered(m_wasFiltered);
}
