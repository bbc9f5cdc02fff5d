#include "LayoutHistory.h"

#include "HistoryEdits.h"
#include "Layout.h"
#include "UserPage.h"

#include <algorithm>

namespace
{

std::vector<CLayoutHistory*>& Histories()
{
    static std::vector<CLayoutHistory*> histories;
    return histories;
}

} // namespace

CLayoutHistory::CLayoutHistory(TLayout& layout, QObject* parent)
    : QObject(parent), m_layout(layout), m_edits(std::make_unique<CHistoryEdits>(*this))
{
    Histories().push_back(this);
    connect(&m_stack, &QUndoStack::indexChanged, this, &CLayoutHistory::Changed);
    connect(&m_stack, &QUndoStack::undoTextChanged, this, &CLayoutHistory::Changed);
    connect(&m_stack, &QUndoStack::redoTextChanged, this, &CLayoutHistory::Changed);
    connect(&m_stack, &QUndoStack::indexChanged, this, &CLayoutHistory::CheckClean);
    // The stack's own clean index would stop the merges that take a new
    // page's steps away; the history keeps the saved state itself.
    m_stack.resetClean();
}

CLayoutHistory::~CLayoutHistory()
{
    std::erase(Histories(), this);
    // The steps go before the edits and the registry of open pages they use.
    m_stack.clear();
}

CLayoutHistory* CLayoutHistory::Of(const TLayout& layout)
{
    for (CLayoutHistory* history : Histories())
        if (&history->m_layout == &layout)
            return history;
    return nullptr;
}

void CLayoutHistory::Push(std::unique_ptr<CLayoutCommand> step)
{
    if (step == nullptr)
        return;
    if (m_newPage != nullptr)
        m_newPageFirst = std::min(m_newPageFirst.value_or(m_stack.index()), m_stack.index());
    m_stack.push(step.release());
}

const CLayoutCommand* CLayoutHistory::StepAt(int index) const
{
    return index >= 0 && index < m_stack.count() ? dynamic_cast<const CLayoutCommand*>(m_stack.command(index))
                                                 : nullptr;
}

bool CLayoutHistory::TakesOutOpenPage(const CLayoutCommand* step) const
{
    return step != nullptr && std::any_of(m_open.begin(), m_open.end(),
                                          [step](const TListItem* page) { return step->TakesOut(*page); });
}

bool CLayoutHistory::CanUndo() const
{
    return m_stack.canUndo() && !TakesOutOpenPage(StepAt(m_stack.index() - 1));
}

bool CLayoutHistory::CanRedo() const
{
    return m_stack.canRedo() && !TakesOutOpenPage(StepAt(m_stack.index()));
}

QString CLayoutHistory::UndoText() const
{
    return m_stack.undoText();
}

QString CLayoutHistory::RedoText() const
{
    return m_stack.redoText();
}

void CLayoutHistory::Undo()
{
    if (!CanUndo())
        return;
    const CLayoutCommand* step = StepAt(m_stack.index() - 1);
    m_stack.undo();
    emit Applied(step != nullptr ? step->Scope() : TStepScope{});
}

void CLayoutHistory::Redo()
{
    if (!CanRedo())
        return;
    const CLayoutCommand* step = StepAt(m_stack.index());
    m_stack.redo();
    emit Applied(step != nullptr ? step->Scope() : TStepScope{});
}

void CLayoutHistory::Clear()
{
    m_stack.clear();
    m_stack.resetClean();
    m_newPageFirst.reset();
    m_cleanSerial = 0;
    CheckClean();
    emit Changed();
}

uint64_t CLayoutHistory::TopSerial() const
{
    const CLayoutCommand* top = StepAt(m_stack.index() - 1);
    return top != nullptr ? top->Serial() : 0;
}

void CLayoutHistory::SetClean()
{
    if (const CLayoutCommand* top = StepAt(m_stack.index() - 1))
        top->Seal();
    m_cleanSerial = TopSerial();
    CheckClean();
}

void CLayoutHistory::SetUnsaved()
{
    m_cleanSerial.reset();
    CheckClean();
}

bool CLayoutHistory::IsClean() const
{
    return m_cleanSerial && *m_cleanSerial == TopSerial();
}

void CLayoutHistory::CheckClean()
{
    const bool clean = IsClean();
    if (clean == m_clean)
        return;
    m_clean = clean;
    emit CleanChanged(clean);
}

CPageEdits& CLayoutHistory::Edits()
{
    return *m_edits;
}

void CLayoutHistory::BeginNewPage(const TUserPage& page)
{
    m_newPage = &page;
    m_newPageFirst.reset();
}

void CLayoutHistory::EndNewPage(std::unique_ptr<CLayoutCommand> add)
{
    m_newPage = nullptr;
    if (m_newPageFirst)
    {
        const int first = *m_newPageFirst;
        m_newPageFirst.reset();
        // What the dialog's steps added to the library stays there, and
        // stays undoable.
        std::vector<std::unique_ptr<CLayoutCommand>> kept;
        for (int i = first; i < m_stack.index(); ++i)
            if (const CLayoutCommand* step = StepAt(i))
                if (std::unique_ptr<CLayoutCommand> pictures = step->KeptPictures())
                    kept.push_back(std::move(pictures));
        // The dialog's steps leave without being undone: a saved page keeps
        // what was done to it, and a dropped one goes as it is.
        if (m_stack.count() > m_stack.index())
            m_stack.push(new CStackTrim(false));
        while (m_stack.index() > first)
        {
            const int before = m_stack.index();
            m_stack.push(new CStackTrim(true));
            if (m_stack.index() >= before)
                break;
        }
        for (std::unique_ptr<CLayoutCommand>& step : kept)
            m_stack.push(step.release());
    }
    if (add != nullptr)
        m_stack.push(add.release());
    CheckClean();
    emit Changed();
}

CLayoutHistory::COpenPage::COpenPage(CLayoutHistory* history, const TListItem& page)
    : m_history(history), m_page(&page)
{
    if (m_history == nullptr)
        return;
    m_history->m_open.push_back(m_page);
    emit m_history->Changed();
}

CLayoutHistory::COpenPage::~COpenPage()
{
    if (m_history == nullptr)
        return;
    auto& open = m_history->m_open;
    if (const auto found = std::find(open.begin(), open.end(), m_page); found != open.end())
        open.erase(found);
    emit m_history->Changed();
}

CLayoutHistory::CNewPage::CNewPage(CLayoutHistory* history, const TUserPage& page) : m_history(history)
{
    if (m_history != nullptr)
        m_history->BeginNewPage(page);
}

CLayoutHistory::CNewPage::~CNewPage()
{
    if (!m_ended && m_history != nullptr)
        m_history->EndNewPage(nullptr);
}

void CLayoutHistory::CNewPage::Commit(std::unique_ptr<CLayoutCommand> add)
{
    if (m_ended)
        return;
    m_ended = true;
    if (m_history != nullptr)
        m_history->EndNewPage(std::move(add));
    else if (add != nullptr)
        add->redo();
}

bool PictureInUse(const TLayout& layout, const CLayoutHistory* history, int32_t id)
{
    const auto uses = [id](const TListItem* item)
    {
        const auto* page = dynamic_cast<const TUserPage*>(item);
        return page != nullptr && page->UsesPicture(id);
    };
    for (const auto& page : layout.pages)
        if (uses(page.get()))
            return true;
    if (history != nullptr)
        for (const TListItem* page : history->OpenPages())
            if (uses(page))
                return true;
    return false;
}

void Apply(CLayoutHistory* history, std::unique_ptr<CLayoutCommand> step)
{
    if (step == nullptr)
        return;
    if (history != nullptr)
        history->Push(std::move(step));
    else
        step->redo();
}
