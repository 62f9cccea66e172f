#include "dbui/dbnavigator.h"

#include "dbui/errorsink.h"
#include "engine/engineerror.h"

#include <QToolButton>

namespace dbui {

namespace {

struct ButtonFace
{
    const char *name;
    const char16_t *glyph;
    const char16_t *hint;
};

// The faces are plain symbols; hints as the German class library gave them.
const ButtonFace kFaces[DbNavigator::ButtonCount] = {
    {"First", u"|\u25C0", u"Erster Datensatz"},
    {"Prior", u"\u25C0", u"Vorheriger Datensatz"},
    {"Next", u"\u25B6", u"Nächster Datensatz"},
    {"Last", u"\u25B6|", u"Letzter Datensatz"},
    {"Insert", u"+", u"Datensatz einfügen"},
    {"Delete", u"\u2212", u"Datensatz löschen"},
    {"Edit", u"\u25B2", u"Datensatz bearbeiten"},
    {"Post", u"\u2714", u"Daten übernehmen"},
    {"Cancel", u"\u2716", u"Bearbeitung abbrechen"},
    {"Refresh", u"\u21BB", u"Daten aktualisieren"},
};

std::function<bool(const QString &)> &confirmHandler()
{
    static std::function<bool(const QString &)> handler;
    return handler;
}

bool isEditing(engine::DataSetState s)
{
    return s == engine::DataSetState::Edit || s == engine::DataSetState::Insert;
}

} // namespace

DbNavigator::DbNavigator(QWidget *parent)
    : QWidget(parent)
{
    for (int i = 0; i < ButtonCount; ++i) {
        auto *b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(kFaces[i].name));
        b->setText(QString::fromUtf16(kFaces[i].glyph));
        b->setToolTip(QString::fromUtf16(kFaces[i].hint));
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRaise(false);
        connect(b, &QToolButton::clicked, this, [this, i] { act(Button(i)); });
        m_buttons[size_t(i)] = b;
        m_visible[size_t(i)] = true;
    }
    resize(240, 25);
    updateButtons();
}

void DbNavigator::setConfirmHandler(std::function<bool(const QString &)> handler)
{
    confirmHandler() = std::move(handler);
}

void DbNavigator::setDataSource(DataSource *source)
{
    const auto update = &DbNavigator::updateButtons;
    if (relinkSource(m_source, source, this, update, update, update, update))
        updateButtons();
}

void DbNavigator::setVisibleButtons(const QList<Button> &buttons)
{
    for (int i = 0; i < ButtonCount; ++i) {
        m_visible[size_t(i)] = buttons.contains(Button(i));
        m_buttons[size_t(i)]->setVisible(m_visible[size_t(i)]);
    }
    layoutButtons();
}

QList<DbNavigator::Button> DbNavigator::visibleButtons() const
{
    QList<Button> out;
    for (int i = 0; i < ButtonCount; ++i)
        if (m_visible[size_t(i)])
            out << Button(i);
    return out;
}

bool DbNavigator::isButtonEnabled(Button b) const
{
    return m_buttons[size_t(b)]->isEnabled();
}

void DbNavigator::updateButtons()
{
    const bool active = m_source && m_source->isActive();
    engine::DataSet *ds = active ? m_source->dataSet() : nullptr;
    const bool on = active;
    const bool up = on && !ds->bof();
    const bool down = on && !ds->eof();
    const bool canModify = on && ds->canModify();
    const bool editing = on && isEditing(ds->state());
    const bool empty = on && ds->bof() && ds->eof();
    const bool state[ButtonCount] = {up,        up,
                                     down,      down,
                                     canModify, canModify && !empty && !editing,
                                     canModify && !editing,
                                     canModify && editing,
                                     canModify && editing,
                                     on};
    for (int i = 0; i < ButtonCount; ++i)
        if (m_buttons[size_t(i)]->isEnabled() != state[i])
            m_buttons[size_t(i)]->setEnabled(state[i]);
}

void DbNavigator::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutButtons();
}

void DbNavigator::layoutButtons()
{
    const QList<Button> shown = visibleButtons();
    if (shown.isEmpty())
        return;
    // The shown buttons share the width; the pixels left over go to the
    // first ones, one each.
    const int w = width() / int(shown.size());
    int extra = width() - w * int(shown.size());
    int x = 0;
    for (Button b : shown) {
        const int bw = w + (extra-- > 0 ? 1 : 0);
        m_buttons[size_t(b)]->setGeometry(x, 0, bw, height());
        x += bw;
    }
}

void DbNavigator::press(Button b)
{
    if (m_visible[size_t(b)] && m_buttons[size_t(b)]->isEnabled())
        act(b);
}

void DbNavigator::act(Button b)
{
    if (!m_source || !m_source->isActive())
        return;
    engine::DataSet *ds = m_source->dataSet();
    const bool done = guarded([&] {
        if (beforeAction)
            beforeAction(b);
        switch (b) {
        case First:
            ds->first();
            break;
        case Prior:
            ds->prior();
            break;
        case Next:
            ds->next();
            break;
        case Last:
            ds->last();
            break;
        case Insert:
            ds->insert();
            break;
        case Delete:
            if (!m_confirmDelete
                || (confirmHandler() && confirmHandler()(QStringLiteral("Datensatz löschen?"))))
                ds->deleteRecord();
            break;
        case Edit:
            ds->edit();
            break;
        case Post:
            ds->post();
            break;
        case Cancel:
            ds->cancel();
            break;
        case Refresh:
            ds->refresh();
            break;
        }
    });
    updateButtons();
    if (done)
        emit clicked(b);
}

} // namespace dbui
