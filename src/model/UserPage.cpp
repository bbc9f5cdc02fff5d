#include "UserPage.h"

#include "OwnedList.h"

#include "DataStore.h"
#include "ObjectVisitor.h"
#include "PageVisitor.h"
#include "UserButton.h"
#include "UserHotspot.h"
#include "UserImage.h"
#include "UserLevel.h"

#include <algorithm>
#include <utility>

namespace
{

bool IsKnownObjectType(int32_t type)
{
    return type == kObjectButton || type == kObjectLevel || type == kObjectImage || type == kObjectHotspot;
}

} // namespace

std::unique_ptr<TUserObject> MakeUserObject(int32_t type)
{
    switch (type)
    {
    case kObjectButton:
        return std::make_unique<TUserButton>();
    case kObjectLevel:
        return std::make_unique<TUserLevel>();
    case kObjectImage:
        return std::make_unique<TUserImage>();
    case kObjectHotspot:
        return std::make_unique<TUserHotspot>();
    default:
        return std::make_unique<TUserObject>(type);
    }
}

TUserPage::TUserPage(std::u16string name, int32_t id) : TListItem(kPageUser, std::move(name), id) {}

void TUserPage::Serialize(CDataStore& store)
{
    TListItem::Serialize(store);
    if (store.IsStoring())
    {
        store.WriteInt(kVersion);
        face.Serialize(store);
        for (const auto& object : objects)
        {
            store.WriteInt(1);
            store.WriteInt(object->type);
            object->Serialize(store);
        }
        store.WriteInt(0);
        return;
    }
    objects.clear();
    store.SkipInt();
    face.Serialize(store);
    // Each object takes at least 36 bytes, so a failed stream (which reads 0)
    // or the end of the data ends the loop.
    while (store.ReadInt() == 1)
    {
        const int32_t type = store.ReadInt();
        auto object = MakeUserObject(type);
        object->Serialize(store);
        if (store.Failed())
        {
            break;
        }
        // The record repeats the type. For the four known kinds the one that
        // chose the class wins, so that a known type code always means its
        // class to code that goes by the code. An object of another kind is
        // kept as its record says, unless that names a known kind its class
        // is not.
        if (IsKnownObjectType(type) || IsKnownObjectType(object->type))
            object->type = type;
        objects.push_back(std::move(object));
    }
}

void TUserPage::Accept(IPageVisitor& visitor)
{
    visitor.Visit(*this);
}

void TUserPage::Accept(IConstPageVisitor& visitor) const
{
    visitor.Visit(*this);
}

int TUserPage::IndexOfObject(const TUserObject* object) const
{
    const auto found =
        std::find_if(objects.begin(), objects.end(), [&](const auto& held) { return held.get() == object; });
    return found == objects.end() ? -1 : static_cast<int>(found - objects.begin());
}

TUserObject* TUserPage::ObjectAt(int32_t x, int32_t y) const
{
    for (auto it = objects.rbegin(); it != objects.rend(); ++it)
    {
        if ((*it)->Contains(x, y))
        {
            return it->get();
        }
    }
    return nullptr;
}

TUserObject* TUserPage::AppendObject(std::unique_ptr<TUserObject> object)
{
    TUserObject* raw = object.get();
    if (raw == nullptr)
    {
        return nullptr;
    }
    if (IndexOfObject(raw) >= 0)
    {
        // Already owned by the list: give up this second handle, don't free it.
        static_cast<void>(object.release());
        return raw;
    }
    objects.push_back(std::move(object));
    return raw;
}

std::unique_ptr<TUserObject> TUserPage::RemoveObject(TUserObject* object)
{
    const int index = IndexOfObject(object);
    if (index < 0)
    {
        return nullptr;
    }
    std::unique_ptr<TUserObject> removed = std::move(objects[index]);
    objects.erase(objects.begin() + index);
    return removed;
}

void TUserPage::PushObject(TUserObject* object)
{
    const int index = IndexOfObject(object);
    if (index > 0)
    {
        std::rotate(objects.begin(), objects.begin() + index, objects.begin() + index + 1);
    }
}

void TUserPage::PullObject(TUserObject* object)
{
    const int index = IndexOfObject(object);
    if (index >= 0)
    {
        std::rotate(objects.begin() + index, objects.begin() + index + 1, objects.end());
    }
}

TUserObject* TUserPage::InsertObject(size_t index, std::unique_ptr<TUserObject> object)
{
    if (object == nullptr)
        return nullptr;
    // Already owned by the list: give up this second handle, don't free it.
    if (IndexOfObject(object.get()) >= 0)
    {
        static_cast<void>(object.release());
        return nullptr;
    }
    return OwnedList::InsertAt(objects, index, std::move(object));
}

std::unique_ptr<TUserObject> TUserPage::TakeObject(size_t index) { return OwnedList::TakeAt(objects, index); }

bool TUserPage::MoveObject(size_t from, size_t to) { return OwnedList::MoveAt(objects, from, to); }

std::unique_ptr<TUserObject> TUserPage::ReplaceObject(size_t index, std::unique_ptr<TUserObject> object)
{
    if (object != nullptr && IndexOfObject(object.get()) >= 0)
    {
        static_cast<void>(object.release());
        return nullptr;
    }
    return OwnedList::ReplaceAt(objects, index, std::move(object));
}

void TUserPage::ExchangeContent(TUserPage& other)
{
    std::swap(name, other.name);
    std::swap(id, other.id);
    std::swap(face, other.face);
    std::swap(objects, other.objects);
}

bool TUserPage::UsesPicture(int32_t pictureId) const
{
    // Button faces name their nine-slice picture as image faces name theirs.
    const auto names = [pictureId](const TUserFace& f)
    { return (f.type == kFaceImage || f.type == kFaceButton) && f.param == pictureId; };
    if (names(face))
        return true;
    const auto uses = Overloaded{
        [&](const TUserButton& button) { return names(button.upFace) || names(button.downFace); },
        [&](const TUserImage& image) { return names(image.face); },
        [&](const TUserLevel& level) { return level.sliderImageId == pictureId; },
        [](const TUserHotspot&) { return false; },
        [](const TUserObject&) { return false; },
    };
    for (const auto& object : objects)
    {
        if (VisitObject(std::as_const(*object), uses))
            return true;
    }
    return false;
}
