#pragma once

#include <QTreeWidget>
#include <optional>
#include <vector>

#include "app/FileTree.h"

namespace qm {

// The file tree: one item per loaded file with one child per measurement section.
class CFileTreeView : public QTreeWidget {
    Q_OBJECT
public:
    explicit CFileTreeView(QWidget* parent = nullptr);

    // Deletes every item and shows the given tree, collapsed.
    void Rebuild(const std::vector<FileTreeItem>& items);

    // What an item stands for.
    static int ItemValue(const QTreeWidgetItem* item);
    static bool IsSectionItem(const QTreeWidgetItem* item);
    // The element index of a section item's file.
    static int ElementIndex(const QTreeWidgetItem* item);

    // The section item of file `element` with item value `value`, null when absent.
    QTreeWidgetItem* SectionItem(int element, int value) const;

signals:
    // Double-click, or Enter on a section item.
    void ItemOpened(QTreeWidgetItem* item);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace qm
