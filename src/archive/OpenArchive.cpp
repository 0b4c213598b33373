#include <cstdlib>
#include <filesystem>

#include "archive/Archive.h"
#include "archive/SqlConnection.h"

namespace qm {

namespace {

bool StartsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

std::string UserDataBase() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && *xdg == '/')
        return xdg;
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.local/share";
}

} // namespace

std::string DefaultArchiveLocation() {
    return UserDataBase() + "/qm7100-workdesk/archive.sqlite";
}

ArchiveResult OpenArchive(const std::string& location, std::unique_ptr<Archive>& archive) {
    archive.reset();
    ArchiveResult result;
    std::unique_ptr<SqlConnection> connection;
    if (StartsWith(location, "postgresql://") || StartsWith(location, "postgres://")) {
        connection = OpenPostgresConnection(location, result);
    } else {
        const std::string path = StartsWith(location, "sqlite:") ? location.substr(7) : location;
        if (path.empty() || location.find("://") != std::string::npos)
            return {ArchiveStatus::BadLocation, location};
        // The default folder is made on first use; a path the user gave must exist.
        if (location == DefaultArchiveLocation()) {
            std::error_code error;
            const std::filesystem::path folder = std::filesystem::path(path).parent_path();
            std::filesystem::create_directories(folder, error);
            std::filesystem::permissions(folder, std::filesystem::perms::owner_all, error);
        }
        connection = OpenSqliteConnection(path, result);
    }
    if (!connection)
        return result;
    auto opened = std::make_unique<Archive>(std::move(connection), location);
    result = opened->Prepare();
    if (result.Ok())
        archive = std::move(opened);
    return result;
}

} // namespace qm
