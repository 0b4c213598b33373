#include "desktop/frame/CRibbonBar.h"

#include <QAction>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>

namespace qm {

namespace {

constexpr int kLargeIcon = 32;

// A ribbon button pressed by Enter as well as by Space, as the buttons of a dialog are.
class RibbonButton : public QToolButton {
public:
    using QToolButton::QToolButton;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
            event->modifiers() == Qt::NoModifier && isEnabled()) {
            click();
            return;
        }
        QToolButton::keyPressEvent(event);
    }
};

// "Upload (Ctrl+U, Alt+U)": the tip names every key that runs the command.
QString TipWithShortcuts(const QAction& action) {
    QStringList keys;
    for (const QKeySequence& key : action.shortcuts())
        keys << key.toString(QKeySequence::NativeText);
    const QString tip = action.toolTip();
    return keys.isEmpty() ? tip
                          : QStringLiteral("%1 (%2)").arg(tip, keys.join(QStringLiteral(", ")));
}

} // namespace

CRibbonBar::CRibbonBar(const QString& category, QMenu* applicationMenu, QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("RibbonBar"));
    setAttribute(Qt::WA_StyledBackground);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 3, 4, 0);
    outer->setSpacing(0);

    auto* tabRow = new QWidget(this);
    tabRow->setObjectName(QStringLiteral("RibbonTabRow"));
    auto* tabs = new QHBoxLayout(tabRow);
    tabs->setContentsMargins(0, 0, 0, 0);
    tabs->setSpacing(8);
    m_appButton = new QToolButton(tabRow);
    m_appButton->setObjectName(QStringLiteral("RibbonAppButton"));
    m_appButton->setIcon(QIcon(QStringLiteral(":/icons/app.svg")));
    m_appButton->setIconSize(QSize(20, 20));
    m_appButton->setFixedSize(30, 30);
    m_appButton->setMenu(applicationMenu);
    m_appButton->setPopupMode(QToolButton::InstantPopup);
    m_appButton->setToolTip(applicationMenu->title());
    m_appButton->setAccessibleName(applicationMenu->title());
    tabs->addWidget(m_appButton, 0, Qt::AlignBottom);
    auto* tab = new QLabel(category, tabRow);
    tab->setObjectName(QStringLiteral("RibbonTab"));
    tabs->addWidget(tab, 0, Qt::AlignBottom);
    tabs->addStretch(1);
    outer->addWidget(tabRow);

    auto* strip = new QWidget(this);
    m_panelRow = new QHBoxLayout(strip);
    m_panelRow->setContentsMargins(0, 2, 0, 0);
    m_panelRow->setSpacing(0);
    m_panelRow->addStretch(1);
    outer->addWidget(strip);
}

int CRibbonBar::AddPanel(const QString& caption) {
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("RibbonPanel"));
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(6, 2, 6, 2);
    column->setSpacing(1);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(2);
    column->addLayout(buttons, 1);
    auto* label = new QLabel(caption, panel);
    label->setObjectName(QStringLiteral("RibbonPanelCaption"));
    label->setAlignment(Qt::AlignCenter);
    column->addWidget(label);
    // Keep the stretch at the right end.
    m_panelRow->insertWidget(m_panelRow->count() - 1, panel);
    m_panels.push_back(buttons);
    return static_cast<int>(m_panels.size()) - 1;
}

QToolButton* CRibbonBar::AddButton(int panel, QAction* action) {
    action->setToolTip(TipWithShortcuts(*action));
    auto* button = new RibbonButton(this);
    button->setObjectName(QStringLiteral("RibbonButton"));
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setIconSize(QSize(kLargeIcon, kLargeIcon));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::StrongFocus);
    button->setMinimumWidth(56);
    button->setAccessibleName(action->iconText());
    button->setAccessibleDescription(action->toolTip());
    m_panels.at(static_cast<std::size_t>(panel))->addWidget(button);
    m_buttons.push_back(button);
    return button;
}

void CRibbonBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!m_compact)
        m_fullWidth = sizeHint().width();
    const bool compact = width() < m_fullWidth;
    if (compact != m_compact)
        SetCompact(compact);
}

void CRibbonBar::SetCompact(bool compact) {
    m_compact = compact;
    for (QToolButton* button : m_buttons) {
        QAction* action = button->defaultAction();
        if (!action)
            continue;
        const QString oneLine = action->property("oneLineLabel").toString();
        if (compact && oneLine.isEmpty()) {
            // After the first blank ("Channel|Editor") or slash ("Time/|Unit").
            const QString label = action->iconText();
            qsizetype split = label.indexOf(QLatin1Char(' '));
            qsizetype rest = split + 1;
            if (split < 0) {
                split = rest = label.indexOf(QLatin1Char('/')) + 1;
                if (split <= 0 || split == label.size())
                    continue;
            }
            action->setProperty("oneLineLabel", label);
            action->setIconText(label.left(split) + QLatin1Char('\n') + label.mid(rest));
        } else if (!compact && !oneLine.isEmpty()) {
            action->setIconText(oneLine);
            action->setProperty("oneLineLabel", QVariant());
        }
    }
    for (QLabel* caption : findChildren<QLabel*>(QStringLiteral("RibbonPanelCaption")))
        caption->setWordWrap(compact);
}

void CRibbonBar::AddWidget(int panel, QWidget* widget) {
    widget->setParent(this);
    m_panels.at(static_cast<std::size_t>(panel))->addWidget(widget);
}

} // namespace qm
