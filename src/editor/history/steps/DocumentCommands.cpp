#include "DocumentCommands.h"

#include <utility>

CSettingsCommand::CSettingsCommand(TLayout& layout, const TPanelSettings& settings)
    : CLayoutCommand(QStringLiteral("Settings")), m_layout(layout), m_other(settings)
{
}

TStepScope CSettingsCommand::Scope() const
{
    TStepScope scope;
    scope.settings = true;
    return scope;
}

void CSettingsCommand::Do()
{
    TPanelSettings now = TPanelSettings::Of(m_layout);
    m_other.ApplyTo(m_layout);
    m_other = std::move(now);
}

void CSettingsCommand::Undo()
{
    Do();
}

CEventsCommand::CEventsCommand(TLayout& layout, const TFields& descriptionsBefore, const TFields& textsBefore)
    : CLayoutCommand(QStringLiteral("User Events"), true), m_layout(layout),
      m_descriptions(descriptionsBefore), m_texts(textsBefore)
{
}

void CEventsCommand::Do()
{
    Exchange();
}

void CEventsCommand::Undo()
{
    Exchange();
}

void CEventsCommand::Exchange()
{
    std::swap(m_layout.eventDescriptions, m_descriptions);
    std::swap(m_layout.eventTexts, m_texts);
}
