#pragma once

#include "LayoutCommand.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class TImageEntry;
class TLayout;
class TListItem;

// Steps on the document's page list, each naming the page it moves so that
// the programming dialog can select it afterwards.

// "Add Page": a new page at a place in the list.
class CAddPageCommand : public CLayoutCommand
{
public:
    CAddPageCommand(TLayout& layout, size_t index, std::unique_ptr<TListItem> page, const QString& name);

    TStepScope Scope() const override;
    bool TakesOut(const TListItem& page) const override;
    TListItem* Page() const { return m_raw; }

protected:
    void Do() override;
    void Undo() override;

private:
    TLayout& m_layout;
    size_t m_index;
    TListItem* m_raw;
    std::unique_ptr<TListItem> m_page; // while undone
};

// "Remove Page": the page is kept until the step itself goes.
class CRemovePageCommand : public CLayoutCommand
{
public:
    CRemovePageCommand(TLayout& layout, TListItem& page);

    TStepScope Scope() const override;
    bool TakesOut(const TListItem& page) const override;

protected:
    void Do() override;
    void Undo() override;

private:
    TLayout& m_layout;
    TListItem* m_raw;
    size_t m_index = 0;
    std::unique_ptr<TListItem> m_page; // while done
};

// "Move Page Up" or "Move Page Down": the page trades places with its
// neighbour.
class CMovePageCommand : public CLayoutCommand
{
public:
    CMovePageCommand(TLayout& layout, TListItem& page, bool up);

    TStepScope Scope() const override;

protected:
    void Do() override;
    void Undo() override;

private:
    void Exchange(bool up);

    TLayout& m_layout;
    TListItem* m_page;
    bool m_up;
};

// "Clear All": every page and picture leaves the document, which takes the
// built-in pictures again; undone, the document has back exactly what it had.
class CClearAllCommand : public CLayoutCommand
{
public:
    explicit CClearAllCommand(TLayout& layout);
    ~CClearAllCommand() override;

    bool TakesOut(const TListItem& page) const override;

protected:
    void Do() override;
    void Undo() override;

private:
    TLayout& m_layout;
    std::vector<std::unique_ptr<TListItem>> m_pages;      // the document's, while done
    std::vector<std::unique_ptr<TImageEntry>> m_images;   // the document's, while done
    std::vector<std::unique_ptr<TImageEntry>> m_builtins; // the ones put in, while undone
};

