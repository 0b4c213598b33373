#include "desktop/channels/CInPlaceEditors.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>

#include "desktop/Prompt.h"
#include "desktop/channels/CComboListCtrl.h"

namespace qm {

namespace {

bool IsEnter(const QKeyEvent* event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

// A context menu or the drop-down's own list takes the focus for a moment, and another
// program's window takes it until the user comes back: neither ends the edit.
bool EndsEdit(const QFocusEvent* event) {
    return event->reason() != Qt::PopupFocusReason &&
           event->reason() != Qt::ActiveWindowFocusReason;
}

// Escape (which cancels) and Enter end an edit; the dialog never sees them.
bool EndKey(QKeyEvent* event, bool& cancel) {
    if (event->key() == Qt::Key_Escape)
        cancel = true;
    else if (!IsEnter(event))
        return false;
    event->accept();
    return true;
}

// The end of an edit: the editor goes, the grid takes the text and tells its owner.
void Report(QWidget* editor, CComboListCtrl* grid, int row, int column, const QString& text) {
    editor->hide();
    if (grid)
        grid->EndLabelEdit(row, column, text);
    editor->deleteLater();
}

} // namespace

CInPlaceEdit::CInPlaceEdit(CComboListCtrl* grid, int row, int column, const QString& validChars,
                           const QString& initialText)
    : QLineEdit(grid->viewport()), m_grid(grid), m_row(row), m_column(column),
      m_validChars(validChars), m_initialText(initialText) {
    setFont(grid->font());
    setFrame(false);
    setText(initialText);
}

bool CInPlaceEdit::Accepts(const QString& typed) const {
    if (m_validChars.isEmpty())
        return true;
    for (const QChar c : typed) {
        // Control characters (Backspace, Ctrl+C/V/X, ...) are editing commands, not text.
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            continue;
        if (!m_validChars.contains(c))
            return false;
    }
    return true;
}

void CInPlaceEdit::keyPressEvent(QKeyEvent* event) {
    if (EndKey(event, m_cancel)) {
        GiveFocusBack();
        return;
    }
    // Ctrl and Alt combinations are commands (copy, paste, cut, ...), not typed characters.
    const bool command = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
    if (!command && !event->text().isEmpty() && !Accepts(event->text())) {
        Prompt().Beep();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void CInPlaceEdit::inputMethodEvent(QInputMethodEvent* event) {
    // Characters composed by an input method are typed characters too.
    if (!event->commitString().isEmpty() && !Accepts(event->commitString())) {
        Prompt().Beep();
        QInputMethodEvent dropped(event->preeditString(), event->attributes());
        QLineEdit::inputMethodEvent(&dropped);
        return;
    }
    QLineEdit::inputMethodEvent(event);
}

void CInPlaceEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (EndsEdit(event))
        Finish();
}

void CInPlaceEdit::GiveFocusBack() {
    if (m_grid)
        m_grid->setFocus(Qt::OtherFocusReason);
    Finish(); // when the window is not active no focus change arrives
}

void CInPlaceEdit::Finish() {
    if (m_finished)
        return;
    m_finished = true;
    Report(this, m_grid, m_row, m_column, m_cancel ? m_initialText : text());
}

CInPlaceCombo::CInPlaceCombo(CComboListCtrl* grid, int row, int column, const QStringList& choices,
                             const QString& initialText)
    : QComboBox(grid->viewport()), m_grid(grid), m_row(row), m_column(column),
      m_initialText(initialText) {
    setFont(grid->font());
    setEditable(false);
    // A list that drops below the cell rather than a menu laid over it.
    setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(1);
    addItems(choices);
    setCurrentIndex(-1); // nothing selected until the grid matches the cell text
}

void CInPlaceCombo::keyPressEvent(QKeyEvent* event) {
    if (EndKey(event, m_cancel)) {
        GiveFocusBack();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void CInPlaceCombo::hidePopup() {
    QComboBox::hidePopup();
    if (!m_finished)
        GiveFocusBack();
}

void CInPlaceCombo::focusOutEvent(QFocusEvent* event) {
    QComboBox::focusOutEvent(event);
    if (EndsEdit(event))
        Finish();
}

void CInPlaceCombo::GiveFocusBack() {
    if (m_grid)
        m_grid->setFocus(Qt::OtherFocusReason);
    Finish();
}

void CInPlaceCombo::Finish() {
    if (m_finished)
        return;
    m_finished = true;
    // Nothing picked (the cell text matched no choice): the cell keeps what it showed rather
    // than turning blank over an unchanged record.
    Report(this, m_grid, m_row, m_column,
           m_cancel || currentIndex() < 0 ? m_initialText : currentText());
}

} // namespace qm
