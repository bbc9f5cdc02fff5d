#include "PicturesDlg.h"

#include "AddImageDlg.h"
#include "DataStore.h"
#include "ImageBuffer.h"
#include "ImageLibrary.h"
#include "Layout.h"
#include "LayoutEdits.h"
#include "LayoutHistory.h"
#include "PictureUse.h"
#include "RasterView.h"
#include "TextDlg.h"
#include "UiServices.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <algorithm>
#include <cmath>

const TDlgTemplate& CPicturesDlg::Template()
{
    static const TDlgTemplate tmpl{
        114,
        QT_TRANSLATE_NOOP("Dialog", "Pictures"),
        400,
        236,
        {
            {kList, EControlKind::Frame, {}, 7, 7, 386, 200, kStyleBorder},
            {kAddImage, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Add Image"), 7, 215, 50, 14},
            {kText, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Text..."), 62, 215, 50, 14},
            {kRename, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Rename"), 127, 215, 50, 14},
            {kRemove, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Remove"), 182, 215, 50, 14},
            {kClose, EControlKind::DefButton, QT_TRANSLATE_NOOP("Dialog", "Close"), 343, 215, 50, 14},
        },
    };
    return tmpl;
}

CPicturesDlg::CPicturesDlg(TLayout& layout, QWidget* parent) : QDialog(parent), m_layout(layout)
{
    BuildDialog(this, Template());
    m_list = new QTreeWidget;
    ReplaceControl(this, kList, m_list);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setIconSize(QSize(kThumbWidth, kThumbHeight));
    m_list->setHeaderLabels({QCoreApplication::translate("CPicturesDlg", "Picture"),
                             QCoreApplication::translate("CPicturesDlg", "Id"),
                             QCoreApplication::translate("CPicturesDlg", "Size"),
                             QCoreApplication::translate("CPicturesDlg", "Bytes"),
                             QCoreApplication::translate("CPicturesDlg", "Used by")});
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);

    connect(m_list, &QTreeWidget::currentItemChanged, this, [this] { EnableButtons(); });
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this] { Rename(); });
    const std::pair<int, void (CPicturesDlg::*)()> buttons[] = {
        {kAddImage, &CPicturesDlg::AddImage},
        {kText, &CPicturesDlg::AddText},
        {kRename, &CPicturesDlg::Rename},
        {kRemove, &CPicturesDlg::Remove},
    };
    for (const auto& [id, handler] : buttons)
        connect(DlgItem<QPushButton>(this, id), &QPushButton::clicked, this, handler);
    // An undo or redo while the list is open (Ctrl+Z here or in another
    // window) may add, rename or take away pictures.
    connect(&CLayoutHistory::Of(m_layout), &CLayoutHistory::Applied, this,
            [this]
            {
                const QTreeWidgetItem* item = m_list->currentItem();
                Fill(item != nullptr ? item->data(kNameColumn, Qt::UserRole).toInt() : -1);
            });
    Fill(-1);
}

int CPicturesDlg::RowOf(int32_t id) const
{
    for (int row = 0; row < m_list->topLevelItemCount(); ++row)
        if (m_list->topLevelItem(row)->data(kNameColumn, Qt::UserRole).toInt() == id)
            return row;
    return -1;
}

void CPicturesDlg::Select(int32_t id)
{
    const int row = RowOf(id);
    m_list->setCurrentItem(row >= 0 ? m_list->topLevelItem(row) : nullptr);
}

void CPicturesDlg::Fill(int32_t selectId)
{
    m_list->clear();
    const uint32_t base = WindowColour(this);
    for (const auto& entry : m_layout.images)
    {
        auto* item = new QTreeWidgetItem;
        item->setData(kNameColumn, Qt::UserRole, entry->id);
        item->setText(kNameColumn, QString::fromStdU16String(entry->name));
        item->setIcon(kNameColumn, QIcon(QPixmap::fromImage(PictureThumbnail(entry->image.get(), kThumbWidth,
                                                                             kThumbHeight, base))));
        item->setText(kIdColumn, QString::number(entry->id));
        item->setText(
            kSizeColumn,
            entry->image
                ? QStringLiteral("%1 \u00D7 %2").arg(entry->image->GetWidth()).arg(entry->image->GetHeight())
                : QCoreApplication::translate("CPicturesDlg", "no picture"));
        item->setText(kBytesColumn, QString::number(StoredBytes(*entry)));
        item->setTextAlignment(kIdColumn, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(kBytesColumn, Qt::AlignRight | Qt::AlignVCenter);
        QStringList uses;
        for (const TPictureUse& use : FindPictureUses(m_layout, entry->id))
            uses << QString::fromStdString(DescribePictureUse(use));
        item->setText(kUsesColumn, uses.isEmpty() ? QCoreApplication::translate("CPicturesDlg", "not used")
                                                  : uses.join(QStringLiteral("; ")));
        item->setToolTip(kUsesColumn, uses.join(u'\n'));
        m_list->addTopLevelItem(item);
    }
    for (const int column : {kIdColumn, kSizeColumn, kBytesColumn})
        m_list->resizeColumnToContents(column);
    m_list->setColumnWidth(kNameColumn, std::max(m_list->columnWidth(kNameColumn), kThumbWidth + 120));
    Select(selectId);
    EnableButtons();
}

TImageEntry* CPicturesDlg::Current() const
{
    const QTreeWidgetItem* item = m_list->currentItem();
    return item != nullptr ? m_layout.images.FindImage(item->data(kNameColumn, Qt::UserRole).toInt())
                           : nullptr;
}

void CPicturesDlg::EnableButtons()
{
    // The built-in pictures belong to the panel: they keep their names and stay.
    const TImageEntry* entry = Current();
    const bool added = entry != nullptr && entry->IsAdded();
    DlgItem<QWidget>(this, kRename)->setEnabled(added);
    DlgItem<QWidget>(this, kRemove)->setEnabled(added);
}

void CPicturesDlg::AddImage()
{
    if (const TImageEntry* entry = RunAddImage(this, m_layout))
        Fill(entry->id);
}

void CPicturesDlg::AddText()
{
    CTextDlg dlg(TLabel{}, this);
    if (UiServices().ExecDialog(dlg) != QDialog::Accepted)
        return;
    std::unique_ptr<CImageBuffer> picture = dlg.TakePicture();
    if (!picture)
        return;
    TImageEntry* entry = m_layout.images.AddImage(LabelDescription(dlg.Label()), std::move(picture));
    CLayoutHistory::Of(m_layout).Edits().PicturesAdded(
        {entry}, QCoreApplication::translate("CPicturesDlg", "Add Label"));
    Fill(entry->id);
}

void CPicturesDlg::Rename()
{
    TImageEntry* entry = Current();
    if (entry == nullptr || !entry->IsAdded())
        return;
    CPictureNameDlg dlg(entry->name, this);
    if (UiServices().ExecDialog(dlg) != QDialog::Accepted)
        return;
    const std::u16string name = dlg.Name();
    if (name.empty())
        return;
    CLayoutHistory::Of(m_layout).Edits().RenamePicture(*entry, name);
    Fill(entry->id);
}

void CPicturesDlg::Remove()
{
    TImageEntry* entry = Current();
    if (entry == nullptr || !entry->IsAdded())
        return;
    const int32_t id = entry->id;
    const std::string inUse = DescribePictureInUse(id, FindPictureUses(m_layout, id));
    if (!inUse.empty())
    {
        UiServices().MessageBox(this, QString::fromStdString(inUse),
                                QCoreApplication::translate("CPicturesDlg", "Remove Picture"),
                                EMsgButtons::Ok, EMsgIcon::Information);
        return;
    }
    // The row below takes the selection, or the one above at the end.
    const int row = RowOf(id);
    CLayoutHistory::Of(m_layout).Edits().RemovePicture(*entry);
    const int next = std::min(row, m_list->topLevelItemCount() - 2);
    const QTreeWidgetItem* item = next >= 0 ? m_list->topLevelItem(next == row ? row + 1 : next) : nullptr;
    Fill(item != nullptr ? item->data(kNameColumn, Qt::UserRole).toInt() : -1);
}

QImage PictureThumbnail(CImageBuffer* picture, int w, int h, uint32_t background)
{
    CRaster raster(w, h);
    raster.FillRect(TRect{0, 0, w, h}, background);
    if (picture != nullptr && picture->HasPixels())
    {
        const int pw = static_cast<int>(picture->GetWidth());
        const int ph = static_cast<int>(picture->GetHeight());
        // Shrunk, never enlarged; the sides keep their proportion.
        const double scale = std::min({1.0, double(w) / pw, double(h) / ph});
        const int tw = std::max(1, static_cast<int>(std::lround(pw * scale)));
        const int th = std::max(1, static_cast<int>(std::lround(ph * scale)));
        CImageBuffer small;
        if (tw == pw && th == ph)
            small = *picture;
        else
            picture->Resample(tw, th, 2, &small);
        small.Draw(&raster, (w - tw) / 2, (h - th) / 2);
    }
    return RasterToImage(raster);
}

int32_t StoredBytes(TImageEntry& entry)
{
    CDataStore store;
    entry.Serialize(store);
    return store.GetLength();
}

const TDlgTemplate& CPictureNameDlg::Template()
{
    static const TDlgTemplate tmpl{
        115,
        QT_TRANSLATE_NOOP("Dialog", "Rename Picture"),
        200,
        50,
        {
            {kStaticId, EControlKind::Static, QT_TRANSLATE_NOOP("Dialog", "Name:"), 7, 10, 25, 8},
            {kName, EControlKind::Edit, {}, 35, 8, 158, 14, kStyleBorder | kStyleAutoHScroll},
            {kCancel, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Cancel"), 88, 30, 50, 14},
            {kOk, EControlKind::DefButton, QT_TRANSLATE_NOOP("Dialog", "OK"), 143, 30, 50, 14},
        },
    };
    return tmpl;
}

CPictureNameDlg::CPictureNameDlg(const std::u16string& name, QWidget* parent) : QDialog(parent)
{
    BuildDialog(this, Template());
    m_name = DlgItem<QLineEdit>(this, kName);
    m_name->setText(QString::fromStdU16String(name));
    m_name->selectAll();
}

std::u16string CPictureNameDlg::Name() const
{
    return m_name->text().trimmed().toStdU16String();
}
