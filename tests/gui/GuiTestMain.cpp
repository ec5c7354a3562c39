// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>

#include "app/ui/Application.h"
#include "platform/Thread.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    // Paris, with its changes of summer time, as the core tests have it; read at the first
    // conversion of a local time.
    qputenv("TZ", "Europe/Paris");
    platform::SetMainThread();
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(zel2);
    // The program's own faces and Qt's French texts, as it installs them at start.
    InstallFontSubstitutes();
    InstallQtTranslations();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
