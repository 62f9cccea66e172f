// The data-aware check box: shows a Boolean, string or integer field as its
// state and writes the state back when the user clicks it.
#pragma once

#include "kit/ozocheck.h"

namespace dbui {
class CheckBinding;
class DataSource;
} // namespace dbui

class TOzoCustomDBCheck : public TOzoCustomCheck
{
    Q_OBJECT
public:
    explicit TOzoCustomDBCheck(QWidget *parent = nullptr);

    dbui::DataSource *DataSource() const;
    void SetDataSource(dbui::DataSource *source);
    QString DataField() const;
    void SetDataField(const QString &name);
    bool ReadOnly() const;
    void SetReadOnly(bool on);
    QString StringForTrue() const;
    void SetStringForTrue(const QString &s);
    QString StringForFalse() const;
    void SetStringForFalse(const QString &s);

    dbui::CheckBinding *Binding() const { return m_binding; }

    // Grayed stays permitted: an empty field shows grayed.
    void SetGrayedPermitted(bool on) override;

signals:
    // An edit of a write-protected record was attempted (the lock blinks).
    void editRefused();

protected:
    bool BeforeUserChange() override;
    void AfterUserChange() override;
    void ResetRequested() override;

private:
    void ShowField();

    dbui::CheckBinding *m_binding;
};

class TOzoDBCheck : public TOzoCustomDBCheck
{
    Q_OBJECT
public:
    explicit TOzoDBCheck(QWidget *parent = nullptr) : TOzoCustomDBCheck(parent) {}
};

// For a data-aware combo box bound to a string field of size n: a typed key
// (not backspace) on a text of n or more characters becomes the bell (7)
// and true is returned; a text longer than n is cut to n. Otherwise nothing
// happens and the result is false.
bool LimitComboToFieldSize(QWidget *control, QChar &key);
