// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <initializer_list>
#include <string>

// Texts of the core that the window shows in the user's language. The core writes them in
// French; the window installs a translator that looks them up in the program's translations
// (Qt's lupdate reads Tr like QCoreApplication::translate, and QT_TRANSLATE_NOOP marks a
// text kept in a constant).
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, text) text
#endif

namespace translatable {

// UTF-8 in, UTF-8 out; nullptr: the French text as it is.
using TTranslator = std::string (*)(const char* context, const char* text);
void SetTranslator(TTranslator translator);

// text in the user's language (French where no translator is set or none is known).
std::string Tr(const char* context, const char* text);
// The same with %1, %2 … replaced by args, in the order the language puts them; text is
// marked with QT_TRANSLATE_NOOP, which lupdate reads there.
std::string Format(const char* context, const char* text, std::initializer_list<std::string> args);

}  // namespace translatable
