#include "Command.h"
#include "PageArg.h"
#include "StdStreams.h"

#include "AtomicFile.h"
#include "ImageBuffer.h"
#include "Layout.h"
#include "LayoutFile.h"
#include "LayoutImages.h"
#include "PageDraw.h"
#include "PageVisitor.h"
#include "RasterImage.h"
#include "UserPage.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <utility>

namespace
{

int RunRender(const TArgs& parsed);

const TCommand kRender{
    "render",
    "render IN.qel PAGE -o OUT.png [--select N] [--thumbnail SIZE]\n       qelctl render IN.qel --all DIR",
    "draw a user page as the panel shows it, as a 320 x 240 PNG",
    "Paints a user page of the template IN.qel exactly as the panel's 320 x 240 screen\n"
    "(and the page canvas) shows it, and writes it as a PNG file.\n\n"
    "  PAGE          a 1-based position in the page list, a page id (10000 or more) or a name\n"
    "  -o OUT.png    the picture to write (replaced atomically); -o - writes standard\n"
    "                output, which must not be a terminal\n"
    "  --select N    draw object N (1 = the back-most) with the canvas's selection marks\n"
    "  --thumbnail SIZE  scale the picture down to fit a SIZE x SIZE square, keeping its\n"
    "                aspect (a file manager's thumbnailer asks for this)\n"
    "  --all DIR     write every user page as DIR/page-P.png, P its position in the list\n\n"
    "IN.qel - reads the template from standard input.",
    {{ValueOption("-o"), ValueOption("--select"), ValueOption("--all"), ValueOption("--thumbnail")},
     1,
     2,
     "give a template, a page and -o OUT.png"},
    RunRender,
};
const CCommandRegistrar kRegistrar(kRender);

// Paints a page as PNG; false when it cannot be encoded.
bool PaintPng(TLayout& layout, const TUserPage& page, const TUserObject* selected, std::vector<uint8_t>& png)
{
    CRaster raster(kPageWidth, kPageHeight);
    PaintPage(page, LayoutImages(layout), raster, selected);
    return EncodeRasterPng(raster, png);
}

// The page scaled down to fit a size x size square, keeping its aspect, as
// PNG; an empty result on success, else the reason.
std::string PaintThumbnail(TLayout& layout, const TUserPage& page, int32_t size, std::vector<uint8_t>& png)
{
    CRaster raster(kPageWidth, kPageHeight);
    PaintPage(page, LayoutImages(layout), raster, nullptr);
    CImageBuffer image;
    RasterToImage(raster, image);
    const int32_t width = std::min(size, kPageWidth);
    const int32_t height = std::max(1, width * kPageHeight / kPageWidth);
    if (width < kPageWidth && !image.Resample(width, height, 2))
        return "cannot scale the picture";
    uint8_t* block = nullptr;
    int32_t bytes = 0;
    if (!image.Encode(&block, &bytes, kFormatPng) || block == nullptr || bytes <= 0)
    {
        std::free(block);
        return "cannot encode the picture";
    }
    png.assign(block, block + bytes);
    std::free(block);
    return std::string();
}

int RunRender(const TArgs& parsed)
{
    const std::string* out = parsed.Value("-o");
    const std::string* select = parsed.Value("--select");
    const std::string* all = parsed.Value("--all");
    const std::string* thumbnail = parsed.Value("--thumbnail");

    if (all != nullptr)
    {
        if (parsed.positional.size() != 1 || out != nullptr || select != nullptr || thumbnail != nullptr)
            return UsageError(kRender, "--all takes only the template and a folder");
    }
    else if (parsed.positional.size() != 2 || out == nullptr)
    {
        return UsageError(kRender, "give a template, a page and -o OUT.png");
    }
    int32_t selectIndex = 0;
    if (select != nullptr && (!ParseInt32(*select, selectIndex) || selectIndex < 1))
        return UsageError(kRender, "--select takes an object number from 1");
    int32_t thumbnailSize = 0;
    if (thumbnail != nullptr && (!ParseInt32(*thumbnail, thumbnailSize) || thumbnailSize < 1))
        return UsageError(kRender, "--thumbnail takes a size in pixels from 1");
    if (thumbnail != nullptr && select != nullptr)
        return UsageError(kRender, "--thumbnail draws no selection marks");

    const std::string& in = parsed.positional[0];
    TLayout layout;
    if (const TFileResult loaded = LoadTemplateInput(layout, in); !loaded)
        return Fail(InputName(in), loaded.reason);

    if (all != nullptr)
    {
        std::error_code ec;
        std::filesystem::create_directories(*all, ec);
        if (ec)
            return Fail(*all, ec.message());
        // All pages are written, then made durable and put in place at once.
        CFileBatch batch;
        std::vector<std::string> written;
        int position = 0;
        for (const auto& item : layout.pages)
        {
            ++position;
            const TUserPage* page = PageAs<TUserPage>(std::as_const(*item));
            if (page == nullptr)
                continue;
            const std::string path = (std::filesystem::path(*all) / ("page-" + std::to_string(position) + ".png")).string();
            std::vector<uint8_t> png;
            if (!PaintPng(layout, *page, nullptr, png))
                return Fail(path, "cannot encode the picture");
            if (const TFileResult added = batch.Add(path, png); !added)
                return Fail(path, added.reason);
            written.push_back(path);
        }
        if (const TFileResult committed = batch.Commit(); !committed)
            return Fail(batch.FailedPath(), committed.reason);
        for (const std::string& path : written)
            std::printf("%s\n", path.c_str());
        return kExitOk;
    }

    std::string reason;
    TListItem* item = ResolvePageArg(layout.pages, parsed.positional[1], reason);
    if (item == nullptr)
        return Fail(InputName(in), reason);
    const TUserPage* page = PageAs<TUserPage>(std::as_const(*item));
    if (page == nullptr)
        return Fail(InputName(in),
                    "page " + parsed.positional[1] + " is an eight-button page, not a user page");
    const TUserObject* selected = nullptr;
    if (select != nullptr)
    {
        if (static_cast<size_t>(selectIndex) > page->objects.size())
            return Fail(InputName(in),
                        "the page has " + std::to_string(page->objects.size()) + " objects, not " + *select);
        selected = page->objects[static_cast<size_t>(selectIndex) - 1].get();
    }
    std::vector<uint8_t> png;
    if (thumbnail != nullptr)
    {
        if (const std::string why = PaintThumbnail(layout, *page, thumbnailSize, png); !why.empty())
            return Fail(OutputName(*out), why);
    }
    else if (!PaintPng(layout, *page, selected, png))
    {
        return Fail(OutputName(*out), "cannot encode the picture");
    }
    return WriteOutput(*out, png, EOutput::Binary);
}

} // namespace
