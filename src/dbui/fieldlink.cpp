#include "dbui/fieldlink.h"

#include "dbui/errorsink.h"
#include "engine/engineerror.h"
#include "engine/field.h"

#include <QEvent>
#include <QScopedValueRollback>
#include <QKeyEvent>
#include <QLineEdit>
#include <QKeySequence>
#include <QWidget>

namespace dbui {

FieldLink::FieldLink(QObject *parent)
    : QObject(parent)
{
}

FieldLink::~FieldLink()
{
    if (m_source)
        m_source->removeLink(this);
}

void FieldLink::setDataSource(DataSource *source)
{
    if (source == m_source)
        return;
    if (m_source) {
        m_source->removeLink(this);
        disconnect(m_source, nullptr, this, nullptr);
    }
    m_source = source;
    if (m_source) {
        m_source->addLink(this);
        connect(m_source, &DataSource::dataChange, this, &FieldLink::onDataChange);
        connect(m_source, &DataSource::stateChange, this, &FieldLink::onStateChange);
        connect(m_source, &DataSource::dataSetChange, this, &FieldLink::onStateChange);
        connect(m_source, &QObject::destroyed, this, [this] {
            m_field = nullptr;
            m_fieldSet = nullptr;
            emit activeChanged();
            emit editingChanged();
            emit dataChanged();
        });
    }
    onStateChange();
}

void FieldLink::setFieldName(const QString &name)
{
    if (name == m_fieldName)
        return;
    m_fieldName = name;
    onStateChange();
}

void FieldLink::resolveField()
{
    engine::Field *found = nullptr;
    engine::DataSet *set = nullptr;
    if (m_source && m_source->isActive() && !m_fieldName.isEmpty()) {
        set = m_source->dataSet();
        found = set->findField(m_fieldName);
    }
    const bool changed = found != m_field || set != m_fieldSet;
    m_field = found;
    m_fieldSet = set;
    if (changed) {
        m_modified = false;
        emit activeChanged();
        emit dataChanged();
    }
}

bool FieldLink::isEditing() const
{
    return m_field && m_source && m_source->isEditing();
}

void FieldLink::setReadOnly(bool on)
{
    if (on == m_readOnly)
        return;
    m_readOnly = on;
    emit editingChanged();
}

bool FieldLink::canModify() const
{
    return m_field && !m_readOnly && !m_field->readOnly() && !m_field->isCalculated()
           && m_source->canModify();
}

bool FieldLink::beginEdit()
{
    if (!m_field || m_readOnly || m_field->readOnly() || m_field->isCalculated())
        return false;
    if (!m_source->canModify()) {
        emit editRefused();
        return false;
    }
    return m_source->edit();
}

int FieldLink::fieldSize() const
{
    return m_field && m_field->dataType() == engine::FieldType::String ? m_field->size() : 0;
}

void FieldLink::reset()
{
    m_modified = false;
    emit dataChanged();
}

void FieldLink::writeBack()
{
    if (!m_modified || m_writing || !isEditing() || !m_writer)
        return;
    const QScopedValueRollback<bool> guard(m_writing, true);
    m_writer();
    m_modified = false;
}

bool FieldLink::writeBackReported()
{
    return guarded([this] { writeBack(); });
}

void FieldLink::writeBackQuietly()
{
    try {
        writeBack();
    } catch (const engine::Abort &) {
    } catch (const engine::EngineError &) {
        // Left modified: the post writes it again and reports the refusal.
    }
}

void FieldLink::onDataChange(engine::Field *field)
{
    if (!m_field && m_source && m_source->isActive())
        resolveField();
    if (!field || field == m_field) {
        m_modified = false;
        emit dataChanged();
    }
}

void FieldLink::onStateChange()
{
    resolveField();
    const bool editing = isEditing();
    const bool modifiable = canModify();
    if (!editing && m_modified) {
        // Posted or cancelled elsewhere: whatever the control held is gone.
        m_modified = false;
        emit dataChanged();
    }
    if (editing != m_lastEditing || modifiable != m_lastCanModify) {
        m_lastEditing = editing;
        m_lastCanModify = modifiable;
        emit editingChanged();
    }
}

bool FieldLink::isEditKey(const QKeyEvent *event, bool multiLine)
{
    if (event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut)
        || event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo)
        || event->matches(QKeySequence::Delete) || event->matches(QKeySequence::Backspace)
        || event->matches(QKeySequence::DeleteEndOfWord)
        || event->matches(QKeySequence::DeleteStartOfWord)
        || event->matches(QKeySequence::DeleteEndOfLine)
        || event->matches(QKeySequence::DeleteCompleteLine))
        return true;
    switch (event->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return multiLine;
    default:
        break;
    }
    if (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
        return false;
    const QString text = event->text();
    return !text.isEmpty() && (text.at(0).isPrint() || text.at(0) == QLatin1Char('\t'));
}

void FieldLink::watch(QWidget *editor)
{
    if (m_editor)
        m_editor->removeEventFilter(this);
    m_editor = editor;
    if (editor) {
        editor->installEventFilter(this);
        editor->setAcceptDrops(true);
    }
}

bool FieldLink::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_editor)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool multiLine = m_editor->property("dbuiMultiLine").toBool();
        if (key->key() == Qt::Key_Tab && !multiLine)
            break;
        if (onKeyPress) {
            QChar ch;
            if (key->key() == Qt::Key_Backspace)
                ch = QLatin1Char('\b');
            else if (!key->text().isEmpty() && !(key->modifiers() & Qt::ControlModifier))
                ch = key->text().at(0);
            if (!ch.isNull()) {
                onKeyPress(ch);
                if (ch.isNull() || ch == QChar(7))
                    return true;
            }
        }
        if (isEditKey(key, multiLine)) {
            // Going into edit state may re-read the record (another client
            // changed it). The key belongs to the text the user saw and
            // selected, so that text comes back whole before the key lands;
            // merged into the re-read value it would give a third value.
            auto *line = qobject_cast<QLineEdit *>(m_editor.data());
            const QString seen = line ? line->text() : QString();
            const int selStart = line ? line->selectionStart() : -1;
            const int selLength = line ? line->selectedText().size() : 0;
            const int cursor = line ? line->cursorPosition() : 0;
            if (!beginEdit())
                return true; // swallowed: the record cannot be changed
            if (line && line->text() != seen) {
                line->setText(seen);
                if (selStart >= 0)
                    line->setSelection(selStart, selLength);
                else
                    line->setCursorPosition(cursor);
                setModified();
            }
        }
        break;
    }
    case QEvent::InputMethod:
    case QEvent::Drop:
        if (!beginEdit()) {
            event->ignore();
            return true;
        }
        break;
    case QEvent::FocusOut: {
        // A box or another window that takes the focus is no move to another
        // control: the text waits for the post (or the next control), and a
        // value refused now is reported by whoever posts, once. Reported here
        // too, the box that reports it would take the focus and show it again.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            writeBackQuietly();
        else
            writeBackReported();
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace dbui

