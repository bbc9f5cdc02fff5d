#pragma once

#include <cstdint>
#include <memory>

class CDataStore;
class IConstObjectVisitor;
class IObjectVisitor;

enum EObjectType : int32_t
{
    kObjectButton = 1,
    kObjectLevel = 2,
    kObjectImage = 3,
    kObjectHotspot = 4,
};

// What a person calls an object of a type: "button", "slider", "image",
// "hot spot", or "object" for a type this program does not know.
const char* ObjectKindName(int32_t type);

// Corner handles, in the order CornerAt tries them.
enum ECorner : int32_t
{
    kCornerNone = 0,
    kCornerTopLeft = 1,
    kCornerTopRight = 2,
    kCornerBottomRight = 3,
    kCornerBottomLeft = 4,
};

// Where an object lies on its page: position and size in panel pixels.
struct TObjectRect
{
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;

    bool operator==(const TObjectRect&) const = default;
};

// Something placed on a user page. Used alone for stored objects of a type
// this program does not know, which keep only this part.
class TUserObject
{
public:
    static constexpr int32_t kVersion = 1;
    // Half the side of a corner handle's square.
    static constexpr int32_t kHandleReach = 4;

    explicit TUserObject(int32_t type = 0) : type(type) {}
    TUserObject(const TUserObject&) = default;
    TUserObject& operator=(const TUserObject&) = default;
    virtual ~TUserObject() = default;

    // The first corner handle (an 8 x 8 square centred on the corner) that
    // holds the point, or kCornerNone.
    virtual int32_t CornerAt(int32_t x, int32_t y) const;
    virtual void Serialize(CDataStore& store);
    // A deep copy of the whole object, for dialogs that edit a copy.
    virtual std::unique_ptr<TUserObject> Clone() const;
    // Calls the visitor's Visit for this object's kind (ObjectVisitor.h);
    // here VisitUnknown, for a type this program does not know.
    virtual void Accept(IObjectVisitor& visitor);
    virtual void Accept(IConstObjectVisitor& visitor) const;

    // Right and bottom edges are outside.
    bool Contains(int32_t x, int32_t y) const;

    TObjectRect Rect() const { return {left, top, width, height}; }
    void SetRect(const TObjectRect& r)
    {
        left = r.left;
        top = r.top;
        width = r.width;
        height = r.height;
    }

    int32_t type = 0;
    int32_t reserved = 0; // carried in the record, never used
    int32_t top = 0;
    int32_t left = 0;
    int32_t width = 0;
    int32_t height = 0;
};
