#include "ObjectKind.h"

#include "UserButton.h"
#include "UserObject.h"

QString ObjectKindName(const TUserObject& object)
{
    switch (object.type)
    {
    case kObjectButton:
    {
        const auto* button = dynamic_cast<const TUserButton*>(&object);
        return button != nullptr && button->selectorId >= 0 ? QStringLiteral("Selection")
                                                            : QStringLiteral("Button");
    }
    case kObjectLevel:
        return QStringLiteral("Slider");
    case kObjectImage:
        return QStringLiteral("Image");
    case kObjectHotspot:
        return QStringLiteral("Hot Spot");
    default:
        return QStringLiteral("Object");
    }
}
