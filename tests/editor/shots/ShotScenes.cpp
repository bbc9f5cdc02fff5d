#include "ShotScenes.h"

#include "AddImageDlg.h"
#include "Btn8Ctrl.h"
#include "Btn8Dlg.h"
#include "ButtonAddDlg.h"
#include "CanvasZoom.h"
#include "ColorButton.h"
#include "EventDef.h"
#include "Faces.h"
#include "HotspotDlg.h"
#include "ImageBuffer.h"
#include "LabelPicture.h"
#include "PanelPreview.h"
#include "PictureFiles.h"
#include "PicturesDlg.h"
#include "QelFaceDlg.h"
#include "QelUserDlg.h"
#include "QelWnd.h"
#include "RasterView.h"
#include "SliderPropDlg.h"
#include "TextDlg.h"
#include "UserButton.h"
#include "UserHotspot.h"
#include "UserImage.h"
#include "UserLevel.h"
#include "UserPage.h"

#include <QCursor>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QLinearGradient>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QWidget>

#include <algorithm>
#include <array>
#include <cmath>

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

    return std::make_unique<CImageBuffer>(MakePicture(image.width(), image.height(),
                                                      [&](int32_t x, int32_t y)
                                                      {
                                                          const QRgb c = image.pixel(x, y);
                                                          return TPixel{static_cast<uint8_t>(qRed(c)),
                                                                        static_cast<uint8_t>(qGreen(c)),
                                                                        static_cast<uint8_t>(qBlue(c))};
                                                      }));
}

// An 800 x 600 landscape at dusk, with the smooth gradients and fine grain of
// a photograph: sky, sun, two mountain ranges and a lake that mirrors them.
CImageBuffer Landscape()
{
    constexpr int32_t kW = 800;
    constexpr int32_t kH = 600;
    constexpr double kHorizon = 400;
    const auto ridge = [](double x, double a, double b, double c)
    { return a + 38 * std::sin(x / b) + 17 * std::sin(x / c + 1.3) + 6 * std::sin(x / 9.0); };
    const auto scene = [&](double x, double y) -> std::array<double, 3>
    {
        const double far = ridge(x, 300, 97.0, 41.0);
        const double near = ridge(x + 400, 350, 131.0, 57.0);
        if (y >= near)
            return {34 - (y - near) * 0.1, 44 - (y - near) * 0.1, 52};
        if (y >= far)
            return {70 + (y - far) * 0.3, 74 + (y - far) * 0.2, 105};
        const double t = y / kHorizon;
        std::array<double, 3> sky{30 + 225 * t * t, 40 + 120 * t * t, 110 - 30 * t};
        const double sun = std::hypot(x - 520, y - 250);
        const double glow = std::exp(-sun / 90.0);
        for (double& c : sky)
            c += 140 * glow;
        if (sun < 34)
            sky = {255, 240, 200};
        return sky;
    };
    return MakePicture(kW, kH,
                       [&](int32_t px, int32_t py)
                       {
                           double x = px;
                           double y = py;
                           double shade = 1.0;
                           if (y >= kHorizon)
                           {
                               // The lake: the scene mirrored, rippled and darker.
                               x += 4 * std::sin(y / 3.0) * (y - kHorizon) / 200;
                               y = 2 * kHorizon - y;
                               shade = 0.55;
                           }
                           const std::array<double, 3> c = scene(x, y);
                           const uint32_t hash = (static_cast<uint32_t>(px) * 73856093u) ^
                                                 (static_cast<uint32_t>(py) * 19349663u);
                           const double grain = static_cast<double>((hash >> 7) % 13) - 6;
                           const auto channel = [&](double v)
                           { return static_cast<uint8_t>(std::clamp(v * shade + grain, 0.0, 255.0)); };
                           return TPixel{channel(c[0]), channel(c[1]), channel(c[2])};
                       });
}

} // namespace

CShotStage::CShotStage() : m_use(std::make_unique<CUiServicesOverride>(ui))
{
    for (const char16_t* name : {u"Lobby", u"Bar", u"Kitchen", u"Terrace", u"Conference Room"})
        layout.pages.InsertPage(std::make_unique<TUserPage>(name, layout.pages.NextPageId()));
    layout.images.AddImage(u"Lobby logo", SamplePicture());
    const char16_t* const events[][2] = {
        {u"Lights up", u"LIGHTS 100"},      {u"Lights down", u"LIGHTS 20"},   {u"Blinds open", u"BLINDS OPEN"},
        {u"Blinds closed", u"BLINDS CLOSE"}, {u"Music on", u"ZONE1 SOURCE 2"}, {u"Music off", u"ZONE1 OFF"},
        {u"Projector on", u"PROJ POWER 1"},  {u"Projector off", u"PROJ POWER 0"},
    };
    for (size_t i = 0; i < std::size(events); ++i)
    {
        layout.eventDescriptions[i] = MakeTextField(events[i][0]);
        layout.eventTexts[i] = MakeTextField(events[i][1]);
    }
}

CShotStage::~CShotStage()
{
    windows.clear();
}

QWidget* CShotStage::Show(std::unique_ptr<QWidget> window)
{
    QWidget* w = window.get();
    windows.push_back(std::move(window));
    // Placed before it is mapped, so that no earlier place leaves its
    // picture on the screen around it.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    w->move(screen.center() - w->rect().center());
    w->show();
    return w;
}

namespace
{

QWidget* ShowEightButtons(CShotStage& stage, bool warning)
{
    auto page = std::make_unique<CBtn8Ctrl>(u"8 Button");
    const char16_t* const buttons[][2] = {
        {u"Lights", u"LIGHTS TOGGLE"}, {u"Blinds", u"BLINDS TOGGLE"}, {u"Music", u"ZONE1 SOURCE 2"},
        {u"Volume +", u"ZONE1 VOL UP"}, {u"Volume -", u"ZONE1 VOL DOWN"}, {u"Mute", u"ZONE1 MUTE"},
    };
    for (size_t i = 0; i < std::size(buttons); ++i)
    {
        page->names[i] = MakeTextField(buttons[i][0]);
        page->texts[i] = MakeTextField(buttons[i][1]);
    }
    CBtn8Ctrl* entry = page.get();
    stage.layout.pages.InsertPage(std::move(page));
    auto* dlg = stage.Show(std::make_unique<CBtn8Dlg>(entry));
    if (warning)
        DlgItem<QLineEdit>(dlg, CBtn8Dlg::NameId(7))->setText(QStringLiteral("Caf\u00E9 \u2615"));
    return dlg;
}

// The sample layout designed for trying: the Lobby with a toggle, a selection
// group of three sources, a momentary button, a slider for "Speaker A" and a
// hot spot to the Bar; the Bar with a picture and "Return to Previous"; the
// Kitchen with a hot spot to a page that is gone and a button that never
// looks pressed. Returns the Lobby.
TUserPage& FurnishForTrying(CShotStage& stage)
{
    TLayout& layout = stage.layout;
    while (layout.pages.Size() > 3)
        layout.pages.DeletePage(layout.pages.Tail());
    auto& lobby = static_cast<TUserPage&>(*layout.pages.At(0));
    auto& bar = static_cast<TUserPage&>(*layout.pages.At(1));
    auto& kitchen = static_cast<TUserPage&>(*layout.pages.At(2));
    layout.defaultPage = lobby.id;
    lobby.face = Face(kFaceColour, kColourTopToBottom, 0x402010, 0x100804);
    bar.face = Face(kFaceColour, kColourRadial, 0x201008, 0x804020);
    kitchen.face = Face(kFaceColour, kColourSingle, 0x303030);

    const auto button = [](TUserPage& page, TObjectRect rect, TUserFace up, TUserFace down,
                           const char16_t* downText, const char16_t* upText) -> TUserButton&
    {
        auto b = std::make_unique<TUserButton>();
        b->SetRect(rect);
        b->upFace = up;
        b->downFace = down;
        b->downText = MakeTextField(downText);
        b->upText = MakeTextField(upText);
        return static_cast<TUserButton&>(*page.AppendObject(std::move(b)));
    };
    const TUserFace amber = Face(kFaceColour, kColourTopToBottom, 0x40C0FF, 0x0060C0);
    const TUserFace green = Face(kFaceColour, kColourTopToBottom, 0x80F080, 0x208020);
    button(lobby, {15, 15, 95, 45}, Face(kFaceButton, 4), amber, u"LIGHTS ON", u"LIGHTS OFF").toggle = true;
    for (int i = 0; i < 3; ++i)
    {
        const std::u16string text = u"ZONE1 SOURCE " + std::u16string(1, char16_t(u'1' + i));
        TUserButton& source =
            button(lobby, {15, 75 + 50 * i, 95, 40}, Face(kFaceButton, 16), green, text.c_str(), u"");
        source.selectorId = 1;
        source.toggle = true;
    }
    button(lobby, {125, 15, 95, 45}, Face(kFaceButton, 4), amber, u"ZONE1 VOL UP", u"ZONE1 VOL STOP");
    auto slider = std::make_unique<TUserLevel>();
    slider->SetRect({250, 15, 45, 210});
    slider->controlId = 6;
    lobby.AppendObject(std::move(slider));
    auto toBar = std::make_unique<TUserHotspot>();
    toBar->SetRect({125, 175, 95, 50});
    toBar->targetPage = bar.id;
    lobby.AppendObject(std::move(toBar));

    auto logo = std::make_unique<TUserImage>();
    logo->SetRect({60, 30, 200, 120});
    logo->face = Face(kFaceImage, layout.images.Head()->id);
    bar.AppendObject(std::move(logo));
    auto back = std::make_unique<TUserHotspot>();
    back->SetRect({0, 170, 320, 70});
    back->targetPage = TUserHotspot::kReturnToPrevious;
    bar.AppendObject(std::move(back));

    button(kitchen, {20, 20, 120, 50}, Face(kFaceButton, 4), Face(kFaceBlank, 0), u"KITCHEN LIGHTS", u"");
    auto gone = std::make_unique<TUserHotspot>();
    gone->SetRect({200, 160, 100, 60});
    gone->targetPage = 10007;
    kitchen.AppendObject(std::move(gone));
    return lobby;
}

// A press (with moves and a release when asked) on the preview's screen, at
// panel pixels.
void Finger(CPanelPreview& preview, std::initializer_list<QPoint> path, bool release = true)
{
    QWidget* screen = preview.Screen();
    const auto send = [screen](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
    {
        QMouseEvent event(type, QPointF(at), QPointF(screen->mapToGlobal(at)), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(screen, &event);
    };
    const QPoint* last = nullptr;
    for (const QPoint& p : path)
    {
        if (last == nullptr)
            send(QEvent::MouseButtonPress, preview.ToWidget(p), Qt::LeftButton, Qt::LeftButton);
        else
            send(QEvent::MouseMove, preview.ToWidget(p), Qt::NoButton, Qt::LeftButton);
        last = &p;
    }
    if (release && last != nullptr)
        send(QEvent::MouseButtonRelease, preview.ToWidget(*last), Qt::LeftButton, Qt::NoButton);
}

// The lobby page of the sample layout designed at a zoom, one of its
// buttons selected: the line under the canvas tells where it is.
QWidget* ShowUserPage(CShotStage& stage, int zoom)
{
    auto* page = static_cast<TUserPage*>(stage.layout.pages.Head());
    page->face = Face(kFaceColour, kColourTopToBottom, 0x3A1A08, 0xC89050);
    const auto put = [page](std::unique_ptr<TUserObject> object, int32_t l, int32_t t, int32_t w, int32_t h)
    {
        object->SetRect({l, t, w, h});
        return page->AppendObject(std::move(object));
    };
    auto logo = std::make_unique<TUserImage>();
    logo->face = Face(kFaceImage, stage.layout.images.Head()->id);
    put(std::move(logo), 60, 8, 200, 120);
    TUserObject* selected = nullptr;
    for (int i = 0; i < 3; ++i)
    {
        auto button = std::make_unique<TUserButton>();
        button->upFace = Face(kFaceButton, CQelFaceDlg::kRoundedCorners);
        TUserObject* placed = put(std::move(button), 20 + i * 76, 150, 68, 36);
        if (i == 1)
            selected = placed;
    }
    put(std::make_unique<TUserLevel>(), 262, 100, 45, 130);
    put(std::make_unique<TUserHotspot>(), 20, 196, 220, 34);

    SetCanvasZoom(zoom);
    auto dlg = std::make_unique<CQelUserDlg>(stage.layout, *page);
    dlg->Canvas()->SetSelected(selected);
    return stage.Show(std::move(dlg));
}

} // namespace

const std::vector<TShotScene>& ShotScenes()
{
    static const std::vector<TShotScene> scenes{
        {"user-page", [](CShotStage& stage) -> QWidget* { return ShowUserPage(stage, 1); }},
        // Needs a screen of 1280 x 1024 or more to show the page whole.
        {"user-page-3x", [](CShotStage& stage) -> QWidget* { return ShowUserPage(stage, 3); }},
        {"hotspot",
         [](CShotStage& stage) -> QWidget*
         { return stage.Show(std::make_unique<CHotspotDlg>(&stage.layout, 10002, 10000)); }},
        {"events-scrolled",
         [](CShotStage& stage) -> QWidget*
         {
             auto events = std::make_unique<CEventDef>(stage.layout);
             events->resize(events->DesignedSize() * 3 / 4);
             auto* dlg = static_cast<CEventDef*>(stage.Show(std::move(events)));
             // After showing: the first size change scrolls back to the origin.
             dlg->ScrollRequest(Qt::Vertical, CScrollDialog::EScroll::ThumbTrack, dlg->VerticalMaximum() / 2);
             return dlg;
         }},
        {"eight-button", [](CShotStage& stage) -> QWidget* { return ShowEightButtons(stage, false); }},
        // A name the code page cannot hold whole: the warning line shows.
        {"eight-button-warning", [](CShotStage& stage) -> QWidget* { return ShowEightButtons(stage, true); }},
        {"add-image",
         [](CShotStage& stage) -> QWidget*
         {
             static QTemporaryDir dir;
             const QString path = dir.filePath(QStringLiteral("lakeside-dusk.png"));
             if (!WritePng(path, Landscape()))
                 return nullptr;
             QWidget* dlg = stage.Show(std::make_unique<CAddImageDlg>());
             stage.ui.openAnswers.push_back(path);
             DlgItem<QPushButton>(dlg, CAddImageDlg::kBrowse)->click();
             DlgItem<QLineEdit>(dlg, CAddImageDlg::kDescription)->setText(QStringLiteral("Lakeside at dusk"));
             return dlg;
         }},
        {"text-dialog",
         [](CShotStage& stage) -> QWidget*
         {
             TLabel label;
             label.text.text = "Lights\non";
             label.text.size = 28;
             label.text.bold = true;
             label.colour = Rgb(255, 255, 255);
             label.background = TUserFace{kFaceColour, kColourTopToBottom, 0, Rgb(47, 128, 237), Rgb(27, 79, 156)};
             return stage.Show(std::make_unique<CTextDlg>(label));
         }},
        {"pictures-dialog",
         [](CShotStage& stage) -> QWidget*
         {
             TLabel label;
             label.text.text = "Scenes";
             label.text.size = 20;
             label.colour = Rgb(255, 255, 255);
             label.background = TUserFace{kFaceColour, kColourSingle, 0, Rgb(0, 51, 102), 0};
             auto picture = std::make_unique<CImageBuffer>();
             std::string error;
             if (!MakeLabelPicture(label, *picture, error))
                 return nullptr;
             const int32_t scenes = stage.layout.images.AddImage(u"Scenes", std::move(picture))->id;
             const int32_t logo = stage.layout.images.FindImage(TImageEntry::kFirstAddedId)->id;
             // The first page shows the logo as its face and the label on a button.
             auto* lobby = static_cast<TUserPage*>(stage.layout.pages.Head());
             lobby->face = {kFaceImage, logo};
             auto button = std::make_unique<TUserButton>();
             button->upFace = {kFaceImage, scenes};
             lobby->AppendObject(std::move(button));
             auto* dlg = static_cast<CPicturesDlg*>(stage.Show(std::make_unique<CPicturesDlg>(stage.layout)));
             dlg->Select(scenes);
             return dlg;
         }},
        {"slider",
         [](CShotStage& stage) -> QWidget*
         { return stage.Show(std::make_unique<CSliderPropDlg>(&stage.layout, 45, 130, 2, 6)); }},
        {"button",
         [](CShotStage& stage) -> QWidget*
         {
             TButtonProps props;
             props.upFace = Face(kFaceButton, CQelFaceDlg::kRoundedCorners);
             props.downFace = Face(kFaceColour, kColourTopToBottom, 0x503010, 0xE0B070);
             props.downText = MakeTextField(u"%zone 2 volume up");
             props.upText = MakeTextField(u"%zone 2 volume stop");
             return stage.Show(std::make_unique<CButtonAddDlg>(&stage.layout, props));
         }},
        {"face",
         [](CShotStage& stage) -> QWidget*
         {
             const int32_t logo = stage.layout.images.Head()->id;
             return stage.Show(std::make_unique<CQelFaceDlg>(&stage.layout, Face(kFaceImage, logo)));
         }},
        // After a few presses: the lights toggled on, the second source
        // chosen, the speaker turned up, to the Bar and back, and the volume
        // button held down.
        {"panel-preview",
         [](CShotStage& stage) -> QWidget*
         {
             FurnishForTrying(stage);
             auto* preview =
                 static_cast<CPanelPreview*>(stage.Show(std::make_unique<CPanelPreview>(stage.layout)));
             Finger(*preview, {{60, 35}});
             Finger(*preview, {{60, 145}});
             Finger(*preview, {{272, 150}, {272, 120}, {272, 95}, {272, 80}});
             Finger(*preview, {{170, 200}});
             Finger(*preview, {{160, 200}});
             Finger(*preview, {{170, 35}}, false);
             return preview;
         }},
        // A finding chosen: its page shown with the object marked.
        {"panel-preview-finding",
         [](CShotStage& stage) -> QWidget*
         {
             FurnishForTrying(stage);
             auto* preview =
                 static_cast<CPanelPreview*>(stage.Show(std::make_unique<CPanelPreview>(stage.layout)));
             auto* findings = DlgItem<QListWidget>(preview, CPanelPreview::kFindings);
             for (int row = 0; row < findings->count(); ++row)
                 if (findings->item(row)->text().startsWith(QStringLiteral("Error")))
                     findings->setCurrentRow(row);
             return preview;
         }},
        // An eight-button page in our plain look, its third button held.
        {"panel-preview-eight",
         [](CShotStage& stage) -> QWidget*
         {
             FurnishForTrying(stage);
             auto page = std::make_unique<CBtn8Ctrl>(u"Scenes");
             const char16_t* const buttons[][2] = {
                 {u"Welcome", u"SCENE 1"},  {u"Meeting", u"SCENE 2"},          {u"Presentation", u"SCENE 3"},
                 {u"Break", u"SCENE 4"},    {u"Caf\u00E9 lights", u"SCENE 5"}, {u"Evening", u"SCENE 6"},
                 {u"Cleaning", u"SCENE 7"}, {u"All off", u"SCENE OFF"},
             };
             for (size_t i = 0; i < std::size(buttons); ++i)
             {
                 page->names[i] = MakeTextField(buttons[i][0]);
                 page->texts[i] = MakeTextField(buttons[i][1]);
             }
             TListItem* scenes = stage.layout.pages.InsertPage(std::move(page));
             auto* preview = static_cast<CPanelPreview*>(
                 stage.Show(std::make_unique<CPanelPreview>(stage.layout, scenes)));
             Finger(*preview, {{80, 30}});
             Finger(*preview, {{80, 150}}, false);
             return preview;
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
