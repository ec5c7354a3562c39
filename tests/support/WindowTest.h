// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <QFont>
#include <QFontInfo>
#include <QProcess>
#include <QString>
#include <QStringList>

#include "support/TempFolder.h"

namespace testing_support {

// Why a test that measures text cannot run here: the offscreen platform finds no fonts
// under wine. Empty where faces resolve.
inline QString NoFontsReason() {
    return QFontInfo(QFont("Arial")).family().isEmpty() ? "no fonts on the offscreen platform here (wine)"
                                                        : QString();
}

// Why a test that reads a PDF back cannot run here: poppler's tools are missing (as under
// wine). Empty where they run.
inline QString NoPdfToolsReason() {
    QProcess probe;
    probe.start("pdftotext", {"-v"});
    if (!probe.waitForStarted(5000)) return "poppler's pdftotext cannot be started here";
    probe.waitForFinished(5000);
    return {};
}

// The world of a window test: its own data folder (the archive is data/ZEL2/) and its own
// drive map, so no test sees the user's receiver or archive.
class WindowTest : public ::testing::Test {
protected:
    explicit WindowTest(const char* driveMap = "none.tsv")
        : data("XDG_DATA_HOME", temp / "data"), drives("ZEL2_DRIVES", temp / driveMap) {}

    TempFolder temp;
    ScopedEnv data, drives;
};

}  // namespace testing_support
