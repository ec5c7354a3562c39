// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QPainter>
#include <QPrinter>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>

class QPlainTextEdit;
class QSaveFile;
class QTextBrowser;
class QWidget;
class TChart;
class TMapPage;
class TMapView;

// What Open, Save and Print need of the main window.
class IUserToolsWindow {
public:
    enum class TPage { Navtex, Barograph, Map, Help, Other };
    virtual ~IUserToolsWindow() = default;
    virtual QWidget* Window() = 0;  // the parent of the dialogs and boxes
    virtual TPage ActivePage() const = 0;
    virtual QPlainTextEdit* MessageView() = 0;
    virtual std::string ShownMessageName() const = 0;  // empty: no message selected
    virtual QString MessageHeaderText() const = 0;     // the line above the shown message
    virtual void SetMessageHeaderText(const QString& text) = 0;
    virtual TChart* Chart() = 0;
    virtual QTextBrowser* HelpView() = 0;
    virtual TMapPage* MapPage() { return nullptr; }
};

// The file and print dialogs the commands run; tests answer them in place of a user.
class IToolDialogs {
public:
    virtual ~IToolDialogs() = default;
    // filter in the program's "Name|pattern|Name|pattern" form; the first entry preselected.
    virtual bool OpenFile(QWidget* parent, const QString& filter, QString& path) = 0;
    virtual bool SaveFile(QWidget* parent, const QString& filter, const QString& proposed, QString& path) = 0;
    // offerSelection: All and Selection, no page range.
    virtual bool Print(QWidget* parent, QPrinter& printer, bool offerSelection) = 0;
};

// The standard Qt dialogs.
class TStandardToolDialogs : public IToolDialogs {
public:
    bool OpenFile(QWidget* parent, const QString& filter, QString& path) override;
    bool SaveFile(QWidget* parent, const QString& filter, const QString& proposed, QString& path) override;
    bool Print(QWidget* parent, QPrinter& printer, bool offerSelection) override;
};

// "Text|*.txt|All|*.*" as Qt writes it: "Text (*.txt);;All (*.*)".
QString QtFilter(const QString& filter);

// Prints lines through the painter's page, each broken where the page ends and new pages
// begun as they fill.
// With a heading, each page begins with it and its page number.
void PrintLines(QPainter& painter, const QStringList& lines, const QFont& font, const QString& heading = {});

// Margins of the printed message and chart.
inline constexpr double PrintMarginMm = 15;

inline constexpr const char* TextFilter = "Textdateien (*.txt)|*.txt|Alle Dateien (*.*)|*.*";
inline constexpr const char* PictureFilter = "Bilddateien (*.bmp)|*.bmp|Alle Dateien (*.*)|*.*";

// Open, Save and Print of the main window, by the active page.
class TUserTools {
public:
    explicit TUserTools(IUserToolsWindow& window);

    void SetDialogs(IToolDialogs* dialogs);  // null: the standard ones
    QPrinter& Printer() { return *printer; }

    void Open();
    void Save();
    void Print();

private:
    void SaveMessage();
    void SaveChart();
    void PrintMessage();
    void PrintChart();
    void PrintHelp();
    void SaveMap();
    // The file chosen in the save dialog, written whole or not at all: write says why it failed.
    void SaveThrough(const QString& filter, const QString& proposed,
                     const std::function<QString(QSaveFile&, const QString& path)>& write);
    // The print dialog for a landscape page, and the painter begun on the printer.
    bool BeginLandscape(QPainter& painter);
    static void RenderMap(QPainter& painter, const TMapView& map, const QString& title);
    void PrintMap();
    bool ConfirmOverwrite(const QString& path);
    void ShowError(const QString& text);

    IUserToolsWindow& window;
    TStandardToolDialogs standardDialogs;
    IToolDialogs* dialogs = &standardDialogs;
    std::unique_ptr<QPrinter> printer;  // PrintDialog1's printer, kept between prints
};
