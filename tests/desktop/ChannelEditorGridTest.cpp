// The in-place editing grid, driven by real clicks and keys.
#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include "FakePrompt.h"
#include "desktop/channels/CComboListCtrl.h"
#include "desktop/channels/CInPlaceEditors.h"

namespace qm {
namespace {

struct Finished {
    int row;
    int column;
    QString text;
};

// Columns: 0 read-only, 1 digits, 2 drop-down, 3 free text, 4 a 8-pixel drop-down.
class GridEditing : public ::testing::Test {
protected:
    void SetUp() override {
        window.resize(420, 300);
        grid = new CComboListCtrl(&window);
        grid->setGeometry(0, 0, 420, 300);
        grid->setColumnCount(5);
        const int widths[] = {40, 60, 80, 90, 8};
        for (int c = 0; c < 5; ++c)
            grid->setColumnWidth(c, widths[c]);
        grid->AddReadOnlyColumn(0);
        grid->SetValidChars(1, "0123456789.");
        grid->AddComboColumn(2);
        grid->AddComboColumn(2); // added once only
        grid->AddComboColumn(4);
        grid->setRowCount(30);
        for (int r = 0; r < 30; ++r) {
            const QStringList texts = {QString::number(r + 1), QString::number(10 + r), "dvb-c",
                                       "free", "x"};
            for (int c = 0; c < 5; ++c)
                grid->setItem(r, c, new QTableWidgetItem(texts[c]));
        }
        QObject::connect(grid, &CComboListCtrl::editFinished,
                         [this](int r, int c, const QString& t) {
                             finished.push_back({r, c, t});
                         });
        QObject::connect(grid, &CComboListCtrl::choicesRequested, [this](int c, QStringList* l) {
            requests << c;
            *l << "TV"
               << "DVB-C"
               << "DVB-T";
        });
        QObject::connect(grid, &CComboListCtrl::rowFocused, [this](int r) { focused << r; });
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        grid->setFocus();
        grid->setCurrentCell(0, 0);
        focused.clear();
    }
    QRect Cell(int row, int column) const {
        return grid->visualRect(grid->model()->index(row, column));
    }
    void Click(int row, int column, Qt::KeyboardModifiers mods = {}) {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, mods, Cell(row, column).center());
    }
    CInPlaceEdit* Edit() const { return qobject_cast<CInPlaceEdit*>(grid->ActiveEditor()); }
    CInPlaceCombo* Combo() const { return qobject_cast<CInPlaceCombo*>(grid->ActiveEditor()); }
    QString Text(int row, int column) const { return grid->item(row, column)->text(); }

    test::FakePrompt prompt;
    ScopedPrompt scope{prompt};
    std::vector<Finished> finished;
    QList<int> requests;
    QList<int> focused;
    QWidget window; // destroyed first: an editor still open reports nothing
    CComboListCtrl* grid = nullptr;
};

TEST_F(GridEditing, AClickFocusesTheRowAndOpensTheTextBoxOverTheCell) {
    Click(2, 1);
    EXPECT_EQ(focused, QList<int>{2});
    CInPlaceEdit* edit = Edit();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->geometry(), Cell(2, 1));
    EXPECT_EQ(edit->text(), "12");
    EXPECT_EQ(edit->selectedText(), "12");
    EXPECT_TRUE(edit->hasFocus());
    // Typing replaces the selection; Enter commits once, the cell already shows the text.
    QTest::keyClicks(edit, "4.5");
    QTest::keyClick(edit, Qt::Key_Return);
    ASSERT_EQ(finished.size(), 1u);
    EXPECT_EQ(finished[0].row, 2);
    EXPECT_EQ(finished[0].column, 1);
    EXPECT_EQ(finished[0].text, "4.5");
    EXPECT_EQ(Text(2, 1), "4.5");
    EXPECT_EQ(grid->ActiveEditor(), nullptr);
    EXPECT_TRUE(grid->hasFocus());
    // Enter without a change still reports, and losing the focus to another cell commits.
    Click(2, 3);
    QTest::keyClick(Edit(), Qt::Key_Enter);
    Click(2, 3);
    QTest::keyClicks(Edit(), "typed");
    Click(5, 3);
    ASSERT_EQ(finished.size(), 3u);
    EXPECT_EQ(finished[1].text, "free");
    EXPECT_EQ(finished[2].text, "typed");
    EXPECT_EQ(Text(2, 3), "typed");
    ASSERT_NE(Edit(), nullptr) << "the same click opened the next row's text box";
    EXPECT_EQ(Edit()->Row(), 5);
}

TEST_F(GridEditing, ShiftAndCtrlClicksOnlySelect) {
    Click(1, 1, Qt::ShiftModifier);
    EXPECT_EQ(grid->ActiveEditor(), nullptr);
    EXPECT_EQ(grid->selectionModel()->selectedRows().size(), 2);
    Click(4, 3, Qt::ControlModifier);
    EXPECT_EQ(grid->ActiveEditor(), nullptr);
    EXPECT_EQ(grid->selectionModel()->selectedRows().size(), 3);
    EXPECT_TRUE(finished.empty());
}

TEST_F(GridEditing, ClicksBelowTheLastRowAndOnColumnZeroOpenNothing) {
    grid->setRowCount(3);
    grid->clearSelection();
    grid->selectRow(1);
    const QPoint below(Cell(2, 1).center().x(), Cell(2, 1).bottom() + 30);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, below);
    EXPECT_EQ(grid->ActiveEditor(), nullptr);
    EXPECT_EQ(grid->currentRow(), 1);
    ASSERT_EQ(grid->selectionModel()->selectedRows().size(), 1) << "not even a deselect";
    Click(1, 0);
    Click(1, 0);
    EXPECT_EQ(grid->ActiveEditor(), nullptr);
    EXPECT_TRUE(finished.empty());
}

TEST_F(GridEditing, TheTextBoxFiltersTypedCharactersButNotPastedText) {
    Click(0, 1);
    CInPlaceEdit* edit = Edit();
    ASSERT_NE(edit, nullptr);
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClick(edit, Qt::Key_A);
    QTest::keyClick(edit, Qt::Key_Space);
    EXPECT_EQ(edit->text(), "10");
    EXPECT_EQ(prompt.beeps, 2);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, "7.");
    EXPECT_EQ(edit->text(), "17.");
    QApplication::clipboard()->setText("ab");
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "17.ab");
    EXPECT_EQ(prompt.beeps, 2);
    // A column without valid characters takes anything.
    Click(0, 3);
    QTest::keyClicks(Edit(), "a-Z ");
    EXPECT_EQ(Edit()->text(), "a-Z ");
    EXPECT_EQ(prompt.beeps, 2);
}

TEST_F(GridEditing, EscapeAfterTypingRestoresTheInitialTextAndStillReports) {
    Click(3, 1);
    QTest::keyClicks(Edit(), "999");
    QTest::keyClick(Edit(), Qt::Key_Escape);
    ASSERT_EQ(finished.size(), 1u);
    EXPECT_EQ(finished[0].text, "13");
    EXPECT_EQ(Text(3, 1), "13");
    EXPECT_EQ(grid->ActiveEditor(), nullptr);
    EXPECT_TRUE(window.isVisible()) << "the key went no further";
}

TEST_F(GridEditing, TheDropDownAsksForChoicesAndSelectsTheOneTheCellBeginsWith) {
    Click(0, 2);
    EXPECT_EQ(requests, QList<int>{2});
    CInPlaceCombo* combo = Combo();
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->geometry(), Cell(0, 2));
    EXPECT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->currentText(), "DVB-C") << "case does not matter";
    EXPECT_EQ(combo->maxVisibleItems(), 13);
    EXPECT_EQ(CComboListCtrl::DropDownReach(20, 3), 260);
    EXPECT_EQ(CComboListCtrl::DropDownReach(20, 12), 220);
    QTest::keyClick(combo, Qt::Key_Down);
    QTest::keyClick(combo, Qt::Key_Return);
    ASSERT_EQ(finished.size(), 1u);
    EXPECT_EQ(finished[0].text, "DVB-T");
    EXPECT_EQ(Text(0, 2), "DVB-T");
    // Escape after a change gives the initial text back.
    Click(0, 2);
    QTest::keyClick(Combo(), Qt::Key_Up);
    QTest::keyClick(Combo(), Qt::Key_Escape);
    ASSERT_EQ(finished.size(), 2u);
    EXPECT_EQ(finished[1].text, "DVB-T");
    // A column narrower than 10 pixels opens nothing.
    ASSERT_EQ(grid->columnWidth(4), 8);
    Click(0, 4);
    EXPECT_EQ(requests.size(), 3);
    EXPECT_EQ(grid->ActiveEditor(), nullptr);
    EXPECT_EQ(finished.size(), 2u);
}

TEST_F(GridEditing, ScrollingEndsTheEditWithTheTypedText) {
    Click(1, 3);
    QTest::keyClicks(Edit(), "scrolled");
    grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->value() + 3);
    ASSERT_EQ(finished.size(), 1u);
    EXPECT_EQ(finished[0].text, "scrolled");
    EXPECT_EQ(grid->ActiveEditor(), nullptr);
}

TEST_F(GridEditing, AHalfHiddenColumnIsScrolledIntoViewBeforeTheEditorOpens) {
    grid->setColumnWidth(3, 300);
    QCoreApplication::processEvents(); // the scroll range follows the new width
    const QRect before = Cell(0, 3);
    ASSERT_GT(before.right(), grid->viewport()->width());
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, before.topLeft() + QPoint(5, 5));
    ASSERT_NE(Edit(), nullptr);
    const QRect after = Cell(0, 3);
    EXPECT_GT(grid->horizontalScrollBar()->value(), 0);
    EXPECT_EQ(after.left() + grid->columnWidth(3), grid->viewport()->width());
    EXPECT_EQ(Edit()->geometry(), after);
    EXPECT_TRUE(finished.empty()) << "the scrolling came before the editor";
}

} // namespace
} // namespace qm
