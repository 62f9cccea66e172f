// The window size hook: an invisible marker on a form whose bottom-right
// corner, plus two margins, ends the form's client area when it is applied.
// It lets a form keep its designed client size whatever frame it gets.
#pragma once

#include <QWidget>

class TOzoWindowSizeHook : public QWidget
{
    Q_OBJECT
public:
    explicit TOzoWindowSizeHook(QWidget *parent = nullptr);

    bool Active() const { return FActive; }
    // True deactivates every other hook of the same form (their flag only)
    // and applies this one at once when its parent is visible.
    void SetActive(bool on);
    int PlusX = 0;
    int PlusY = 0;

    // Sizes the form so that the hook's bottom-right corner plus the margins
    // ends its client area. Nothing happens unless the hook's parent, or its
    // parent's parent, is a window.
    void AdjustForm();

    // Position among all hooks ever made: the order the form's components
    // are walked in.
    quint64 CreationOrder() const { return FOrder; }

signals:
    void BeforeApply();
    void AfterApply();

private:
    bool FActive = true;
    quint64 FOrder = 0;
};

// Applies the form's first active hook (in the order the hooks were made);
// false when the form has none.
bool ApplyWindowSizeHook(QWidget *form);
