#include "ShotScenes.h"

#include "ButtonAddDlg.h"
#include "ColorButton.h"
#include "HotspotDlg.h"
#include "ImageBuffer.h"
#include "QelFaceDlg.h"
#include "UserPage.h"

#include <QBuffer>
#include <QCursor>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWidget>

namespace
{

// A small picture of the kind an installer adds: a logo on a dusk sky.
std::unique_ptr<CImageBuffer> SamplePicture()
{
    QImage image(200, 120, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, 120);
    sky.setColorAt(0, QColor(20, 40, 110));
    sky.setColorAt(1, QColor(240, 150, 70));
    painter.fillRect(image.rect(), sky);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(255, 220, 120));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(150, 78), 26, 26);
    painter.fillRect(QRect(0, 92, 200, 28), QColor(30, 30, 40));
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setPixelSize(30);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(12, 20, 180, 40), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Lobby"));
    painter.end();

    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    auto picture = std::make_unique<CImageBuffer>();
    picture->Decode(reinterpret_cast<const uint8_t*>(png.constData()), static_cast<size_t>(png.size()),
                    kFormatPng);
    return picture;
}

TUserFace Face(int32_t type, int32_t param, uint32_t colour1 = 0, uint32_t colour2 = 0)
{
    TUserFace face;
    face.type = type;
    face.param = param;
    face.colour1 = colour1;
    face.colour2 = colour2;
    return face;
}

} // namespace

CShotStage::CShotStage() : m_use(std::make_unique<CUiServicesOverride>(ui))
{
    for (const char16_t* name : {u"Lobby", u"Bar", u"Kitchen", u"Terrace", u"Conference Room"})
        layout.pages.InsertPage(std::make_unique<TUserPage>(name, layout.pages.NextPageId()));
    layout.images.AddImage(u"Lobby logo", SamplePicture());
}

CShotStage::~CShotStage()
{
    windows.clear();
}

QWidget* CShotStage::Show(std::unique_ptr<QWidget> window)
{
    QWidget* w = window.get();
    windows.push_back(std::move(window));
    w->show();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    w->move(screen.center() - w->rect().center());
    return w;
}

const std::vector<TShotScene>& ShotScenes()
{
    static const std::vector<TShotScene> scenes{
        {"hotspot",
         [](CShotStage& stage) -> QWidget*
         { return stage.Show(std::make_unique<CHotspotDlg>(&stage.layout, 10002, 10000)); }},
        {"button",
         [](CShotStage& stage) -> QWidget*
         {
             TButtonProps props;
             props.upFace = Face(kFaceButton, CQelFaceDlg::kRoundedCorners);
             props.downFace = Face(kFaceColour, kColourTopToBottom, 0x503010, 0xE0B070);
             props.downText = QStringLiteral("%zone 2 volume up");
             props.upText = QStringLiteral("%zone 2 volume stop");
             return stage.Show(std::make_unique<CButtonAddDlg>(&stage.layout, props));
         }},
        {"face",
         [](CShotStage& stage) -> QWidget*
         {
             const int32_t logo = stage.layout.images.Head()->id;
             return stage.Show(std::make_unique<CQelFaceDlg>(&stage.layout, Face(kFaceImage, logo)));
         }},
        {"face-colour-popup",
         [](CShotStage& stage) -> QWidget*
         {
             QWidget* dlg = stage.Show(std::make_unique<CQelFaceDlg>(
                 &stage.layout, Face(kFaceColour, kColourLeftToRight, 0x6E2814, 0xF0D2A0)));
             // The pointer away from where the palette opens, which then
             // follows one pointed at "Gold".
             QCursor::setPos(dlg->screen()->geometry().bottomRight());
             auto* button = DlgItem<CColorButton>(dlg, CQelFaceDlg::kColour1);
             button->click();
             CColourPalettePopup* popup = button->Popup();
             const QPoint pos = popup->CellRect(25).center();
             QMouseEvent move(QEvent::MouseMove, pos, popup->mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                              Qt::NoModifier);
             QCoreApplication::sendEvent(popup, &move);
             return dlg;
         }},
    };
    return scenes;
}
