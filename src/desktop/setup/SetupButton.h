#pragma once

#include <QPushButton>

#include "desktop/DesktopTexts.h"

namespace qm {

// A button of the set-up windows: its text from the string table, named for tests, and never
// pressed by Enter in a text box.
inline QPushButton* SetupButton(QWidget* parent, const char* name, int textId) {
    auto* button = new QPushButton(Text(textId), parent);
    button->setObjectName(QString::fromUtf8(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace qm
