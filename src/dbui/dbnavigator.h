// The record navigator: a row of buttons that move a data set (first,
// prior, next, last), insert, delete, edit, post, cancel and refresh it.
// The buttons follow the set: moving buttons are off at the ends, changing
// buttons off while the set is write-protected, post and cancel on only
// while a record is edited. Windows choose the visible buttons and hear of
// every press before and after it acts.
#pragma once

#include "dbui/datasource.h"

#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>

class QToolButton;

namespace dbui {

class DbNavigator : public QWidget
{
    Q_OBJECT

public:
    enum Button { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel, Refresh };
    Q_ENUM(Button)
    static constexpr int ButtonCount = 10;

    explicit DbNavigator(QWidget *parent = nullptr);

    void setDataSource(DataSource *source);
    DataSource *dataSource() const { return m_source; }

    // Which buttons show (all by default); the shown ones share the width.
    void setVisibleButtons(const QList<Button> &buttons);
    QList<Button> visibleButtons() const;
    bool isButtonVisible(Button b) const { return m_visible[size_t(b)]; }

    // Delete asks first (the default): "Datensatz löschen?" through the
    // confirmation handler.
    void setConfirmDelete(bool on) { m_confirmDelete = on; }
    bool confirmDelete() const { return m_confirmDelete; }
    // Answers the delete question; without one the record is not deleted,
    // so that nothing goes without an answer. The program installs the
    // kit's question box here, tests their scripted answer.
    static void setConfirmHandler(std::function<bool(const QString &question)> handler);

    QToolButton *button(Button b) const { return m_buttons[size_t(b)]; }
    bool isButtonEnabled(Button b) const;

    // Presses a button as the user does (nothing when it is disabled).
    void press(Button b);

    // Runs before a button acts (BeforeAction); throwing engine::Abort
    // stops the action silently.
    std::function<void(Button)> beforeAction;

signals:
    // After a button acted (the handlers named ...Click).
    void clicked(dbui::DbNavigator::Button button);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void updateButtons();
    void layoutButtons();
    void act(Button b);

    QPointer<DataSource> m_source;
    std::array<QToolButton *, ButtonCount> m_buttons{};
    std::array<bool, ButtonCount> m_visible{};
    bool m_confirmDelete = true;
};

} // namespace dbui
