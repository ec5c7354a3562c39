// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStyledItemDelegate>
#include <QTreeWidget>

#include <functional>
#include <vector>

#include "navtex/UnitNavtex.h"

// Lets the window decide the colour of an item just before it is drawn.
class TNavtexItemDelegate : public QStyledItemDelegate {
public:
    using Decide = std::function<bool(int node, bool selected)>;
    TNavtexItemDelegate(Decide drawRed, QObject* parent)
        : QStyledItemDelegate(parent), drawRed(std::move(drawRed)) {}

    // A message's own tool tip, else a name cut short by the column shown whole.
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    Decide drawRed;
};

// The message tree and memo of the NAVTEX page as the tree logic sees them.
class TNavtexTreeControl : public navtex::INavtexTreeView {
public:
    static constexpr QColor SelectionColor{255, 250, 205};
    static constexpr QColor TreeColor{206, 247, 230};  // the tree's mint
    // The tree's own colours in the palette of the moment.
    void ApplyPalette();

    TNavtexTreeControl(QTreeWidget* tree, QPlainTextEdit* memo, QLabel* header = nullptr);

    static constexpr int NodeRole = Qt::UserRole + 1;

    void ClearTree() override;
    void AddNode(int node, int parent, const std::string& text) override;
    void SetNodeBold(int node, bool bold) override;
    bool NodeExpanded(int node) const override;
    void SetNodeExpanded(int node, bool expanded) override;
    void SetSubtreeExpanded(int node, bool expanded) override;
    void ScrollTreeToTop() override;
    void SelectNode(int node) override;
    void SetMemoText(const std::string& text) override;
    void SetMessageHeader(const std::string& text) override;
    // The state of the tree's message in words, after its header ("en vigueur", "annulé
    // par …"); empty for none.
    void SetHeaderState(const QString& words) const;
    // How far the shown message's places lie from the boat ("à 12,4 nm au 245°"), after its
    // header; empty for none.
    void SetHeaderDistance(const QString& words) const;

    // While a message found in the history is shown, the tree's own message and header are
    // kept back and come back when the search ends.
    void LendMemo() { lent = true; }
    void ShowLent(const std::string& bytes, const std::string& header);
    void ReturnMemo();
    bool MemoLent() const { return lent; }

    // The node number of an item, -1 for none.
    static int NodeOf(const QTreeWidgetItem* item);
    QTreeWidgetItem* Item(int node) const;

private:
    static void ShowMemo(QPlainTextEdit* memo, const std::string& bytes);

    QTreeWidget* tree;
    QPlainTextEdit* memo;
    QLabel* header;
    std::vector<QTreeWidgetItem*> items;
    bool lent = false;
    std::string treeMemo, treeHeader;  // the tree's last, shown or kept back
    mutable QString headerState, headerDistance;
    QString lentHeader;
    void ShowHeader() const;
};
