#include "windows/filmcardprint.h"

#include "kit/presenter.h"
#include "kit/pzspeedbutton.h"
#include "windows/attachmentprint.h"
#include "windows/pageprint.h"
#include "windows/wfilm.h"

#include <QCursor>
#include <QMenu>

void AddFilmCardPrintButton(TWFilm &card)
{
    auto *button = new TPZSpeedButton(&card);
    button->setObjectName(QStringLiteral("SpBPrint"));
    button->setGeometry(650, 88, 24, 24);
    button->SetCaption(QStringLiteral("⎙"));
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
