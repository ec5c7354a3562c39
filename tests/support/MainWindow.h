// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "app/ui/UnitMain.h"
#include "history/HistoryWriter.h"
#include "history/ui/HistoryPanel.h"
#include "ui_UnitMain.h"

namespace testing_support {

// How a test wants the main window before it starts.
struct TShowing {
    QWidget* page = nullptr;       // the page brought forward; the first when null
    bool active = false;           // has the focus, so that keys reach it
    bool exposed = false;          // is on the screen
    bool historyRecorded = false;  // the start-up archive is in the history
};

// The main window as a user first sees it: at its design size, shown, past the start-up
// picture.
inline void ShowMainWindow(TMainForm& form, const TShowing& how = {}) {
    form.resize(980, 700);
    form.show();
    QApplication::processEvents();  // the first showing puts up the start-up picture
    if (how.active) {
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }
    if (how.exposed) {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
        QApplication::processEvents();
    }
    form.StartupTimerTimer();  // and its timer the pages
    if (how.page) form.Ui()->PageControl1->setCurrentWidget(how.page);
    if (how.historyRecorded) form.History()->Writer()->WaitIdle();
    QApplication::processEvents();
}

}  // namespace testing_support
