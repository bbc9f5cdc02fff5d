#pragma once

#include "BlockRecord.h"
#include "Crc32.h"
#include "PanelLink.h"
#include "ScriptedLine.h"

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

class CProgressLog : public IProgressSink
{
public:
    void Begin(bool reading) override
    {
        begun++;
        this->reading = reading;
    }
    void SetPosition(int32_t p) override { positions.push_back(p); }
    void End() override { ended++; }

    int begun = 0;
    int ended = 0;
    bool reading = false;
    std::vector<int32_t> positions;
};

inline std::vector<uint8_t> Pattern(size_t n, uint8_t seed = 1)
{
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i)
        v[i] = static_cast<uint8_t>(seed + i * 7 + (i >> 8));
    return v;
}

// A block of a download as the panel sends it: header, then the data.
inline std::vector<uint8_t> BlockReply(const uint8_t* data, int32_t n, int32_t announced, bool corruptCrc = false)
{
    std::vector<uint8_t> out(TBlockReplyHeader::kSize);
    TBlockReplyHeader h{announced, ComputeCrc32(data, static_cast<size_t>(n)) ^ (corruptCrc ? 1u : 0u)};
    h.Encode(out.data());
    out.insert(out.end(), data, data + n);
    return out;
}

// The peer of the scripted line: answers the way the tests set it up and
// records what the tool sent.
class CTestPanel
{
public:
    struct TChunk
    {
        std::string text;
        uint32_t delayMs;
    };

    std::string infoReply = "%return 201 3\r\n";
    std::string layoutReply;                   // the answer to "%reqlayout\n"; empty: silent
    std::deque<std::vector<uint8_t>> blocks;   // answers to "%reqblock", in request order; none left: silent
    std::vector<int> requested;                // the indices of "%reqblock" requests
    std::deque<std::vector<TChunk>> acks;      // answers to block records in order; none left: "%return 0\r\n"
    std::vector<TBlockRecord> records;
    std::vector<TEndRecord> ends;
    std::string endReply = "%return 0\r\n";
    bool silentToRecords = false;

    void Attach(CScriptedLine& line)
    {
        line.SetResponder([this](CScriptedLine& l, const std::vector<uint8_t>& bytes) { Receive(l, bytes); });
    }

    // Serves image (T bytes) in blocks of the given sizes.
    void ServeImage(const std::vector<uint8_t>& image, const std::vector<int32_t>& sizes)
    {
        layoutReply = "%return " + std::to_string(image.size()) + " 12345\r\n";
        size_t offset = 0;
        for (int32_t s : sizes)
        {
            blocks.push_back(BlockReply(image.data() + offset, s, s));
            offset += static_cast<size_t>(s);
        }
    }

private:
    enum class EExpect
    {
        Text,
        Record,
        End,
    };

    void Receive(CScriptedLine& line, const std::vector<uint8_t>& bytes)
    {
        const std::string text(bytes.begin(), bytes.end());
        if (m_expect == EExpect::Record && bytes.size() == TBlockRecord::kSize)
        {
            m_expect = EExpect::Text;
            records.push_back(TBlockRecord::Decode(bytes.data()));
            if (silentToRecords)
                return;
            std::vector<TChunk> reply{{"%return 0\r\n", 1}};
            if (!acks.empty())
            {
                reply = acks.front();
                acks.pop_front();
            }
            for (const TChunk& c : reply)
                line.Deliver(c.text, c.delayMs);
            return;
        }
        if (m_expect == EExpect::End && bytes.size() == TEndRecord::kSize)
        {
            m_expect = EExpect::Text;
            ends.push_back(TEndRecord::Decode(bytes.data()));
            if (!endReply.empty())
                line.Deliver(endReply);
            return;
        }
        m_expect = EExpect::Text;
        if (text == "%reqinfo\n" && !infoReply.empty())
            line.Deliver(infoReply, 20);
        else if (text == "%reqlayout\n" && !layoutReply.empty())
            line.Deliver(layoutReply, 20);
        else if (text.rfind("%reqblock ", 0) == 0)
        {
            requested.push_back(std::stoi(text.substr(10)));
            if (!blocks.empty())
            {
                line.Deliver(blocks.front(), 2);
                blocks.pop_front();
            }
        }
        else if (text == "%binblock\n")
            m_expect = EExpect::Record;
        else if (text == "%endlayout\n" || text == "%endblock\n")
            m_expect = EExpect::End;
    }

    EExpect m_expect = EExpect::Text;
};

class LinkTest : public ::testing::Test
{
protected:
    LinkTest()
    {
        auto line = std::make_unique<CScriptedLine>(clock);
        this->line = line.get();
        link = std::make_unique<CPanelLink>(std::move(line), clock);
        panel.Attach(*this->line);
    }

    // Opens the link as Connect does, without the download, and forgets the time it took.
    void OpenLink()
    {
        link->OpenSelectedPort("/dev/ttyTEST");
        start = clock.NowMs();
    }

    uint64_t Elapsed() const { return const_cast<CVirtualClock&>(clock).NowMs() - start; }

    // The texts sent, records and end records shown by their length.
    std::vector<std::string> Sent() const
    {
        std::vector<std::string> out;
        for (const auto& w : line->Writes())
        {
            const std::string before = out.empty() ? "" : out.back();
            if (before == "%binblock\n" && w.bytes.size() == TBlockRecord::kSize)
                out.push_back("<record>");
            else if ((before == "%endlayout\n" || before == "%endblock\n") && w.bytes.size() == TEndRecord::kSize)
                out.push_back("<end>");
            else
                out.push_back(w.Text());
        }
        return out;
    }

    CVirtualClock clock;
    CScriptedLine* line = nullptr;
    std::unique_ptr<CPanelLink> link;
    CTestPanel panel;
    CProgressLog progress;
    uint64_t start = 0;
};
