#include "app/Application.h"

#include "app/UnitMain.h"
#include "tools/UnitConfig.h"
#include "tools/UnitSystemInfo.h"
#include "update/UnitAdmin.h"
#include "update/UnitUpdate.h"
#include "update/UnitUpdateInfo.h"

TApplicationForms Forms;

void CreateForms(const std::vector<std::string>& args) {
    Forms.MainForm = new TMainForm(args);
    Forms.NoAdminForm = new TNoAdminForm();
    Forms.SysteminfoForm = new TSysteminfoForm();
    Forms.UpdateInfoForm = new TUpdateInfoForm();
    Forms.ConfigurationDlg = new TConfigurationDlg();
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
