#include "PageCommands.h"

#include "ImageEntry.h"
#include "ObjectKind.h"
#include "LayoutEdits.h"
#include "UserPage.h"

#include <QCoreApplication>

#include <utility>

namespace
{

QString Kind(const TUserPage& page, size_t index)
{
    const TUserObject* object = page.ObjectAtIndex(index);
    return object != nullptr ? ObjectKindName(*object) : QCoreApplication::translate("ObjectKind", "Object");
}

} // namespace

CObjectCommand::CObjectCommand(const QString& text, TUserPage& page, size_t index, bool done)
    : CLayoutCommand(text, done), m_page(page), m_index(index)
{
}

TStepScope CObjectCommand::Scope() const
{
    TStepScope scope;
    scope.page = &m_page;
    scope.select = Shown();
    return scope;
}

bool CObjectCommand::IsAbout(const TListItem& page) const
{
    return &page == &m_page;
}

CAddObjectCommand::CAddObjectCommand(TUserPage& page, size_t index, std::unique_ptr<TUserObject> object)
    : CObjectCommand(QCoreApplication::translate("CLayoutHistory", "Add %1").arg(ObjectKindName(*object)),
                     page, index),
      m_object(std::move(object))
{
}

void CAddObjectCommand::Do()
{
    m_page.InsertObject(m_index, std::move(m_object));
}

void CAddObjectCommand::Undo()
{
    m_object = m_page.TakeObject(m_index);
}

int CAddObjectCommand::Shown() const
{
    return IsDone() ? static_cast<int>(m_index) : -1;
}

CDeleteObjectCommand::CDeleteObjectCommand(TUserPage& page, size_t index)
    : CObjectCommand(QCoreApplication::translate("CLayoutHistory", "Delete %1").arg(Kind(page, index)), page,
                     index)
{
}

void CDeleteObjectCommand::Do()
{
    m_object = m_page.TakeObject(m_index);
}

void CDeleteObjectCommand::Undo()
{
    if (m_object != nullptr)
        m_page.InsertObject(m_index, std::move(m_object));
}

int CDeleteObjectCommand::Shown() const
{
    return IsDone() ? -1 : static_cast<int>(m_index);
}

CMoveObjectCommand::CMoveObjectCommand(TUserPage& page, size_t index, const TObjectRect& before,
                                       const TObjectRect& after, bool resized, EKind kind)
    : CObjectCommand((resized ? QCoreApplication::translate("CLayoutHistory", "Resize %1")
                              : QCoreApplication::translate("CLayoutHistory", "Move %1"))
                         .arg(Kind(page, index)),
                     page, index, kind == EKind::Drag),
      m_before(before), m_after(after), m_kind(kind)
{
}

void CMoveObjectCommand::Do()
{
    if (TUserObject* object = m_page.ObjectAtIndex(m_index))
        object->SetRect(m_after);
}

void CMoveObjectCommand::Undo()
{
    if (TUserObject* object = m_page.ObjectAtIndex(m_index))
        object->SetRect(m_before);
}

bool CMoveObjectCommand::Continues(const CLayoutCommand& next) const
{
    const auto* move = dynamic_cast<const CMoveObjectCommand*>(&next);
    return move != nullptr && m_kind == EKind::Key && move->m_kind == EKind::Key && &move->m_page == &m_page &&
           move->m_index == m_index;
}

bool CMoveObjectCommand::Absorb(const CLayoutCommand& next)
{
    if (!Continues(next))
        return false;
    m_after = static_cast<const CMoveObjectCommand&>(next).m_after;
    // Keys that took the object back where the run began leave no step.
    if (m_after == m_before)
        setObsolete(true);
    return true;
}

CRestackCommand::CRestackCommand(TUserPage& page, size_t from, size_t to)
    : CObjectCommand((to < from ? QCoreApplication::translate("CLayoutHistory", "Push %1")
                                : QCoreApplication::translate("CLayoutHistory", "Pull %1"))
                         .arg(Kind(page, from)),
                     page, from),
      m_to(to)
{
}

void CRestackCommand::Do()
{
    m_page.MoveObject(m_index, m_to);
}

void CRestackCommand::Undo()
{
    m_page.MoveObject(m_to, m_index);
}

int CRestackCommand::Shown() const
{
    return static_cast<int>(IsDone() ? m_to : m_index);
}

CImportPageCommand::CImportPageCommand(TLayout& layout, const CLayoutHistory& history, TUserPage& page,
                                       std::unique_ptr<TUserPage> incoming, std::vector<TImageEntry*> entries,
                                       const QString& fileName)
    : CLayoutCommand(QCoreApplication::translate("CLayoutHistory", "Import %1").arg(fileName)),
      m_layout(layout), m_history(history), m_page(page), m_other(std::move(incoming)),
      m_pictures(layout, history, std::move(entries))
{
}

TStepScope CImportPageCommand::Scope() const
{
    TStepScope scope;
    scope.page = &m_page;
    scope.select = -1;
    scope.renamed = true;
    return scope;
}

bool CImportPageCommand::IsAbout(const TListItem& page) const
{
    return &page == &m_page;
}

std::unique_ptr<CLayoutCommand> CImportPageCommand::KeptPictures() const
{
    if (m_pictures.Entries().empty())
        return nullptr;
    return std::make_unique<CAddPicturesCommand>(m_layout, m_history, m_pictures.Entries(), text());
}

void CImportPageCommand::Do()
{
    m_pictures.PutBack();
    m_page.ExchangeContent(*m_other);
}

void CImportPageCommand::Undo()
{
    // The page lets go of the pictures first, so that they can leave.
    m_page.ExchangeContent(*m_other);
    m_pictures.TakeBack();
}

