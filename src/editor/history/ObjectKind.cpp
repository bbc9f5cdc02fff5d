#include "ObjectKind.h"

#include "ObjectVisitor.h"
#include "UserButton.h"
#include "UserObject.h"

QString ObjectKindName(const TUserObject& object)
{
    const TUserButton* button = ObjectAs<TUserButton>(object);
    if (object.type == kObjectButton && button != nullptr && button->selectorId >= 0)
        return QStringLiteral("Selection");
    // The model's name in title case: "hot spot" becomes "Hot Spot".
    QString name = QString::fromLatin1(ObjectKindName(object.type));
    for (qsizetype i = 0; i < name.size(); ++i)
        if (i == 0 || name[i - 1] == u' ')
            name[i] = name[i].toUpper();
    return name;
}
