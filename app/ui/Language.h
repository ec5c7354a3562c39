// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QString>

#include <optional>
#include <string>

// The interface language: French (the texts as the program is written), English or German,
// through Qt's translations compiled into the program, Qt's own dialogs in the same one.
namespace language {

enum class TLanguage { French, English, German };

// "fr", "en", "de" as WINDOW.INI keeps them, and back.
const char* Code(TLanguage language);
std::optional<TLanguage> FromCode(const std::string& code);
// The language's own name: "Français", "English", "Deutsch".
QString OwnName(TLanguage language);
QLocale LocaleOf(TLanguage language);

// The system's language where it is one of the three, else French.
TLanguage FromSystem(const QLocale& system = QLocale::system());
// What WINDOW.INI in the archive folder names (language=), else the system's.
TLanguage Chosen(const std::string& archivePath);

// Installs the program's and Qt's translations, before any window is made. Returns the
// language installed.
TLanguage Install(TLanguage language);
TLanguage Current();

// text as the program's translation for language says it, whatever is installed (to say
// something in the language just chosen).
QString TranslateInto(TLanguage language, const char* context, const char* text);

}  // namespace language
