#pragma once

#include "ListItem.h"
#include "UserFace.h"
#include "UserObject.h"

#include <memory>
#include <vector>

// A new object of the class for a stored type code, with its defaults; an
// unknown code gives a bare TUserObject of that type.
std::unique_ptr<TUserObject> MakeUserObject(int32_t type);

// A user-defined page. Its objects are held in drawing order: the first is
// drawn first and lies at the back, the last lies in front.
class TUserPage : public TListItem
{
public:
    static constexpr int32_t kVersion = 1;
    using TObjects = std::vector<std::unique_ptr<TUserObject>>;

    // The maker gives the id: TPageList::NextPageId() for a new page.
    explicit TUserPage(std::u16string name = {}, int32_t id = -1);

    void Serialize(CDataStore& store) override;
    void Accept(IPageVisitor& visitor) override;
    void Accept(IConstPageVisitor& visitor) const override;

    // The front-most object whose rectangle holds the point, or null.
    TUserObject* ObjectAt(int32_t x, int32_t y) const;
    // Links the object in front of all others and returns it. An object
    // already in the list stays where it is.
    TUserObject* AppendObject(std::unique_ptr<TUserObject> object);
    // Unlinks the object and hands it back; null when it is not in the list.
    std::unique_ptr<TUserObject> RemoveObject(TUserObject* object);
    // Move the object to the back (Push) or the front (Pull); nothing when it
    // is not in the list.
    void PushObject(TUserObject* object);
    void PullObject(TUserObject* object);
    // The object's place in drawing order, or -1.
    int IndexOfObject(const TUserObject* object) const;

    // Changes by place in drawing order (see OwnedList.h), for edits that
    // must be put back exactly where they were.
    TUserObject* InsertObject(size_t index, std::unique_ptr<TUserObject> object);
    std::unique_ptr<TUserObject> TakeObject(size_t index);
    bool MoveObject(size_t from, size_t to);
    std::unique_ptr<TUserObject> ReplaceObject(size_t index, std::unique_ptr<TUserObject> object);
    TUserObject* ObjectAtIndex(size_t index) const { return index < objects.size() ? objects[index].get() : nullptr; }

    // Trades name, id, face and objects with another page: what an import
    // replaces, so that it can be put back.
    void ExchangeContent(TUserPage& other);
    // Whether the face, a button's faces, an image's face or a slider names
    // the picture with this id.
    bool UsesPicture(int32_t id) const;

    TUserFace face;
    TObjects objects;
};
