#pragma once

// The kinds of page list entry, told apart by visiting. A kind added to the
// program overrides Accept, which compiles once both interfaces below have a
// Visit for it; every visitor and every VisitPage call then fails to compile
// until it says what the new kind does.

#include "Btn8Ctrl.h"
#include "KindVisit.h"
#include "ListItem.h"
#include "UserPage.h"

#include <type_traits>

class IPageVisitor
{
public:
    virtual ~IPageVisitor() = default;

    virtual void Visit(TUserPage& page) = 0;
    virtual void Visit(CBtn8Ctrl& page) = 0;
    // A bare entry, of no kind a layout stores. Not an overload of Visit,
    // where a new kind's Accept, calling Visit(*this), would quietly land
    // while no Visit took the new kind itself.
    virtual void VisitUnknown(TListItem& unknown) = 0;
};

class IConstPageVisitor
{
public:
    virtual ~IConstPageVisitor() = default;

    virtual void Visit(const TUserPage& page) = 0;
    virtual void Visit(const CBtn8Ctrl& page) = 0;
    // A bare entry, of no kind a layout stores.
    virtual void VisitUnknown(const TListItem& unknown) = 0;
};

namespace kind_visit
{

// A visitor that hands the page, as its kind, to f.
template <typename F, typename R, bool Const>
class TPageCall final : public std::conditional_t<Const, IConstPageVisitor, IPageVisitor>
{
public:
    explicit TPageCall(F& f) : m_f(f) {}

    void Visit(std::conditional_t<Const, const TUserPage&, TUserPage&> x) override { m_outcome.Call(m_f, x); }
    void Visit(std::conditional_t<Const, const CBtn8Ctrl&, CBtn8Ctrl&> x) override { m_outcome.Call(m_f, x); }
    void VisitUnknown(std::conditional_t<Const, const TListItem&, TListItem&> x) override
    {
        m_outcome.Call(m_f, x);
    }

    R Take() { return m_outcome.Take(); }

private:
    F& m_f;
    TOutcome<R> m_outcome;
};

template <typename F, bool Const>
concept TakesEachPageKind = NamesEachKind<F> && TakesKindItself<F, TKindRef<Const, TUserPage>> &&
    TakesKindItself<F, TKindRef<Const, CBtn8Ctrl>> && TakesKindItself<F, TKindRef<Const, TListItem>>;

} // namespace kind_visit

// Calls the overload of f for the page's kind and returns what it gives.
// f needs one overload for each kind, taking that kind itself, and none that
// takes anything (see Overloaded in KindVisit.h). A const page is handed on
// as const.
template <typename Page, typename F>
requires kind_visit::InFamily<Page, TListItem> &&
    kind_visit::TakesEachPageKind<std::remove_reference_t<F>, std::is_const_v<Page>>
auto VisitPage(Page& page, F&& f)
{
    using namespace kind_visit;
    constexpr bool kConst = std::is_const_v<Page>;
    using TFunction = std::remove_reference_t<F>;
    using TResult = TResultOf<TFunction, TKindRef<kConst, TUserPage>, TKindRef<kConst, CBtn8Ctrl>,
                              TKindRef<kConst, TListItem>>;
    TPageCall<TFunction, TResult, kConst> call(f);
    page.Accept(call);
    return call.Take();
}

// The page as one known kind, or null when it is of another kind: for code
// that has to do with one kind only.
template <typename Kind, typename Page>
requires kind_visit::KnownKindOf<Kind, TListItem> && kind_visit::InFamily<Page, TListItem>
auto* PageAs(Page& page)
{
    using namespace kind_visit;
    constexpr bool kConst = std::is_const_v<Page>;
    using TWanted = TKindRef<kConst, Kind>;
    TPick<TWanted> pick;
    TPageCall<TPick<TWanted>, TWanted*, kConst> call(pick);
    page.Accept(call);
    return call.Take();
}
