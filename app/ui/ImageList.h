// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QList>

// The nine tool-bar symbols, indices 0..8: open, save, print, expand, collapse,
// help, zoom in, zoom out, system information.
QList<QIcon> BuildImageList1();
