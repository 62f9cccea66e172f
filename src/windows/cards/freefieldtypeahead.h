// Type-ahead on the value drop-downs of a record window's free fields: after
// 600 ms without a key (TimerFree) the typed text is completed with the
// first stored value that begins with it, the added characters selected;
// Escape undoes the completion.
#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QComboBox;
class QTimer;

namespace dbui {
class DbComboBox;
}

// Empties a value drop-down's list, keeping the text it shows, so that the
// list is built again on the next drop-down.
void EmptyValueList(dbui::DbComboBox *combo);

class TFreeFieldTypeAhead : public QObject
{
    Q_OBJECT
public:
    // lookup(nr, typed) gives the completion or an empty text.
    using Lookup = std::function<QString(int nr, const QString &typed)>;
    explicit TFreeFieldTypeAhead(Lookup lookup, QObject *parent = nullptr);

    // The drop-down of free field nr takes part (an editable combo box).
    void attach(QComboBox *combo, int nr);
    // The medium attachment window handles Escape as Enter afterwards.
    void setEscapeAsEnter(bool on) { m_escapeAsEnter = on; }
    // Runs before each key (the lock button blinks when the record is locked).
    std::function<void()> beforeKey;

    QTimer *TimerFree;
    bool completed() const { return m_completed; }
    // What the timer does when it fires.
    void TimerFreeTimer();

signals:
    // Escape handled as Enter: the window ends the edit as with Enter.
    void enterPressed(QComboBox *combo);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Lookup m_lookup;
    QComboBox *m_current = nullptr;
    bool m_completed = false;
    bool m_escapeAsEnter = false;
};
