#include "LayoutCommand.h"

namespace
{

// Every step of the layout shares one id, so that the stack offers each new
// step to the one before it; Absorb decides.
constexpr int kLayoutStepId = 0x51454C;

uint64_t NextSerial()
{
    static uint64_t serial = 0;
    return ++serial;
}

} // namespace

CLayoutCommand::CLayoutCommand(const QString& text, bool done)
    : QUndoCommand(text), m_done(done), m_serial(NextSerial())
{
}

void CLayoutCommand::redo()
{
    if (m_done)
        return;
    Do();
    m_done = true;
}

void CLayoutCommand::undo()
{
    if (!m_done)
        return;
    Undo();
    m_done = false;
}

int CLayoutCommand::id() const
{
    return kLayoutStepId;
}

bool CLayoutCommand::mergeWith(const QUndoCommand* other)
{
    const auto* next = dynamic_cast<const CLayoutCommand*>(other);
    return next != nullptr && !m_sealed && Absorb(*next);
}

bool CLayoutCommand::TakesOut(const TListItem&) const
{
    return false;
}

bool CLayoutCommand::IsAbout(const TListItem&) const
{
    return false;
}

std::unique_ptr<CLayoutCommand> CLayoutCommand::KeptPictures() const
{
    return nullptr;
}

bool CLayoutCommand::Absorb(const CLayoutCommand&)
{
    return false;
}
