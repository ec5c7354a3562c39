// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/Application.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontDatabase>

#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QTimer>
#include <QTranslator>
#include <QWidget>
#include <algorithm>

#include <memory>

#include "app/ui/UnitMain.h"
#include "app/ui/UnitSystemInfo.h"
#include "settings/ui/UnitConfig.h"
#include "update/ui/UnitAdmin.h"
#include "update/ui/UnitUpdate.h"
#include "update/ui/UnitUpdateInfo.h"

TApplicationForms Forms;

void InstallFontSubstitutes() {
    // Only for faces the system lacks: on Windows the system's own faces draw.
    const auto substitute = [](const char* family, const char* with) {
        if (!QFontDatabase::hasFamily(family)) QFont::insertSubstitution(family, with);
    };
    for (const char* family :
         {"MS Sans Serif", "MS Shell Dlg", "MS Shell Dlg 2", "Microsoft Sans Serif", "Arial"})
        substitute(family, "Liberation Sans");
    substitute("Courier New", "Liberation Mono");
}

void InstallQtTranslations() {
    static QTranslator qt;
    if (qt.load(QLocale(QLocale::French), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qt);
}

void CentreOnScreen(QWidget* window) {
    const auto centre = [window] {
        if (const QScreen* screen = window->screen()) {
            // Never larger than the screen's free area, whatever its scale: the title bar
            // stays reachable.
            const QRect available = screen->availableGeometry();
            const QSize border = window->frameGeometry().size() - window->size();
            const QSize fits =
                (available.size() - border).boundedTo(window->size()).expandedTo(window->minimumSize());
            if (fits != window->size()) window->resize(fits);
            QRect frame = window->frameGeometry();
            frame.moveCenter(available.center());
            frame.moveTop(std::max(frame.top(), available.top()));
            frame.moveLeft(std::max(frame.left(), available.left()));
            window->move(frame.topLeft());
        }
    };
    centre();
    // The frame is known only after the window manager has mapped the window: look again
    // for a while and centre once more when it has grown.
    auto* timer = new QTimer(window);
    timer->setInterval(20);
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, window, [window, timer, tries, centre] {
        if (window->frameGeometry().size() != window->size()) {
            centre();
            timer->deleteLater();
        } else if (++*tries > 50) {
            timer->deleteLater();
        }
    });
    timer->start();
}

void CreateForms(const std::vector<std::string>& args) {
    Forms.MainForm = new TMainForm(args);
    Forms.NoAdminForm = new TNoAdminForm();
    Forms.SysteminfoForm = new TSysteminfoForm();
    Forms.UpdateInfoForm = new TUpdateInfoForm();
    Forms.ConfigurationDlg = new TConfigurationDlg();
    Forms.ConfigurationDlg->SetTarget(Forms.MainForm);
    Forms.UpdateForm = new TUpdateForm(args);
}

void DestroyForms() {
    delete Forms.UpdateForm;
    delete Forms.ConfigurationDlg;
    delete Forms.UpdateInfoForm;
    delete Forms.SysteminfoForm;
    delete Forms.NoAdminForm;
    delete Forms.MainForm;
    Forms = TApplicationForms{};
}
