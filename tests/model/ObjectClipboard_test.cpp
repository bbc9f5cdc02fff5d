#include "ObjectClipboard.h"

#include "ImageBuffer.h"
#include "Layout.h"
#include "UserButton.h"
#include "UserImage.h"

#include <gtest/gtest.h>

namespace
{

std::unique_ptr<CImageBuffer> Picture()
{
    auto image = std::make_unique<CImageBuffer>();
    EXPECT_TRUE(image->Data().Create(8, 6, 24));
    return image;
}

size_t Pictures(const TLayout& layout)
{
    return layout.images.Size();
}

// A button showing an added picture, copied within its layout and into
// another: the picture comes along once, merged by its GUID.
TEST(ObjectClipboard, APictureComesAlongOnceWhereverTheObjectsArePasted)
{
    TLayout from;
    const int32_t logo = from.images.AddImage(u"Logo", Picture())->id;
    TUserButton button;
    button.SetRect({10, 20, 40, 30});
    button.upFace = {kFaceImage, logo};
    TUserImage plain;
    plain.SetRect({1, 2, 3, 4});
    const std::vector<uint8_t> bytes = CopyObjects(from, {&button, &plain});

    std::vector<std::unique_ptr<TUserObject>> objects;
    std::vector<TImageEntry*> added;
    const size_t inFrom = Pictures(from);
    ASSERT_TRUE(PasteObjects(from, bytes.data(), bytes.size(), objects, added));
    EXPECT_TRUE(added.empty()) << "the layout has that picture already";
    EXPECT_EQ(Pictures(from), inFrom);
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(static_cast<TUserButton&>(*objects[0]).upFace.param, logo);
    EXPECT_EQ(objects[1]->Rect(), plain.Rect());

    TLayout to;
    to.images.AddImage(u"Other", Picture());
    const size_t inTo = Pictures(to);
    ASSERT_TRUE(PasteObjects(to, bytes.data(), bytes.size(), objects, added));
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(Pictures(to), inTo + 1);
    EXPECT_EQ(static_cast<TUserButton&>(*objects[0]).upFace.param, added[0]->id);
    EXPECT_EQ(added[0]->name, u"Logo");
    ASSERT_TRUE(PasteObjects(to, bytes.data(), bytes.size(), objects, added));
    EXPECT_TRUE(added.empty()) << "pasted twice, it is there once";
    EXPECT_EQ(Pictures(to), inTo + 1);

    const uint8_t junk[] = {1, 2, 3, 4, 5};
    objects.clear();
    EXPECT_FALSE(PasteObjects(to, junk, sizeof junk, objects, added));
    EXPECT_TRUE(objects.empty());
    EXPECT_EQ(Pictures(to), inTo + 1);
}

} // namespace
