// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/UserTools.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QPdfWriter>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextLayout>

#include <algorithm>

#include "app/ui/MessageBox.h"
#include "baro/ui/Chart.h"
#include "common/Windows1252.h"
#include "map/ui/MapPage.h"

namespace {

// The memo's lines as the receiver's bytes, each ended by CR LF.
QByteArray MemoBytes(const QPlainTextEdit* memo) {
    // The blocks' own text: toPlainText() would turn a no-break space (byte A0) into a space.
    const QTextDocument* document = memo->document();
    if (document->isEmpty()) return {};
    std::string bytes;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        bytes += text::Utf8ToWindows1252(block.text().toStdString()) + "\r\n";
    return QByteArray::fromStdString(bytes);
}

QStringList TextLines(const QByteArray& bytes) {
    QString text = QString::fromStdString(text::Windows1252ToUtf8(bytes.toStdString()));
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    QStringList lines = text.split('\n');
    if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();  // a final line end opens no line
    return lines;
}

}  // namespace

// Prints text lines as a line printer would: long lines wrap, a full page starts a new one.
void PrintLines(QPainter& painter, const QStringList& lines, const QFont& font, const QString& heading) {
    painter.setFont(font);
    const QFontMetrics metrics(font, painter.device());
    const int width = painter.viewport().width();
    const int height = painter.viewport().height();
    const int step = metrics.lineSpacing();
    int y = 0, page = 0;
    auto* printer = static_cast<QPrinter*>(painter.device());
    // Each page begins with the heading and its number, then a blank line.
    const auto beginPage = [&] {
        ++page;
        y = 0;
        if (heading.isEmpty()) return;
        const QString number = QString(QCoreApplication::translate("TUserTools", "Page %1")).arg(page);
        const int numberWidth = metrics.horizontalAdvance(number);
        painter.drawText(0, metrics.ascent(),
                         metrics.elidedText(heading, Qt::ElideRight, width - numberWidth - step));
        painter.drawText(width - numberWidth, metrics.ascent(), number);
        y = 2 * step;
    };
    const auto printLine = [&](const QString& piece) {
        if (page == 0) {
            beginPage();
        } else if (y + step > height && y > (heading.isEmpty() ? 0 : 2 * step)) {
            printer->newPage();
            beginPage();
        }
        painter.drawText(0, y + metrics.ascent(), piece);
        y += step;
    };
    // One layout pass per line breaks it where the page ends, in time linear in its length.
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAnywhere);
    for (const QString& line : lines) {
        if (line.isEmpty()) {
            printLine(line);
            continue;
        }
        QTextLayout layout(line, font, painter.device());
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine piece = layout.createLine(); piece.isValid(); piece = layout.createLine()) {
            piece.setLineWidth(width);
            printLine(line.mid(piece.textStart(), std::max(1, piece.textLength())));
        }
        layout.endLayout();
    }
}

QString QtFilter(const QString& filter) {
    const QStringList parts = filter.split('|');
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i];
        if (!name.contains('(')) name += " (" + parts[i + 1] + ")";
        entries << name;
    }
    return entries.join(";;");
}

bool TStandardToolDialogs::OpenFile(QWidget* parent, const QString& filter, QString& path) {
    const QString qtFilter = QtFilter(filter);
    path = QFileDialog::getOpenFileName(parent, QString(), QString(), qtFilter, nullptr);
    return !path.isEmpty();
}

bool TStandardToolDialogs::SaveFile(QWidget* parent, const QString& filter, const QString& proposed,
                                    QString& path) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QtFilter(filter));
    dialog.selectFile(proposed);
    dialog.setDefaultSuffix(QString());  // a typed name is taken as it is
    // The overwrite question is the program's own, with its own wording.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    path = dialog.selectedFiles().front();
    return true;
}

bool TStandardToolDialogs::Print(QWidget* parent, QPrinter& printer, bool offerSelection) {
    QPrintDialog dialog(&printer, parent);
    QAbstractPrintDialog::PrintDialogOptions options = QAbstractPrintDialog::PrintToFile;
    if (offerSelection) options |= QAbstractPrintDialog::PrintSelection;
    dialog.setOptions(options);
    return dialog.exec() == QDialog::Accepted;
}

TUserTools::TUserTools(IUserToolsWindow& window) : window(window), printer(std::make_unique<QPrinter>()) {}

void TUserTools::SetDialogs(IToolDialogs* replacement) {
    dialogs = replacement ? replacement : &standardDialogs;
}

void TUserTools::ShowError(const QString& text) {
    ShowMessageBox(window.Window(), TBoxKind::Error, text);
}

bool TUserTools::ConfirmOverwrite(const QString& path) {
    if (!QFileInfo::exists(path)) return true;
    const QString full = QFileInfo(path).absoluteFilePath();
    return ShowMessageBox(window.Window(), TBoxKind::Warning, "Files " + full + " exists! Overwrite?",
                          TBoxButtons::YesNo) == QMessageBox::Yes;
}

void TUserTools::Open() {
    if (window.ActivePage() != IUserToolsWindow::TPage::Navtex) return;
    QString path;
    if (!dialogs->OpenFile(window.Window(), TextFilter, path)) return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ShowError(file.errorString());
        return;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        ShowError(file.errorString());
        return;
    }
    window.MessageView()->setPlainText(TextLines(bytes).join('\n'));
    window.SetMessageHeaderText(
        QCoreApplication::translate("TUserTools", "Fichier : %1").arg(QFileInfo(path).fileName()));
}

void TUserTools::Save() {
    if (window.ActivePage() == IUserToolsWindow::TPage::Navtex)
        SaveMessage();
    else if (window.ActivePage() == IUserToolsWindow::TPage::Barograph)
        SaveChart();
    else if (window.ActivePage() == IUserToolsWindow::TPage::Map)
        SaveMap();
}

void TUserTools::SaveMap() {
    TMapPage* page = window.MapPage();
    if (!page) return;
    page->LoadLand();
    SaveThrough(
        QCoreApplication::translate("TUserTools", "Image PNG (*.png)|*.png|Document PDF (*.pdf)|*.pdf"),
        QCoreApplication::translate("TUserTools", "Carte NAVTEX.png"),
        [page](QSaveFile& file, const QString& path) {
            TMapView* map = page->Map();
            if (path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
                // Vectors at the printer's resolution, on a landscape page.
                QPdfWriter pdf(&file);
                pdf.setResolution(600);
                pdf.setPageLayout(
                    QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                QMarginsF(PrintMarginMm, PrintMarginMm, PrintMarginMm, PrintMarginMm),
                                QPageLayout::Millimeter));
                pdf.setTitle(page->Title());
                QPainter painter(&pdf);
                RenderMap(painter, *map, page->Title());
                return QString();
            }
            // Twice the window's pixels: sharp on a screen that has more.
            QImage picture(map->size() * 2, QImage::Format_RGB32);
            QPainter painter(&picture);
            painter.scale(2, 2);
            map->Render(painter, map->size(), page->Title());
            painter.end();
            QImageWriter writer(&file, "png");
            return writer.write(picture) ? QString() : writer.errorString();
        });
}

void TUserTools::SaveThrough(const QString& filter, const QString& proposed,
                             const std::function<QString(QSaveFile&, const QString&)>& write) {
    QString path;
    if (!dialogs->SaveFile(window.Window(), filter, proposed, path) || !ConfirmOverwrite(path)) return;
    // Through a temporary file, so a failed save never leaves half a file behind.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        ShowError(file.errorString());
        return;
    }
    if (const QString error = write(file, path); !error.isEmpty()) {
        ShowError(error);
        file.cancelWriting();
        return;
    }
    if (!file.commit()) ShowError(file.errorString());
}

void TUserTools::RenderMap(QPainter& painter, const TMapView& map, const QString& title) {
    // The page in units of the screen's pixels (96 to the inch), so that lines and text keep
    // the window's proportions at any resolution.
    const QRect page = painter.viewport();
    const double factor = painter.device()->logicalDpiX() / 96.0;
    painter.scale(factor, factor);
    map.Render(painter, QSizeF(page.width() / factor, page.height() / factor), title);
}

void TUserTools::PrintMap() {
    TMapPage* page = window.MapPage();
    QPainter painter;
    if (!page || !BeginLandscape(painter)) return;
    page->LoadLand();
    RenderMap(painter, *page->Map(), page->Title());
    painter.end();
}

void TUserTools::SaveMessage() {
    const QString name = QString::fromStdString(window.ShownMessageName());
    if (name.isEmpty()) {
        ShowMessageBox(window.Window(), TBoxKind::Information, "Bitte zuerst eine Meldung auswählen!");
        return;
    }
    SaveThrough(TextFilter, name + ".TXT", [this](QSaveFile& file, const QString&) {
        return file.write(MemoBytes(window.MessageView())) < 0 ? file.errorString() : QString();
    });
}

void TUserTools::SaveChart() {
    SaveThrough(PictureFilter, "Barographdaten.bmp", [this](QSaveFile& file, const QString&) {
        QImageWriter writer(&file, "bmp");
        return writer.write(window.Chart()->Picture()) ? QString() : writer.errorString();
    });
}

void TUserTools::Print() {
    switch (window.ActivePage()) {
        case IUserToolsWindow::TPage::Navtex:
            PrintMessage();
            break;
        case IUserToolsWindow::TPage::Barograph:
            PrintChart();
            break;
        case IUserToolsWindow::TPage::Help:
            PrintHelp();
            break;
        case IUserToolsWindow::TPage::Map:
            PrintMap();
            break;
        case IUserToolsWindow::TPage::Other:
            break;
    }
}

void TUserTools::PrintMessage() {
    if (window.ShownMessageName().empty()) {
        ShowMessageBox(window.Window(), TBoxKind::Information, "Please select message first!");
        return;
    }
    printer->setPageOrientation(QPageLayout::Portrait);
    printer->setPageMargins(QMarginsF(PrintMarginMm, PrintMarginMm, PrintMarginMm, PrintMarginMm),
                            QPageLayout::Millimeter);
    if (!dialogs->Print(window.Window(), *printer, true)) return;
    QPlainTextEdit* memo = window.MessageView();
    QStringList lines;
    if (printer->printRange() == QPrinter::Selection) {
        // QPlainTextEdit ends selected lines with the paragraph separator.
        QString selected = memo->textCursor().selectedText();
        selected.replace(QChar::ParagraphSeparator, '\n');
        if (!selected.isEmpty()) lines = selected.split('\n');
    } else {
        lines = memo->toPlainText().split('\n');
        if (memo->toPlainText().isEmpty()) lines.clear();
    }
    QPainter painter;
    if (!painter.begin(printer.get())) {
        ShowError(QStringLiteral("The printer could not be opened."));
        return;
    }
    PrintLines(painter, lines, memo->font(), window.MessageHeaderText());
    painter.end();
}

bool TUserTools::BeginLandscape(QPainter& painter) {
    printer->setPageOrientation(QPageLayout::Landscape);
    printer->setPageMargins(QMarginsF(PrintMarginMm, PrintMarginMm, PrintMarginMm, PrintMarginMm),
                            QPageLayout::Millimeter);
    if (!dialogs->Print(window.Window(), *printer, false)) return false;
    if (!painter.begin(printer.get())) {
        ShowError(QStringLiteral("The printer could not be opened."));
        return false;
    }
    return true;
}

void TUserTools::PrintChart() {
    QPainter painter;
    if (!BeginLandscape(painter)) return;
    // A title line with the span and its end, then the chart drawn for the page itself.
    TChart* chart = window.Chart();
    const QStringList footer = chart->FooterLines();
    const QString span = footer.size() > 1 && !footer[1].isEmpty() ? footer[1] : QStringLiteral("(zoom)");
    const QString title = QCoreApplication::translate("TUserTools", "Barographe %1, jusqu’au %2")
                              .arg(span, chart->BottomText(chart->BottomMaximum()));
    QFont font("Arial");
    font.setPointSize(11);
    painter.setFont(font);
    const QFontMetrics metrics(font, painter.device());
    const QRect page = painter.viewport();
    painter.drawText(QRect(0, 0, page.width(), metrics.lineSpacing()), Qt::AlignLeft | Qt::AlignVCenter,
                     title);
    const int top = metrics.lineSpacing() * 3 / 2;
    chart->PrintInto(painter, QRectF(0, top, page.width() - 1, page.height() - 1 - top));
    painter.end();
}

void TUserTools::PrintHelp() {
    printer->setPageOrientation(QPageLayout::Portrait);
    if (!dialogs->Print(window.Window(), *printer, false)) return;
    window.HelpView()->document()->print(printer.get());
}
