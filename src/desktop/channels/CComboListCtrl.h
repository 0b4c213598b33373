#pragma once

#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTableWidget>
#include <array>

namespace qm {

// A report-style table whose cells the user edits in place: a click on a cell of the focused
// row opens a drop-down list or a text box exactly over the cell. The grid knows nothing about
// what it shows; its owner says which columns use a drop-down, which are read-only and which
// characters each text column takes, supplies the choices on request and hears of every
// finished edit.
class CComboListCtrl : public QTableWidget {
    Q_OBJECT
public:
    static constexpr int kMaxColumns = 100;  // columns that can carry valid characters
    static constexpr int kMinEditWidth = 10; // narrower columns open no editor

    explicit CComboListCtrl(QWidget* parent = nullptr);
    ~CComboListCtrl() override;

    // Set-up by the owner; the lists are never emptied.
    void AddComboColumn(int column);
    void AddReadOnlyColumn(int column);
    void SetValidChars(int column, const QString& chars);
    bool IsComboColumn(int column) const { return m_comboColumns.contains(column); }
    bool IsReadOnlyColumn(int column) const { return m_readOnlyColumns.contains(column); }
    QString ValidChars(int column) const;

    // Opens an editor over a cell; false when it cannot be opened there.
    bool OpenCombo(int row, int column, const QStringList& choices, const QString& text);
    bool OpenEdit(int row, int column, const QString& validChars, const QString& text);

    // The in-place editor open right now, nullptr when none.
    QWidget* ActiveEditor() const;
    // Ends an open edit the way losing the focus does (before rows or columns are removed).
    void EndEdit();

    // Height the drop-down reaches below a cell with `choices` entries, and the number of
    // cell-high entries its list shows at most.
    static int DropDownReach(int cellHeight, int choices);
    static int DropDownRows(int choices);

    // The editors' end of an edit: the cell takes the text, then the owner hears of it.
    void EndLabelEdit(int row, int column, const QString& text);

signals:
    // Just before a drop-down opens: the owner fills `choices` (empty when it arrives).
    void choicesRequested(int column, QStringList* choices);
    // After every in-place edit, also when nothing changed; the cell already shows `text`.
    void editFinished(int row, int column, const QString& text);
    // A row became the focused (current) row.
    void rowFocused(int row);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    // The cell's rectangle for an editor, once the row and the column are scrolled into view;
    // empty when no editor can open there.
    QRect EditorRect(int row, int column);
    void ScrollColumnIntoView(int column, int row);
    QString CellText(int row, int column) const;

    QSet<int> m_comboColumns;
    QSet<int> m_readOnlyColumns;
    std::array<QString, kMaxColumns> m_validChars;
    QPointer<QWidget> m_editor;
};

} // namespace qm
