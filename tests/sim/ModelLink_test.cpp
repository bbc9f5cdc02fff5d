#include "ModelLine.h"

#include "BlockRecord.h"
#include "Crc32.h"
#include "PanelLink.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace
{

std::vector<uint8_t> Image(size_t n, uint8_t seed)
{
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i)
        v[i] = static_cast<uint8_t>(seed * 31 + i * 17 + (i >> 9));
    return v;
}

class CCountingProgress : public IProgressSink
{
public:
    void Begin(bool) override {}
    void SetPosition(int32_t p) override { last = p; }
    void End() override {}
    int32_t last = -1;
};

// The link and a panel model joined by a virtual line.
class ModelLink : public ::testing::Test
{
protected:
    void Make(CPanelModel::TSettings settings, std::vector<uint8_t> stored)
    {
        panel = std::make_unique<CPanelModel>(std::move(settings), std::move(stored));
        panel->onLayoutStored = [this](const std::vector<uint8_t>& image) { layouts.push_back(image); };
        panel->onFirmwareStored = [this](const std::vector<uint8_t>& image) { firmware.push_back(image); };
        panel->onEvent = [this](const std::string& note) { events.push_back(note); };
        auto line = std::make_unique<CModelLine>(clock, *panel);
        link = std::make_unique<CPanelLink>(std::move(line), clock);
    }

    TLinkResult Connect()
    {
        downloaded.clear();
        return link->Connect("/dev/sim", progress, [this](const uint8_t* b, int32_t n) {
            downloaded.assign(b, b + n);
            return true;
        });
    }

    static CPanelModel::TSettings With(std::vector<TSimFault> faults, int32_t firmware = 201)
    {
        return {firmware, 4, std::move(faults)};
    }

    CVirtualClock clock;
    std::unique_ptr<CPanelModel> panel;
    std::unique_ptr<CPanelLink> link;
    CCountingProgress progress;
    std::vector<uint8_t> downloaded;
    std::vector<std::vector<uint8_t>> layouts;
    std::vector<std::vector<uint8_t>> firmware;
    std::vector<std::string> events;
};

} // namespace

TEST_F(ModelLink, LayoutRoundTripsThroughThePanel)
{
    const std::vector<uint8_t> original = Image(5321, 1);
    Make(With({}), original);
    TLinkResult r = Connect();
    ASSERT_EQ(r.outcome, ELinkOutcome::Ok) << r.message;
    EXPECT_EQ(r.hardwareVersion, 4);
    EXPECT_TRUE(r.uploadAllowed);
    EXPECT_EQ(downloaded, original);

    const std::vector<uint8_t> edited = Image(3000, 2);  // a multiple of 1000: a last block of padding
    r = link->UploadLayout(edited.data(), 3000, progress);
    ASSERT_EQ(r.outcome, ELinkOutcome::Ok) << r.message;
    EXPECT_TRUE(r.endConfirmed);
    EXPECT_EQ(progress.last, 4 * 1000000 / 3000);
    ASSERT_EQ(layouts.size(), 1u);
    EXPECT_EQ(layouts[0], edited);

    r = Connect();
    ASSERT_EQ(r.outcome, ELinkOutcome::Ok);
    EXPECT_EQ(downloaded, edited);
}

TEST_F(ModelLink, FirmwareIsStoredAndThePanelRestarts)
{
    Make(With({}), Image(100, 3));
    ASSERT_EQ(Connect().outcome, ELinkOutcome::Ok);
    const std::vector<uint8_t> fw = Image(2500, 4);
    const TLinkResult r = link->UpgradeFirmware(fw.data(), 2500, progress);
    EXPECT_EQ(r.outcome, ELinkOutcome::Ok);
    EXPECT_FALSE(r.connected);
    ASSERT_EQ(firmware.size(), 1u);
    EXPECT_EQ(firmware[0], fw);
    EXPECT_EQ(panel->Restarts(), 1);
    EXPECT_EQ(panel->Baud(), 9600u);

    // After its restart the panel answers a new connection.
    clock.SleepMs(2000);
    EXPECT_EQ(Connect().outcome, ELinkOutcome::Ok);
}

TEST_F(ModelLink, InjectedFaultsAreRecoveredFrom)
{
    struct
    {
        const char* name;
        TSimFault fault;
        bool viaUpload;
        const char* note;  // the panel's own account of the fault
    } const cases[] = {
        {"corrupt-block", {ESimFault::CorruptBlock, 2}, false, "corrupting download block 2"},
        {"bad-length", {ESimFault::BadLength, 1}, false, "bad length for download block 1"},
        {"refuse-block", {ESimFault::RefuseBlock, 3}, true, "refusing block 3 (fault)"},
        {"split-ack", {ESimFault::SplitAck, 1}, true, "splitting the acknowledgement of block 1"},
    };
    const std::vector<uint8_t> stored = Image(4200, 5);
    const std::vector<uint8_t> upload = Image(4200, 6);
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        layouts.clear();
        events.clear();
        Make(With({c.fault}), stored);
        const TLinkResult r = Connect();
        ASSERT_EQ(r.outcome, ELinkOutcome::Ok) << r.message;
        EXPECT_EQ(downloaded, stored);
        if (c.viaUpload)
        {
            const TLinkResult u = link->UploadLayout(upload.data(), 4200, progress);
            EXPECT_EQ(u.outcome, ELinkOutcome::Ok) << u.message;
            ASSERT_EQ(layouts.size(), 1u);
            EXPECT_EQ(layouts[0], upload);
        }
        ASSERT_FALSE(events.empty());
        EXPECT_NE(events[0].find(c.note), std::string::npos) << events[0];
    }
}

TEST_F(ModelLink, ASilentPanelLeavesALinkThatWorksAgain)
{
    Make(With({{ESimFault::SilentAfter, 2}}), Image(4200, 7));
    TLinkResult r = Connect();
    EXPECT_EQ(r.outcome, ELinkOutcome::Failed);
    EXPECT_EQ(r.message, "No response from control\r\nLayout not downloaded\r\n");
    EXPECT_TRUE(r.connected && r.uploadAllowed);
    EXPECT_EQ(panel->Baud(), 9600u);

    // Same link, same panel: the next exchanges work.
    EXPECT_EQ(link->RequestInfo().outcome, ELinkOutcome::Ok);
    const std::vector<uint8_t> upload = Image(1800, 8);
    EXPECT_EQ(link->UploadLayout(upload.data(), 1800, progress).outcome, ELinkOutcome::Ok);
    ASSERT_EQ(layouts.size(), 1u);
}

TEST_F(ModelLink, AChatteringPortIsSentNothing)
{
    // A console, or the wrong device: a byte every 200 ms, and nothing it hears changes that.
    Make(With({{ESimFault::Chatter, 0}}), Image(100, 5));
    EXPECT_EQ(Connect().outcome, ELinkOutcome::NoResponse);
    uint8_t window[kReplyBufferSize];
    EXPECT_GE(link->ReadReplyWindow(window), 2);

    const std::vector<uint8_t> fw = Image(2500, 6);
    const uint64_t t0 = clock.NowMs();
    const TLinkResult r = link->UpgradeFirmware(fw.data(), 2500, progress);
    EXPECT_EQ(r.outcome, ELinkOutcome::Failed);
    EXPECT_EQ(r.message, "Control keeps sending data\r\nFirmware not updated\r\n");
    EXPECT_LE(clock.NowMs() - t0, 10000u);
    EXPECT_TRUE(r.connected && link->IsConnected());
    EXPECT_TRUE(firmware.empty());
    EXPECT_EQ(panel->Baud(), 9600u);
}

TEST_F(ModelLink, VersionFaultsAndLineSpeeds)
{
    Make(With({{ESimFault::NoInfo, 0}}), Image(100, 9));
    EXPECT_EQ(Connect().outcome, ELinkOutcome::NoResponse);

    Make(With({{ESimFault::OldFirmware, 200}}, 230), Image(100, 9));
    TLinkResult r = Connect();
    EXPECT_EQ(r.firmwareVersion, 200);
    EXPECT_FALSE(r.uploadAllowed);

    // A tool that changes speed without telling the panel hears only noise.
    Make(With({}), Image(100, 9));
    link->OpenSelectedPort("/dev/sim");
    link->Line().SetBaudRate(115200);
    EXPECT_EQ(link->RequestInfo().outcome, ELinkOutcome::NoResponse);
    link->Line().SetBaudRate(9600);
    EXPECT_EQ(link->RequestInfo().outcome, ELinkOutcome::Ok);
}

TEST_F(ModelLink, PanelRefusesBlocksThatDoNotAgree)
{
    Make(With({}), {});
    std::vector<std::string> said;
    auto feed = [&](const std::vector<uint8_t>& bytes) {
        // In uneven pieces, as a line delivers them.
        for (size_t i = 0; i < bytes.size(); i += 333)
            panel->Receive(bytes.data() + i, std::min<size_t>(333, bytes.size() - i), clock.NowMs());
        CPanelModel::TOutput piece;
        while (panel->TakeOutput(clock.NowMs() + 10000, piece))
            said.emplace_back(piece.bytes.begin(), piece.bytes.end());
    };
    auto record = [](const std::vector<uint8_t>& image, int32_t index, bool damage) {
        std::vector<uint8_t> bytes{'%', 'b', 'i', 'n', 'b', 'l', 'o', 'c', 'k', '\n'};
        std::vector<uint8_t> rec(TBlockRecord::kSize);
        TBlockRecord r = TBlockRecord::ForImage(image.data(), static_cast<int32_t>(image.size()), index);
        if (damage)
            r.data[7] ^= 1;
        r.Encode(rec.data());
        bytes.insert(bytes.end(), rec.begin(), rec.end());
        return bytes;
    };
    auto end = [](int32_t last, int32_t length, uint32_t crc) {
        std::vector<uint8_t> bytes{'%', 'e', 'n', 'd', 'l', 'a', 'y', 'o', 'u', 't', '\n'};
        uint8_t e[TEndRecord::kSize];
        TEndRecord{last, length, crc}.Encode(e);
        bytes.insert(bytes.end(), e, e + sizeof e);
        return bytes;
    };
    const std::vector<uint8_t> image = Image(1500, 10);
    const uint32_t crc = ComputeCrc32(image.data(), image.size());

    feed(record(image, 0, true));   // CRC-32 does not match
    feed(record(image, 1, false));  // out of order
    feed(record(image, 0, false));
    feed(record(image, 0, false));  // a repeat is taken again
    feed(record(image, 1, false));
    feed(end(1, 1500, crc ^ 1));    // wrong CRC-32 of the whole
    feed(record(image, 0, false));
    feed(record(image, 1, false));
    feed(end(1, 2500, crc));        // a length the blocks cannot hold
    feed(record(image, 0, false));
    feed(record(image, 1, false));
    feed(end(1, 1500, crc));
    EXPECT_EQ(said, (std::vector<std::string>{"%return 1\r\n", "%return 1\r\n", "%return 0\r\n", "%return 0\r\n",
                                              "%return 0\r\n", "%return 2\r\n", "%return 0\r\n", "%return 0\r\n",
                                              "%return 2\r\n", "%return 0\r\n", "%return 0\r\n", "%return 0\r\n"}));
    ASSERT_EQ(layouts.size(), 1u);
    EXPECT_EQ(layouts[0], image);
    EXPECT_EQ(panel->LayoutImage(), image);
}

TEST(SimFault, SpecsParseOrSayWhy)
{
    struct
    {
        const char* spec;
        bool ok;
        ESimFault kind;
        int32_t value;
    } const cases[] = {
        {"refuse-block=3", true, ESimFault::RefuseBlock, 3},
        {"split-ack=1", true, ESimFault::SplitAck, 1},
        {"corrupt-block=2", true, ESimFault::CorruptBlock, 2},
        {"bad-length=1", true, ESimFault::BadLength, 1},
        {"silent-after=0", true, ESimFault::SilentAfter, 0},
        {"no-info", true, ESimFault::NoInfo, 0},
        {"old-firmware", true, ESimFault::OldFirmware, 200},
        {"old-firmware=150", true, ESimFault::OldFirmware, 150},
        {"refuse-block", false, {}, 0},
        {"refuse-block=0", false, {}, 0},
        {"refuse-block=x", false, {}, 0},
        {"no-info=2", false, {}, 0},
        {"chatter", true, ESimFault::Chatter, 0},
        {"chatter=1", false, {}, 0},
        {"explode", false, {}, 0},
    };
    for (const auto& c : cases)
    {
        TSimFault f{};
        std::string error;
        EXPECT_EQ(ParseSimFault(c.spec, f, error), c.ok) << c.spec;
        if (c.ok)
        {
            EXPECT_EQ(f.kind, c.kind) << c.spec;
            EXPECT_EQ(f.value, c.value) << c.spec;
        }
        else
            EXPECT_FALSE(error.empty()) << c.spec;
    }
}
