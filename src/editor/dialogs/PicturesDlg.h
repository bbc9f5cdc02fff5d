#pragma once

#include "DialogTemplate.h"

#include <QDialog>
#include <QImage>

#include <cstdint>
#include <string>

class CImageBuffer;
class QLineEdit;
class QTreeWidget;
class TImageEntry;
class TLayout;

// "Pictures": the layout's image library, one row a picture with a
// thumbnail, its name, id and size, the bytes it takes in the layout and the
// pages that show it. Pictures are added (from a file or from text), renamed
// and removed here, each as one step of the layout's history; a picture some
// page shows is not removed, and the built-in pictures are neither renamed
// nor removed.
class CPicturesDlg : public QDialog
{
public:
    enum EControl : int
    {
        kClose = 2,
        kList = 1401,
        kAddImage = 1402,
        kText = 1403,
        kRename = 1404,
        kRemove = 1405,
    };
    enum EColumn : int
    {
        kNameColumn,
        kIdColumn,
        kSizeColumn,
        kBytesColumn,
        kUsesColumn,
    };
    static const TDlgTemplate& Template();
    // The thumbnails' size in pixels.
    static constexpr int kThumbWidth = 48;
    static constexpr int kThumbHeight = 36;

    // The layout must have a history (CLayoutHistory::Of).
    explicit CPicturesDlg(TLayout& layout, QWidget* parent = nullptr);

    // The row of the picture with this id, or -1.
    int RowOf(int32_t id) const;
    // Selects the picture with this id, as a click on its row would.
    void Select(int32_t id);

private:
    void Fill(int32_t selectId);
    void EnableButtons();
    TImageEntry* Current() const;
    void AddImage();
    void AddText();
    void Rename();
    void Remove();

    TLayout& m_layout;
    QTreeWidget* m_list;
};

// The picture shrunk to fit a thumbnail of w x h, centred on a background,
// drawn by the panel's drawing code; the background only without a picture.
QImage PictureThumbnail(CImageBuffer* picture, int w, int h, uint32_t background);
// The bytes an entry takes in a stored layout.
int32_t StoredBytes(TImageEntry& entry);

// "Rename Picture": the one line a picture's new name is typed in.
class CPictureNameDlg : public QDialog
{
public:
    enum EControl : int
    {
        kOk = 1,
        kCancel = 2,
        kName = 1410,
    };
    static const TDlgTemplate& Template();

    CPictureNameDlg(const std::u16string& name, QWidget* parent = nullptr);
    // The name as typed.
    std::u16string Name() const;

private:
    QLineEdit* m_name;
};
