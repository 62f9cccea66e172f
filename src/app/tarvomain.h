// The program's entry: everything main() does, so tests can link the same code.
#pragma once

class QApplication;

// Loads the German translations of Qt's own dialogs into the application.
void InstallGermanTranslations(QApplication &app);

int TarvoMain(int argc, char **argv);
