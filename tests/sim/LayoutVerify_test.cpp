// Reading a layout back after an upload, on a virtual clock against the
// panel model: what a verify finds, and how long the upload was told to take.

#include "ModelLine.h"

#include "LayoutVerify.h"
#include "PanelLink.h"
#include "TransferTime.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace
{

struct TVerifyRun
{
    TLinkResult upload;
    TLinkResult verify;
    uint64_t uploadMs = 0;
};

TVerifyRun UploadAndVerify(const std::vector<uint8_t>& image, std::vector<TSimFault> faults)
{
    CVirtualClock clock;
    CPanelModel panel({201, 1, std::move(faults)}, {7, 0, 0, 0});
    CPanelLink link(std::make_unique<CModelLine>(clock, panel), clock);
    CNullProgress progress;
    link.OpenSelectedPort("/dev/sim");
    TVerifyRun run;
    const uint64_t start = clock.NowMs();
    run.upload = link.UploadLayout(image.data(), static_cast<int32_t>(image.size()), progress);
    run.uploadMs = clock.NowMs() - start;
    run.verify = VerifyLayout(link, 201, image.data(), static_cast<int32_t>(image.size()), progress);
    return run;
}

std::vector<uint8_t> Image(size_t n)
{
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i)
        v[i] = static_cast<uint8_t>(i * 7 + (i >> 8));
    return v;
}

} // namespace

TEST(LayoutVerify, FindsTheFirstByteThePanelKeptOtherwise)
{
    const struct
    {
        std::vector<TSimFault> faults;
        const char* message;
    } cases[] = {
        {{}, "Layout verified on control\r\n"},
        {{{ESimFault::CorruptStore, 2345}},
         "Layout on control differs from the one sent at byte 2345\r\nUpload not verified\r\n"},
        {{{ESimFault::CorruptStore, 0}},
         "Layout on control differs from the one sent at byte 0\r\nUpload not verified\r\n"},
    };
    for (const auto& c : cases)
    {
        const TVerifyRun run = UploadAndVerify(Image(3500), c.faults);
        ASSERT_EQ(run.upload.outcome, ELinkOutcome::Ok) << c.message;
        EXPECT_EQ(run.verify.message, c.message);
        EXPECT_EQ(run.verify.outcome == ELinkOutcome::Ok, c.faults.empty()) << c.message;
    }
}

TEST(LayoutVerify, ExpectedUploadTimeIsWhatAPromptPanelTakes)
{
    for (size_t length : {0u, 999u, 3500u, 40000u})
    {
        const TVerifyRun run = UploadAndVerify(Image(length), {});
        const auto expected = static_cast<uint64_t>(ExpectedUploadMs(static_cast<int32_t>(length)));
        EXPECT_NEAR(static_cast<double>(expected), static_cast<double>(run.uploadMs), 20.0) << length;
    }
}
