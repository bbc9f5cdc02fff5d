#include "LayoutHistory.h"

#include "GroupStep.h"
#include "Layout.h"
#include "LayoutCommand.h"
#include "LayoutEdits.h"
#include "PageVisitor.h"
#include "UserPage.h"

#include <algorithm>
#include <stdexcept>

namespace
{

std::vector<CLayoutHistory*>& Histories()
{
    static std::vector<CLayoutHistory*> histories;
    return histories;
}

} // namespace

CLayoutHistory::CLayoutHistory(TLayout& layout, QObject* parent)
    : QObject(parent), m_layout(layout), m_edits(std::make_unique<CLayoutEdits>(*this))
{
    Histories().push_back(this);
    Follow(m_stack);
}

CLayoutHistory::~CLayoutHistory()
{
    std::erase(Histories(), this);
    // The steps go before the edits and the registry of open pages they use.
    m_group.reset();
    m_newPageStack.reset();
    m_stack.clear();
}

void CLayoutHistory::Follow(QUndoStack& stack)
{
    connect(&stack, &QUndoStack::indexChanged, this, &CLayoutHistory::Changed);
    connect(&stack, &QUndoStack::undoTextChanged, this, &CLayoutHistory::Changed);
    connect(&stack, &QUndoStack::redoTextChanged, this, &CLayoutHistory::Changed);
    connect(&stack, &QUndoStack::indexChanged, this, &CLayoutHistory::CheckClean);
}

CLayoutHistory& CLayoutHistory::Of(const TLayout& layout)
{
    for (CLayoutHistory* history : Histories())
        if (&history->m_layout == &layout)
            return *history;
    throw std::logic_error("a layout changed by the editor has no history");
}

QUndoStack& CLayoutHistory::Current()
{
    return m_newPageStack != nullptr ? *m_newPageStack : m_stack;
}

const QUndoStack& CLayoutHistory::Current() const
{
    return m_newPageStack != nullptr ? *m_newPageStack : m_stack;
}

void CLayoutHistory::Push(std::unique_ptr<CLayoutCommand> step)
{
    if (step == nullptr)
        return;
    if (m_group != nullptr)
        m_group->Add(std::move(step));
    else
        Current().push(step.release());
}

void CLayoutHistory::BeginGroup(const QString& text)
{
    if (m_groupDepth++ == 0)
        m_group = std::make_unique<CGroupStep>(text);
}

void CLayoutHistory::EndGroup()
{
    if (m_groupDepth == 0 || --m_groupDepth > 0)
        return;
    std::unique_ptr<CGroupStep> group = std::move(m_group);
    if (group->IsEmpty())
        return;
    if (std::unique_ptr<CLayoutCommand> only = group->TakeOnlyPart())
        Current().push(only.release());
    else
        Current().push(group.release());
}

const CLayoutCommand* CLayoutHistory::StepAt(int index) const
{
    const QUndoStack& stack = Current();
    return index >= 0 && index < stack.count() ? static_cast<const CLayoutCommand*>(stack.command(index))
                                               : nullptr;
}

bool CLayoutHistory::TakesOutOpenPage(const CLayoutCommand* step) const
{
    return step != nullptr && std::any_of(m_open.begin(), m_open.end(),
                                          [step](const TListItem* page) { return step->TakesOut(*page); });
}

bool CLayoutHistory::CanUndo() const
{
    return Current().canUndo() && !TakesOutOpenPage(StepAt(Current().index() - 1));
}

bool CLayoutHistory::CanRedo() const
{
    return Current().canRedo() && !TakesOutOpenPage(StepAt(Current().index()));
}

QString CLayoutHistory::UndoText() const
{
    return Current().undoText();
}

QString CLayoutHistory::RedoText() const
{
    return Current().redoText();
}

void CLayoutHistory::Undo()
{
    if (!CanUndo())
        return;
    const CLayoutCommand* step = StepAt(Current().index() - 1);
    Current().undo();
    emit Applied(step->Scope());
}

void CLayoutHistory::Redo()
{
    if (!CanRedo())
        return;
    const CLayoutCommand* step = StepAt(Current().index());
    Current().redo();
    emit Applied(step->Scope());
}

void CLayoutHistory::Clear()
{
    m_stack.clear();
    if (m_newPageStack != nullptr)
        m_newPageStack->clear();
    m_cleanSerial = 0;
    CheckClean();
    emit Changed();
}

uint64_t CLayoutHistory::TopSerial() const
{
    const int top = m_stack.index() - 1;
    return top >= 0 ? static_cast<const CLayoutCommand*>(m_stack.command(top))->Serial() : 0;
}

void CLayoutHistory::SetClean()
{
    // A save while a new page's dialog is open keeps none of its steps, yet
    // the pictures they added are in the file: the layout then counts as
    // changed, to be safe.
    if (m_newPageStack != nullptr && m_newPageStack->count() > 0)
    {
        SetUnsaved();
        return;
    }
    const int top = m_stack.index() - 1;
    if (top >= 0)
        static_cast<const CLayoutCommand*>(m_stack.command(top))->Seal();
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

CLayoutEdits& CLayoutHistory::Edits()
{
    return *m_edits;
}

void CLayoutHistory::BeginNewPage()
{
    m_newPageStack = std::make_unique<QUndoStack>();
    Follow(*m_newPageStack);
    emit Changed();
}

void CLayoutHistory::EndNewPage()
{
    // What the dialog's steps added to the library stays there, and stays
    // undoable, as steps of the document's own.
    std::vector<std::unique_ptr<CLayoutCommand>> kept;
    for (int i = 0; i < m_newPageStack->index(); ++i)
        if (std::unique_ptr<CLayoutCommand> pictures =
                static_cast<const CLayoutCommand*>(m_newPageStack->command(i))->KeptPictures())
            kept.push_back(std::move(pictures));
    // The dialog's steps go without being undone: a saved page keeps what was
    // done to it, and a dropped one goes as it is.
    m_newPageStack.reset();
    for (std::unique_ptr<CLayoutCommand>& step : kept)
        m_stack.push(step.release());
    CheckClean();
    emit Changed();
}

CLayoutHistory::COpenPage::COpenPage(CLayoutHistory& history, const TListItem& page)
    : m_history(history), m_page(&page)
{
    m_history.m_open.push_back(m_page);
    emit m_history.Changed();
}

CLayoutHistory::COpenPage::~COpenPage()
{
    auto& open = m_history.m_open;
    if (const auto found = std::find(open.begin(), open.end(), m_page); found != open.end())
        open.erase(found);
    emit m_history.Changed();
}

CLayoutHistory::CNewPage::CNewPage(CLayoutHistory& history) : m_history(history)
{
    m_history.BeginNewPage();
}

CLayoutHistory::CNewPage::~CNewPage()
{
    if (!m_ended)
        m_history.EndNewPage();
}

TListItem* CLayoutHistory::CNewPage::Commit(size_t at, std::unique_ptr<TListItem> page)
{
    if (!m_ended)
    {
        m_ended = true;
        m_history.EndNewPage();
    }
    return m_history.Edits().AddPage(at, std::move(page));
}

bool PictureInUse(const TLayout& layout, const CLayoutHistory& history, int32_t id)
{
    const auto uses = [id](const TListItem* item)
    {
        const TUserPage* page = item != nullptr ? PageAs<TUserPage>(*item) : nullptr;
        return page != nullptr && page->UsesPicture(id);
    };
    for (const auto& page : layout.pages)
        if (uses(page.get()))
            return true;
    for (const TListItem* page : history.OpenPages())
        if (uses(page))
            return true;
    return false;
}
