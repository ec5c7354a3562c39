// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

// The standard message boxes, captioned and labelled in German as the toolkit's German
// edition draws them. Every box of the program goes through here.
enum class TBoxKind { Warning, Information, Error, Confirmation, Plain };

enum class TBoxButtons { Ok, YesNo };

// The caption of a kind of box: "Warnung", "Information", "Bestätigen"; a plain box and
// the error box carry the application's title.
QString BoxCaption(TBoxKind kind);

// A box ready to be shown, for callers that need more than ShowMessageBox.
QMessageBox* MakeMessageBox(QWidget* parent, TBoxKind kind, const QString& text, TBoxButtons buttons);

// Shows the box modally; QMessageBox::Yes, QMessageBox::No or QMessageBox::Ok.
int ShowMessageBox(QWidget* parent, TBoxKind kind, const QString& text,
                   TBoxButtons buttons = TBoxButtons::Ok);

// Lets tests answer the boxes instead of a user: the answerer sees the box and returns
// the button. Empty: the boxes are shown.
using TBoxAnswerer = std::function<int(QMessageBox& box)>;
void SetMessageBoxAnswerer(TBoxAnswerer answerer);
