#pragma once

// The kinds of object on a user page, told apart by visiting. A kind added to
// the program overrides Accept, which compiles once both interfaces below have
// a Visit for it; every visitor and every VisitObject call then fails to
// compile until it says what the new kind does.

#include "KindVisit.h"
#include "UserButton.h"
#include "UserHotspot.h"
#include "UserImage.h"
#include "UserLevel.h"
#include "UserObject.h"

#include <type_traits>

class IObjectVisitor
{
public:
    virtual ~IObjectVisitor() = default;

    virtual void Visit(TUserButton& button) = 0;
    virtual void Visit(TUserLevel& slider) = 0;
    virtual void Visit(TUserImage& image) = 0;
    virtual void Visit(TUserHotspot& hotspot) = 0;
    // A stored object of a type this program does not know. Not an overload
    // of Visit, where a new kind's Accept, calling Visit(*this), would quietly
    // land while no Visit took the new kind itself.
    virtual void VisitUnknown(TUserObject& unknown) = 0;
};

class IConstObjectVisitor
{
public:
    virtual ~IConstObjectVisitor() = default;

    virtual void Visit(const TUserButton& button) = 0;
    virtual void Visit(const TUserLevel& slider) = 0;
    virtual void Visit(const TUserImage& image) = 0;
    virtual void Visit(const TUserHotspot& hotspot) = 0;
    // A stored object of a type this program does not know.
    virtual void VisitUnknown(const TUserObject& unknown) = 0;
};

namespace kind_visit
{

// A visitor that hands the object, as its kind, to f.
template <typename F, typename R, bool Const>
class TObjectCall final : public std::conditional_t<Const, IConstObjectVisitor, IObjectVisitor>
{
public:
    explicit TObjectCall(F& f) : m_f(f) {}

    void Visit(std::conditional_t<Const, const TUserButton&, TUserButton&> x) override
    {
        m_outcome.Call(m_f, x);
    }
    void Visit(std::conditional_t<Const, const TUserLevel&, TUserLevel&> x) override
    {
        m_outcome.Call(m_f, x);
    }
    void Visit(std::conditional_t<Const, const TUserImage&, TUserImage&> x) override
    {
        m_outcome.Call(m_f, x);
    }
    void Visit(std::conditional_t<Const, const TUserHotspot&, TUserHotspot&> x) override
    {
        m_outcome.Call(m_f, x);
    }
    void VisitUnknown(std::conditional_t<Const, const TUserObject&, TUserObject&> x) override
    {
        m_outcome.Call(m_f, x);
    }

    R Take() { return m_outcome.Take(); }

private:
    F& m_f;
    TOutcome<R> m_outcome;
};

template <typename F, bool Const>
concept TakesEachObjectKind = NamesEachKind<F> && TakesKindItself<F, TKindRef<Const, TUserButton>> &&
    TakesKindItself<F, TKindRef<Const, TUserLevel>> && TakesKindItself<F, TKindRef<Const, TUserImage>> &&
    TakesKindItself<F, TKindRef<Const, TUserHotspot>> && TakesKindItself<F, TKindRef<Const, TUserObject>>;

} // namespace kind_visit

// Calls the overload of f for the object's kind and returns what it gives.
// f needs one overload for each kind, taking that kind itself, and none that
// takes anything (see Overloaded in KindVisit.h). A const object is handed
// on as const.
template <typename Object, typename F>
requires kind_visit::InFamily<Object, TUserObject> &&
    kind_visit::TakesEachObjectKind<std::remove_reference_t<F>, std::is_const_v<Object>>
auto VisitObject(Object& object, F&& f)
{
    using namespace kind_visit;
    constexpr bool kConst = std::is_const_v<Object>;
    using TFunction = std::remove_reference_t<F>;
    using TResult = TResultOf<TFunction, TKindRef<kConst, TUserButton>, TKindRef<kConst, TUserLevel>,
                              TKindRef<kConst, TUserImage>, TKindRef<kConst, TUserHotspot>,
                              TKindRef<kConst, TUserObject>>;
    TObjectCall<TFunction, TResult, kConst> call(f);
    object.Accept(call);
    return call.Take();
}

// The object as one known kind, or null when it is of another kind: for code
// that has to do with one kind only.
template <typename Kind, typename Object>
requires kind_visit::KnownKindOf<Kind, TUserObject> && kind_visit::InFamily<Object, TUserObject>
auto* ObjectAs(Object& object)
{
    using namespace kind_visit;
    constexpr bool kConst = std::is_const_v<Object>;
    using TWanted = TKindRef<kConst, Kind>;
    TPick<TWanted> pick;
    TObjectCall<TPick<TWanted>, TWanted*, kConst> call(pick);
    object.Accept(call);
    return call.Take();
}
