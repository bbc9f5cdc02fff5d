#include "PanelPreview.h"

#include "Btn8Ctrl.h"
#include "CanvasZoom.h"
#include "EightButtonLook.h"
#include "Layout.h"
#include "LayoutImages.h"
#include "PageDraw.h"
#include "PlainText.h"
#include "RasterView.h"
#include "UserPage.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QTime>
#include <QVBoxLayout>

#include <cmath>
#include <functional>

namespace
{

// The screen: the raster view with the left button as a finger, in panel
// pixels.
class CTouchScreen : public CRasterView
{
public:
    using TTouch = std::function<void(int kind, const QPoint& panelPoint)>;
    enum EKind : int
    {
        kPress,
        kMove,
        kRelease,
    };

    explicit CTouchScreen(TTouch touch) : m_touch(std::move(touch)) {}

    QPoint ToPanel(const QPointF& p) const
    {
        const double s = Scale();
        return QPoint(static_cast<int>(std::floor(p.x() / s)), static_cast<int>(std::floor(p.y() / s)));
    }

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton)
            m_touch(kPress, ToPanel(event->position()));
    }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (event->buttons() & Qt::LeftButton)
            m_touch(kMove, ToPanel(event->position()));
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton)
            m_touch(kRelease, ToPanel(event->position()));
    }

private:
    TTouch m_touch;
};

QString Quoted(const std::u16string& text)
{
    return u'"' + QString::fromStdU16String(text) + u'"';
}

// one and many are translations with %1 for the number.
QString Counted(size_t n, const QString& one, const QString& many)
{
    return (n == 1 ? one : many).arg(n);
}

} // namespace

CPanelPreview::CPanelPreview(TLayout& layout, TListItem* start, QWidget* parent)
    : QDialog(parent), m_layout(layout),
      m_unsaved(start != nullptr && layout.pages.IndexOf(start) < 0 ? start : nullptr),
      m_session(layout, start), m_text(std::make_unique<CPlainText>())
{
    setWindowTitle(QCoreApplication::translate("CPanelPreview", "QEL-1 Panel Preview"));
    const auto named = [](QWidget* w, int id)
    {
        w->setObjectName(QString::number(id));
        return w;
    };

    auto* screen = new CTouchScreen(
        [this](int kind, const QPoint& p)
        {
            Touch(kind == CTouchScreen::kPress  ? ETouch::Press
                  : kind == CTouchScreen::kMove ? ETouch::Move
                                                : ETouch::Release,
                  p);
        });
    m_screen = screen;
    named(m_screen, kScreen);
    m_screen->setAccessibleName(QCoreApplication::translate("CPanelPreview", "Panel screen"));
    m_screen->SetRasterSize(QSize(kPageWidth, kPageHeight));
    m_screen->SetScale(CanvasZoom());
    m_screen->setFixedSize(kPageWidth * CanvasZoom(), kPageHeight * CanvasZoom());
    m_screen->SetPainter([this](CRaster& dc) { Paint(dc); });

    m_pageName = static_cast<QLabel*>(named(new QLabel, kPageName));
    m_note = static_cast<QLabel*>(
        named(new QLabel(QCoreApplication::translate(
                  "CPanelPreview", "The panel draws an eight-button page in its own look: only the names "
                                   "and the events are previewed here.")),
              kNote));
    m_note->setWordWrap(true);
    m_note->setMaximumWidth(m_screen->width());

    m_events = static_cast<QListWidget*>(named(new QListWidget, kEvents));
    m_events->setMinimumWidth(300);
    m_events->setSelectionMode(QAbstractItemView::NoSelection);
    // One line an entry: nothing to measure as thousands of them arrive.
    m_events->setUniformItemSizes(true);
    auto* clear = static_cast<QPushButton*>(
        named(new QPushButton(QCoreApplication::translate("CPanelPreview", "Clear")), kClearEvents));
    clear->setAutoDefault(false);
    connect(clear, &QPushButton::clicked, m_events, &QListWidget::clear);

    m_checkTitle = static_cast<QLabel*>(named(new QLabel, kCheckTitle));
    m_findingList = static_cast<QListWidget*>(named(new QListWidget, kFindings));
    m_findingList->setMinimumHeight(7 * fontMetrics().height());
    m_findingList->setIconSize(QSize(16, 16));
    m_findingList->setWordWrap(true);
    m_findingList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(m_findingList, &QListWidget::currentRowChanged, this, &CPanelPreview::ShowFinding);
    connect(m_findingList, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { ShowFinding(m_findingList->row(item)); });

    auto* close = static_cast<QPushButton*>(
        named(new QPushButton(QCoreApplication::translate("CPanelPreview", "Close")), kClose));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto* screenColumn = new QVBoxLayout;
    screenColumn->addWidget(m_screen);
    screenColumn->addWidget(m_pageName);
    screenColumn->addWidget(m_note);
    screenColumn->addStretch(1);
    auto* eventColumn = new QVBoxLayout;
    eventColumn->addWidget(new QLabel(QCoreApplication::translate("CPanelPreview", "Events:")));
    eventColumn->addWidget(m_events, 1);
    eventColumn->addWidget(clear, 0, Qt::AlignRight);
    auto* top = new QHBoxLayout;
    top->addLayout(screenColumn);
    top->addLayout(eventColumn, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* all = new QVBoxLayout(this);
    all->addLayout(top, 1);
    all->addWidget(m_checkTitle);
    all->addWidget(m_findingList);
    all->addLayout(buttons);

    m_findings = CheckLayout(m_layout, m_unsaved);
    FillFindings();
    Refresh();
}

CPanelPreview::~CPanelPreview() = default;

QString CPanelPreview::Describe(const TPanelEvent& event)
{
    switch (event.kind)
    {
    case TPanelEvent::EKind::Down:
        return QCoreApplication::translate("CPanelPreview", "down %1").arg(Quoted(event.text));
    case TPanelEvent::EKind::Up:
        return QCoreApplication::translate("CPanelPreview", "up %1").arg(Quoted(event.text));
    case TPanelEvent::EKind::Press:
        return QCoreApplication::translate("CPanelPreview", "press %1").arg(Quoted(event.text));
    case TPanelEvent::EKind::Level:
        return QCoreApplication::translate("CPanelPreview", "level %1 %2")
            .arg(event.text.empty() ? QCoreApplication::translate("CPanelPreview", "(no control)")
                                    : Quoted(event.text))
            .arg(event.level);
    case TPanelEvent::EKind::Page:
        return QCoreApplication::translate("CPanelPreview", "page %1").arg(Quoted(event.text));
    }
    return {};
}

QStringList CPanelPreview::EventTexts() const
{
    QStringList out;
    for (int i = 0; i < m_events->count(); ++i)
        out << m_events->item(i)->data(Qt::UserRole).toString();
    return out;
}

QPoint CPanelPreview::ToWidget(const QPoint& panelPoint) const
{
    const int s = m_screen->Scale();
    return panelPoint * s + QPoint(s / 2, s / 2);
}

const TUserObject* CPanelPreview::Marked() const
{
    const TUserPage* page = m_session.UserPage();
    if (page == nullptr || page != m_markedPage || m_markedIndex < 0)
        return nullptr;
    return page->ObjectAtIndex(static_cast<size_t>(m_markedIndex));
}

void CPanelPreview::Paint(CRaster& dc)
{
    if (const TUserPage* page = m_session.UserPage())
        PaintPage(*page, LayoutImages(m_layout), dc, m_session.Look(), Marked());
    else if (const CBtn8Ctrl* eight = m_session.EightButtonPage())
        PaintEightButtonPage(*eight, *m_text, dc, m_session.PressedEightButton());
}

void CPanelPreview::Touch(ETouch touch, const QPoint& p)
{
    switch (touch)
    {
    case ETouch::Press:
        m_session.Press(p.x(), p.y());
        break;
    case ETouch::Move:
        m_session.Move(p.x(), p.y());
        break;
    case ETouch::Release:
        m_session.Release();
        break;
    }
    const std::vector<TPanelEvent> events = m_session.TakeEvents();
    if (!events.empty())
    {
        const QString time = QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz"));
        for (const TPanelEvent& event : events)
        {
            const QString text = Describe(event);
            auto* item = new QListWidgetItem(time + QStringLiteral("   ") + text);
            item->setData(Qt::UserRole, text);
            m_events->addItem(item);
        }
        while (m_events->count() > kMaxEvents)
            delete m_events->takeItem(0);
        m_events->scrollToBottom();
    }
    Refresh();
}

void CPanelPreview::Refresh()
{
    m_screen->update();
    const TListItem* page = m_session.Page();
    // Most touches leave the page as it was, and its labels with it.
    if (m_labelsShown && page == m_labelledPage)
        return;
    m_labelsShown = true;
    m_labelledPage = page;
    if (page == nullptr)
    {
        m_pageName->setText(QCoreApplication::translate("CPanelPreview", "The layout has no pages."));
    }
    else
    {
        const int index = m_layout.pages.IndexOf(page);
        m_pageName->setText(index >= 0 ? QCoreApplication::translate("CPanelPreview", "Page %1 of %2: %3")
                                             .arg(index + 1)
                                             .arg(m_layout.pages.Size())
                                             .arg(Quoted(page->name))
                                       : QCoreApplication::translate(
                                             "CPanelPreview", "%1 (not in the layout until it is saved)")
                                             .arg(Quoted(page->name)));
    }
    m_note->setVisible(m_session.EightButtonPage() != nullptr);
}

void CPanelPreview::FillFindings()
{
    size_t errors = 0;
    for (const TCheckFinding& finding : m_findings)
    {
        const bool error = finding.severity == ECheckSeverity::Error;
        errors += error ? 1 : 0;
        auto* item = new QListWidgetItem(
            style()->standardIcon(error ? QStyle::SP_MessageBoxCritical : QStyle::SP_MessageBoxWarning),
            (error ? QCoreApplication::translate("CPanelPreview", "Error: %1")
                   : QCoreApplication::translate("CPanelPreview", "Warning: %1"))
                .arg(QString::fromStdString(DescribeFinding(finding))));
        m_findingList->addItem(item);
    }
    if (m_findings.empty())
    {
        auto* none = new QListWidgetItem(QCoreApplication::translate("CPanelPreview", "Nothing to report."));
        none->setFlags(Qt::NoItemFlags);
        m_findingList->addItem(none);
        m_checkTitle->setText(QCoreApplication::translate("CPanelPreview", "Check: nothing found"));
        return;
    }
    m_checkTitle->setText(QCoreApplication::translate("CPanelPreview", "Check: %1, %2")
                              .arg(Counted(errors, QCoreApplication::translate("CPanelPreview", "%1 error"),
                                           QCoreApplication::translate("CPanelPreview", "%1 errors")))
                              .arg(Counted(m_findings.size() - errors,
                                           QCoreApplication::translate("CPanelPreview", "%1 warning"),
                                           QCoreApplication::translate("CPanelPreview", "%1 warnings"))));
}

const TListItem* CPanelPreview::PageAt(int32_t pageIndex) const
{
    if (pageIndex < 0)
        return nullptr;
    if (static_cast<size_t>(pageIndex) < m_layout.pages.Size())
        return m_layout.pages.At(static_cast<size_t>(pageIndex));
    return static_cast<size_t>(pageIndex) == m_layout.pages.Size() ? m_unsaved : nullptr;
}

void CPanelPreview::ShowFinding(int row)
{
    if (row < 0 || static_cast<size_t>(row) >= m_findings.size())
        return;
    const TCheckFinding& finding = m_findings[static_cast<size_t>(row)];
    const TListItem* page = PageAt(finding.pageIndex);
    m_markedPage = page;
    m_markedIndex = finding.objectIndex;
    if (page != nullptr && page != m_session.Page())
        m_session.ShowPage(page);
    Refresh();
}
