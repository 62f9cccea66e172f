// The system-style message box behind kit::messageBox: an icon, a plain text
// and the platform's buttons with their German captions. Each button ends the
// modal loop with its modal result.
#pragma once

#include "kit/presenter.h"

#include <QDialog>
#include <QList>

class QPushButton;

namespace kit {

class SystemMessageBox : public QDialog
{
    Q_OBJECT
public:
    SystemMessageBox(const QString &text, const QString &caption, MsgButtons buttons,
                     BoxIcon icon, int defaultButton, QWidget *parent = nullptr);

    // The modal results of the buttons, left to right, and their captions.
    const QList<TModalResult> &results() const { return m_results; }
    QStringList buttonCaptions() const;
    // What Esc and the window's close button give (the box's cancel answer).
    TModalResult escapeResult() const { return m_escape; }

    static QList<TModalResult> resultsOf(MsgButtons buttons);
    static QString captionOf(TModalResult result);

    // Esc and the close button: the box's cancel answer, where it has one.
    void reject() override;

private:
    QList<TModalResult> m_results;
    QList<QPushButton *> m_buttons;
    TModalResult m_escape = mrNone;
};

} // namespace kit
