#include "QelUserDlg.h"

#include "CanvasZoom.h"
#include "FileMessages.h"
#include "HistoryShortcuts.h"
#include "Layout.h"
#include "LayoutEdits.h"
#include "PanelPreview.h"
#include "PositionLine.h"
#include "QelWnd.h"
#include "UiServices.h"
#include "UserPage.h"
#include "UserPageFile.h"

#include <QCoreApplication>
#include <QAction>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <set>

namespace
{

// Room inside the frame around the canvas: the template's 3 and 12 pixels at
// the left and top, a little at the right, and the position line below.
constexpr int kFrameLeft = 3;
constexpr int kFrameTop = 12;
constexpr int kFrameRight = 3;
constexpr int kLineGap = 4;
constexpr int kFrameBottom = 4;

} // namespace

const TDlgTemplate& CQelUserDlg::Template()
{
    static const TDlgTemplate tmpl{
        108,
        QT_TRANSLATE_NOOP("Dialog", "QEL-1 User Defined Page"),
        231,
        206,
        {
            {kStaticId, EControlKind::Static, QT_TRANSLATE_NOOP("Dialog", "Page Name:"), 7, 10, 50, 8},
            {kPageName, EControlKind::Edit, {}, 61, 7, 104, 14, kStyleBorder | kStyleAutoHScroll},
            {kTry, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Try"), 171, 7, 50, 14},
            {kCanvasFrame, EControlKind::GroupBox, {}, 7, 24, 217, 156},
            {kImport, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Import"), 7, 185, 50, 14},
            {kExport, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Export"), 63, 185, 50, 14},
            {kCancel, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Cancel"), 119, 185, 50, 14},
            {kSave, EControlKind::DefButton, QT_TRANSLATE_NOOP("Dialog", "Save"), 175, 185, 50, 14},
        },
    };
    return tmpl;
}

const TFileDialogSpec& CQelUserDlg::UserPageFileDialog()
{
    static const TFileDialogSpec spec{
        QCoreApplication::translate("FileDialog", "QEL-1 User Page") + QStringLiteral(" (*.qup)|*.qup|") +
            QCoreApplication::translate("FileDialog", "All Files") + QStringLiteral(" (*.*)|*.*||"),
        QStringLiteral(".qup"),
        {},
    };
    return spec;
}

CQelUserDlg::CQelUserDlg(TLayout& layout, TUserPage& page, QWidget* parent)
    : CQelUserDlg(layout, page, *new CLayoutHistory(layout), parent)
{
    // A child, it outlives the child windows that use it.
    m_history.setParent(this);
}

CQelUserDlg::CQelUserDlg(TLayout& layout, TUserPage& page, CLayoutHistory& history, QWidget* parent)
    : QDialog(parent), m_layout(layout), m_page(page), m_history(history), m_pageName(page.name),
      m_open(history, page)
{
    BuildDialog(this, Template());
    m_baseSize = size();
    m_baseFrame = ControlRect(this, kCanvasFrame);
    for (const int id : {kImport, kExport, kCancel, kSave})
        if (auto* button = DlgItem<QWidget>(this, id))
            m_below.emplace_back(button, button->pos());

    m_canvas = CQelWnd::CreateOver(this, kCanvasFrame, history, page);
    // The canvas lies in a view that scrolls only when the screen cannot
    // hold the page at its zoom.
    m_view = new QScrollArea(this);
    m_view->setFrameShape(QFrame::NoFrame);
    m_view->setFocusPolicy(Qt::NoFocus);
    m_view->setWidget(m_canvas);
    m_view->show();
    m_position = new CPositionLine(*m_canvas, this);
    m_position->setObjectName(QString::number(kPositionLine));
    m_position->show();
    // The canvas takes its place in the tab order after the name.
    QWidget::setTabOrder(DlgItem<QWidget>(this, kPageName), m_canvas);
    QWidget::setTabOrder(m_canvas, DlgItem<QWidget>(this, kImport));

    DlgItem<QLineEdit>(this, kPageName)->setText(QString::fromStdU16String(m_pageName));
    connect(DlgItem<QPushButton>(this, kCancel), &QPushButton::clicked, this, &QDialog::reject);
    connect(DlgItem<QPushButton>(this, kImport), &QPushButton::clicked, this, [this] { OnImport(); });
    connect(DlgItem<QPushButton>(this, kExport), &QPushButton::clicked, this, [this] { OnExport(); });
    connect(DlgItem<QPushButton>(this, kTry), &QPushButton::clicked, this, [this] { OnTry(); });

    AddHistoryShortcuts(*this, history, [this] { return m_canvas->IsDragging(); });
    connect(&history, &CLayoutHistory::Applied, this, &CQelUserDlg::OnApplied);
    AddZoomShortcuts();
    connect(m_canvas, &CQelWnd::ZoomChanged, this, &CQelUserDlg::Relayout);
    m_canvas->SetZoom(CanvasZoom());
    Relayout();
}

void CQelUserDlg::AddZoomShortcuts()
{
    auto* in = new QAction(QCoreApplication::translate("CQelUserDlg", "Zoom In"), this);
    in->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal),
                      QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Plus)});
    auto* out = new QAction(QCoreApplication::translate("CQelUserDlg", "Zoom Out"), this);
    out->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Minus)});
    addAction(in);
    addAction(out);
    connect(in, &QAction::triggered, this, [this] { Zoom(1); });
    connect(out, &QAction::triggered, this, [this] { Zoom(-1); });
}

void CQelUserDlg::Zoom(int by)
{
    if (m_canvas->IsDragging())
        return;
    m_canvas->SetZoom(m_canvas->Zoom() + by);
    SetCanvasZoom(m_canvas->Zoom());
}

void CQelUserDlg::Relayout()
{
    const QSize page = m_canvas->ShownPageSize();
    m_canvas->resize(page);
    const int line = m_position->sizeHint().height();
    // What the dialog needs around the canvas's view.
    const int aroundW = m_baseSize.width() - m_baseFrame.width() + kFrameLeft + kFrameRight;
    const int aroundH =
        m_baseSize.height() - m_baseFrame.height() + kFrameTop + kLineGap + line + kFrameBottom;

    // The view as large as the page, unless the screen cannot hold the
    // dialog then: it shrinks to fit and scrolls, with room for its bars.
    QSize most(page.width() + 1, page.height() + 1);
    if (const QScreen* shown = screen())
    {
        const QSize decoration = isVisible() ? frameGeometry().size() - size() : QSize(16, 48);
        most = shown->availableGeometry().size() - decoration - QSize(aroundW, aroundH);
    }
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    QSize view(std::min(page.width(), most.width()), std::min(page.height(), most.height()));
    if (view.width() < page.width())
        view.setHeight(std::min(page.height() + bar, std::max(most.height(), 1)));
    if (view.height() < page.height())
        view.setWidth(std::min(page.width() + bar, std::max(most.width(), 1)));
    view = view.expandedTo(QSize(1, 1));

    QRect frame = m_baseFrame;
    frame.setWidth(std::max(m_baseFrame.width(), kFrameLeft + view.width() + kFrameRight));
    frame.setHeight(
        std::max(m_baseFrame.height(), kFrameTop + view.height() + kLineGap + line + kFrameBottom));
    const QSize grown = frame.size() - m_baseFrame.size();

    if (auto* box = DlgItem<QWidget>(this, kCanvasFrame))
        box->setGeometry(frame);
    m_view->setGeometry(QRect(frame.topLeft() + QPoint(kFrameLeft, kFrameTop), view));
    m_position->setGeometry(m_view->x(), m_view->geometry().bottom() + 1 + kLineGap,
                            frame.width() - kFrameLeft - kFrameRight, line);
    for (const auto& [widget, at] : m_below)
        widget->move(at + QPoint(0, grown.height()));
    setFixedSize(m_baseSize + grown);

    // A dialog that grew past the screen's edge comes back onto it.
    if (isVisible() && screen() != nullptr)
    {
        const QRect available = screen()->availableGeometry();
        const QRect outer = frameGeometry();
        QPoint to = outer.topLeft();
        to.setX(std::max(available.left(), std::min(to.x(), available.right() + 1 - outer.width())));
        to.setY(std::max(available.top(), std::min(to.y(), available.bottom() + 1 - outer.height())));
        if (to != outer.topLeft())
            move(to);
    }
}

void CQelUserDlg::OnTry()
{
    // The page as the canvas has it; a new page is tried before Save puts it in the list.
    CPanelPreview preview(m_layout, &m_page, this);
    UiServices().ExecDialog(preview);
}

void CQelUserDlg::accept()
{
    m_pageName = DlgItem<QLineEdit>(this, kPageName)->text().toStdU16String();
    m_history.Edits().RenamePage(m_page, m_pageName);
    QDialog::accept();
}

void CQelUserDlg::OnApplied(const TStepScope& scope)
{
    if (scope.page == &m_page && scope.renamed)
        ShowName();
}

void CQelUserDlg::ShowName()
{
    m_pageName = m_page.name;
    DlgItem<QLineEdit>(this, kPageName)->setText(QString::fromStdU16String(m_pageName));
}

void CQelUserDlg::OnExport()
{
    const std::optional<QString> path = UiServices().GetSaveFileName(this, UserPageFileDialog());
    if (!path)
        return;
    // The file carries the page as stored: a name typed but not saved stays out.
    const TFileResult result = ExportUserPage(m_layout, m_page, path->toStdString());
    if (!result)
        ShowFileError(this, result, *path, EFileKind::UserPage);
}

void CQelUserDlg::OnImport()
{
    const std::optional<QString> path = UiServices().GetOpenFileName(this, UserPageFileDialog());
    if (!path)
        return;
    // The file is read over a page of its own, which then trades places with
    // this page's content: the step keeps what the import replaced.
    auto incoming = std::make_unique<TUserPage>();
    std::set<const TImageEntry*> before;
    for (const auto& entry : m_layout.images)
        before.insert(entry.get());
    const TFileResult result = ImportUserPage(m_layout, *incoming, path->toStdString());
    if (!result)
    {
        ShowFileError(this, result, *path, EFileKind::UserPage);
        return;
    }
    incoming->id = ImportedPageId(m_layout.pages, incoming->id, &m_page, m_page.id);
    std::vector<TImageEntry*> added;
    for (const auto& entry : m_layout.images)
        if (!before.contains(entry.get()))
            added.push_back(entry.get());
    m_history.Edits().ImportPage(m_page, std::move(incoming), std::move(added), QFileInfo(*path).fileName());
    // The objects the selection pointed to are gone.
    m_canvas->SetSelected(nullptr);
    ShowName();
    m_canvas->update();
    update();
}
