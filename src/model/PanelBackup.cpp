#include "PanelBackup.h"

#include "Layout.h"
#include "LayoutFile.h"
#include "TextField.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <sys/stat.h>
#include <vector>

namespace fs = std::filesystem;

namespace
{

constexpr size_t kMaxFolderName = 64;

// Panels backed up at once from several threads may share a control name.
std::mutex g_backupMutex;

TFileResult MakePrivateFolder(const std::string& path)
{
    std::error_code ec;
    fs::create_directories(path, ec);
    if (ec || ::chmod(path.c_str(), 0700) != 0)
    {
        const std::string why = ec ? ec.message() : std::strerror(errno);
        return TFileResult::Failure(EFileError::Unwritable,
                                    "cannot create folder " + path + " (" + why + ")");
    }
    return TFileResult::Success();
}

} // namespace

std::string PanelBackupRoot()
{
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data != nullptr && data[0] == '/')
        return std::string(data) + "/qelmorvane/backups";
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0')
        return std::string(home) + "/.local/share/qelmorvane/backups";
    return {};
}

std::string BackupFolderName(const std::u16string& controlName)
{
    std::string name;
    for (const char c : WideToUtf8(controlName))
    {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || std::strchr("/\\:*?\"<>| ", c) != nullptr)
            name += '_';
        else
            name += c;
    }
    name.erase(0, name.find_first_not_of('.'));
    if (name.size() > kMaxFolderName)
    {
        size_t cut = kMaxFolderName;
        // Never split a UTF-8 sequence.
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
            --cut;
        name.resize(cut);
    }
    return name.empty() ? "unnamed" : name;
}

TFileResult SavePanelBackup(TLayout& layout, std::string& savedPath, const std::string& root,
                            std::time_t when)
{
    if (root.empty())
        return TFileResult::Failure(EFileError::Unwritable, "no folder for backups (HOME is not set)");
    const std::lock_guard<std::mutex> lock(g_backupMutex);
    const fs::path folder = fs::path(root) / BackupFolderName(layout.controlName);
    for (const fs::path& dir : {fs::path(root).parent_path(), fs::path(root), folder})
    {
        if (!fs::exists(dir))
        {
            if (TFileResult made = MakePrivateFolder(dir.string()); !made)
                return made;
        }
    }
    if (::chmod(folder.c_str(), 0700) != 0)
        return TFileResult::Failure(EFileError::Unwritable, "cannot protect folder " + folder.string());

    std::tm local{};
    localtime_r(&when, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    fs::path file = folder / (std::string(stamp) + ".qel");
    for (int n = 2; fs::exists(file); ++n)
        file = folder / (std::string(stamp) + "-" + std::to_string(n) + ".qel");
    if (TFileResult saved = SaveTemplateFile(layout, file.string()); !saved)
        return saved;
    ::chmod(file.c_str(), 0600);
    savedPath = file.string();

    std::vector<fs::path> backups;
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(folder, ec))
    {
        if (e.path().extension() == ".qel" && e.is_regular_file(ec))
            backups.push_back(e.path());
    }
    // The names sort by time; one taken later in the same second sorts by its number.
    const auto key = [](const fs::path& p)
    {
        const std::string stem = p.stem().string();
        const size_t dash = stem.find('-', 9);
        const std::string base = stem.substr(0, dash);
        const int n = dash == std::string::npos ? 1 : std::atoi(stem.c_str() + dash + 1);
        return std::make_pair(base, n);
    };
    std::sort(backups.begin(), backups.end(),
              [&](const fs::path& a, const fs::path& b) { return key(a) < key(b); });
    for (size_t i = 0; i + kPanelBackupsKept < backups.size(); ++i)
        fs::remove(backups[i], ec);
    return TFileResult::Success();
}
