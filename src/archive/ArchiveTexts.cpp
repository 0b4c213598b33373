// The archive's messages in both languages.
#include "archive/Archive.h"
#include "res/StringTable.h"

namespace qm {

std::string ArchiveStatusText(ArchiveStatus status, int languageBase) {
    struct Texts {
        const char* english;
        const char* chinese;
    };
    static constexpr Texts kTexts[] = {
        {"done", "完成"},
        {"the archive must be a file path, sqlite:PATH or a postgresql:// address",
         "档案须为文件路径、sqlite:PATH 或 postgresql:// 地址"},
        {"the archive address holds a password; keep it in the password file (~/.pgpass), a "
         "service file or PGPASSWORD instead",
         "档案地址中含有密码；请将密码放在密码文件（~/.pgpass）、服务文件或 PGPASSWORD 中"},
        {"cannot open the archive", "无法打开档案"},
        {"the archive file is damaged or is no archive; it was left as it was",
         "档案文件已损坏或不是档案；未作改动"},
        {"the archive was written by a newer version of this program; it was left as it was",
         "档案由本程序的较新版本写入；未作改动"},
        {"the archive could not be read or written; nothing was changed",
         "无法读写档案；未作任何改动"},
        {"adding to the archive was stopped; nothing was added", "加入档案已停止；未加入任何测量"},
        {"this build has no archive", "此版本不含测量档案"},
    };
    static_assert(std::size(kTexts) == static_cast<std::size_t>(ArchiveStatus::Unavailable) + 1);
    const Texts& t = kTexts[static_cast<std::size_t>(status)];
    return languageBase == kLanguageChinese ? t.chinese : t.english;
}

} // namespace qm
