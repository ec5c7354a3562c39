// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Marks a text of the core that the window shows in the user's language: the core keeps it
// as it is written (French), the window looks it up in the program's translations under
// scope. Qt's own macro of the same name where Qt is included; Qt's lupdate reads both.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, text) text
#endif
