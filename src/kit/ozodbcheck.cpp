#include "kit/ozodbcheck.h"

#include "dbui/checkbinding.h"
#include "dbui/dbcombobox.h"
#include "engine/field.h"

#include <QLineEdit>

namespace {

TCheckBoxState toBoxState(dbui::CheckBinding::State s)
{
    switch (s) {
    case dbui::CheckBinding::State::Checked: return cbChecked;
    case dbui::CheckBinding::State::Grayed: return cbGrayed;
    case dbui::CheckBinding::State::Unchecked: break;
    }
    return cbUnchecked;
}

dbui::CheckBinding::State toBindingState(TCheckBoxState s)
{
    switch (s) {
    case cbChecked: return dbui::CheckBinding::State::Checked;
    case cbGrayed: return dbui::CheckBinding::State::Grayed;
    case cbUnchecked: break;
    }
    return dbui::CheckBinding::State::Unchecked;
}

} // namespace

TOzoCustomDBCheck::TOzoCustomDBCheck(QWidget *parent)
    : TOzoCustomCheck(parent), m_binding(new dbui::CheckBinding(this))
{
    m_grayedPermitted = true;
    connect(m_binding, &dbui::CheckBinding::stateChanged, this, &TOzoCustomDBCheck::ShowField);
    connect(m_binding->link(), &dbui::FieldLink::editRefused, this, &TOzoCustomDBCheck::editRefused);
}

dbui::DataSource *TOzoCustomDBCheck::DataSource() const { return m_binding->dataSource(); }
void TOzoCustomDBCheck::SetDataSource(dbui::DataSource *source) { m_binding->setDataSource(source); ShowField(); }
QString TOzoCustomDBCheck::DataField() const { return m_binding->dataField(); }
void TOzoCustomDBCheck::SetDataField(const QString &name) { m_binding->setDataField(name); ShowField(); }
bool TOzoCustomDBCheck::ReadOnly() const { return m_binding->isReadOnly(); }
void TOzoCustomDBCheck::SetReadOnly(bool on) { m_binding->setReadOnly(on); }
QString TOzoCustomDBCheck::StringForTrue() const { return m_binding->stringForTrue(); }
void TOzoCustomDBCheck::SetStringForTrue(const QString &s) { m_binding->setStringForTrue(s); }
QString TOzoCustomDBCheck::StringForFalse() const { return m_binding->stringForFalse(); }
void TOzoCustomDBCheck::SetStringForFalse(const QString &s) { m_binding->setStringForFalse(s); }

void TOzoCustomDBCheck::SetGrayedPermitted(bool)
{
    m_grayedPermitted = true;
}

void TOzoCustomDBCheck::ShowField()
{
    // The field's value always shows, whatever the last click was allowed.
    m_changesPermitted = true;
    SetState(toBoxState(m_binding->readState()));
}

bool TOzoCustomDBCheck::BeforeUserChange()
{
    m_changesPermitted = !m_binding->isReadOnly() && m_binding->beginChange();
    return m_changesPermitted;
}

void TOzoCustomDBCheck::AfterUserChange()
{
    if (!m_changesPermitted || m_binding->isReadOnly())
        return;
    if (!m_binding->writeState(toBindingState(m_state)))
        ShowField();
}

void TOzoCustomDBCheck::ResetRequested()
{
    m_binding->link()->reset();
    ShowField();
}

bool LimitComboToFieldSize(QWidget *control, QChar &key)
{
    auto *combo = qobject_cast<dbui::DbComboBox *>(control);
    if (!combo || key == QChar(u'\b'))
        return false;
    engine::Field *f = combo->field();
    if (!f || f->dataType() != engine::FieldType::String || f->size() <= 0)
        return false;
    const int n = f->size();
    QString text = combo->text();
    if (text.size() > n) {
        text.truncate(n);
        combo->setText(text);
    }
    if (text.size() >= n) {
        key = QChar(7);
        return true;
    }
    return false;
}
