// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/LanguagePass.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QTabWidget>

#include "app/ui/UnitMain.h"
#include "baro/ui/Chart.h"
#include "ui_UnitMain.h"

namespace {

using T = TLanguageText;

constexpr TLanguageText French[] = {
    {T::PageCaption, "0", QT_TRANSLATE_NOOP("LanguagePass", "NAVTEX")},
    {T::PageCaption, "1", QT_TRANSLATE_NOOP("LanguagePass", "BAROGRAPHE")},
    {T::PageCaption, "2", QT_TRANSLATE_NOOP("LanguagePass", "AIDE")},
    {T::MenuCaption, "Datei", QT_TRANSLATE_NOOP("LanguagePass", "&Fichier")},
    {T::MenuCaption, "Oeffnen", QT_TRANSLATE_NOOP("LanguagePass", "&Ouvrir...")},
    {T::MenuCaption, "Speichern", QT_TRANSLATE_NOOP("LanguagePass", "&Enregistrer...")},
    {T::MenuCaption, "Drucken", QT_TRANSLATE_NOOP("LanguagePass", "&Imprimer...")},
    {T::MenuCaption, "Beenden1", QT_TRANSLATE_NOOP("LanguagePass", "&Quitter")},
    {T::MenuCaption, "Einstellungen", QT_TRANSLATE_NOOP("LanguagePass", "&Réglages")},
    {T::MenuCaption, "Menbaumaufklappen1", QT_TRANSLATE_NOOP("LanguagePass", "&Ouvrir arborescence")},
    {T::MenuCaption, "Menbaumeinklappen1", QT_TRANSLATE_NOOP("LanguagePass", "&Fermer arborescence")},
    {T::MenuCaption, "ZoomIn1", QT_TRANSLATE_NOOP("LanguagePass", "Zoom avant")},
    {T::MenuCaption, "ZoomOut1", QT_TRANSLATE_NOOP("LanguagePass", "Zoom arriére")},
    {T::MenuCaption, "Hilfe", QT_TRANSLATE_NOOP("LanguagePass", "&Aide")},
    {T::MenuCaption, "Bedienungsanleitung", QT_TRANSLATE_NOOP("LanguagePass", "&Manuel")},
    {T::MenuCaption, "Systeminformation", QT_TRANSLATE_NOOP("LanguagePass", "&Information système...")},
    {T::MenuCaption, "Konfiguration", QT_TRANSLATE_NOOP("LanguagePass", "Configuration...")},
    {T::AxisTitle, "Chart1", QT_TRANSLATE_NOOP("LanguagePass", "Pression[hPa]")},
    {T::Hint, "LoadToolButton", QT_TRANSLATE_NOOP("LanguagePass", "Ouvrir")},
    {T::Hint, "SaveToolButton", QT_TRANSLATE_NOOP("LanguagePass", "Enregistrer")},
    {T::Hint, "PrintToolButton", QT_TRANSLATE_NOOP("LanguagePass", "Imprimer")},
    {T::Hint, "ExpandToolButton", QT_TRANSLATE_NOOP("LanguagePass", "Ouvrir arborescence")},
    {T::Hint, "CollapseToolButton", QT_TRANSLATE_NOOP("LanguagePass", "Reduire arborescence")},
    {T::Hint, "BaroZoomInToolButton", QT_TRANSLATE_NOOP("LanguagePass", "Zoom avant")},
    {T::Hint, "BaroZoomOutToolButton", QT_TRANSLATE_NOOP("LanguagePass", "Zoom arriére")},
    {T::Hint, "HelpToolButton", QT_TRANSLATE_NOOP("LanguagePass", "Aide")},
    {T::Hint, "SystemToolButton", QT_TRANSLATE_NOOP("LanguagePass", "Information système...")},
};

}  // namespace

std::span<const TLanguageText> FrenchMainTexts() {
    return French;
}

void RunLanguagePass(TMainForm& form) {
    Ui::TMainForm& ui = *form.Ui();
    for (const TLanguageText& entry : French) {
        // French as written; English or German where the program's translation is installed.
        const QString text = QCoreApplication::translate("LanguagePass", entry.text);
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
