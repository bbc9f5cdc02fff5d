#include "PageCopy.h"

#include "Btn8Ctrl.h"
#include "DataStore.h"
#include "UserPage.h"

std::unique_ptr<TListItem> CopyPage(const TListItem& page, int32_t id, std::u16string name)
{
    std::unique_ptr<TListItem> copy;
    if (page.type == kPageUser)
        copy = std::make_unique<TUserPage>();
    else if (page.type == kPageEightButton)
        copy = std::make_unique<CBtn8Ctrl>();
    else
        return nullptr;
    CDataStore out;
    // Serialize is one operation for both directions; storing only reads.
    const_cast<TListItem&>(page).Serialize(out);
    const std::vector<uint8_t> record = out.CopyData();
    CDataStore in(record.data(), record.size());
    copy->Serialize(in);
    if (in.Failed())
        return nullptr;
    copy->id = id;
    copy->name = std::move(name);
    return copy;
}

std::u16string CopyName(const std::u16string& name)
{
    return name + u" copy";
}
