// The memo window: the memo of the current medium, film or person in a
// window of its own, with the film's title or the person's name above it and
// the program's lock in its title bar.
#pragma once

#include "kit/oberformmetal.h"

#include <functional>

class QMouseEvent;
class TLockButton;

namespace dbui {
class DataSource;
class DbMemo;
class DbText;
} // namespace dbui

// What the memo window needs from the program's other windows; whoever
// creates it passes these in.
struct TWMemoLinks {
    // The film window's and the person window's data sources: bound to one
    // of them, the window shows the title or the name.
    const dbui::DataSource *filmSource = nullptr;
    const dbui::DataSource *personSource = nullptr;
    // The main window's lock button click: toggles the write protection of
    // the whole program.
    std::function<void()> lockClick;
    // Whether the main window's media table is open read-only.
    std::function<bool()> mediaReadOnly;
    // The notes window's mouse-down handler of its memo (focus and pop-up menu).
    std::function<void(QWidget *memo, QMouseEvent *event)> memoMouseDown;
};

class TWMemo : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TWMemo(TWMemoLinks links, QWidget *parent = nullptr);
    ~TWMemo() override;

    dbui::DbMemo *DBMemo1;
    dbui::DbText *DBText1;
    TLockButton *LockButton = nullptr; // made in FormCreate, in PanelX

    // Binds the window to a data source, shows it and rolls it down.
    void ShowFor(dbui::DataSource *source);

    void FormCreate() override;
    void FormResize() override;
    void FormDeactivate() override;
    void FormClose(TCloseAction &action) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void DBMemo1KeyPress();
    void DBMemo1MouseDown(QMouseEvent *event);

    TWMemoLinks FLinks;
};

// The memo window while it exists, else null. Callers create it when it is
// null (CreateForm<TWMemo>(links)) and then call ShowFor.
extern TWMemo *WMemo;
