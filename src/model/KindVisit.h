#pragma once

// What VisitObject and VisitPage share: a call site hands one lambda per
// kind, and the compiler holds the set to every kind there is.

#include <concepts>
#include <functional>
#include <optional>
#include <type_traits>
#include <utility>

// Several lambdas as one callable, each taking the kind its parameter names:
//   VisitObject(object, Overloaded{[](const TUserButton&) { ... }, ...});
template <typename... Fs> struct Overloaded : Fs...
{
    using Fs::operator()...;
};
template <typename... Fs> Overloaded(Fs...) -> Overloaded<Fs...>;

namespace kind_visit
{

// U is what a visit of Kind may be taken as: Kind itself, or const Kind
// when Kind is mutable.
template <typename U, typename Kind>
concept HandedOnAs = std::is_same_v<std::remove_const_t<U>, std::remove_const_t<Kind>> &&
    (std::is_const_v<U> || !std::is_const_v<Kind>);

// Converts to a reference to Kind itself and to nothing else; not to a base
// class of Kind, through which one overload could quietly stand in for a
// kind that has none of its own.
template <typename Kind> struct TExactly
{
    template <HandedOnAs<Kind> U> operator U&() const;
};

// No kind at all: an overload that takes it would take any kind.
struct TNoKind
{
};

// f has an overload that takes Kind as itself.
template <typename F, typename Kind>
concept TakesKindItself = std::is_invocable_v<F&, TExactly<Kind>>;

// f has no overload that would take any kind, as a generic lambda would: it
// would also take a kind added later, with no word from the compiler.
template <typename F>
concept NamesEachKind = !std::is_invocable_v<F&, TNoKind>;

// What a visit gives back: the common type of what the overloads return.
template <typename F, typename... Kinds>
using TResultOf = std::common_type_t<std::invoke_result_t<F&, Kinds&>...>;

// Item is Base or one of its kinds, const or not.
template <typename Item, typename Base>
concept InFamily = std::derived_from<std::remove_const_t<Item>, Base>;

// Kind is one of the known kinds of Base: not Base itself, which stands for
// a kind this program does not know.
template <typename Kind, typename Base>
concept KnownKindOf = std::derived_from<Kind, Base> && !std::is_same_v<Kind, Base>;

// Kind as a visit of a const or a mutable object hands it on.
template <bool Const, typename Kind> using TKindRef = std::conditional_t<Const, const Kind, Kind>;

// Makes the one call a visit leads to and keeps what it gives back.
template <typename R> class TOutcome
{
public:
    template <typename F, typename Kind> void Call(F& f, Kind& kind)
    {
        m_value.emplace(std::invoke(f, kind));
    }
    R Take() { return std::move(*m_value); }

private:
    std::optional<R> m_value;
};

template <> class TOutcome<void>
{
public:
    template <typename F, typename Kind> void Call(F& f, Kind& kind) { std::invoke(f, kind); }
    void Take() {}
};

// For the As helpers: the address of a visited Wanted, null for any other kind.
template <typename Wanted> struct TPick
{
    template <typename Kind> Wanted* operator()(Kind& kind) const
    {
        if constexpr (std::is_same_v<std::remove_const_t<Kind>, std::remove_const_t<Wanted>>)
            return &kind;
        else
            return nullptr;
    }
};

} // namespace kind_visit
