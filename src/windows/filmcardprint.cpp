#include "windows/filmcardprint.h"

#include "kit/presenter.h"
#include "kit/pzspeedbutton.h"
#include "windows/attachmentprint.h"
#include "windows/pageprint.h"
#include "windows/wfilm.h"

#include <QImage>
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
    auto *button = new TPZSpeedButton(&card);
    button->setObjectName(QStringLiteral("SpBPrint"));
    button->setGeometry(650, 88, 24, 24);
    button->SetGlyph(printerGlyph());
    button->setToolTip(QStringLiteral("Drucken"));
    auto *menu = new QMenu(&card);
    menu->setObjectName(QStringLiteral("PopupPrint"));
    QAction *cards = menu->addAction(QStringLiteral("Anhang-Karte(n) drucken..."));
    cards->setObjectName(QStringLiteral("AnhangKartedrucken1"));
    QAction *pages = menu->addAction(QStringLiteral("A4-Seite(n) drucken..."));
    pages->setObjectName(QStringLiteral("A4Seitedrucken1"));
    QObject::connect(cards, &QAction::triggered, &card, [&card] { PrintFilmAttachment(card); });
    QObject::connect(pages, &QAction::triggered, &card, [&card] { PrintFilmPage(card); });
    QObject::connect(button, &TPZSpeedButton::Click, &card, [button, menu] {
        kit::popupMenu(*menu, button->mapToGlobal(QPoint(0, button->height())));
    });
}
