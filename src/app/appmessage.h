// The boxes of start-up, settings, database opening and the record rules: one
// door, the user dialogs (platform/userdialogs.h), so that tests can answer
// them and these layers open no window. Line breaks are written "\r" as in
// all the program's texts.
#pragma once

#include "platform/userdialogs.h"

#include <QString>

TModalResult AppMessage(const QString &text, const QString &caption,
                        platform::MessageIcon icon = platform::MessageIcon::Information,
                        platform::MessageButtons buttons = platform::MessageButtons::Ok, int defaultButton = 0);

// The program's own message box (caption, then the text with its mark-up).
void AppNotice(const QString &caption, const QString &text);
