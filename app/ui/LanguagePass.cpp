// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/LanguagePass.h"

#include <QAction>
#include <QMenu>
#include <QTabWidget>

#include "app/ui/UnitMain.h"
#include "baro/ui/Chart.h"
#include "ui_UnitMain.h"

namespace {

using T = TLanguageText;

constexpr TLanguageText French[] = {
    {T::PageCaption, "0", "NAVTEX"},
    {T::PageCaption, "1", "BAROGRAPHE"},
    {T::PageCaption, "2", "AIDE"},
    {T::MenuCaption, "Datei", "&Fichier"},
    {T::MenuCaption, "Oeffnen", "&Ouvrir..."},
    {T::MenuCaption, "Speichern", "&Enregistrer..."},
    {T::MenuCaption, "Drucken", "&Imprimer..."},
    {T::MenuCaption, "Beenden1", "&Quitter"},
    {T::MenuCaption, "Einstellungen", "&Réglages"},
    {T::MenuCaption, "Menbaumaufklappen1", "&Ouvrir arborescence"},
    {T::MenuCaption, "Menbaumeinklappen1", "&Fermer arborescence"},
    {T::MenuCaption, "ZoomIn1", "Zoom avant"},
    {T::MenuCaption, "ZoomOut1", "Zoom arriére"},
    {T::MenuCaption, "Hilfe", "&Aide"},
    {T::MenuCaption, "Bedienungsanleitung", "&Manuel"},
    {T::MenuCaption, "Systeminformation", "&Information système..."},
    {T::MenuCaption, "Konfiguration", "Configuration..."},
    {T::AxisTitle, "Chart1", "Pression[hPa]"},
    {T::Hint, "LoadToolButton", "Ouvrir"},
    {T::Hint, "SaveToolButton", "Enregistrer"},
    {T::Hint, "PrintToolButton", "Imprimer"},
    {T::Hint, "ExpandToolButton", "Ouvrir arborescence"},
    {T::Hint, "CollapseToolButton", "Reduire arborescence"},
    {T::Hint, "BaroZoomInToolButton", "Zoom avant"},
    {T::Hint, "BaroZoomOutToolButton", "Zoom arriére"},
    {T::Hint, "HelpToolButton", "Aide"},
    {T::Hint, "SystemToolButton", "Information système..."},
};

}  // namespace

std::span<const TLanguageText> FrenchMainTexts() {
    return French;
}

void RunLanguagePass(TMainForm& form) {
    Ui::TMainForm& ui = *form.Ui();
    for (const TLanguageText& entry : French) {
        const QString text = QString::fromUtf8(entry.text);
        const QString name = QString::fromLatin1(entry.control);
        switch (entry.kind) {
            case T::PageCaption: {
                // The designed pages by their order; pages added since (the map) keep their own.
                QWidget* const pages[] = {ui.NavtexTabSheet, ui.BaroTabSheet, ui.HelpTabSheet};
                const int index = name.toInt();
                if (index >= 0 && index < 3)
                    ui.PageControl1->setTabText(ui.PageControl1->indexOf(pages[index]), text);
                break;
            }
            case T::MenuCaption:
                // The three menus are menus, their items actions of the same name.
                if (auto* menu = form.findChild<QMenu*>(name))
                    menu->setTitle(text);
                else if (auto* action = form.findChild<QAction*>(name))
                    action->setText(text);
                break;
            case T::AxisTitle:
                ui.Chart1->SetRightTitle(text);
                break;
            case T::Hint:
                if (auto* action = form.findChild<QAction*>(name)) action->setToolTip(text);
                break;
        }
    }
}
