#pragma once

#include <string>
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

// Creates the six windows in their order; the main window runs FormCreate.
void CreateForms(const std::vector<std::string>& args);
void DestroyForms();
