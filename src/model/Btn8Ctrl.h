#pragma once

#include "ListItem.h"
#include "TextField.h"

#include <array>

// The eight-button page: eight buttons, each with a name and an event text.
class CBtn8Ctrl : public TListItem
{
public:
    static constexpr int32_t kVersion = 1;
    static constexpr int kButtons = 8;

    explicit CBtn8Ctrl(std::u16string name = {});

    void Serialize(CDataStore& store) override;
    void Accept(IPageVisitor& visitor) override;
    void Accept(IConstPageVisitor& visitor) const override;

    std::array<TTextField, kButtons> texts{};
    std::array<TTextField, kButtons> names{};
};
