// Output hygiene and the checks on the files the commands are given.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <ostream>
#include <system_error>

#include <unistd.h>

#include "app/ProjectFile.h"
#include "base/BinaryFile.h"
#include "channels/ChannelPlanFile.h"
#include "channels/CommonChannel.h"
#include "cli/Cli.h"
#include "measurement/FileDataExt.h"
#include "measurement/MeterKind.h"
#include "res/StringTable.h"

namespace qm::cli {

namespace {

struct Layout {
    bool read = false;
    std::uint64_t size = 0;
    std::int32_t count = 0;
    std::int32_t tag = 0;
    std::int32_t third = 0; // a plan's meter kind; the start of a project's first element
};

Layout ReadLayout(const std::string& path) {
    Layout layout;
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    std::FILE* f = error ? nullptr : std::fopen(path.c_str(), "rb");
    if (!f)
        return layout;
    std::uint8_t header[12] = {};
    const std::size_t got = std::fread(header, 1, sizeof header, f);
    std::fclose(f);
    if (got < 8)
        return layout;
    layout.read = true;
    layout.size = size;
    layout.count = static_cast<std::int32_t>(GetLE32(header));
    layout.tag = static_cast<std::int32_t>(GetLE32(header + 4));
    layout.third = got == sizeof header ? static_cast<std::int32_t>(GetLE32(header + 8)) : -1;
    return layout;
}

bool IsPlanLayout(const Layout& l) {
    return l.read && l.tag == kPlanFileTag && l.count >= 0 && IsKnownKind(l.third) &&
           l.size ==
               kPlanFileHeaderSize + sizeof(CommonChannel) * static_cast<std::uint64_t>(l.count);
}

bool IsProjectLayout(const Layout& l) {
    return l.read && l.tag == kProjectVersion && l.count >= 0 &&
           l.size == 8 + sizeof(_tagFileDataExt) * static_cast<std::uint64_t>(l.count);
}

// wantProject: the command reads a project file, and a channel-plan file is refused.
bool RefuseOtherKind(Context& ctx, const std::string& path, bool wantProject) {
    const Layout layout = ReadLayout(path);
    const bool plan = IsPlanLayout(layout), project = IsProjectLayout(layout);
    if (wantProject ? !plan || project : !project || plan)
        return false;
    ctx.err << "qm7100: "
            << TrFill(wantProject ? txt::kIsPlanNotProject : txt::kIsProjectNotPlan, {path})
            << "\n";
    return true;
}

} // namespace

std::string Escaped(const std::string& text) {
    static const char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else if (c < 0x20 || c == 0x7F)
            out += {'\\', 'x', kHex[c >> 4], kHex[c & 15]};
        else
            out += ch;
    }
    return out;
}

bool RefusePlanAsProject(Context& ctx, const std::string& path) {
    return RefuseOtherKind(ctx, path, true);
}

bool RefuseProjectAsPlan(Context& ctx, const std::string& path) {
    return RefuseOtherKind(ctx, path, false);
}

bool SettingsReadable(Context& ctx) {
    std::error_code error;
    if (ctx.settingsFile.empty() || std::filesystem::exists(ctx.settingsFile, error))
        return true;
    ctx.err << "qm7100: " << TrFill(txt::kSettingsFileMissing, {ctx.settingsFile}) << "\n";
    return false;
}

} // namespace qm::cli
