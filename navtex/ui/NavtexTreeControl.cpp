// SPDX-License-Identifier: GPL-3.0-or-later
#include "navtex/ui/NavtexTreeControl.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QHelpEvent>
#include <QScrollBar>
#include <QToolTip>

#include "app/ui/Palette.h"
#include "common/Windows1252.h"

#include <QApplication>

void TNavtexItemDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    const int node = index.data(TNavtexTreeControl::NodeRole).isValid()
                         ? index.data(TNavtexTreeControl::NodeRole).toInt()
                         : -1;
    if (drawRed && drawRed(node, option->state.testFlag(QStyle::State_Selected))) {
        option->palette.setColor(QPalette::Text, palette::Shade(QColor(255, 0, 0)));
        option->palette.setColor(QPalette::HighlightedText, palette::Shade(QColor(255, 0, 0)));
    }
}

bool TNavtexItemDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                    const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (!event || event->type() != QEvent::ToolTip)
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QWidget* widget = view;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);
    // A message's own tip (its reception, first line, why it is grey) comes first.
    if (const QString own = index.data(Qt::ToolTipRole).toString(); !own.isEmpty()) {
        QToolTip::showText(event->globalPos(), own, view, textRect);
        return true;
    }
    // The style keeps a small margin on each side of the text.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    if (opt.fontMetrics.horizontalAdvance(opt.text) > textRect.width() - 2 * margin) {
        QToolTip::showText(event->globalPos(), opt.text, view, textRect);
    } else {
        QToolTip::hideText();
    }
    return true;
}

TNavtexTreeControl::TNavtexTreeControl(QTreeWidget* tree, QPlainTextEdit* memo, QLabel* header)
    : tree(tree), memo(memo), header(header) {
    ApplyPalette();
}

void TNavtexTreeControl::ApplyPalette() {
    // The style sheet first: set after the palette, it would put the style's selection back.
    const QColor mint = palette::Shade(TreeColor);
    tree->setStyleSheet(QStringLiteral("QTreeWidget#%1 { background-color: rgb(%2, %3, %4); }")
                            .arg(tree->objectName())
                            .arg(mint.red())
                            .arg(mint.green())
                            .arg(mint.blue()));
    // The selected message is drawn red: a light selection keeps it readable.
    QPalette colours = tree->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        colours.setColor(group, QPalette::Highlight, palette::Shade(SelectionColor));
        colours.setColor(group, QPalette::HighlightedText, palette::Shade(Qt::black));
    }
    tree->setPalette(colours);
}

void TNavtexTreeControl::ClearTree() {
    const QSignalBlocker quiet(tree);  // clearing is not a selection by the user
    tree->clear();
    items.clear();
}

void TNavtexTreeControl::AddNode(int node, int parent, const std::string& text) {
    QTreeWidgetItem* item = parent < 0 ? new QTreeWidgetItem(tree) : new QTreeWidgetItem(Item(parent));
    // Our own texts and the names of files on this system are UTF-8; only contents are 1252.
    // The roots and subjects in the user's language; a message's identifier has no translation.
    item->setText(0, QCoreApplication::translate("navtex", text.c_str()));
    item->setData(0, NodeRole, node);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    if (static_cast<size_t>(node) >= items.size()) items.resize(static_cast<size_t>(node) + 1, nullptr);
    items[static_cast<size_t>(node)] = item;
}

QTreeWidgetItem* TNavtexTreeControl::Item(int node) const {
    return node >= 0 && static_cast<size_t>(node) < items.size() ? items[static_cast<size_t>(node)] : nullptr;
}

int TNavtexTreeControl::NodeOf(const QTreeWidgetItem* item) {
    if (!item) return -1;
    const QVariant v = item->data(0, NodeRole);
    return v.isValid() ? v.toInt() : -1;
}

void TNavtexTreeControl::SetNodeBold(int node, bool bold) {
    QTreeWidgetItem* item = Item(node);
    if (!item) return;
    QFont font = tree->font();
    font.setBold(bold);
    item->setFont(0, font);
}

bool TNavtexTreeControl::NodeExpanded(int node) const {
    const QTreeWidgetItem* item = Item(node);
    return item && item->isExpanded();
}

void TNavtexTreeControl::SetNodeExpanded(int node, bool expanded) {
    if (QTreeWidgetItem* item = Item(node)) item->setExpanded(expanded);
}

void TNavtexTreeControl::SetSubtreeExpanded(int node, bool expanded) {
    QTreeWidgetItem* item = Item(node);
    if (!item) return;
    item->setExpanded(expanded);
    for (int i = 0; i < item->childCount(); ++i) SetSubtreeExpanded(NodeOf(item->child(i)), expanded);
}

void TNavtexTreeControl::ScrollTreeToTop() {
    tree->verticalScrollBar()->setValue(0);
}

void TNavtexTreeControl::SelectNode(int node) {
    if (QTreeWidgetItem* item = Item(node)) tree->setCurrentItem(item);
}

void TNavtexTreeControl::SetMessageHeader(const std::string& text) {
    if (text != treeHeader) headerState.clear();  // another message's state: until it is told
    treeHeader = text;
    ShowHeader();
}

void TNavtexTreeControl::ShowHeader() const {
    if (!header) return;
    QString text = lent ? lentHeader : QString::fromStdString(treeHeader);
    if (!lent && !headerState.isEmpty() && !text.isEmpty()) text += QStringLiteral(" · ") + headerState;
    if (!headerDistance.isEmpty() && !text.isEmpty()) text += QStringLiteral(" · ") + headerDistance;
    header->setText(text);
}

void TNavtexTreeControl::SetHeaderState(const QString& words) const {
    if (words == headerState) return;
    headerState = words;
    ShowHeader();
}

void TNavtexTreeControl::SetHeaderDistance(const QString& words) const {
    if (words == headerDistance) return;
    headerDistance = words;
    ShowHeader();
}

void TNavtexTreeControl::SetMemoText(const std::string& bytes) {
    treeMemo = bytes;
    if (!lent) ShowMemo(memo, bytes);
}

void TNavtexTreeControl::ShowLent(const std::string& bytes, const std::string& text) {
    lent = true;
    lentHeader = QString::fromStdString(text);
    ShowMemo(memo, bytes);
    ShowHeader();
}

void TNavtexTreeControl::ReturnMemo() {
    if (!lent) return;
    lent = false;
    ShowMemo(memo, treeMemo);
    ShowHeader();
}

void TNavtexTreeControl::ShowMemo(QPlainTextEdit* memo, const std::string& bytes) {
    QString shown = QString::fromUtf8(text::Windows1252ToUtf8(bytes));
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // Every line ends with CR LF, so the last one leaves an empty paragraph behind it.
    if (shown.endsWith('\n')) shown.chop(1);
    memo->setPlainText(shown);
}
