// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QIcon>
#include <QString>

#include "warnings/Urgency.h"

// How an urgent message looks in every list: an icon and a colour of its own, never the red
// of the selected message, kept while the message is in force, read or not.
namespace urgency {

QIcon Icon(warnings::TUrgency urgency);     // null for None
QColor Colour(warnings::TUrgency urgency);  // invalid for None
// "recherche et sauvetage ou message vital", for tool tips; empty for None.
QString Words(warnings::TUrgency urgency);

}  // namespace urgency
