#pragma once

#include "JsonText.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TLayout;
struct TUserPageFileContents;

// Turns a layout, or a user page file, into its JSON: every stored field of
// every record (record versions aside, as the current ones are always
// written), in a fixed order. The glyph table is left out: it is rebuilt on
// every store. Added pictures are listed in the order a store writes them.
//
// Pictures go into the JSON as base64 PNG blocks, or, when a folder is
// given, as PNG files in it, named in the JSON by their path from the
// folder the JSON will be read from.
class CLayoutJsonWriter
{
public:
    struct TPictureFile
    {
        std::string path;
        std::vector<uint8_t> png;
    };

    CLayoutJsonWriter() = default;
    // pictureDir: where the files go; jsonDir: where the JSON will lie.
    CLayoutJsonWriter(std::string pictureDir, std::string jsonDir);

    // kind: "template" for a template file, "layout" for a bare byte image.
    TOrderedJson Layout(const char* kind, const TLayout& layout);
    TOrderedJson UserPageFile(const TUserPageFileContents& contents);

    // Judges whether a picture file's name is taken on disk: by a file that is
    // not these bytes. Such a name is passed over for the next free one.
    using TNameTaken = std::function<bool(const std::string& path, const std::vector<uint8_t>& png)>;
    void SetNameTaken(TNameTaken taken) { m_nameTaken = std::move(taken); }

    // The form for reading, not for building (as a version control's diff
    // shows it): "textconv": true after the kind, pictures in id order, each
    // given by the size and SHA-256 of its PNG block instead of the block.
    void SetDigestPictures(bool digest) { m_digest = digest; }

    // The picture files the JSON names, to be written beside it.
    const std::vector<TPictureFile>& PictureFiles() const { return m_files; }

private:
    TOrderedJson Image(const class TImageEntry& entry);
    TOrderedJson Images(std::vector<const TImageEntry*> entries);

    std::string m_pictureDir;
    std::string m_jsonDir;
    std::vector<TPictureFile> m_files;
    TNameTaken m_nameTaken;
    bool m_digest = false;
};
