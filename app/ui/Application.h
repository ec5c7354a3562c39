// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

class QWidget;
#include <vector>

class TMainForm;
class TNoAdminForm;
class TSysteminfoForm;
class TUpdateInfoForm;
class TConfigurationDlg;
class TUpdateForm;

// The six windows, created once at start in this order and alive until the end.
struct TApplicationForms {
    TMainForm* MainForm = nullptr;
    TNoAdminForm* NoAdminForm = nullptr;
    TSysteminfoForm* SysteminfoForm = nullptr;
    TUpdateInfoForm* UpdateInfoForm = nullptr;
    TConfigurationDlg* ConfigurationDlg = nullptr;
    TUpdateForm* UpdateForm = nullptr;
};

extern TApplicationForms Forms;

inline constexpr const char* ApplicationTitle = "ZELMARA 2";

// The system's faces: "MS Sans Serif" and its kin are drawn with Liberation Sans, whose
// widths match the narrow Windows faces far better than the wide default face, so texts
// fit the fixed control widths.
void InstallFontSubstitutes();

// Qt's own dialogs (file, print) in French, from Qt's translations on this system.
void InstallQtTranslations();

// Centres a top-level window on its screen by its frame, again once the window manager
// has put the frame around it.
void CentreOnScreen(QWidget* window);

// Creates the six windows in their order; the main window runs FormCreate.
void CreateForms(const std::vector<std::string>& args);
void DestroyForms();
