// TWebLink: a label that opens a web or mail address when clicked.
#pragma once

#include "platform/tcolor.h"

#include <QLabel>

// The address and caption after setting HRef to value, given the previous
// address, the caption shown now and the component's name.
struct WebLinkText {
    QString href;
    QString caption;
};
WebLinkText ApplyWebLinkHRef(const QString &value, const QString &previous, const QString &caption,
                             const QString &componentName);

class TWebLink : public QLabel
{
    Q_OBJECT
public:
    explicit TWebLink(QWidget *parent = nullptr);

    QString HRef() const { return FHRef; }
    void SetHRef(const QString &value);
    platform::TColor SelColor() const { return FSelColor; }
    void SetSelColor(platform::TColor c) { FSelColor = c; }

    // Clicked first, then the address is opened and the link takes SelColor.
    void Click();

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *e) override;

private:
    QString FHRef;
    platform::TColor FSelColor = 0x800080;
};
