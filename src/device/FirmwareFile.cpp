#include "FirmwareFile.h"

#include "PanelLink.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/stat.h>

bool ReadFirmwareFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& reason)
{
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file)
    {
        reason = std::strerror(errno);
        reason[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(reason[0])));
        return false;
    }
    struct stat st{};
    if (::fstat(fileno(file.get()), &st) != 0 || !S_ISREG(st.st_mode))
    {
        reason = "not a regular file";
        return false;
    }
    if (st.st_size == 0)
    {
        reason = "the firmware file is empty";
        return false;
    }
    if (st.st_size > kMaxFirmwareBytes)
    {
        reason = "the firmware file is larger than 16 MiB";
        return false;
    }
    bytes.resize(static_cast<size_t>(st.st_size));
    if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
    {
        reason = "could not read the whole file";
        bytes.clear();
        return false;
    }
    return true;
}
