#include "windows/printing/filmcardprint.h"

#include "kit/presenter.h"
#include "kit/pzspeedbutton.h"
#include "windows/printing/attachmentprint.h"
#include "windows/printing/pageprint.h"
#include "windows/cards/wfilm.h"

#include <QImage>
#include <QAction>
#include <QMenu>
#include <QPainter>

namespace {

// A small printer with a sheet: the button's face.
QImage printerGlyph()
{
    QImage img(20, 20, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setPen(QColor(40, 40, 40));
    p.setBrush(Qt::white);
    p.drawRect(5, 1, 9, 7);
    p.setBrush(QColor(150, 150, 150));
    p.drawRect(1, 8, 17, 7);
    p.setBrush(Qt::white);
    p.drawRect(5, 12, 9, 6);
    p.drawLine(7, 14, 12, 14);
    p.drawLine(7, 16, 12, 16);
    return img;
}

} // namespace

void AddFilmCardPrintButton(TWFilm &card)
{
    card.SpBPrint->SetGlyph(printerGlyph());
    card.SpBPrint->SetCaption(QString());
    card.AnhangKarte1->setObjectName(QStringLiteral("AnhangKartedrucken1"));
    card.A4Seite1->setObjectName(QStringLiteral("A4Seitedrucken1"));
    card.AnhangKarte1->setEnabled(true);
    card.A4Seite1->setEnabled(true);
    QObject::connect(card.AnhangKarte1, &QAction::triggered, &card, [&card] { PrintFilmAttachment(card); });
    QObject::connect(card.A4Seite1, &QAction::triggered, &card, [&card] { PrintFilmPage(card); });
}
