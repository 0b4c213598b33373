// The command line of qm7100: global options, the command's name and its dispatch.
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <ostream>
#include <string>

#include "app/ProgramVersion.h"
#include "app/Settings.h"
#include "cli/Cli.h"
#include "res/StringTable.h"

namespace {

const char* const kUsage = R"(usage: qm7100 [--lang en|zh] [--settings FILE] COMMAND ...

Analysis of project files (.f71); INDEX is the 0-based element index, SECTION one of
level, tilt, scan, spectrum, hum, limit:
  qm7100 tree PROJECT.f71 [--json]
  qm7100 show PROJECT.f71 INDEX SECTION [--marker POS] [--json]
  qm7100 export PROJECT.f71 INDEX SECTION OUT.csv
  qm7100 chart PROJECT.f71 INDEX SECTION OUT.png [--size WxH] [--marker POS]
  qm7100 chart A.f71 INDEX scan|spectrum OUT.png --compare B.f71 INDEX [--size WxH]
    the scans (or spectra) of A and B in one chart; a channel one file lacks is a gap in
    its line
  qm7100 compare A.f71 INDEX B.f71 INDEX [--json]
    Two measurements, channels matched by frequency: tilt, and per channel the change
    from A to B of level, audio, MER, BER class and hum (README.md, "Comparing
    measurements").

Limit checks (--profile FILE: a limit profile; default: the shipped EN 60728-1 profile):
  qm7100 check PROJECT.f71 INDEX [--profile FILE]
    prints every checked value with its limit, margin and verdict; exit status 3 when one
    fails
  qm7100 report PROJECT.f71 [INDEX ...] OUT.pdf|OUT.html [--profile FILE] [--details FILE]
         [--title T] [--company C] [--logo FILE] [--site S] [--customer C] [--order O]
         [--technician T] [--notes N]
    writes the acceptance report of the files (all of them without INDEX); the details
    (also from the [Report] section of an INI file, keys Title, Company, Logo, ...) fill a
    first page and every page's header; the logo is a PNG, JPEG or SVG file

Channel-plan files (.f71CH):
  qm7100 plan show PLAN.f71CH [--json]
  qm7100 plan edit PLAN.f71CH ROW COLUMN TEXT [ROW COLUMN TEXT ...] [--output OUT.f71CH]
    ROW is 0-based (the ID shown minus one); COLUMN is 1-15 or a heading as plan show prints
    it ("Freq", "DVB-C SR"). TEXT goes through the same rules as a cell edit in the channel
    editor; number columns read the leading number ("474.25MHz" reads 474.25, "abc" reads 0).
    Refused and ignored edits are reported on stderr and give exit status 4.
  qm7100 plan export PLAN.f71CH OUT.csv
  qm7100 plan import IN.csv OUT.f71CH --kind 0|1|2
    A plan as CSV with the headings of plan show (README.md, "Channel plans as CSV"). An
    import puts every cell through the cell-edit rules; the first refused cell is reported
    by row (the ID) and column, and nothing is written.

Meter operations (--port PORT: a device path or COMn; --baud RATE):
  qm7100 upload OUT.f71 [--port PORT]
  qm7100 plan read SLOT OUT.f71CH [--port PORT]
  qm7100 plan write SLOT IN.f71CH [--port PORT]
  qm7100 capture OUT.bmp [--port PORT]
  qm7100 setup [--level-unit dBuV|dBmV|dBm] [--temp-unit C|F] [--shutdown 3|5|10|30|on]
               [--date-format Y/M/D|D/M/Y|M/D/Y] [--time "YYYY-MM-DD HH:MM:SS"] [--port PORT]

Measurement archive (--archive URL: a file path, sqlite:PATH or postgresql://...; default:
the Archive setting, else ~/.local/share/qm7100-workdesk/archive.sqlite):
  qm7100 archive add PROJECT.f71...
  qm7100 archive sites [--json]
  qm7100 archive list [--site S] [--since YYYY-MM-DD] [--until YYYY-MM-DD] [HASH...] [--json]
  qm7100 archive trend SITE FREQ [--quantity level|mer|ber|audio] [--profile FILE|shipped]
                       [--json]
  qm7100 archive export [--site S] [--since DATE] [--until DATE] [HASH...] OUT.f71
  qm7100 archive push URL
    push copies the measurements URL lacks; upload adds what it uploaded when --archive or
    the Archive setting names an archive (README.md, "The measurement archive").

Options:
  --lang zh        Chinese texts (default: English)
  --settings FILE  use FILE instead of the default setup.ini (beside the executable, or
                   ~/.config/qm7100-workdesk/setup.ini for an installed program)
  --trace          print every frame sent to the meter on stderr, as qm7100-sim --log does
  --version        print the version and exit
  --help           this text

--json (tree, show, compare, plan show) prints one JSON document instead of the text (numbers as numbers, "---" as null;
README.md, "JSON output", gives its shape).
OUT may be - for export and chart (the CSV or PNG goes to stdout). Exit status: 0 done,
1 failed, 2 usage error, 3 a value outside its limit (check), 4 some plan edits refused or
ignored.
)";

const char* const kUsageChinese = R"(用法：qm7100 [--lang en|zh] [--settings FILE] COMMAND ...

分析工程文件（.f71）；INDEX 为从 0 起的元素序号，SECTION 为 level、tilt、scan、
spectrum、hum、limit 之一：
  qm7100 tree PROJECT.f71
  qm7100 show PROJECT.f71 INDEX SECTION [--marker POS]
  qm7100 export PROJECT.f71 INDEX SECTION OUT.csv
  qm7100 chart PROJECT.f71 INDEX SECTION OUT.png [--size WxH] [--marker POS]
  qm7100 chart A.f71 INDEX scan|spectrum OUT.png --compare B.f71 INDEX [--size WxH]
    在同一图中显示 A 和 B 的扫描（或频谱）；某一文件缺少的频道在其曲线上留空

限值检查（--profile FILE：限值配置文件；默认为随程序提供的 EN 60728-1 配置）：
  qm7100 check PROJECT.f71 INDEX [--profile FILE]
    显示每个检查项的限值、余量和结论；有项目不合格时退出状态为 3
  qm7100 report PROJECT.f71 [INDEX ...] OUT.pdf|OUT.html [--profile FILE] [--details FILE]
         [--title T] [--company C] [--logo FILE] [--site S] [--customer C] [--order O]
         [--technician T] [--notes N]
    写出所选文件的验收报告（不给 INDEX 时为全部文件）；报告信息（也可来自 INI 文件的
    [Report] 节，键为 Title、Company、Logo 等）填入首页和每页的页眉；标志为 PNG、JPEG
    或 SVG 文件

频道表文件（.f71CH）：
  qm7100 plan show PLAN.f71CH
  qm7100 plan edit PLAN.f71CH ROW COLUMN TEXT [ROW COLUMN TEXT ...] [--output OUT.f71CH]
    ROW 从 0 起（显示的 ID 减一）；COLUMN 为 1-15，或 plan show 显示的列标题（"Freq"、
    "DVB-C SR"）。TEXT 按频道编辑器中编辑单元格的同样规则处理；数值列读取开头的数字
    （"474.25MHz" 读作 474.25，"abc" 读作 0）。被拒绝或忽略的编辑在标准错误输出中报告，
    退出状态为 4。

仪表操作（--port PORT：设备路径或 COMn；--baud RATE：波特率）：
  qm7100 upload OUT.f71 [--port PORT]
  qm7100 plan read SLOT OUT.f71CH [--port PORT]
  qm7100 plan write SLOT IN.f71CH [--port PORT]
  qm7100 capture OUT.bmp [--port PORT]
  qm7100 setup [--level-unit dBuV|dBmV|dBm] [--temp-unit C|F] [--shutdown 3|5|10|30|on]
               [--date-format Y/M/D|D/M/Y|M/D/Y] [--time "YYYY-MM-DD HH:MM:SS"] [--port PORT]

测量档案（--archive URL：文件路径、sqlite:PATH 或 postgresql://...；默认为 Archive 设置，
否则为 ~/.local/share/qm7100-workdesk/archive.sqlite）：
  qm7100 archive add PROJECT.f71...
  qm7100 archive sites [--json]
  qm7100 archive list [--site S] [--since YYYY-MM-DD] [--until YYYY-MM-DD] [HASH...] [--json]
  qm7100 archive trend SITE FREQ [--quantity level|mer|ber|audio] [--profile FILE|shipped]
                       [--json]
  qm7100 archive export [--site S] [--since DATE] [--until DATE] [HASH...] OUT.f71
  qm7100 archive push URL
    push 复制 URL 中没有的测量；--archive 或 Archive 设置指定档案时，upload 也把上传的
    文件加入档案。

选项：
  --lang zh        中文（默认：英文）
  --settings FILE  使用 FILE 代替默认的 setup.ini（可执行文件旁，或安装后的
                   ~/.config/qm7100-workdesk/setup.ini）
  --trace          在标准错误输出中打印发送给仪表的每一帧（与 qm7100-sim --log 相同）
  --version        显示版本并退出
  --help           显示本帮助

export 和 chart 的 OUT 可为 -（CSV 或 PNG 写到标准输出）。退出状态：0 完成，1 失败，
2 用法错误，3 有检查项超出限值（check），4 有频道表编辑被拒绝或忽略。
)";

} // namespace

namespace qm::cli {

int UsageError(Context& ctx, const std::string& message) {
    ctx.err << "qm7100: " << Tool(message) << "\n"
            << Tool("Try 'qm7100 --help' for more information.") << "\n";
    return kExitUsage;
}

int WriteError(Context& ctx, const std::string& path) {
    const int error = errno; // before the stream, which may change it
    ctx.err << "qm7100: cannot write " << path << ": " << std::strerror(error) << "\n";
    return kExitFailed;
}

bool ParseInt(const std::string& text, long& value) {
    if (text.empty())
        return false;
    std::size_t used = 0;
    try {
        value = std::stol(text, &used, 10);
    } catch (...) {
        return false;
    }
    return used == text.size();
}

bool TakeOption(std::vector<std::string>& args, const std::string& name, std::string& value,
                bool& ok) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != name)
            continue;
        if (i + 1 >= args.size()) {
            ok = false;
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
            return false;
        }
        value = args[i + 1];
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                   args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
        return true;
    }
    return false;
}

bool TakeFlag(std::vector<std::string>& args, const std::string& name) {
    const auto it = std::find(args.begin(), args.end(), name);
    if (it == args.end())
        return false;
    args.erase(it);
    return true;
}

} // namespace qm::cli

namespace qm::cli {

int RunCommandLine(std::vector<std::string> args, std::ostream& out, std::ostream& err) {
    Context ctx{{}, out, err, {}, false, {}};

    bool chinese = false;
    for (std::size_t i = 0; i + 1 < args.size(); ++i)
        chinese = chinese || (args[i] == "--lang" && args[i + 1] == "zh");
    for (const std::string& a : args) {
        if (a == "--help" || a == "-h") {
            out << (chinese ? kUsageChinese : kUsage);
            return kExitOk;
        }
        if (a == "--version") {
            out << "qm7100 " << ProgramVersion() << "\n";
            return kExitOk;
        }
    }
    bool ok = true;
    std::string lang = "en", settings;
    TakeOption(args, "--lang", lang, ok);
    const bool hasSettings = TakeOption(args, "--settings", settings, ok);
    // An empty settings name would quietly mean the default file.
    ok = ok && !(hasSettings && settings.empty());
    if (hasSettings && ok) {
        SetSettingsPath(settings);
        ctx.settingsFile = settings;
    }
    TakeOption(args, "--archive", ctx.archive, ok);
    if (const auto trace = std::find(args.begin(), args.end(), "--trace"); trace != args.end()) {
        ctx.trace = true;
        args.erase(trace);
    }
    if (!ok)
        return UsageError(ctx, "an option is missing its value");
    if (lang != "en" && lang != "zh")
        return UsageError(ctx, "unknown language '" + lang + "'");
    SetLanguageBase(lang == "zh" ? kLanguageChinese : kLanguageEnglish);

    if (args.empty())
        return UsageError(ctx, "no command given");
    std::string command = args.front();
    args.erase(args.begin());
    if (command == "plan") {
        if (args.empty())
            return UsageError(ctx, "plan needs one of show, edit, export, import, read, write");
        command += " " + args.front();
        args.erase(args.begin());
    }

    static const std::map<std::string, int (*)(Context&)> commands = {
        {"tree", RunTree},
        {"show", RunShow},
        {"export", RunExport},
        {"chart", RunChart},
        {"plan show", RunPlanShow},
        {"plan edit", RunPlanEdit},
        {"upload", RunUpload},
        {"plan read", RunPlanRead},
        {"plan write", RunPlanWrite},
        {"capture", RunCapture},
        {"setup", RunSetup},
        {"plan export", RunPlanExport},
        {"compare", RunCompare},
        {"plan import", RunPlanImport},
        {"check", RunCheck},
        {"report", RunReport},
        {"archive", RunArchive},
    };
    auto it = commands.find(command);
    if (it == commands.end())
        return UsageError(ctx, "unknown command '" + command + "'");
    ctx.args = std::move(args);
    return it->second(ctx);
}

} // namespace qm::cli
