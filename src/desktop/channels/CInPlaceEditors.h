#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QStringList>

namespace qm {

class CComboListCtrl;

// The text box the grid opens over a cell. It filters typed characters by its column's valid
// characters and, however the edit ends, hands exactly one end-of-edit to the grid.
class CInPlaceEdit : public QLineEdit {
    Q_OBJECT
public:
    CInPlaceEdit(CComboListCtrl* grid, int row, int column, const QString& validChars,
                 const QString& initialText);

    int Row() const { return m_row; }
    int Column() const { return m_column; }
    // Ends the edit: the current text, or the initial one after Escape, goes to the grid.
    void Finish();
    bool Finished() const { return m_finished; }
    // Ends without a word to the grid (the grid is going away).
    void Abandon() { m_finished = true; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool Accepts(const QString& typed) const;
    void GiveFocusBack();

    QPointer<CComboListCtrl> m_grid;
    int m_row;
    int m_column;
    QString m_validChars;
    QString m_initialText;
    bool m_cancel = false;
    bool m_finished = false;
};

// The drop-down list the grid opens over a cell of a combo column. No typing: the user picks
// one of the choices the grid's owner supplied.
class CInPlaceCombo : public QComboBox {
    Q_OBJECT
public:
    CInPlaceCombo(CComboListCtrl* grid, int row, int column, const QStringList& choices,
                  const QString& initialText);

    int Row() const { return m_row; }
    int Column() const { return m_column; }
    void Finish();
    bool Finished() const { return m_finished; }
    void Abandon() { m_finished = true; }
    void hidePopup() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void GiveFocusBack();

    QPointer<CComboListCtrl> m_grid;
    int m_row;
    int m_column;
    QString m_initialText;
    bool m_cancel = false;
    bool m_finished = false;
};

} // namespace qm
