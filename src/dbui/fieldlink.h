// One control's link to one field of a data source: finds the field when
// the set opens, tells the control when to show the value again, when the
// record can be edited, and writes the control's pending text back when the
// record is posted or the control loses the focus.
//
// Every data-aware control (ours and the kit's check box) holds one. Keys
// that would change the text go through the link first: on a browsed record
// the link puts it into edit state; on a write-protected set it refuses the
// key and emits editRefused(), which record windows connect to their lock
// button's blink.
#pragma once

#include "dbui/datasource.h"

#include <QObject>
#include <QPointer>
#include <functional>

class QKeyEvent;
class QWidget;

namespace dbui {

class FieldLink : public QObject
{
    Q_OBJECT

public:
    explicit FieldLink(QObject *parent = nullptr);
    ~FieldLink() override;

    void setDataSource(DataSource *source);
    DataSource *dataSource() const { return m_source; }
    void setFieldName(const QString &name);
    QString fieldName() const { return m_fieldName; }

    // The bound field, null while the set is closed or the name unknown.
    engine::Field *field() const { return m_field; }
    bool isActive() const { return m_field != nullptr; }
    bool isEditing() const;

    // The control's own ReadOnly property.
    void setReadOnly(bool on);
    bool isReadOnly() const { return m_readOnly; }

    // The value may be changed now or after an automatic edit: the set is
    // active and writable, the field and the control are not read-only.
    bool canModify() const;

    // Called before the control changes the value. True when the record is
    // (now) in edit or insert state and the change may go ahead. A refusal
    // because the set is write-protected emits editRefused().
    bool beginEdit();

    // The control's text differs from the field.
    void setModified() { m_modified = true; }
    bool isModified() const { return m_modified; }

    // The control shows the stored value again.
    void reset();

    // The control's writer: puts its text into field(). May throw
    // engine::EngineError for a value the field refuses.
    void setWriter(std::function<void()> writer) { m_writer = std::move(writer); }
    // Writes pending text (when modified and editing); throws like the writer.
    void writeBack();
    // The same on behalf of the user (focus leaving the control): errors go
    // to the error sink. Returns false when the value was refused.
    bool writeBackReported();
    // The same when a box or another window takes the focus: a refused value
    // stays pending, unreported, for the post that follows.
    void writeBackQuietly();

    // Routes the editor's keys, input-method text and drops through
    // beginEdit(), and writes back when it loses the focus.
    void watch(QWidget *editor);

    // A key that changes the text of an edit control.
    static bool isEditKey(const QKeyEvent *event, bool multiLine);

    // The control's key-press handler (OnKeyPress): sees each typed
    // character (backspace as '\b') before the control does, and refuses
    // it by setting it to the bell character (7) or to 0. The kit's
    // field-size guard for combo boxes runs here.
    std::function<void(QChar &key)> onKeyPress;

    // Characters of the bound string field, 0 for other types or no field.
    int fieldSize() const;

signals:
    void dataChanged();     // show the field's value again
    void editingChanged();  // edit state or writability changed
    void activeChanged();   // the field was found or lost
    void editRefused();     // a change was attempted on a write-protected set

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void resolveField();
    void onDataChange(engine::Field *field);
    void onStateChange();

    QPointer<DataSource> m_source;
    QString m_fieldName;
    engine::Field *m_field = nullptr;
    engine::DataSet *m_fieldSet = nullptr;
    bool m_readOnly = false;
    bool m_modified = false;
    bool m_writing = false;
    bool m_lastEditing = false;
    bool m_lastCanModify = false;
    QPointer<QWidget> m_editor;
    std::function<void()> m_writer;
};

} // namespace dbui
