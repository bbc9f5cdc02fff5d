#include "FirmwareFile.h"

#include "RegularFile.h"

#include "PanelLink.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/stat.h>

namespace
{

// System texts start with a capital; after "Could not read PATH:" they go on the sentence.
std::string LowerFirst(std::string text)
{
    if (!text.empty())
        text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    return text;
}

} // namespace

const char kMsgFirmwareEmpty[] = "Firmware file is empty\r\nNothing sent\r\n";
const char kMsgFirmwareTooLarge[] = "Firmware file larger than 16 MB\r\nNothing sent\r\n";

std::string FirmwareUnreadableMessage(const std::string& path, const std::string& reason)
{
    return "Could not read " + path + ": " + reason + "\r\nNothing sent\r\n";
}

bool ReadFirmwareFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& message)
{
    std::string reason;
    std::unique_ptr<FILE, int (*)(FILE*)> file(OpenRegularFileStream(path, reason), &std::fclose);
    if (!file)
    {
        message = FirmwareUnreadableMessage(path, reason);
        return false;
    }
    struct stat st{};
    if (::fstat(fileno(file.get()), &st) != 0)
    {
        message = FirmwareUnreadableMessage(path, LowerFirst(std::strerror(errno)));
        return false;
    }
    if (st.st_size == 0)
    {
        message = kMsgFirmwareEmpty;
        return false;
    }
    if (st.st_size > kMaxFirmwareBytes)
    {
        message = kMsgFirmwareTooLarge;
        return false;
    }
    bytes.resize(static_cast<size_t>(st.st_size));
    if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
    {
        message = FirmwareUnreadableMessage(path, std::ferror(file.get()) != 0
                                                      ? LowerFirst(std::strerror(errno))
                                                      : "it grew shorter while being read");
        bytes.clear();
        return false;
    }
    return true;
}
