#include "desktop/DesktopTexts.h"

#include <QPalette>
#include <QWidget>
#include <algorithm>
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
        {"No port is chosen. Choose one, or type COM1 to COM256 or a device path.",
         "未选择端口。请选择一个，或输入 COM1 到 COM256 或设备路径。"},
        {"This is not a port. Type COM1 to COM256 or a device path such as /dev/ttyUSB0.",
         "这不是端口。请输入 COM1 到 COM256 或设备路径，例如 /dev/ttyUSB0。"},
        {"Port numbers go from COM1 to COM256.", "端口号须在 COM1 到 COM256 之间。"},
        {"A port cannot hold control characters.", "端口中不能含有控制字符。"},
        {"The uploaded measurement files have not been saved. Save them to a project file first?",
         "上传的测量文件尚未保存。是否先保存为工程文件？"},
        {"Discard", "放弃"},
        {"The project file is cut short. It is shown as far as it goes; these measurement files "
         "are incomplete:",
         "工程文件不完整。已显示其中可读取的部分；以下测量文件不完整："},
        {"The project file is cut short.", "工程文件不完整。"},
        {"%1 of the %2 measurement files it announces are missing.",
         "其声明的 %2 个测量文件中缺失 %1 个。"},
        {"The channel-plan file is cut short: %1 of its %2 channels were filled with zeros.",
         "频道表文件不完整：%2 个频道中有 %1 个以零填充。"},
        {"%1 channels of this plan were filled with zeros because its file was cut short. "
         "Download it to the meter anyway?",
         "该频道表中有 %1 个频道因文件不完整而以零填充。仍要下载到仪表吗？"},
        {"No chart is shown, so there is no picture to save.", "当前没有显示图表，无法保存图片。"},
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
        // The upload dialog.
        {"File %1 of %2", "第 %1 个文件，共 %2 个"},
        {"%1 left", "剩余 %1"},
        // The status bar and what assistive tools read out.
        {"not connected", "未连接"},
        {"Saved %1", "已保存 %1"},
        {"Opened %1", "已打开 %1"},
        {"Exported %1", "已导出 %1"},
        {"Report written", "报告已生成"},
        {"Plan written to slot %1", "频道表已写入槽位 %1"},
        {"Uploaded %1 measurement files", "已上传 %1 个测量文件"},
        {"%1 of the file shown", "当前文件的%1"},
        {"Measurement files", "测量文件"},
        {"The loaded measurement files and their sections; Enter opens a section.",
         "已载入的测量文件及其测量项；按回车键打开测量项。"},
        {"Chart", "图表"},
        {"The chart of the section shown; Left, Right, Home and End move the marker.",
         "当前测量项的图表；左、右、Home 和 End 键移动标记。"},
        {"Marker %1 of %2", "标记 %1 / %2"},
        {"No marker", "无标记"},
        {"Chart style(&C)", "图表样式(&C)"},
        {"Classic(&L)", "经典(&L)"},
        {"Clear(&R)", "清晰(&R)"},
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

QString UploadProgressText(int position, int range, int secondsLeft) {
    if (range <= 0)
        return {};
    const int file = std::clamp(position + 1, 1, range);
    QString text = ExtraText("File %1 of %2").arg(file).arg(range);
    if (secondsLeft < 0 || position >= range)
        return text;
    const int hours = secondsLeft / 3600;
    const int minutes = secondsLeft / 60 % 60;
    const QString seconds = QStringLiteral("%1").arg(secondsLeft % 60, 2, 10, QLatin1Char('0'));
    const QString duration = hours > 0 ? QStringLiteral("%1:%2:%3")
                                             .arg(hours)
                                             .arg(minutes, 2, 10, QLatin1Char('0'))
                                             .arg(seconds)
                                       : QStringLiteral("%1:%2").arg(minutes).arg(seconds);
    return text + QStringLiteral(" \u2014 ") + ExtraText("%1 left").arg(duration);
}

} // namespace qm
