#include "desktop/channels/CComboListCtrl.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>

#include "desktop/channels/CInPlaceEditors.h"

namespace qm {

CComboListCtrl::CComboListCtrl(QWidget* parent) : QTableWidget(parent) {
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers); // the in-place editors do the editing
    setSortingEnabled(false);
    setShowGrid(true);
    setWordWrap(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    verticalHeader()->hide();
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setMinimumSectionSize(0); // the owner's widths hold, however narrow

    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    emit rowFocused(current.row());
            });
    // Scrolling or resizing under an open editor would leave it over the wrong cell: the grid
    // takes the focus first, which ends the edit.
    auto endOnMove = [this] {
        if (ActiveEditor())
            EndEdit();
    };
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, endOnMove);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, endOnMove);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, endOnMove);
}

CComboListCtrl::~CComboListCtrl() {
    // An editor still open reports nothing to a grid that is going away.
    if (auto* edit = qobject_cast<CInPlaceEdit*>(m_editor.data()))
        edit->Abandon();
    else if (auto* combo = qobject_cast<CInPlaceCombo*>(m_editor.data()))
        combo->Abandon();
}

void CComboListCtrl::AddComboColumn(int column) {
    m_comboColumns.insert(column);
}

void CComboListCtrl::AddReadOnlyColumn(int column) {
    m_readOnlyColumns.insert(column);
}

void CComboListCtrl::SetValidChars(int column, const QString& chars) {
    if (column >= 0 && column < kMaxColumns)
        m_validChars[static_cast<std::size_t>(column)] = chars;
}

QString CComboListCtrl::ValidChars(int column) const {
    if (column < 0 || column >= kMaxColumns)
        return {};
    return m_validChars[static_cast<std::size_t>(column)];
}

int CComboListCtrl::DropDownRows(int choices) {
    return choices < 10 ? choices + 10 : 11;
}

int CComboListCtrl::DropDownReach(int cellHeight, int choices) {
    return cellHeight * DropDownRows(choices);
}

QWidget* CComboListCtrl::ActiveEditor() const {
    if (auto* edit = qobject_cast<CInPlaceEdit*>(m_editor.data()))
        return edit->Finished() ? nullptr : edit;
    if (auto* combo = qobject_cast<CInPlaceCombo*>(m_editor.data()))
        return combo->Finished() ? nullptr : combo;
    return nullptr;
}

void CComboListCtrl::EndEdit() {
    QWidget* editor = ActiveEditor();
    if (!editor)
        return;
    setFocus(Qt::OtherFocusReason);
    // Without an active window no focus change arrives: end the edit directly.
    if (auto* edit = qobject_cast<CInPlaceEdit*>(editor))
        edit->Finish();
    else if (auto* combo = qobject_cast<CInPlaceCombo*>(editor))
        combo->Finish();
}

QString CComboListCtrl::CellText(int row, int column) const {
    const QTableWidgetItem* cell = item(row, column);
    return cell ? cell->text() : QString();
}

void CComboListCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QTableWidget::mousePressEvent(event);
        return;
    }
    const QModelIndex hit = indexAt(event->position().toPoint());
    if (!hit.isValid()) {
        // Below the last row or right of the last column: not even a deselect.
        event->accept();
        return;
    }
    QTableWidget::mousePressEvent(event);
    if (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier))
        return;
    const int row = hit.row();
    const int column = hit.column();
    if (row >= rowCount() || currentIndex().row() != row)
        return;
    const QString text = CellText(row, column);
    if (IsComboColumn(column)) {
        QStringList choices;
        emit choicesRequested(column, &choices);
        OpenCombo(row, column, choices, text);
    } else if (!IsReadOnlyColumn(column)) {
        OpenEdit(row, column, ValidChars(column), text);
    }
}

void CComboListCtrl::ScrollColumnIntoView(int column, int row) {
    const QRect cell = visualRect(model()->index(row, column));
    const int clientWidth = viewport()->width();
    QScrollBar* bar = horizontalScrollBar();
    if (cell.left() < 0 || cell.left() > clientWidth)
        bar->setValue(bar->value() + cell.left());
    else if (cell.left() + columnWidth(column) > clientWidth)
        bar->setValue(bar->value() + cell.left() + columnWidth(column) - clientWidth);
}

QRect CComboListCtrl::EditorRect(int row, int column) {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount() ||
        columnWidth(column) < kMinEditWidth || isColumnHidden(column))
        return {};
    const QModelIndex index = model()->index(row, column);
    // Partial visibility of the row is enough.
    const QRect rowRect = visualRect(index);
    if (!rowRect.intersects(viewport()->rect()) || rowRect.top() < 0)
        scrollTo(index, QAbstractItemView::EnsureVisible);
    ScrollColumnIntoView(column, row);
    QRect cell = visualRect(index);
    if (cell.isEmpty() || !cell.intersects(viewport()->rect()))
        return {};
    cell.setRight(std::min(cell.right(), viewport()->rect().right()));
    return cell;
}

bool CComboListCtrl::OpenCombo(int row, int column, const QStringList& choices,
                               const QString& text) {
    const QRect cell = EditorRect(row, column);
    if (cell.isEmpty())
        return false;
    EndEdit();
    auto* combo = new CInPlaceCombo(this, row, column, choices, text);
    m_editor = combo;
    combo->setMaxVisibleItems(DropDownRows(static_cast<int>(choices.size())));
    combo->setGeometry(cell);
    combo->show();
    combo->setFocus(Qt::OtherFocusReason);
    // The first choice that begins with the cell text, whatever the case.
    for (int i = 0; i < choices.size(); ++i) {
        if (choices[i].startsWith(text, Qt::CaseInsensitive)) {
            combo->setCurrentIndex(i);
            break;
        }
    }
    return true;
}

bool CComboListCtrl::OpenEdit(int row, int column, const QString& validChars, const QString& text) {
    const QRect cell = EditorRect(row, column);
    if (cell.isEmpty())
        return false;
    EndEdit();
    auto* edit = new CInPlaceEdit(this, row, column, validChars, text);
    m_editor = edit;
    edit->setGeometry(cell);
    edit->show();
    edit->selectAll();
    edit->setFocus(Qt::OtherFocusReason);
    return true;
}

void CComboListCtrl::EndLabelEdit(int row, int column, const QString& text) {
    if (row >= 0 && row < rowCount() && column >= 0 && column < columnCount()) {
        QTableWidgetItem* cell = item(row, column);
        if (!cell) {
            cell = new QTableWidgetItem;
            cell->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            setItem(row, column, cell);
        }
        cell->setText(text);
    }
    emit editFinished(row, column, text);
}

} // namespace qm
