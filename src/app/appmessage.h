// The boxes of start-up, settings and database opening: one door, so that
// every box goes through the kit's presenter and tests can answer it. Line
// breaks are written "\r" as in all the program's texts.
#pragma once

#include "kit/presenter.h"

#include <QString>

TModalResult AppMessage(const QString &text, const QString &caption,
                        kit::BoxIcon icon = kit::BoxIcon::Information,
                        kit::MsgButtons buttons = kit::MsgButtons::Ok, int defaultButton = 0);
