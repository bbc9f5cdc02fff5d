#pragma once

#include "Glyph.h"
#include "ImageLibrary.h"
#include "PageList.h"
#include "TextField.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CDataStore;
class TBuiltinLibrary;

// The layout document: the panel's settings, its pages, the image library,
// the 24 user events and the glyph table, with the one byte image (version 7)
// that the upload, the download and the template file all carry.
class TLayout
{
public:
    static constexpr int32_t kVersion = 7;
    static constexpr int kEvents = 24;
    static constexpr int32_t kEventBlockSize = kEvents * static_cast<int32_t>(kTextFieldSize);  // 1920
    // Longest version 1 control name or timeout PIN, closing zero included.
    static constexpr int32_t kMaxAnsiSetting = 260;

    // A new document: default settings, no pages, no events, and the
    // built-in pictures of the process-wide built-in library.
    TLayout();
    // The same with the built-in pictures of the given library, which must
    // outlive the document.
    explicit TLayout(const TBuiltinLibrary& library);
    ~TLayout();
    TLayout(TLayout&&) noexcept;
    TLayout& operator=(TLayout&&) noexcept;
    TLayout(const TLayout&) = delete;
    TLayout& operator=(const TLayout&) = delete;

    // Rebuilds the glyph table and writes the byte image to dest. Returns its
    // length, or -1 when it is longer than capacity (nothing is written then).
    int32_t SaveToBuffer(uint8_t* dest, int32_t capacity);
    // The same byte image, whatever its length.
    std::vector<uint8_t> SaveToBytes();
    // The length of that byte image (the glyph table is rebuilt for it).
    // Pictures count with the PNG blocks they keep, so once each has been
    // read or encoded this encodes nothing.
    int64_t StoredSize();
    // Replaces settings, pages, added pictures and events with those in the
    // bytes. All or nothing: on bytes that end early or break a rule the
    // document stays exactly as it was and the result is false. When
    // storedGlyphs is given it receives the glyph records of the image, which
    // the document itself does not keep. Pages stored without an id (a new
    // eight-button page's -1) are given one, unless keepStoredIds asks to see
    // the pages exactly as stored.
    bool LoadFromBuffer(const uint8_t* data, int32_t length);
    bool LoadFromBuffer(const uint8_t* data, int32_t length, std::vector<std::unique_ptr<TGlyph>>* storedGlyphs,
                        bool keepStoredIds = false);
    // Draws a glyph at each of the three cell sizes for every character above
    // 126 in the control name and the page names.
    void BuildGlyphTable();
    // Deletes every page and every picture, then brings back the built-in
    // ones; settings, events and the default page stay.
    void ClearAll();

    std::vector<std::unique_ptr<TGlyph>> glyphs;  // head first
    TPageList pages;
    TImageLibrary images;
    int32_t audibleFeedback = 1;
    int32_t sleepTimeout = 0;  // seconds; 0 = no sleep
    int32_t pinOnWakeup = 0;
    int32_t defaultPage = -1;
    uint8_t autoBrightness = 0;
    int8_t manualBrightness = 100;  // percent
    std::u16string timeoutPin;
    std::u16string securityPin;
    std::u16string controlName;
    const TBuiltinLibrary* builtinLibrary = nullptr;
    std::array<TTextField, kEvents> eventDescriptions{};
    std::array<TTextField, kEvents> eventTexts{};

private:
    void StoreTo(CDataStore& store);
    bool ReadFrom(CDataStore& store, std::vector<std::unique_ptr<TGlyph>>* storedGlyphs, bool keepStoredIds);
};

// Largest byte image each caller accepts: a template (its magic included in
// the file's own limit) and an upload to the panel.
constexpr int32_t kTemplateCapacity = 500000;
constexpr int32_t kUploadCapacity = 512000;
