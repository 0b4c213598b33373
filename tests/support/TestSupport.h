#pragma once

#include <string>
#include <vector>

#include "base/BinaryFile.h"

namespace qm::test {

// A fresh temporary folder, removed with everything in it at the end of the scope.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

// Path of a built program (qm7100, qm7100-sim, ...).
std::string BinPath(const std::string& program);
// Path below the source tree (samples/..., tests/...).
std::string SourcePath(const std::string& relative);

struct ProcessResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs a program with arguments, no shell, stdin closed; captures both outputs.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& extraEnv = {});

// A full file system for a scope: every file write fails with ENOSPC. Io() changes the
// other file calls too; all come back at the end.
class FullDisk {
public:
    FullDisk();
    ~FullDisk() { CurrentFileIo() = m_saved; }
    FileIo& Io() { return CurrentFileIo(); }

private:
    FileIo m_saved = CurrentFileIo();
};

// The names in a folder, sorted: a leftover temporary file shows up here.
std::vector<std::string> FolderNames(const std::string& folder);

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);

} // namespace qm::test
