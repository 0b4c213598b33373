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
        // The measurement archive.
        {"Archive", "档案"},
        {"Measurement archive", "测量档案"},
        {"Archive: %1", "档案：%1"},
        {"Keep uploads", "保存上传"},
        {"Keep every upload in the archive", "每次上传都存入档案"},
        {"Site", "测点"},
        {"Measurements", "测量数"},
        {"Last measured", "最近测量"},
        {"Measured", "测量时间"},
        {"Meter kind", "仪表类型"},
        {"Added (UTC)", "加入时间（UTC）"},
        {"Technician", "技术员"},
        {"Source", "来源"},
        {"Open in the file tree", "在文件树中打开"},
        {"Refresh", "刷新"},
        {"Channel:", "频道："},
        {"Level", "电平"},
        {"min %1", "下限 %1"},
        {"max %1", "上限 %1"},
        {"No measurement in the archive", "档案中没有测量"},
        {"No value of this channel", "此频道没有数值"},
        {"The upload is loaded, but it could not be kept in the archive.",
         "上传的文件已载入，但未能存入档案。"},
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
