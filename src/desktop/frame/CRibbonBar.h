#pragma once

#include <QWidget>
#include <vector>

class QAction;
class QHBoxLayout;
class QMenu;
class QToolButton;

namespace qm {

// A small ribbon: the application button and the one category tab on top, below it captioned
// panels of large icon buttons with their labels underneath.
class CRibbonBar : public QWidget {
    Q_OBJECT
public:
    CRibbonBar(const QString& category, QMenu* applicationMenu, QWidget* parent = nullptr);

    // A new panel at the right end; returns its index.
    int AddPanel(const QString& caption);
    // A large button for the action in the panel.
    QToolButton* AddButton(int panel, QAction* action);
    // Any other control (a drop-down list) in the panel.
    void AddWidget(int panel, QWidget* widget);

    QToolButton* ApplicationButton() const { return m_appButton; }
    const std::vector<QToolButton*>& Buttons() const { return m_buttons; }

protected:
    // On a narrow screen labels of two words take two lines rather than being cut.
    void resizeEvent(QResizeEvent* event) override;

private:
    void SetCompact(bool compact);

    QToolButton* m_appButton = nullptr;
    bool m_compact = false;
    int m_fullWidth = 0; // the width the one-line labels need
    QHBoxLayout* m_panelRow = nullptr;
    std::vector<QHBoxLayout*> m_panels;
    std::vector<QToolButton*> m_buttons;
};

} // namespace qm
