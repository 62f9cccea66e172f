// A typed field of a data set: reads and writes the data set's current record
// (or, while a key is being set, its key buffer), checks the value against the
// field's type and size, and runs the field's validate and change events.
#pragma once

#include "engine/tabledef.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QVariant>
#include <functional>

namespace engine {

class DataSet;

class Field {
public:
    using Event = std::function<void(Field &)>;

    Field(DataSet *owner, int index, const FieldDef &def, bool calculated);

    DataSet &dataSet() const { return *m_owner; }
    int index() const { return m_index; }               // position in the data set's field list
    const QString &fieldName() const { return m_def.name; }
    FieldType dataType() const { return m_def.type; }
    int size() const { return m_def.size; }
    bool required() const { return m_def.required; }
    QVariant defaultValue() const { return m_def.defaultValue; }
    bool isCalculated() const { return m_calculated; }
    bool isBlob() const { return m_def.type == FieldType::Memo || m_def.type == FieldType::Graphic; }
    const FieldDef &definition() const { return m_def; }

    QString displayLabel() const { return m_displayLabel.isEmpty() ? m_def.name : m_displayLabel; }
    void setDisplayLabel(const QString &label) { m_displayLabel = label; }
    int displayWidth() const;                            // characters a grid column shows
    void setDisplayWidth(int chars) { m_displayWidth = chars; }
    bool visible() const { return m_visible; }
    void setVisible(bool v) { m_visible = v; }
    bool readOnly() const { return m_readOnly; }
    void setReadOnly(bool r) { m_readOnly = r; }
    // Date fields: format of displayText ("dd.MM.yyyy" unless set).
    QString displayFormat() const { return m_displayFormat; }
    void setDisplayFormat(const QString &f) { m_displayFormat = f; }

    // Reading the current record. Null reads as "", 0, false, an invalid date.
    bool isNull() const;
    QVariant value() const;      // null QVariant when empty
    QVariant asVariant() const { return value(); }
    QString asString() const;
    int asInteger() const;
    qint64 asLargeInt() const;
    double asFloat() const;
    bool asBoolean() const;
    QDate asDate() const;
    QByteArray asBytes() const;  // memo (as Windows-1252 bytes) or picture bytes
    QString displayText() const; // as a grid or label shows it
    QVariant oldValue() const;   // the value shown when editing began (what a post compares with)

    // Writing (edit, insert, set-key or calculation state only). Values are
    // converted to the field's type: an empty string is null, text longer
    // than the field is cut to its size, a number or date out of range is
    // refused with an EngineError.
    void setValue(const QVariant &v);
    void setAsString(const QString &s) { setValue(s); }
    void setAsInteger(int v) { setValue(v); }
    void setAsBoolean(bool v) { setValue(v); }
    void setAsDate(const QDate &d) { setValue(d.isValid() ? QVariant(d) : QVariant()); }
    void setAsBytes(const QByteArray &b) { setValue(b); }
    void clear() { setValue(QVariant()); }

    // Converts a value to this field's stored form (throws on bad values).
    QVariant convert(const QVariant &v) const;

    Event onValidate; // runs with the new value in place; throwing refuses it
    Event onChange;   // runs after a value was accepted

private:
    friend class DataSet;
    DataSet *m_owner;
    int m_index;
    FieldDef m_def;
    bool m_calculated;
    QString m_displayLabel;
    QString m_displayFormat;
    int m_displayWidth = 0;
    bool m_visible = true;
    bool m_readOnly = false;
};

} // namespace engine
