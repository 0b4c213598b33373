#include "desktop/frame/CFileTreeView.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>

#include "desktop/DesktopTexts.h"

namespace qm {

namespace {

constexpr int kValueRole = Qt::UserRole;
constexpr int kIsSectionRole = Qt::UserRole + 1;
constexpr int kElementRole = Qt::UserRole + 2;

} // namespace

CFileTreeView::CFileTreeView(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(1);
    header()->hide();
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setExpandsOnDoubleClick(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAccessibleName(Text(txt::kAccessibleFiles));
    setAccessibleDescription(Text(txt::kAccessibleFilesHelp));
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item, int) { emit ItemOpened(item); });
}

void CFileTreeView::Rebuild(const std::vector<FileTreeItem>& items) {
    clear();
    const QIcon fileIcon = style()->standardIcon(QStyle::SP_FileIcon);
    const QIcon sectionIcon = style()->standardIcon(QStyle::SP_FileDialogContentsView);
    QList<QTreeWidgetItem*> tops;
    tops.reserve(static_cast<int>(items.size()));
    for (const FileTreeItem& file : items) {
        auto* top = new QTreeWidgetItem({QString::fromStdString(file.text)});
        top->setIcon(0, fileIcon);
        top->setData(0, kValueRole, file.value);
        top->setData(0, kIsSectionRole, false);
        top->setData(0, kElementRole, file.elementIndex);
        for (const FileTreeItem& section : file.children) {
            auto* child = new QTreeWidgetItem(top, {QString::fromStdString(section.text)});
            child->setIcon(0, sectionIcon);
            child->setData(0, kValueRole, section.value);
            child->setData(0, kIsSectionRole, true);
            child->setData(0, kElementRole, section.elementIndex);
        }
        tops << top;
    }
    addTopLevelItems(tops);
}

int CFileTreeView::ItemValue(const QTreeWidgetItem* item) {
    return item ? item->data(0, kValueRole).toInt() : -1;
}

bool CFileTreeView::IsSectionItem(const QTreeWidgetItem* item) {
    return item && item->data(0, kIsSectionRole).toBool();
}

int CFileTreeView::ElementIndex(const QTreeWidgetItem* item) {
    return item ? item->data(0, kElementRole).toInt() : -1;
}

QTreeWidgetItem* CFileTreeView::SectionItem(int element, int value) const {
    if (element < 0 || element >= topLevelItemCount())
        return nullptr;
    QTreeWidgetItem* file = topLevelItem(element);
    for (int i = 0; i < file->childCount(); ++i) {
        if (ItemValue(file->child(i)) == value)
            return file->child(i);
    }
    return nullptr;
}

void CFileTreeView::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        IsSectionItem(currentItem())) {
        emit ItemOpened(currentItem());
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

} // namespace qm
