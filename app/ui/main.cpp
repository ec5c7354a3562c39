// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QSocketNotifier>

#include <clocale>
#include <cstdio>
#include <memory>

#include "app/ArchivePath.h"
#include "app/UnitDoubleStart.h"
#include "app/ui/Application.h"
#include "app/ui/Language.h"
#include "app/ui/MessageBox.h"
#include "app/ui/UnitMain.h"
#include "platform/Log.h"
#include "platform/Process.h"
#include "platform/Signals.h"
#include "platform/Thread.h"

int main(int argc, char* argv[]) {
    platform::SetMainThread();
    // The command line as the user typed it: QApplication takes its own options (-reverse,
    // -style ...) out of argv.
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    const bool firstCopy = app::AcquireDoubleStartGuard();

    QApplication application(argc, argv);
    // Qt hands the user's locale to the C library as well: printf would then write "54,77"
    // into GeoJSON, Signal K's JSON and WINDOW.INI. The user's separator is asked for apart.
    std::setlocale(LC_NUMERIC, "C");
    Q_INIT_RESOURCE(zel2);
    // Also the second copy's box carries the application title.
    QApplication::setApplicationName(ApplicationTitle);
    InstallFontSubstitutes();
    language::Install(
        language::Chosen(app::ArchivePath(platform::ApplicationDataFolder(), platform::ExecutableFolder())));
    if (!firstCopy) {
        ShowMessageBox(nullptr, TBoxKind::Plain, "Application already runs!");
        return 0;
    }
    // From here a signal closes the window like the Quit command, so the state is saved;
    // a file-size limit makes a write fail instead of killing the program.
    platform::InstallTerminationRequest();

    // Synchronised calls of the acquisition thread run from the event loop.
    platform::SetSynchronizeWakeUp([] {
        QMetaObject::invokeMethod(
            qApp,
            [] {
                if (Forms.MainForm) Forms.MainForm->WakeBusyIndicator();
                platform::CheckSynchronize();
            },
            Qt::QueuedConnection);
    });

    CreateForms(args);

    // A signal wakes the event loop through its descriptor, or through the system's call.
    const auto closeOnRequest = [] {
        if (platform::TerminationRequested() && Forms.MainForm) {
            QApplication::closeAllWindows();
            Forms.MainForm->close();
        }
    };
    std::unique_ptr<QSocketNotifier> signalWatch;
    if (platform::TerminationRequestDescriptor() >= 0) {
        signalWatch = std::make_unique<QSocketNotifier>(platform::TerminationRequestDescriptor(),
                                                        QSocketNotifier::Read);
        QSocketNotifier* watch = signalWatch.get();
        QObject::connect(watch, &QSocketNotifier::activated, [watch, closeOnRequest] {
            watch->setEnabled(false);  // the byte stays in the pipe; once is enough
            closeOnRequest();
        });
    }
    platform::SetTerminationWakeUp(
        [closeOnRequest] { QMetaObject::invokeMethod(qApp, closeOnRequest, Qt::QueuedConnection); });

    Forms.MainForm->show();
    const int result = application.exec();
    signalWatch.reset();
    // A state that could not be saved is never reported as a clean exit.
    const bool saved = Forms.MainForm->FormDestroy();
    DestroyForms();
    app::ReleaseDoubleStartGuard();
    platform::StopLog();
    if (!saved) {
        std::fprintf(stderr, "zel2: the state could not be saved (see %s)\n", platform::LogName);
        return result != 0 ? result : 3;
    }
    return result;
}
