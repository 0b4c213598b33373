#include "desktop/DesktopTexts.h"

#include <QPalette>
#include <QWidget>
#include <cstring>
#include <utility>

#include "res/StringTable.h"

namespace qm {

QString Text(int englishId) {
    return QString::fromStdString(Tr(englishId));
}

QString ExtraText(const char* english) {
    static constexpr std::pair<const char*, const char*> kChinese[] = {
        {"Compare", "比较"},
        {"Compare measurements", "比较测量"},
        {"Set reference", "设为参考"},
        {"Clear reference", "清除参考"},
        {"Reference: %1", "参考：%1"},
        {"Shown", "当前"},
        {"Open project...", "打开工程..."},
        {"Scan", "扫描"},
        {"Spectrum", "频谱"},
        {"Chart:", "图表："},
        {"Export for spreadsheet", "导出为电子表格"},
    };
    if (LanguageBase() == kLanguageChinese)
        for (const auto& [en, zh] : kChinese)
            if (std::strcmp(en, english) == 0)
                return QString::fromUtf8(zh);
    return QString::fromUtf8(english);
}

void PaintDialogBackground(QWidget* widget) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, DialogBackground());
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace qm
