#include "kit/weblink.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QUrl>

static bool hasScheme(const QString &v)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    return scheme.match(v).hasMatch() || v.startsWith(QLatin1String("MAILTO:"), Qt::CaseInsensitive);
}

// The address as a caption shows it: without "http://" or "mailto:".
static QString bareAddress(const QString &v)
{
    if (v.startsWith(QLatin1String("http://"), Qt::CaseInsensitive)
        || v.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive))
        return v.mid(7);
    return v;
}

WebLinkText ApplyWebLinkHRef(const QString &value, const QString &previous, const QString &caption,
                             const QString &componentName)
{
    WebLinkText r;
    const bool unchanged = hasScheme(value);
    r.href = unchanged ? value : QStringLiteral("http://") + value;
    r.caption = caption;
    if (r.caption.isEmpty() || r.caption == previous || r.caption == componentName)
        r.caption = value;
    if (QStringLiteral("http://") + r.caption == previous)
        r.caption = unchanged ? bareAddress(value) : value;
    return r;
}

TWebLink::TWebLink(QWidget *parent) : QLabel(parent)
{
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, platform::toQColor(0xFF0000));
    setPalette(pal);
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_TranslucentBackground);
}

void TWebLink::SetHRef(const QString &value)
{
    const WebLinkText t = ApplyWebLinkHRef(value, FHRef, text(), objectName());
    FHRef = t.href;
    setText(t.caption);
}

void TWebLink::Click()
{
    emit clicked();
    if (!FHRef.isEmpty())
        QDesktopServices::openUrl(QUrl(FHRef, QUrl::TolerantMode));
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, platform::toQColor(FSelColor));
    setPalette(pal);
}

void TWebLink::mouseReleaseEvent(QMouseEvent *e)
{
    QLabel::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
        Click();
}
