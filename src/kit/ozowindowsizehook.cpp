#include "kit/ozowindowsizehook.h"

#include <algorithm>

namespace {
quint64 nextHookOrder = 1;

QWidget *formOf(QWidget *w)
{
    if (!w)
        return nullptr;
    if (w->isWindow())
        return w;
    QWidget *p = w->parentWidget();
    return p && p->isWindow() ? p : nullptr;
}

std::vector<TOzoWindowSizeHook *> hooksOf(QWidget *form)
{
    auto list = form->findChildren<TOzoWindowSizeHook *>();
    std::vector<TOzoWindowSizeHook *> v(list.begin(), list.end());
    std::sort(v.begin(), v.end(), [](auto *a, auto *b) { return a->CreationOrder() < b->CreationOrder(); });
    return v;
}
} // namespace

TOzoWindowSizeHook::TOzoWindowSizeHook(QWidget *parent)
    : QWidget(parent), FOrder(nextHookOrder++)
{
    setGeometry(0, 0, 16, 16);
    // A marker only: never seen, never in the way of the mouse.
    setVisible(false);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TOzoWindowSizeHook::SetActive(bool on)
{
    if (!on) {
        FActive = false;
        return;
    }
    if (QWidget *owner = window(); owner && owner != this) {
        for (auto *other : hooksOf(owner))
            if (other != this)
                other->FActive = false;
    }
    FActive = true;
    if (parentWidget() && parentWidget()->isVisible())
        AdjustForm();
}

void TOzoWindowSizeHook::AdjustForm()
{
    QWidget *form = formOf(parentWidget());
    if (!form)
        return;
    emit BeforeApply();
    const QPoint corner = mapTo(form, QPoint(width(), height()));
    form->resize(corner.x() + PlusX, corner.y() + PlusY);
    emit AfterApply();
}

bool ApplyWindowSizeHook(QWidget *form)
{
    if (!form)
        return false;
    for (auto *hook : hooksOf(form)) {
        if (hook->Active()) {
            hook->AdjustForm();
            return true;
        }
    }
    return false;
}
