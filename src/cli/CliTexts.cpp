// The tool's own texts in Chinese; the string table holds only the desktop program's texts.
#include <map>
#include <string>

#include "cli/Cli.h"
#include "res/StringTable.h"

namespace qm::cli {

namespace {

const std::map<std::string, std::string>& ChineseTexts() {
    static const std::map<std::string, std::string> texts = {
        {"Try 'qm7100 --help' for more information.", "运行“qm7100 --help”查看用法。"},
        {"no command given", "未给出命令"},
        {"unknown command", "未知命令"},
        {"unknown language", "未知语言"},
        {"unexpected argument", "多余的参数"},
        {"an option is missing its value", "选项缺少取值"},
        {"plan needs one of show, edit, read, write", "plan 之后须为 show、edit、read 或 write"},
        {"tree needs PROJECT.f71", "tree 需要 PROJECT.f71"},
        {"show needs PROJECT.f71 INDEX SECTION [--marker POS]",
         "show 需要 PROJECT.f71 INDEX SECTION [--marker POS]"},
        {"export needs PROJECT.f71 INDEX SECTION OUT.csv",
         "export 需要 PROJECT.f71 INDEX SECTION OUT.csv"},
        {"chart needs PROJECT.f71 INDEX SECTION OUT.png",
         "chart 需要 PROJECT.f71 INDEX SECTION OUT.png"},
        {"plan show needs PLAN.f71CH", "plan show 需要 PLAN.f71CH"},
        {"plan edit needs PLAN.f71CH and ROW COLUMN TEXT triples",
         "plan edit 需要 PLAN.f71CH 及若干组 ROW COLUMN TEXT"},
        {"upload needs OUT.f71", "upload 需要 OUT.f71"},
        {"plan read needs SLOT and OUT.f71CH", "plan read 需要 SLOT 和 OUT.f71CH"},
        {"plan write needs SLOT and IN.f71CH", "plan write 需要 SLOT 和 IN.f71CH"},
        {"capture needs OUT.bmp", "capture 需要 OUT.bmp"},
        {"SLOT must be one of A, B, C, D, E", "SLOT 须为 A、B、C、D、E 之一"},
        {"ROW must be a row number from 0", "ROW 须为从 0 起的行号"},
        {"COLUMN must be from 1 to 15 or a heading of 'plan show'",
         "COLUMN 须为 1 到 15，或“plan show”显示的列标题"},
        {"INDEX must be a number", "INDEX 须为数字"},
        {"POS must be a number", "POS 须为数字"},
        {"unknown SECTION", "未知的 SECTION"},
        {"--marker needs a position", "--marker 需要一个位置"},
        {"--marker must be a point index", "--marker 须为点的序号"},
        {"--output needs a file name", "--output 需要文件名"},
        {"--size must be WxH with sides from 1 to 16384", "--size 须为 宽x高，边长 1 到 16384"},
        {"OUT must end in .png or .bmp (or be - for a PNG on stdout)",
         "OUT 须以 .png 或 .bmp 结尾（或为 -，将 PNG 写到标准输出）"},
        {"--port and --baud need a value (--baud a positive number)",
         "--port 和 --baud 需要取值（--baud 须为正数）"},
        {"--port: No port is chosen. Choose one, or type COM1 to COM256 or a device path.",
         "--port：未指定端口。请输入 COM1 到 COM256 或设备路径。"},
        {"--port: This is not a port. Type COM1 to COM256 or a device path such as /dev/ttyUSB0.",
         "--port：这不是端口。请输入 COM1 到 COM256 或设备路径，例如 /dev/ttyUSB0。"},
        {"--port: Port numbers go from COM1 to COM256.",
         "--port：端口号须在 COM1 到 COM256 之间。"},
        {"--port: A port cannot hold control characters.", "--port：端口中不能含有控制字符。"},
        {"--level-unit must be dBuV, dBmV or dBm", "--level-unit 须为 dBuV、dBmV 或 dBm"},
        {"--temp-unit must be C or F", "--temp-unit 须为 C 或 F"},
        {"--shutdown must be 3, 5, 10, 30 or on", "--shutdown 须为 3、5、10、30 或 on"},
        {"--date-format must be Y/M/D, D/M/Y or M/D/Y", "--date-format 须为 Y/M/D、D/M/Y 或 M/D/Y"},
        {"this build has no chart engine", "此版本不含图表引擎"},
        {"files", "个文件"},
        {"blocks", "块"},
        {"channels", "个频道"},
        {"left", "剩余"},
        {"in", "用时"},
        {"uploaded", "已上传"},
        {"read plan", "已读取频道表"},
        {"wrote plan", "已写入频道表"},
        {"captured the screen to", "已截屏到"},
        {"cannot write", "无法写入"},
        {"the meter holds no measurement files; wrote an empty project",
         "仪表中没有测量文件；已写入空的工程文件"},
        {"no port is configured; give --port PORT", "未设置端口；请用 --port PORT 指定"},
        {"the meter does not answer", "仪表没有应答"},
        {"the meter operation failed", "仪表操作失败"},
        {"the file is cut short; incomplete measurement files (shown as far as they were read):",
         "文件不完整；以下测量文件不完整（仅显示已读取的部分）："},
        {"measurement files announced but missing:", "声明但缺失的测量文件："},
        // The measurement archive.
        {"archive needs one of add, sites, list, trend, export, push",
         "archive 之后须为 add、sites、list、trend、export 或 push"},
        {"archive add needs PROJECT.f71", "archive add 需要 PROJECT.f71"},
        {"archive trend needs SITE FREQ", "archive trend 需要 SITE FREQ"},
        {"archive export needs OUT.f71", "archive export 需要 OUT.f71"},
        {"archive push needs URL", "archive push 需要 URL"},
        {"a date must be YYYY-MM-DD", "日期须为 YYYY-MM-DD"},
        {"--quantity must be level, mer, ber or audio", "--quantity 须为 level、mer、ber 或 audio"},
        {"FREQ must be a frequency in MHz", "FREQ 须为以 MHz 为单位的频率"},
        {"added", "已加入"},
        {"already in the archive", "档案中已有"},
        {"exported", "已导出"},
        {"copied", "已复制"},
        {"already there", "对方已有"},
        {"limits", "限值"},
        {"to", "至"},
        {"kept in the archive", "已存入档案"},
        {"the upload was saved but not kept in the archive", "上传已保存，但未能存入档案"},
        {"this build has no archive", "此版本不含测量档案"},
    };
    return texts;
}

} // namespace

std::string Tool(const std::string& english) {
    if (LanguageBase() != kLanguageChinese)
        return english;
    const auto& texts = ChineseTexts();
    if (auto it = texts.find(english); it != texts.end())
        return it->second;
    // "TEXT: 'ARG'" and "TEXT 'ARG'": the fixed part is translated, the argument kept.
    for (const char* joint : {": '", " '"}) {
        const std::size_t at = english.find(joint);
        if (at == std::string::npos)
            continue;
        if (auto it = texts.find(english.substr(0, at)); it != texts.end())
            return it->second + english.substr(at);
    }
    return english;
}

} // namespace qm::cli
