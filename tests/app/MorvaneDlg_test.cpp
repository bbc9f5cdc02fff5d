#include "DialogDriver.h"
#include "DialogTemplate.h"
#include "EventDef.h"
#include "FirmwareUpgrade.h"
#include "ImageBuffer.h"
#include "ButtonAddDlg.h"
#include "ColourPalettePopup.h"
#include "HotspotDlg.h"
#include "ImageLibrary.h"
#include "Layout.h"
#include "LayoutFile.h"
#include "LayoutHistory.h"
#include "MorvaneApp.h"
#include "MorvaneDlg.h"
#include "Pauses.h"
#include "QELProg.h"
#include "QelFaceDlg.h"
#include "QelUserDlg.h"
#include "QelWnd.h"
#include "SerialPort.h"
#include "SeveralPanelsDlg.h"
#include "SimulatedPanel.h"
#include "SliderPropDlg.h"
#include "TextField.h"
#include "UserButton.h"
#include "UserHotspot.h"
#include "UserLevel.h"
#include "ScriptedUiServices.h"
#include "UserPage.h"
#include "VirtualPanel.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QEventLoop>
#include <QLineEdit>
#include <QListWidget>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

const QString kNoResponse = QStringLiteral("No response after connection\r\nFirmware version may be pre 2.00\r\n");
const QString kDownloaded = QStringLiteral("Downloaded layout from control\r\n");
const QString kFirmwareDone =
    QStringLiteral("Firmware updated\r\nControl will restart automaticaly\r\nDisconnected\r\n");

QString Versions(int firmware)
{
    return QStringLiteral("Connected Succesfully\r\nHardware Version: 1\r\nFirmware Version: %1\r\n")
        .arg(firmware);
}

// A simulated panel serving on a pseudo-terminal from a thread of its own,
// in real time. Most tests talk to CVirtualPanel instead, the same panel on
// the virtual clock; these keep the window honest about real ports.
class CPanelThread
{
public:
    explicit CPanelThread(TSimOptions options) : m_panel(std::make_unique<CSimulatedPanel>(std::move(options)))
    {
        m_path = m_panel->Start();
        m_thread = std::thread([this] { m_panel->Serve(); });
    }
    ~CPanelThread() { Destroy(); }

    CSimulatedPanel& Panel() { return *m_panel; }
    const std::string& Path() const { return m_path; }
    // Stops the panel and closes its side of the terminal, as if unplugged.
    void Destroy()
    {
        if (!m_panel)
            return;
        m_panel->Stop();
        m_thread.join();
        m_panel.reset();
    }

private:
    std::unique_ptr<CSimulatedPanel> m_panel;
    std::thread m_thread;
    std::string m_path;
};

// The layout the simulated panel holds: one page named "Lobby".
std::vector<uint8_t> PanelLayout()
{
    TLayout layout;
    layout.pages.InsertPage(std::make_unique<TUserPage>(u"Lobby", layout.pages.NextPageId()));
    return layout.SaveToBytes();
}

TSimOptions Options(std::vector<TSimFault> faults = {})
{
    TSimOptions options;
    options.layoutImage = PanelLayout();
    options.faults = std::move(faults);
    return options;
}

// The main window's state each time the progress window paints, which it
// does at every step of a transfer while the handler still runs.
class CStateDuringTransfer : public QObject
{
public:
    struct TSeen
    {
        QString caption;
        bool upgradeEnabled;
        bool uploadEnabled;
        bool connected;
        QString log;
        bool operator==(const TSeen&) const = default;
    };

    explicit CStateDuringTransfer(CMorvaneDlg& dlg) : m_dlg(dlg) { qApp->installEventFilter(this); }
    ~CStateDuringTransfer() override { qApp->removeEventFilter(this); }

    std::vector<TSeen> seen;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && qobject_cast<CFirmwareUpgrade*>(watched) != nullptr)
            seen.push_back(
                {DlgItem<QPushButton>(&m_dlg, 1001)->text(), DlgItem<QPushButton>(&m_dlg, 1002)->isEnabled(),
                 DlgItem<QPushButton>(&m_dlg, 1004)->isEnabled(), m_dlg.IsConnected(), m_dlg.Log()});
        return false;
    }

private:
    CMorvaneDlg& m_dlg;
};

class MainWindow : public ::testing::Test
{
protected:
    QPushButton* Button(CMorvaneDlg& dlg, int id) { return DlgItem<QPushButton>(&dlg, id); }
    QComboBox* Ports(CMorvaneDlg& dlg) { return DlgItem<QComboBox>(&dlg, 1000); }
    void Click(CMorvaneDlg& dlg, int id) { QTest::mouseClick(Button(dlg, id), Qt::LeftButton); }

    void ExpectState(CMorvaneDlg& dlg, bool connected, bool upload)
    {
        EXPECT_EQ(dlg.IsConnected(), connected);
        EXPECT_EQ(Button(dlg, 1001)->text(), connected ? QStringLiteral("Disconnect") : QStringLiteral("Connect"));
        EXPECT_EQ(Button(dlg, 1002)->isEnabled(), connected);
        EXPECT_EQ(Button(dlg, 1004)->isEnabled(), upload);
        for (int id : {1, 1003, 1005})
            EXPECT_TRUE(Button(dlg, id)->isEnabled()) << id;
        EXPECT_TRUE(dlg.findChildren<CFirmwareUpgrade*>().isEmpty());
    }

    CScriptedUiServices m_ui;
    CUiServicesOverride m_override{m_ui};
    TLayout m_layout;
};

} // namespace

TEST_F(MainWindow, TemplateAndPortList)
{
    TMainOptions options;
    options.ports = std::vector<std::string>{"/dev/ttyUSB2", "/dev/ttyACM0", "/dev/ttyUSB10", "/dev/ttyS0"};
    CMorvaneDlg dlg(m_layout, options);

    const CDialogUnits units(dlg.font());
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("QELMorvane"));
    EXPECT_EQ(dlg.size(), QSize(units.ToPixelsX(291), units.ToPixelsY(146)));
    const std::tuple<int, const char*, int, int> buttons[] = {
        {1001, "Connect", 206, 28},          {1003, "Edit Layout", 206, 48},       {1005, "Define User Events", 206, 68},
        {1004, "Upload Layout", 206, 88},    {1002, "Upgrade Firmware", 206, 108}, {1, "Exit", 206, 128},
    };
    for (const auto& [id, caption, x, y] : buttons)
    {
        QPushButton* b = Button(dlg, id);
        ASSERT_NE(b, nullptr) << id;
        EXPECT_EQ(b->text(), QString::fromUtf8(caption));
        EXPECT_EQ(b->geometry(), units.ToPixels(x, y, 79, 14)) << id;
    }
    EXPECT_TRUE(Button(dlg, 1)->isDefault());
    auto* pane = DlgItem<QPlainTextEdit>(&dlg, 1021);
    ASSERT_NE(pane, nullptr);
    EXPECT_TRUE(pane->isReadOnly());
    EXPECT_EQ(pane->geometry(), units.ToPixels(3, 3, 197, 142));

    // Ports in text order, none chosen; Connect then asks for one.
    QStringList texts;
    for (int i = 0; i < Ports(dlg)->count(); ++i)
        texts << Ports(dlg)->itemText(i);
    EXPECT_EQ(texts, (QStringList{"/dev/ttyACM0", "/dev/ttyS0", "/dev/ttyUSB10", "/dev/ttyUSB2"}));
    EXPECT_EQ(Ports(dlg)->currentIndex(), -1);
    EXPECT_FALSE(dlg.SelectedPort());
    ExpectState(dlg, false, false);
    Click(dlg, 1001);
    ExpectState(dlg, false, false);
    EXPECT_TRUE(dlg.Log().startsWith(QStringLiteral("No port selected\r\n")));

    // A listed entry gives its path; a typed one is taken as it is.
    Ports(dlg)->setCurrentIndex(2);
    EXPECT_EQ(dlg.SelectedPort(), "/dev/ttyUSB10");
    Ports(dlg)->setEditText(QStringLiteral("/dev/pts/77"));
    EXPECT_EQ(dlg.SelectedPort(), "/dev/pts/77");

    // The about box is offered from the window's context menu.
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(10, 10), dlg.mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(&dlg, &menu);
    EXPECT_EQ(m_ui.menusShown, QStringList{QStringLiteral("Open Template...,Save Template,Save Template As...,"
                                                          "Recent Templates,Restore Previous Layout...,Find Panel,Upload to Several Panels...,About QELMorvane...")});
}

TEST_F(MainWindow, ProgressWindow)
{
    CFirmwareUpgrade progress(nullptr);
    EXPECT_EQ(progress.windowTitle(), QStringLiteral("Progress"));
    EXPECT_EQ(progress.m_status->text(), QStringLiteral("Writing Data to the Control"));
    progress.Begin(true);
    EXPECT_TRUE(progress.isVisible());
    EXPECT_FALSE(progress.isModal());
    EXPECT_EQ(progress.m_status->text(), QStringLiteral("Reading Data From The Control"));
    EXPECT_EQ(progress.m_progress->maximum(), 1000);
    progress.SetPosition(420);
    EXPECT_EQ(progress.m_progress->value(), 420);
    progress.SetPosition(1012);
    EXPECT_EQ(progress.m_progress->value(), 1000);
    progress.End();
    EXPECT_FALSE(progress.isVisible());
}

TEST_F(MainWindow, StartOptions)
{
    EXPECT_TRUE(ParseStartOptions({"--simulate"}).simulate);
    EXPECT_EQ(ParseStartOptions({"--port", "/dev/ttyUSB0"}).port, QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(ParseStartOptions({"--port=/dev/pts/3"}).port, QStringLiteral("/dev/pts/3"));
    EXPECT_EQ(ParseStartOptions({"--simulate", "--sim-arg=--firmware=200"}).simulatorArgs,
              QStringList{QStringLiteral("--firmware=200")});
    EXPECT_FALSE(ParseStartOptions({"--port"}).error.isEmpty());
    EXPECT_FALSE(ParseStartOptions({"--bogus"}).error.isEmpty());
    EXPECT_EQ(ParseStartOptions({"--try", "lobby.qel"}).tryFile, QStringLiteral("lobby.qel"));
    EXPECT_EQ(ParseStartOptions({"--try=lobby.qel"}).tryFile, QStringLiteral("lobby.qel"));
    EXPECT_FALSE(ParseStartOptions({"--try"}).error.isEmpty());
    EXPECT_FALSE(ParseStartOptions({"--try="}).error.isEmpty());
    const TStartOptions withFile = ParseStartOptions({"--port", "/dev/ttyUSB0", "lobby.qel"});
    EXPECT_EQ(withFile.file, QStringLiteral("lobby.qel"));
    EXPECT_EQ(withFile.port, QStringLiteral("/dev/ttyUSB0"));
    EXPECT_FALSE(ParseStartOptions({"lobby.qel", "bar.qel"}).error.isEmpty());
}

struct TStateCase
{
    const char* name;
    std::vector<TSimFault> faults;
    QString message;
    bool uploadAllowed;
    bool downloaded;
    QString versions; // the message while the layout downloads
};

void PrintTo(const TStateCase& c, std::ostream* os) { *os << c.name; }

class MainWindowStates : public MainWindow, public ::testing::WithParamInterface<TStateCase>
{
};

TEST_P(MainWindowStates, ConnectThenDisconnect)
{
    const TStateCase& c = GetParam();
    CVirtualPanel panel(Options(c.faults));
    TMainOptions options;
    options.ports = std::vector<std::string>{};
    options.preselect = QString::fromStdString(panel.Path());
    options.makeLink = panel.LinkMaker();
    CMorvaneDlg dlg(m_layout, options);
    // The panel's port is not in the list: the path counts as typed.
    ASSERT_EQ(Ports(dlg)->currentIndex(), -1);
    ASSERT_EQ(dlg.SelectedPort(), panel.Path());

    CStateDuringTransfer during(dlg);
    const uint64_t before = panel.Clock().NowMs();
    Click(dlg, 1001);
    // The link's pauses were taken, on the clock it was given.
    EXPECT_GE(panel.Clock().NowMs() - before, uint64_t{kPauseAfterProbeMs + kPauseAfterInfoRequestMs});
    EXPECT_EQ(dlg.Log(), c.message);
    ExpectState(dlg, true, c.uploadAllowed);
    EXPECT_EQ(m_layout.pages.Size(), c.downloaded ? 1u : 0u);
    EXPECT_TRUE(m_ui.messages.empty());
    // Throughout the download the window is connected and shows the versions;
    // its buttons wait for the transfer's end.
    if (c.downloaded)
    {
        ASSERT_FALSE(during.seen.empty());
        for (const CStateDuringTransfer::TSeen& seen : during.seen)
            EXPECT_EQ(seen, (CStateDuringTransfer::TSeen{QStringLiteral("Disconnect"), false, false, true,
                                                         c.versions}));
    }
    else
    {
        EXPECT_TRUE(during.seen.empty());
    }

    Click(dlg, 1001);
    ExpectState(dlg, false, false);
    EXPECT_EQ(dlg.Log(), c.message);
}

INSTANTIATE_TEST_SUITE_P(
    Panels, MainWindowStates,
    ::testing::Values(
        TStateCase{"Firmware201", {}, kDownloaded, true, true, Versions(201)},
        TStateCase{"Firmware200", {{ESimFault::OldFirmware, 200}}, kDownloaded, false, true, Versions(200)},
        TStateCase{"NotAnswered", {{ESimFault::NoInfo, 0}}, kNoResponse, false, false, {}}),
    [](const ::testing::TestParamInfo<TStateCase>& info) { return std::string(info.param.name); });

TEST_F(MainWindow, UploadSendsTheDocumentAndRefusesOneTooLarge)
{
    CVirtualPanel panel(Options());
    TMainOptions options;
    options.extraPort = QString::fromStdString(panel.Path());
    options.preselect = options.extraPort;
    options.makeLink = panel.LinkMaker();
    CMorvaneDlg dlg(m_layout, options);
    ASSERT_GE(Ports(dlg)->currentIndex(), 0);
    Click(dlg, 1001);
    ASSERT_TRUE(Button(dlg, 1004)->isEnabled());

    // Edits made after the download go up with it.
    m_layout.pages.InsertPage(std::make_unique<TUserPage>(u"Added", m_layout.pages.NextPageId()));
    const std::vector<uint8_t> before = panel.LayoutImage();
    Click(dlg, 1004);
    EXPECT_EQ(panel.LayoutsStored(), 1);
    EXPECT_EQ(panel.LayoutImage(), m_layout.SaveToBytes());
    // What it would do, what it kept of the panel's layout, and the read-back.
    const QStringList lines = dlg.Log().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << dlg.Log().toStdString();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Layout: [0-9,]+ of the panel's 512,000 bytes \\([0-9.]+%\\), "
                                                  "[0-9]+ blocks: about [0-9.]+ s to send and read back$"))
                    .match(lines[0])
                    .hasMatch())
        << lines[0].toStdString();
    const QString backupPrefix = QStringLiteral("Backup of the panel's layout: ");
    ASSERT_TRUE(lines[1].startsWith(backupPrefix)) << lines[1].toStdString();
    const QString backup = lines[1].mid(backupPrefix.size());
    EXPECT_TRUE(backup.startsWith(qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/qelmorvane/backups/")));
    TLayout kept;
    ASSERT_TRUE(LoadTemplateFile(kept, backup.toStdString()));
    EXPECT_EQ(kept.SaveToBytes(), before) << "the layout the panel held";
    EXPECT_EQ(QFileInfo(backup).permissions() & ~(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                                                  QFile::WriteUser),
              QFile::Permissions()) << "no one else reads the PINs";
    EXPECT_EQ(lines[2], QStringLiteral("Layout uploaded and verified"));
    ExpectState(dlg, true, true);

    // Noise does not compress: three screens of it overflow the upload buffer.
    uint32_t seed = 12345;
    for (int n = 0; n < 3; ++n)
    {
        auto picture = std::make_unique<CImageBuffer>();
        picture->Data().Create(320, 240, 24);
        for (uint8_t& byte : picture->Data().bits)
            byte = static_cast<uint8_t>((seed = seed * 1664525u + 1013904223u) >> 24);
        m_layout.images.AddImage(u"Noise", std::move(picture));
    }
    Click(dlg, 1004);
    EXPECT_EQ(panel.LayoutsStored(), 1);
    EXPECT_NE(dlg.Log(), kDownloaded);
    EXPECT_FALSE(dlg.Log().isEmpty());
    ExpectState(dlg, true, true);
}

// While an upload runs, the window lives and its buttons wait: clicks on
// them are not kept for later. Cancel ends the upload back at 9600 baud, with
// nothing stored; the next upload stores the layout once.
TEST_F(MainWindow, CancelEndsAnUploadAndClicksMeanwhileAreNotKept)
{
    CVirtualPanel panel(Options());
    TMainOptions options;
    options.preselect = QString::fromStdString(panel.Path());
    options.makeLink = panel.LinkMaker();
    CMorvaneDlg dlg(m_layout, options);
    Click(dlg, 1001);
    ASSERT_TRUE(Button(dlg, 1004)->isEnabled());
    m_layout.pages.InsertPage(std::make_unique<TUserPage>(u"Added", m_layout.pages.NextPageId()));

    panel.HoldAtBinaryWrite(2);
    bool acted = false;
    QTimer::singleShot(0, &dlg,
                       [&]
                       {
                           // Inside the transfer: the window answers, its buttons do not.
                           ASSERT_TRUE(panel.WaitUntilHeld());
                           acted = true;
                           for (int i = 0; i < 3; ++i)
                               Click(dlg, 1004);
                           Click(dlg, 1001);
                           EXPECT_FALSE(Button(dlg, 1004)->isEnabled());
                           auto* progress = dlg.findChild<CFirmwareUpgrade*>();
                           ASSERT_NE(progress, nullptr);
                           QPushButton* cancel = progress->CancelButton();
                           EXPECT_TRUE(cancel->isEnabled());
                           QTest::mouseClick(cancel, Qt::LeftButton);
                           panel.Release();
                       });
    Click(dlg, 1004);
    ASSERT_TRUE(acted);
    EXPECT_TRUE(dlg.Log().endsWith(QStringLiteral("Cancelled\r\nLayout not uploaded\r\n"))) << dlg.Log().toStdString();
    EXPECT_EQ(panel.LayoutsStored(), 0);
    ExpectState(dlg, true, true);

    // Back at 9600 baud: the next upload goes through, once.
    Click(dlg, 1004);
    EXPECT_TRUE(dlg.Log().endsWith(QStringLiteral("Layout uploaded and verified\r\n"))) << dlg.Log().toStdString();
    EXPECT_EQ(panel.LayoutsStored(), 1);
    EXPECT_EQ(panel.LayoutImage(), m_layout.SaveToBytes());
}

TEST_F(MainWindow, FirmwareUpgradeEndsDisconnected)
{
    CVirtualPanel panel(Options({{ESimFault::NoInfo, 0}}));
    TMainOptions options;
    options.preselect = QString::fromStdString(panel.Path());
    options.makeLink = panel.LinkMaker();
    CMorvaneDlg dlg(m_layout, options);
    Click(dlg, 1001);
    ExpectState(dlg, true, false);

    const fs::path file = fs::temp_directory_path() / ("qel-firmware-" + std::to_string(::getpid()) + ".qfw");
    std::vector<uint8_t> firmware(1500);
    for (size_t i = 0; i < firmware.size(); ++i)
        firmware[i] = static_cast<uint8_t>(i * 7);
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(firmware.data()), firmware.size());

    const fs::path empty = fs::path(file).replace_extension(".empty.qfw");
    std::ofstream(empty, std::ios::binary).flush();
    const fs::path absent = fs::path(file).replace_extension(".absent.qfw");

    // A cancelled file dialog changes nothing; a file that cannot be sent is
    // refused in the words qelctl uses too; a chosen file is sent.
    m_ui.openAnswers = {std::nullopt, QString::fromStdString(empty.string()),
                        QString::fromStdString(absent.string()), QString::fromStdString(file.string())};
    Click(dlg, 1002);
    ExpectState(dlg, true, false);
    EXPECT_EQ(dlg.Log(), kNoResponse);
    Click(dlg, 1002);
    EXPECT_EQ(dlg.Log(), QStringLiteral("Firmware file is empty\r\nNothing sent\r\n"));
    ExpectState(dlg, true, false);
    Click(dlg, 1002);
    EXPECT_EQ(dlg.Log(), QStringLiteral("Could not read %1: no such file or directory\r\nNothing sent\r\n")
                             .arg(QString::fromStdString(absent.string())));
    ExpectState(dlg, true, false);
    EXPECT_EQ(panel.FirmwareStored(), 0);
    // A firmware upgrade cannot be stopped half way: its Cancel waits, saying why.
    panel.HoldAtBinaryWrite(1);
    QString cancelTip;
    bool cancelEnabled = true;
    QTimer::singleShot(0, &dlg,
                       [&]
                       {
                           ASSERT_TRUE(panel.WaitUntilHeld());
                           QPushButton* cancel = dlg.findChild<CFirmwareUpgrade*>()->CancelButton();
                           cancelEnabled = cancel->isEnabled();
                           cancelTip = cancel->toolTip();
                           panel.Release();
                       });
    Click(dlg, 1002);
    EXPECT_FALSE(cancelEnabled);
    EXPECT_TRUE(cancelTip.contains(QStringLiteral("without working firmware"))) << cancelTip.toStdString();
    fs::remove(file);
    fs::remove(empty);
    EXPECT_EQ(panel.FirmwareStored(), 1);
    EXPECT_EQ(panel.LastFirmware(), firmware);
    EXPECT_EQ(dlg.Log(), kFirmwareDone);
    ExpectState(dlg, false, false);
    ASSERT_EQ(m_ui.fileDialogs.size(), 4u);
    EXPECT_EQ(m_ui.fileDialogs[0].filter, QStringLiteral("QEL-1 Firmware File (*.qfw)|*.qfw|All Files (*.*)|*.*||"));
    EXPECT_EQ(m_ui.fileDialogs[0].defaultExt, QStringLiteral(".qfw"));
    // The selected port stays for the next Connect.
    EXPECT_EQ(dlg.SelectedPort(), panel.Path());
}

TEST_F(MainWindow, SerialFailuresAreShownAndSurvived)
{
    CVirtualPanel panel(Options());
    TMainOptions options;
    options.preselect = QStringLiteral("/dev/qel-no-such-port");
    options.makeLink = panel.LinkMaker();
    CMorvaneDlg dlg(m_layout, options);
    dlg.ShowMessage(QStringLiteral("before\r\n"));

    // A port that cannot be opened says why; nothing changes.
    Click(dlg, 1001);
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_TRUE(m_ui.messages[0].text.contains(QStringLiteral("/dev/qel-no-such-port")));
    EXPECT_EQ(m_ui.messages[0].icon, EMsgIcon::Error);
    EXPECT_EQ(dlg.Log(), QStringLiteral("before\r\n"));
    ExpectState(dlg, false, false);

    // An exception out of a handler is reported with the system's text.
    dlg.Guarded([] { throw CSerialException(EIO); });
    ASSERT_EQ(m_ui.messages.size(), 2u);
    EXPECT_TRUE(m_ui.messages[1].text.contains(QString::fromLocal8Bit(std::strerror(EIO))));
    // So is any other exception, and the window goes on.
    dlg.Guarded([] { throw std::runtime_error("out of memory while drawing"); });
    ASSERT_EQ(m_ui.messages.size(), 3u);
    EXPECT_EQ(m_ui.messages[2].text, QStringLiteral("out of memory while drawing"));
    m_ui.messages.pop_back();

    // A panel that goes away while connected: the upload fails with a
    // message, the window stays connected and can still disconnect.
    Ports(dlg)->setEditText(QString::fromStdString(panel.Path()));
    Click(dlg, 1001);
    ExpectState(dlg, true, true);
    panel.Unplug();
    Click(dlg, 1004);
    ASSERT_EQ(m_ui.messages.size(), 3u);
    ExpectState(dlg, true, true);
    Click(dlg, 1001);
    ExpectState(dlg, false, false);
}

TEST_F(MainWindow, DefineUserEventsEditsTheDocumentsEvents)
{
    constexpr int kDefineUserEvents = 1005;
    TMainOptions options;
    options.ports = std::vector<std::string>{};
    CMorvaneDlg dlg(m_layout, options);
    const auto typeAndClose = [](const QString& text, int button)
    {
        return [text, button](QDialog& shown)
        {
            ASSERT_NE(dynamic_cast<CEventDef*>(&shown), nullptr);
            ::Type(&shown, CEventDef::TextId(4), text);
            ::Click(&shown, button);
        };
    };
    m_ui.dialogAnswers.push_back(typeAndClose(QStringLiteral("SCENE 4"), CEventDef::kOk));
    m_ui.dialogAnswers.push_back(typeAndClose(QStringLiteral("discarded"), CEventDef::kCancel));
    Click(dlg, kDefineUserEvents);
    Click(dlg, kDefineUserEvents);
    EXPECT_EQ(m_ui.dialogsShown, QStringList({"User Event Definitions", "User Event Definitions"}));
    EXPECT_EQ(TextFieldToWide(m_layout.eventTexts[3]), u"SCENE 4");
    EXPECT_TRUE(m_ui.dialogAnswers.empty());
}

// With the run's history, what the events dialog and the programming dialog
// change is undone and redone with the keys here too; a Connect that brings
// the panel's layout replaces the document, history and all, once its
// changes are saved or given up.
TEST_F(MainWindow, TheHistoryGoesThroughTheWindowsUntilAConnectReplacesTheDocument)
{
    CVirtualPanel panel(Options());
    CLayoutHistory history(m_layout);
    TMainOptions options;
    options.extraPort = QString::fromStdString(panel.Path());
    options.preselect = options.extraPort;
    options.makeLink = panel.LinkMaker();
    CMorvaneDlg dlg(m_layout, history, options);
    // Not the port box, whose text has an undo of its own.
    Button(dlg, 1)->setFocus();

    m_ui.dialogAnswers.push_back(
        [](QDialog& events)
        {
            ::Type(&events, CEventDef::TextId(4), QStringLiteral("SCENE 4"));
            ::Click(&events, CEventDef::kOk);
        });
    Click(dlg, 1005);
    EXPECT_EQ(history.UndoText(), QStringLiteral("User Events"));
    PressKeys(&dlg, QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(TextFieldToWide(m_layout.eventTexts[3]), u"");
    PressKeys(&dlg, QKeySequence(Qt::CTRL | Qt::Key_Y));
    EXPECT_EQ(TextFieldToWide(m_layout.eventTexts[3]), u"SCENE 4");

    m_ui.menuAnswers.push_back(QStringLiteral("User Defined"));
    m_ui.dialogAnswers.push_back([](QDialog& prog) { ::Click(&prog, CQELProg::kAdd); });
    m_ui.dialogAnswers.push_back([](QDialog& user) { ::Click(&user, CQelUserDlg::kSave); });
    Click(dlg, 1003);
    EXPECT_EQ(history.UndoText(), QStringLiteral("Add Page"));

    // Asked first: the changes are given up.
    m_ui.messageAnswers.push_back(EMsgResult::Discard);
    Click(dlg, 1001);
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(m_ui.messages[0].buttons, EMsgButtons::SaveDiscardCancel);
    EXPECT_EQ(dlg.Log(), kDownloaded);
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.CanRedo());
    EXPECT_TRUE(history.IsClean()) << "the panel's layout, as downloaded";
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("QELMorvane"));
    ASSERT_EQ(m_layout.pages.Size(), 1u);
    EXPECT_EQ(m_layout.pages.Head()->name, u"Lobby");
    Click(dlg, 1001);
}

// The road from panel to design and back: Connect downloads the panel's
// layout, Edit Layout adds a user page designed on the canvas, Upload Layout
// sends it, and the panel ends up with exactly that. In real time, over the
// window's own port line to the simulated panel on a pseudo-terminal.
TEST_F(MainWindow, DesignAPageAndUploadIt)
{
    CPanelThread panel(Options());
    TMainOptions options;
    options.extraPort = QString::fromStdString(panel.Path());
    options.preselect = options.extraPort;
    CMorvaneDlg dlg(m_layout, options);
    Click(dlg, 1001);
    ASSERT_EQ(dlg.Log(), kDownloaded);

    const auto rightClick = [](QWidget* canvas, QPoint at)
    {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), QPointF(canvas->mapToGlobal(at)), Qt::RightButton,
                          Qt::RightButton, Qt::NoModifier);
        QApplication::sendEvent(canvas, &press);
    };
    m_ui.menuAnswers = {QStringLiteral("User Defined"), QStringLiteral("Add/Button"), QStringLiteral("Add/Hot Spot"),
                        QStringLiteral("Add/Level Slider")};
    // In the order the dialogs open: the programming dialog, the user page
    // dialog, the button dialog with its face dialog, the hot spot and the
    // slider dialogs.
    m_ui.dialogAnswers.push_back([](QDialog& prog)
                                 {
                                     ::Click(&prog, CQELProg::kAdd);
                                     ::Click(&prog, CQELProg::kOk);
                                 });
    m_ui.dialogAnswers.push_back(
        [&](QDialog& user)
        {
            Type(&user, CQelUserDlg::kPageName, QStringLiteral("Living"));
            QWidget* canvas = DlgItem<QWidget>(&user, CQelWnd::kControlId);
            ASSERT_NE(canvas, nullptr);
            rightClick(canvas, {20, 20});
            rightClick(canvas, {100, 20});
            rightClick(canvas, {200, 50});
            ::Click(&user, CQelUserDlg::kSave);
        });
    m_ui.dialogAnswers.push_back(
        [](QDialog& button)
        {
            ::Click(&button, CButtonAddDlg::kTopface);
            Type(&button, CButtonAddDlg::kDownText, QStringLiteral("LIGHTS 100"));
            Type(&button, CButtonAddDlg::kUpText, QStringLiteral("LIGHTS HOLD"));
            ::Click(&button, CButtonAddDlg::kOk);
        });
    m_ui.dialogAnswers.push_back(
        [](QDialog& face)
        {
            ::Click(&face, CQelFaceDlg::kColourOrGradient);
            Choose(&face, CQelFaceDlg::kGradientList, QStringLiteral("Gradient Left to Right"));
            CColourPalettePopup* palette = OpenPalette(&face, CQelFaceDlg::kColour2);
            ASSERT_NE(palette, nullptr);
            Hover(palette, 16); // "Red"
            QTest::keyClick(palette, Qt::Key_Return);
            ::Click(&face, CQelFaceDlg::kSave);
        });
    m_ui.dialogAnswers.push_back(
        [](QDialog& hotspot)
        {
            Choose(&hotspot, CHotspotDlg::kTargetList, QStringLiteral("Lobby"));
            ::Click(&hotspot, CHotspotDlg::kOk);
        });
    m_ui.dialogAnswers.push_back(
        [](QDialog& slider)
        {
            Choose(&slider, CSliderPropDlg::kControlList, QStringLiteral("Speaker A"));
            ::Click(&slider, CSliderPropDlg::kOk);
        });
    Click(dlg, 1003);
    EXPECT_TRUE(m_ui.dialogAnswers.empty());
    EXPECT_EQ(m_ui.dialogsShown, (QStringList{"QEL-1 Programming", "QEL-1 User Defined Page", "Button Object",
                                              "Face Definition", "Hotspot Properties", "Slider Properties"}));

    Click(dlg, 1004);
    ASSERT_EQ(panel.Panel().LayoutsStored(), 1);
    TLayout stored;
    const std::vector<uint8_t> image = panel.Panel().LayoutImage();
    ASSERT_TRUE(stored.LoadFromBuffer(image.data(), static_cast<int32_t>(image.size())));
    ASSERT_EQ(stored.pages.Size(), 2u);
    EXPECT_EQ(stored.pages.At(0)->name, u"Lobby");
    const auto* living = dynamic_cast<const TUserPage*>(stored.pages.At(1));
    ASSERT_NE(living, nullptr);
    EXPECT_EQ(living->name, u"Living");
    EXPECT_EQ(living->id, 10001);
    ASSERT_EQ(living->objects.size(), 3u);

    const auto* button = dynamic_cast<const TUserButton*>(living->objects[0].get());
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->Rect(), (TObjectRect{20, 20, 45, 30}));
    EXPECT_EQ(button->upFace.type, kFaceColour);
    EXPECT_EQ(button->upFace.param, kColourLeftToRight);
    EXPECT_EQ(button->upFace.colour2, Rgb(255, 0, 0));
    EXPECT_EQ(button->downFace.type, kFaceBlank);
    EXPECT_EQ(TextFieldToWide(button->downText), u"LIGHTS 100");
    EXPECT_EQ(TextFieldToWide(button->upText), u"LIGHTS HOLD");
    EXPECT_EQ(button->selectorId, -1);

    const auto* hotspot = dynamic_cast<const TUserHotspot*>(living->objects[1].get());
    ASSERT_NE(hotspot, nullptr);
    EXPECT_EQ(hotspot->Rect(), (TObjectRect{100, 20, 45, 30}));
    EXPECT_EQ(hotspot->targetPage, 10000);

    const auto* level = dynamic_cast<const TUserLevel*>(living->objects[2].get());
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->Rect(), (TObjectRect{200, 50, 45, 130}));
    EXPECT_EQ(level->controlId, 6);
    EXPECT_EQ(level->sliderImageId, TUserLevel::kDefaultSliderImage);
    EXPECT_EQ(stored.SaveToBytes(), m_layout.SaveToBytes()) << "the panel holds the document as designed";
}

TEST_F(MainWindow, FindPanelSelectsThePortThatAnswersWhileTheWindowLives)
{
    CPanelThread panel(Options());
    TMainOptions options;
    options.ports = std::vector<std::string>{"/dev/qel-no-such-port", panel.Path()};
    CMorvaneDlg dlg(m_layout, options);
    m_ui.menuAnswers.push_back(QStringLiteral("Find Panel"));
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(10, 10), dlg.mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(&dlg, &menu);
    // The ports are asked in the background; Connect waits for the answer.
    EXPECT_TRUE(dlg.IsFindingPanel());
    EXPECT_FALSE(Button(dlg, 1001)->isEnabled());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dlg.IsFindingPanel(); }, 10000));
    EXPECT_EQ(dlg.SelectedPort(), panel.Path());
    EXPECT_EQ(dlg.Log(),
              QStringLiteral("Found a QEL-1 on %1 (firmware 201)\r\n").arg(QString::fromStdString(panel.Path())));
    EXPECT_TRUE(Button(dlg, 1001)->isEnabled());
}

// Upload to Several Panels: every ticked panel at once, each with its own
// result; one that fails does not stop the other, and the window lives.
TEST_F(MainWindow, UploadToSeveralPanelsGoesOnPastOneThatFails)
{
    CVirtualPanel lobby(Options(), "/dev/ttyQEL-lobby");
    CVirtualPanel old(Options({{ESimFault::OldFirmware, 200}}), "/dev/ttyQEL-old");
    TMainOptions options;
    options.ports = std::vector<std::string>{lobby.Path(), old.Path()};
    options.makePortLink = [&](const std::string& port)
    { return (port == lobby.Path() ? lobby : old).LinkMaker()(); };
    CMorvaneDlg dlg(m_layout, options);
    m_layout.pages.InsertPage(std::make_unique<TUserPage>(u"Lobby", m_layout.pages.NextPageId()));

    QStringList rows;
    m_ui.menuAnswers.push_back(QStringLiteral("Upload to Several Panels..."));
    m_ui.dialogAnswers.push_back(
        [&](QDialog& shown)
        {
            auto& several = static_cast<CSeveralPanelsDlg&>(shown);
            EXPECT_EQ(ListEntries(&several, CSeveralPanelsDlg::kPorts),
                      QStringList({QString::fromStdString(lobby.Path()), QString::fromStdString(old.Path())}));
            several.TickPort(QString::fromStdString(lobby.Path()));
            // A typed port, Enter: ticked, and nothing starts or closes.
            auto* typed = DlgItem<QLineEdit>(&several, CSeveralPanelsDlg::kPortEdit);
            typed->setText(QString::fromStdString(old.Path()));
            QTest::keyClick(typed, Qt::Key_Return);
            EXPECT_TRUE(typed->text().isEmpty());
            EXPECT_FALSE(several.IsRunning());
            EXPECT_TRUE(several.isVisible());
            QEventLoop wait;
            QObject::connect(&several, &CSeveralPanelsDlg::Finished, &wait, &QEventLoop::quit);
            QTest::mouseClick(DlgItem<QPushButton>(&several, CSeveralPanelsDlg::kUpload), Qt::LeftButton);
            EXPECT_FALSE(DlgItem<QPushButton>(&several, CSeveralPanelsDlg::kClose)->isEnabled());
            wait.exec();
            rows = ListEntries(&several, CSeveralPanelsDlg::kResults);
            several.reject();
        });
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(10, 10), dlg.mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(&dlg, &menu);

    ASSERT_EQ(rows.size(), 2);
    EXPECT_TRUE(rows[0].startsWith(QString::fromStdString(lobby.Path()) + QStringLiteral(": ok: uploaded and verified")))
        << rows[0].toStdString();
    EXPECT_TRUE(rows[1].startsWith(QString::fromStdString(old.Path()) +
                                   QStringLiteral(": FAILED: firmware takes no layout uploads")))
        << rows[1].toStdString();
    EXPECT_EQ(lobby.LayoutsStored(), 1);
    EXPECT_EQ(lobby.LayoutImage(), m_layout.SaveToBytes());
    EXPECT_EQ(old.LayoutsStored(), 0);
}
