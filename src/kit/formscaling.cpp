#include "kit/formscaling.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLayout>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

platform::Ratio RatioFromFactor(double f)
{
    platform::Ratio r;
    if (!platform::parseDecimalRatio(QString::number(f, 'f', 6), &r))
        return {1, 1};
    return r;
}

QRect ScaleBounds(const QRect &r, const platform::Ratio &f)
{
    const int w = int(f.apply(r.width()));
    const int h = int(f.apply(r.height()));
    const int top = int(f.apply(r.top() - 1)) + 1;
    const int left = int(f.apply(r.left() - 1)) + 1;
    return QRect(left, top, w, h);
}

int FontHeight(const QFont &font, int dpi)
{
    if (font.pixelSize() > 0)
        return -font.pixelSize();
    return -int(platform::roundHalfEven(font.pointSizeF() * dpi / 72.0));
}

QFont FontWithHeight(QFont font, int height, int dpi)
{
    if (height < 0)
        font.setPixelSize(-height);
    else if (height > 0)
        // A positive height counts the cell; take the character as 80 % of it.
        font.setPixelSize(std::max(1, int(platform::mulDivRoundHalfEven(height, 4, 5))));
    else
        font.setPointSizeF(8.0 * dpi / 96.0);
    return font;
}

bool ScalesFont(const QWidget *w)
{
    return qobject_cast<const QLabel *>(w) || qobject_cast<const QAbstractButton *>(w)
        || qobject_cast<const QLineEdit *>(w) || qobject_cast<const QComboBox *>(w)
        || w->inherits("TPZLabel");
}

int ScaleConstraint(int value, const platform::Ratio &f)
{
    if (value <= 0 || value >= QWIDGETSIZE_MAX)
        return value;
    return int(f.apply(value));
}

bool PlacesOwnParts(const QWidget *w)
{
    return qobject_cast<const QComboBox *>(w) || qobject_cast<const QAbstractSpinBox *>(w)
        || qobject_cast<const QAbstractItemView *>(w) || qobject_cast<const QTextEdit *>(w)
        || qobject_cast<const QPlainTextEdit *>(w) || w->layout();
}

void ScaleWidgetTree(QWidget *w, const platform::Ratio &f)
{
    if (!w->isWindow()) {
        // Fixed sizes (buttons of a kind, title bars) scale with the control,
        // or they would hold it at its old size.
        w->setMinimumSize(ScaleConstraint(w->minimumWidth(), f), ScaleConstraint(w->minimumHeight(), f));
        w->setMaximumSize(ScaleConstraint(w->maximumWidth(), f), ScaleConstraint(w->maximumHeight(), f));
    }
    w->setGeometry(ScaleBounds(w->geometry(), f));
    if (ScalesFont(w)) {
        const int dpi = w->logicalDpiY() > 0 ? w->logicalDpiY() : 96;
        w->setFont(FontWithHeight(w->font(), int(f.apply(FontHeight(w->font(), dpi))), dpi));
    }
    // The parts of a composite control follow its new size by themselves;
    // scaled once more they would cover its other parts (a combo box's edit
    // over its arrow).
    if (PlacesOwnParts(w))
        return;
    for (QObject *o : w->children()) {
        auto *child = qobject_cast<QWidget *>(o);
        if (child && !child->isWindow())
            ScaleWidgetTree(child, f);
    }
}
