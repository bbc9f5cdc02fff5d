#include "LayoutVerify.h"

#include <algorithm>
#include <vector>

namespace
{

constexpr char kNotVerified[] = "Upload not verified\r\n";

} // namespace

TLinkResult VerifyLayout(CPanelLink& link, int32_t firmwareVersion, const uint8_t* sent, int32_t length,
                         IProgressSink& progress)
{
    std::vector<uint8_t> back;
    bool received = false;
    TLinkResult r = link.RunLayoutDownload(firmwareVersion, progress,
                                           [&](const uint8_t* bytes, int32_t size)
                                           {
                                               back.assign(bytes, bytes + size);
                                               received = true;
                                               return true;
                                           });
    if (r.outcome == ELinkOutcome::SerialError)
        return r;
    if (r.outcome == ELinkOutcome::Cancelled)
    {
        r.message = std::string("Cancelled\r\n") + kNotVerified;
        return r;
    }
    if (!received)
    {
        // Keep the first line of what stopped the download, which says why.
        const std::string why = r.message.substr(0, r.message.find("\r\n"));
        r.outcome = ELinkOutcome::Failed;
        r.message = (why.empty() ? std::string("Control offered no layout") : why) + "\r\n" + kNotVerified;
        return r;
    }
    const size_t common = std::min(back.size(), static_cast<size_t>(length));
    const size_t differs = static_cast<size_t>(std::mismatch(sent, sent + common, back.begin()).first - sent);
    if (differs == common && back.size() == static_cast<size_t>(length))
    {
        r.outcome = ELinkOutcome::Ok;
        r.message = "Layout verified on control\r\n";
        return r;
    }
    r.outcome = ELinkOutcome::Failed;
    r.message = "Layout on control differs from the one sent at byte " + std::to_string(differs) + "\r\n" +
                kNotVerified;
    return r;
}
