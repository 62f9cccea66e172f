// A combo box bound to a field: an edit with a drop-down list of proposals
// (style DropDown) or a choice from the list only (style DropDownList). The
// list is the window's to fill, usually when it is about to drop down
// (dropDown()); picking an entry writes it like typed text.
#pragma once

#include "dbui/fieldcontrol.h"

#include <QComboBox>

namespace dbui {

class DbComboBox : public QComboBox, public FieldControl
{
    Q_OBJECT

public:
    enum Style { DropDown, DropDownList };
    Q_ENUM(Style)

    explicit DbComboBox(QWidget *parent = nullptr);

    void setStyle(Style style);
    Style comboStyle() const { return m_style; }


    // Whether the list is showing (the keyboard scheme leaves an open
    // list's keys alone).
    bool droppedDown() const { return m_droppedDown; }

    // The text the field gets.
    QString text() const;
    void setText(const QString &text);

    void showPopup() override;
    void hidePopup() override;

signals:
    void dropDown();   // about to show the list: fill it now
    void closeUp();    // the list closed
    void editRefused();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void showField();
    void updateEditable();
    void picked(int index);

    Style m_style = DropDown;
    bool m_droppedDown = false;
    bool m_loading = false;
};

} // namespace dbui
