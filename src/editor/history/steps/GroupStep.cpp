#include "GroupStep.h"

#include "PageCommands.h"

#include <algorithm>

CGroupStep::CGroupStep(const QString& text) : CLayoutCommand(text, true) {}

void CGroupStep::Add(std::unique_ptr<CLayoutCommand> part)
{
    part->redo();
    m_parts.push_back(std::move(part));
}

std::unique_ptr<CLayoutCommand> CGroupStep::TakeOnlyPart()
{
    if (m_parts.size() != 1)
        return nullptr;
    std::unique_ptr<CLayoutCommand> part = std::move(m_parts.front());
    m_parts.clear();
    return part;
}

TStepScope CGroupStep::Scope() const
{
    return m_parts.empty() ? TStepScope{} : m_parts.front()->Scope();
}

bool CGroupStep::TakesOut(const TListItem& page) const
{
    return std::any_of(m_parts.begin(), m_parts.end(), [&](const auto& part) { return part->TakesOut(page); });
}

bool CGroupStep::IsAbout(const TListItem& page) const
{
    return std::any_of(m_parts.begin(), m_parts.end(), [&](const auto& part) { return part->IsAbout(page); });
}

std::unique_ptr<CLayoutCommand> CGroupStep::KeptPictures() const
{
    auto kept = std::make_unique<CGroupStep>(text());
    for (const auto& part : m_parts)
        if (std::unique_ptr<CLayoutCommand> pictures = part->KeptPictures())
            kept->m_parts.push_back(std::move(pictures));
    if (kept->m_parts.empty())
        return nullptr;
    return kept;
}

void CGroupStep::Do()
{
    for (const auto& part : m_parts)
        part->redo();
}

void CGroupStep::Undo()
{
    for (auto part = m_parts.rbegin(); part != m_parts.rend(); ++part)
        (*part)->undo();
}

bool CGroupStep::Absorb(const CLayoutCommand& next)
{
    const auto* group = dynamic_cast<const CGroupStep*>(&next);
    if (group == nullptr || group->m_parts.size() != m_parts.size() || group->text() != text())
        return false;
    // All parts or none: each must be a key move that the next run's twin continues.
    for (size_t i = 0; i < m_parts.size(); ++i)
    {
        const auto* move = dynamic_cast<const CMoveObjectCommand*>(m_parts[i].get());
        if (move == nullptr || !move->Continues(*group->m_parts[i]))
            return false;
    }
    for (size_t i = 0; i < m_parts.size(); ++i)
        m_parts[i]->mergeWith(group->m_parts[i].get());
    if (std::all_of(m_parts.begin(), m_parts.end(), [](const auto& part) { return part->isObsolete(); }))
        setObsolete(true);
    return true;
}
