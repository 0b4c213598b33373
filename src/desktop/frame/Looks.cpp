#include "desktop/frame/Looks.h"

#include <QApplication>
#include <QPalette>
#include <QSettings>
#include <QStyle>
#include <QStyleFactory>
#include <utility>

#include "desktop/UserStore.h"

namespace qm {

namespace {

// Colours that make one look; everything else is derived from them.
struct LookColours {
    const char* window;    // frame, splitter, docks
    const char* ribbonTop; // ribbon gradient
    const char* ribbonBottom;
    const char* ribbonText;  // button labels and panel captions on the ribbon
    const char* panelBorder; // lines between ribbon panels
    const char* accent;      // hovered buttons, selections, progress
    const char* accentText;  // text on the accent
    const char* titleTop;    // dock title bars, status bar, the ribbon's tab
    const char* titleBottom;
    const char* titleText;
};

const LookColours& ColoursOf(int look) {
    static const LookColours blue{"#d5e4f5", "#e8f1fc", "#c3d9f3", "#15428b", "#8db2e3",
                                  "#ffd66b", "#15428b", "#bcd4f2", "#9ebfe8", "#15428b"};
    static const LookColours black{"#c9c9c9", "#5a5a5a", "#2f2f2f", "#ffffff", "#1c1c1c",
                                   "#ffbf40", "#000000", "#4a4a4a", "#1f1f1f", "#ffffff"};
    static const LookColours silver{"#e6e8ec", "#f7f8fa", "#d9dce3", "#2e3b4e", "#a9b0bd",
                                    "#f7d575", "#2e3b4e", "#dfe2e8", "#c4c9d2", "#2e3b4e"};
    static const LookColours aqua{"#d9efe0", "#ecf8ef", "#bfe4c9", "#1e5b32", "#7fc393",
                                  "#3f9d5c", "#ffffff", "#b9e0c3", "#93cea4", "#1e5b32"};
    static const LookColours windows7{"#f0f0f0", "#ffffff", "#e9eef6", "#1e395b", "#b8c7dc",
                                      "#cce4f7", "#000000", "#f3f6fb", "#dfe7f2", "#1e395b"};
    switch (look) {
    case kLookOffice2007Blue:
        return blue;
    case kLookOffice2007Silver:
        return silver;
    case kLookOffice2007Aqua:
        return aqua;
    case kLookWindows7:
        return windows7;
    default:
        return black;
    }
}

QString StyleSheetOf(const LookColours& c) {
    QString sheet = QStringLiteral(
        "QWidget#RibbonBar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, "
        "stop:0 @ribbonTop@, stop:1 @ribbonBottom@); border-bottom: 1px solid @panelBorder@; }"
        "QWidget#RibbonTabRow { background: transparent; }"
        "QLabel#RibbonTab { color: @titleText@; background: qlineargradient(x1:0, y1:0, x2:0, "
        "y2:1, stop:0 @titleTop@, stop:1 @titleBottom@); border: 1px solid @panelBorder@; "
        "border-bottom: none; "
        "border-top-left-radius: 4px; border-top-right-radius: 4px; padding: 2px 14px; }"
        "QToolButton#RibbonAppButton { border: 1px solid @panelBorder@; border-radius: 14px; "
        "background: qradialgradient(cx:0.5, cy:0.4, radius:0.7, stop:0 @titleTop@, stop:1 "
        "@titleBottom@); "
        "padding: 2px; }"
        "QToolButton#RibbonAppButton::menu-indicator { image: none; }"
        "QFrame#RibbonPanel { border-right: 1px solid @panelBorder@; background: transparent; }"
        "QLabel#RibbonPanelCaption { color: @ribbonText@; }"
        "QToolButton#RibbonButton { color: @ribbonText@; border: 1px solid transparent; "
        "border-radius: 3px; padding: 2px 4px; background: transparent; }"
        "QToolButton#RibbonButton:hover, QToolButton#RibbonButton:focus { "
        "border-color: @accent@; background: @accent@; color: @accentText@; }"
        "QToolButton#RibbonButton:pressed { background: @titleBottom@; color: @titleText@; }"
        // A choice that is on (keep uploads) stays pressed in.
        "QToolButton#RibbonButton:checked { border-color: @accent@; background: @titleBottom@; "
        "color: @titleText@; }"
        "QStatusBar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 @titleTop@, "
        "stop:1 @titleBottom@); color: @titleText@; min-height: 20px; }"
        "QDockWidget { color: @titleText@; }"
        "QDockWidget::title { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, "
        "stop:0 @titleTop@, stop:1 @titleBottom@); padding: 3px 6px; }"
        "QMainWindow, QSplitter { background: @window@; }"
        "QSplitter::handle { background: @window@; }"
        "QTreeView { selection-background-color: @accent@; selection-color: @accentText@; }"
        "QProgressBar { border: 1px solid @panelBorder@; border-radius: 2px; background: white; "
        "text-align: center; }"
        "QProgressBar::chunk { background: @accent@; }");
    const std::pair<const char*, const char*> colours[] = {{"@window@", c.window},
                                                           {"@ribbonTop@", c.ribbonTop},
                                                           {"@ribbonBottom@", c.ribbonBottom},
                                                           {"@ribbonText@", c.ribbonText},
                                                           {"@panelBorder@", c.panelBorder},
                                                           {"@accent@", c.accent},
                                                           {"@accentText@", c.accentText},
                                                           {"@titleTop@", c.titleTop},
                                                           {"@titleBottom@", c.titleBottom},
                                                           {"@titleText@", c.titleText}};
    for (const auto& [token, colour] : colours)
        sheet.replace(QLatin1String(token), QLatin1String(colour));
    return sheet;
}

constexpr const char* kLookKey = "ApplicationLook";

} // namespace

bool IsLook(int look) {
    return look >= kLookOffice2007Blue && look <= kLookWindows7;
}

QString LookLabel(int look) {
    switch (look) {
    case kLookOffice2007Blue:
        return QStringLiteral("Office 2007 (Blue)(&B)");
    case kLookOffice2007Black:
        return QStringLiteral("Office 2007 (Black)(&L)");
    case kLookOffice2007Silver:
        return QStringLiteral("Office 2007 (Silver)(&S)");
    case kLookOffice2007Aqua:
        return QStringLiteral("Office 2007 (Green)(&A)");
    case kLookWindows7:
        return QStringLiteral("Windows 7(&D)");
    default:
        return {};
    }
}

int StoredLook() {
    bool ok = false;
    const int look = UserStore().value(kLookKey, kDefaultLook).toInt(&ok);
    return ok && IsLook(look) ? look : kDefaultLook;
}

void StoreLook(int look) {
    QSettings store = UserStore();
    store.setValue(kLookKey, look);
    store.sync();
}

void ApplyLook(int look) {
    const LookColours& c = ColoursOf(look);
    if (QApplication::style()->name().compare(QStringLiteral("fusion"), Qt::CaseInsensitive) != 0)
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // Texts stay dark on every look: the panes and dialogs paint their own light background.
    QPalette palette = QApplication::style()->standardPalette();
    palette.setColor(QPalette::Window, QColor(c.window));
    palette.setColor(QPalette::Button, QColor(c.window).lighter(106));
    palette.setColor(QPalette::Highlight, QColor(c.accent));
    palette.setColor(QPalette::HighlightedText, QColor(c.accentText));
    QApplication::setPalette(palette);
    qApp->setStyleSheet(StyleSheetOf(c));
}

} // namespace qm
