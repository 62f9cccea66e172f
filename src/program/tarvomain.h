// The program's entry: everything main() does, so tests can link the same code.
#pragma once

#include <QStringList>

class QApplication;

// Loads the German translations of Qt's own dialogs into the application.
void InstallGermanTranslations(QApplication &app);

// Start-up after the application object exists: defaults, command line and
// "tarvo.par", the look switches, the permanent windows; the main window is
// shown (its first show loads the settings and opens the database).
void StartTarvo(const QStringList &args);

int TarvoMain(int argc, char **argv);
