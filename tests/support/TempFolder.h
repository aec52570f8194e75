#pragma once
// A fresh temporary folder for one test, removed afterwards; it can stand in for the user's
// application-data folder so that no test touches the real one.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>
#include "platform/Text.h"

class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tavlo-test-XXXXXX").string();
        fPath = mkdtemp(pattern.data());
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(fPath, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    /// The folder's path, or a name inside it, with '/' separators.
    std::string Path(const std::string& name = "") const { return fPath + "/" + name; }
    UnicodeString Name(const std::string& name = "") const { return FromUtf8(Path(name)); }

    void Write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }
    std::string Read(const std::string& name) const
    {
        std::ifstream in(Path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    /// The names the folder holds, sorted: a save must leave no file of its own beside its file.
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(fPath)) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::string fPath;
};

/// Points the application-data folder at a folder for the life of the object.
class AppDataAt {
public:
    explicit AppDataAt(const std::string& folder)
    {
        if (const char* old = std::getenv("XDG_CONFIG_HOME")) fOld = old, fHadOld = true;
        setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    }
    ~AppDataAt()
    {
        if (fHadOld) setenv("XDG_CONFIG_HOME", fOld.c_str(), 1);
        else unsetenv("XDG_CONFIG_HOME");
    }
    AppDataAt(const AppDataAt&) = delete;
    AppDataAt& operator=(const AppDataAt&) = delete;

private:
    std::string fOld;
    bool fHadOld = false;
};
