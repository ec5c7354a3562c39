// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>

// Decodes a JPEG picture with libjpeg; a null image when the data is not a JPEG.
QImage DecodeJpeg(const QByteArray& data);

// Loads and decodes a JPEG from a file or resource path.
QImage LoadJpeg(const QString& path);
