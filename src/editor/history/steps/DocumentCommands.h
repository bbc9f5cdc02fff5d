#pragma once

#include "Layout.h"
#include "LayoutCommand.h"
#include "PanelSettings.h"

#include <array>

// Steps on the document as a whole.

// "Settings": what OK in the programming dialog stores.
class CSettingsCommand : public CLayoutCommand
{
public:
    CSettingsCommand(TLayout& layout, const TPanelSettings& settings);

    TStepScope Scope() const override;

protected:
    void Do() override;
    void Undo() override;

private:
    TLayout& m_layout;
    TPanelSettings m_other;
};

// "User Events": OK in the events dialog, which wrote the events itself;
// the descriptions and texts they replaced.
class CEventsCommand : public CLayoutCommand
{
public:
    using TFields = std::array<TTextField, TLayout::kEvents>;
    CEventsCommand(TLayout& layout, const TFields& descriptionsBefore, const TFields& textsBefore);

protected:
    void Do() override;
    void Undo() override;

private:
    void Exchange();

    TLayout& m_layout;
    TFields m_descriptions;
    TFields m_texts;
};
