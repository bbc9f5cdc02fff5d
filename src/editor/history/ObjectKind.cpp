#include "ObjectKind.h"

#include "ObjectVisitor.h"
#include "UserButton.h"
#include "UserObject.h"

#include <QCoreApplication>

QString ObjectKindName(const TUserObject& object)
{
    const TUserButton* button = ObjectAs<TUserButton>(object);
    if (object.type == kObjectButton && button != nullptr && button->selectorId >= 0)
        return QCoreApplication::translate("ObjectKind", "Selection");
    // The model's names in title case, translated.
    switch (object.type)
    {
    case kObjectButton:
        return QCoreApplication::translate("ObjectKind", "Button");
    case kObjectLevel:
        return QCoreApplication::translate("ObjectKind", "Slider");
    case kObjectImage:
        return QCoreApplication::translate("ObjectKind", "Image");
    case kObjectHotspot:
        return QCoreApplication::translate("ObjectKind", "Hot Spot");
    default:
        return QCoreApplication::translate("ObjectKind", "Object");
    }
}
