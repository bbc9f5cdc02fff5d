#include "Layout.h"

#include "BuiltinLibrary.h"
#include "Btn8Ctrl.h"
#include "DataStore.h"
#include "GlyphCollector.h"
#include "GlyphRasteriser.h"
#include "ImageEntry.h"
#include "UserPage.h"

#include <cstring>
#include <unordered_set>

namespace
{

constexpr int32_t kAddedImageIds = 10000;

// The three sizes every character is drawn at: font size in pixels and the
// side of the cell, in the order their glyphs are made.
struct TGlyphSize
{
    int32_t fontSize;
    int32_t cell;
};
constexpr TGlyphSize kGlyphSizes[] = {{12, 22}, {16, 28}, {20, 35}};

// Gathers characters above 126 not yet in the table, drawing each at the
// three sizes and putting the glyphs at the head of the table. The
// rasterisers (and their font) are only made once a character needs them.
class CGlyphTableBuilder : public CGlyphCollector
{
public:
    explicit CGlyphTableBuilder(std::vector<std::unique_ptr<TGlyph>>& table) : m_table(table) {}

    void CollectString(const std::u16string& text) override
    {
        for (char16_t c : text)
        {
            if (c <= 126 || !m_seen.insert(c).second)
                continue;
            if (m_rasterisers.empty())
            {
                for (const TGlyphSize& size : kGlyphSizes)
                    m_rasterisers.push_back(std::make_unique<CGlyphRasteriser>(size.fontSize, size.cell));
            }
            for (auto& rasteriser : m_rasterisers)
            {
                auto glyph = std::make_unique<TGlyph>();
                static_cast<TGlyphBitmap&>(*glyph) = rasteriser->RenderGlyph(c);
                m_made.push_back(std::move(glyph));
            }
        }
    }

    // Links the glyphs made so far at the head, the latest first.
    void Finish()
    {
        m_table.insert(m_table.begin(), std::make_move_iterator(m_made.rbegin()),
                       std::make_move_iterator(m_made.rend()));
        m_made.clear();
    }

private:
    std::vector<std::unique_ptr<TGlyph>>& m_table;
    std::vector<std::unique_ptr<TGlyph>> m_made;
    std::unordered_set<char16_t> m_seen;
    std::vector<std::unique_ptr<CGlyphRasteriser>> m_rasterisers;
};

// A version 1 control name or timeout PIN is code-page text with its count.
bool ReadSetting(CDataStore& store, int32_t version, std::u16string& text)
{
    if (version >= 2)
        return store.ReadString(text);
    return ReadAnsiName(store, text, TLayout::kMaxAnsiSetting);
}

bool ReadEventBlock(CDataStore& store, std::array<TTextField, TLayout::kEvents>& fields)
{
    const int32_t count = store.ReadInt();
    if (store.Failed() || count < 0 || count > TLayout::kEventBlockSize)
    {
        store.Fail();
        return false;
    }
    std::array<uint8_t, TLayout::kEventBlockSize> block{};
    if (!store.ReadBytes(block.data(), static_cast<size_t>(count)))
        return false;
    for (size_t i = 0; i < fields.size(); ++i)
        std::memcpy(fields[i].data(), block.data() + i * kTextFieldSize, kTextFieldSize);
    return true;
}

void WriteEventBlock(CDataStore& store, const std::array<TTextField, TLayout::kEvents>& fields)
{
    store.WriteInt(TLayout::kEventBlockSize);
    for (const TTextField& field : fields)
        store.WriteBytes(field.data(), field.size());
}

} // namespace

TLayout::TLayout() : TLayout(BuiltinLibrary())
{
}

TLayout::TLayout(const TBuiltinLibrary& library) : builtinLibrary(&library)
{
    images.AddBuiltinImages(library);
}

TLayout::~TLayout() = default;
TLayout::TLayout(TLayout&&) noexcept = default;
TLayout& TLayout::operator=(TLayout&&) noexcept = default;

void TLayout::BuildGlyphTable()
{
    glyphs.clear();
    CGlyphTableBuilder builder(glyphs);
    builder.CollectString(controlName);
    pages.CollectGlyphs(builder);
    builder.Finish();
}

void TLayout::ClearAll()
{
    pages.Clear();
    images.Clear();
    images.AddBuiltinImages(*builtinLibrary);
}

void TLayout::StoreTo(CDataStore& store)
{
    // The version goes in by hand at offset 0, the rest follows it.
    store.Reserve(4096);
    store.SetPosition(4);
    store.WriteString(controlName);
    store.WriteInt(sleepTimeout);
    store.WriteInt(pinOnWakeup);
    store.WriteString(timeoutPin);
    store.WriteString(securityPin);
    store.WriteInt(audibleFeedback);
    store.WriteByte(static_cast<uint8_t>(manualBrightness));
    store.WriteByte(autoBrightness);
    store.WriteInt(defaultPage);
    for (const auto& page : pages)
    {
        store.WriteInt(1);
        store.WriteInt(page->type);
        page->Serialize(store);
    }
    store.WriteInt(0);
    for (auto& glyph : glyphs)
    {
        store.WriteInt(1);
        glyph->Serialize(store);
    }
    store.WriteInt(0);
    for (const auto& entry : images)
    {
        if (entry->id < kAddedImageIds)
            continue;
        store.WriteInt(1);
        entry->Serialize(store);
    }
    store.WriteInt(0);
    WriteEventBlock(store, eventDescriptions);
    WriteEventBlock(store, eventTexts);

    const int32_t length = store.GetLength();
    store.SetPosition(0);
    store.WriteInt(kVersion);
    store.SetPosition(length);
}

std::vector<uint8_t> TLayout::SaveToBytes()
{
    BuildGlyphTable();
    CDataStore store;
    StoreTo(store);
    return store.CopyData();
}

int64_t TLayout::StoredSize()
{
    BuildGlyphTable();
    CDataStore store;
    StoreTo(store);
    return store.GetLength();
}

int32_t TLayout::SaveToBuffer(uint8_t* dest, int32_t capacity)
{
    BuildGlyphTable();
    CDataStore store;
    StoreTo(store);
    const int32_t length = store.GetLength();
    if (length > capacity || dest == nullptr)
        return -1;
    std::memcpy(dest, store.GetData(), static_cast<size_t>(length));
    return length;
}

bool TLayout::LoadFromBuffer(const uint8_t* data, int32_t length)
{
    return LoadFromBuffer(data, length, nullptr);
}

bool TLayout::LoadFromBuffer(const uint8_t* data, int32_t length, std::vector<std::unique_ptr<TGlyph>>* storedGlyphs,
                             bool keepStoredIds)
{
    if (data == nullptr || length < 4)
        return false;
    // Everything is read into a fresh document, which replaces this one only
    // when the whole image has been read.
    TLayout loaded(*builtinLibrary);
    std::vector<std::unique_ptr<TGlyph>> glyphsRead;
    CDataStore store(data, static_cast<size_t>(length));
    if (!loaded.ReadFrom(store, storedGlyphs != nullptr ? &glyphsRead : nullptr, keepStoredIds))
        return false;
    // The glyph table is rebuilt before every store; keep ours meanwhile.
    loaded.glyphs = std::move(glyphs);
    *this = std::move(loaded);
    if (storedGlyphs != nullptr)
        *storedGlyphs = std::move(glyphsRead);
    return true;
}

bool TLayout::ReadFrom(CDataStore& store, std::vector<std::unique_ptr<TGlyph>>* storedGlyphs, bool keepStoredIds)
{
    // Each field is read by "from version n on", so a later image is read as
    // this one; bytes after the last field read are ignored.
    const int32_t version = store.ReadInt();
    if (version < 1)
        return false;
    if (!ReadSetting(store, version, controlName))
        return false;
    sleepTimeout = store.ReadInt();
    pinOnWakeup = store.ReadInt();
    if (!ReadSetting(store, version, timeoutPin))
        return false;
    if (version >= 7 && !store.ReadString(securityPin))
        return false;
    audibleFeedback = store.ReadInt();
    manualBrightness = static_cast<int8_t>(store.ReadByte());
    autoBrightness = store.ReadByte();
    defaultPage = version >= 5 ? store.ReadInt() : -1;

    for (int32_t marker = store.ReadInt(); marker != 0 && !store.Failed(); marker = store.ReadInt())
    {
        const int32_t type = store.ReadInt();
        std::unique_ptr<TListItem> page;
        if (type == kPageUser)
            page = std::make_unique<TUserPage>(std::u16string(), pages.NextPageId());
        else if (type == kPageEightButton)
            page = std::make_unique<CBtn8Ctrl>();
        else
            return false;  // a record we cannot measure cannot be stepped over
        page->Serialize(store);
        if (store.Failed())
            return false;
        pages.InsertPage(std::move(page), nullptr);
    }
    if (store.Failed())
        return false;

    if (version >= 3)
    {
        for (int32_t marker = store.ReadInt(); marker == 1; marker = store.ReadInt())
        {
            auto glyph = std::make_unique<TGlyph>();
            glyph->Serialize(store);
            if (store.Failed())
                return false;
            if (storedGlyphs != nullptr)
                storedGlyphs->push_back(std::move(glyph));
        }
        if (store.Failed())
            return false;
    }
    if (version >= 4)
    {
        for (int32_t marker = store.ReadInt(); marker == 1; marker = store.ReadInt())
        {
            auto entry = std::make_unique<TImageEntry>();
            entry->Serialize(store);
            if (store.Failed())
                return false;
            images.InsertHead(std::move(entry));
        }
        if (store.Failed())
            return false;
    }
    if (version >= 6)
    {
        if (!ReadEventBlock(store, eventDescriptions) || !ReadEventBlock(store, eventTexts))
            return false;
    }
    for (const auto& page : pages)
    {
        if (page->id < 0 && !keepStoredIds)
            page->id = pages.NextPageId();
    }
    return !store.Failed();
}
