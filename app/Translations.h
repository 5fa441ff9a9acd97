#pragma once

// Installs Kartavo's own translation and Qt's for the system's language (LANG, LC_ALL,
// LC_MESSAGES), after the application is made and before any window. English and the
// C locale install none, so every text stays as written in the code. Numbers in the
// fields keep their decimal point whatever the language.
void InstallTranslations();
