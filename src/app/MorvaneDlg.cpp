#include "MorvaneDlg.h"

#include "AboutDlg.h"
#include "DialogTemplate.h"
#include "DocumentCommands.h"
#include "EventDef.h"
#include "HistoryShortcuts.h"
#include "LayoutHistory.h"
#include "QELProg.h"
#include "FirmwareFile.h"
#include "FirmwareUpgrade.h"
#include "Layout.h"
#include "PortList.h"
#include "SerialPort.h"
#include "UiServices.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>

#include <cerrno>

namespace
{

enum EMainControl
{
    kExit = 1,
    kPortList = 1000,
    kConnect = 1001,
    kUpgradeFirmware = 1002,
    kEditLayout = 1003,
    kUploadLayout = 1004,
    kDefineUserEvents = 1005,
    kMessagePane = 1021,
};

const TDlgTemplate& MainTemplate()
{
    static const TDlgTemplate tmpl{
        102,
        QStringLiteral("QELMorvane"),
        291,
        146,
        {
            {kMessagePane, EControlKind::Edit, {}, 3, 3, 197, 142,
             kStyleMultiLine | kStyleReadOnly | kStyleBorder | kStyleVScroll},
            {kStaticId, EControlKind::Static, QStringLiteral("Port:"), 213, 8, 17, 8},
            {kPortList, EControlKind::ComboBox, {}, 237, 6, 48, 30, kStyleEditable | kStyleSorted | kStyleVScroll},
            {kConnect, EControlKind::Button, QStringLiteral("Connect"), 206, 28, 79, 14},
            {kEditLayout, EControlKind::Button, QStringLiteral("Edit Layout"), 206, 48, 79, 14},
            {kDefineUserEvents, EControlKind::Button, QStringLiteral("Define User Events"), 206, 68, 79, 14},
            {kUploadLayout, EControlKind::Button, QStringLiteral("Upload Layout"), 206, 88, 79, 14},
            {kUpgradeFirmware, EControlKind::Button, QStringLiteral("Upgrade Firmware"), 206, 108, 79, 14},
            {kExit, EControlKind::DefButton, QStringLiteral("Exit"), 206, 128, 79, 14},
        },
    };
    return tmpl;
}

const TFileDialogSpec& FirmwareFileDialog()
{
    static const TFileDialogSpec spec{
        QStringLiteral("QEL-1 Firmware File (*.qfw)|*.qfw|All Files (*.*)|*.*||"),
        QStringLiteral(".qfw"),
        {},
    };
    return spec;
}

QString FromText(const std::string& text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

} // namespace

void BuildMainWindowTemplate(QWidget* dialog) { BuildDialog(dialog, MainTemplate()); }

CMorvaneDlg::CMorvaneDlg(TLayout& layout, const TMainOptions& options, QWidget* parent)
    : CMorvaneDlg(layout, nullptr, options, parent)
{
}

CMorvaneDlg::CMorvaneDlg(TLayout& layout, CLayoutHistory* history, const TMainOptions& options,
                         QWidget* parent)
    : QDialog(parent), m_layout(layout), m_history(history), m_hIcon(QStringLiteral(":/app/qelmorvane.png")),
      m_uploadBuffer(static_cast<size_t>(kUploadCapacity))
{
    BuildMainWindowTemplate(this);
    m_portCombo = DlgItem<QComboBox>(this, kPortList);
    m_connectButton = DlgItem<QPushButton>(this, kConnect);
    setWindowIcon(m_hIcon);

    connect(m_connectButton, &QPushButton::clicked, this, [this] { Guarded([this] { OnConnect(); }); });
    connect(DlgItem<QPushButton>(this, kUpgradeFirmware), &QPushButton::clicked, this,
            [this] { Guarded([this] { OnUpgradeFirmware(); }); });
    connect(DlgItem<QPushButton>(this, kUploadLayout), &QPushButton::clicked, this,
            [this] { Guarded([this] { OnUploadLayout(); }); });
    connect(DlgItem<QPushButton>(this, kEditLayout), &QPushButton::clicked, this,
            [this] { Guarded([this] { OnEditLayout(); }); });
    connect(DlgItem<QPushButton>(this, kDefineUserEvents), &QPushButton::clicked, this,
            [this] { Guarded([this] { OnDefineUserEvents(); }); });

    AddHistoryShortcuts(*this, history);
    EnumeratePorts(options);
    SetConnectedState(false);
}

CMorvaneDlg::~CMorvaneDlg() = default;

void CMorvaneDlg::EnumeratePorts(const TMainOptions& options)
{
    m_ports.clear();
    std::vector<QString> tips;
    if (options.ports)
    {
        m_ports = *options.ports;
        tips.resize(m_ports.size());
    }
    else
    {
        for (const TPortInfo& port : ::EnumeratePorts())
        {
            m_ports.push_back(port.path);
            tips.push_back(FromText(port.description));
        }
    }
    if (!options.extraPort.isEmpty())
    {
        const std::string extra = options.extraPort.toStdString();
        if (std::find(m_ports.begin(), m_ports.end(), extra) == m_ports.end())
        {
            m_ports.push_back(extra);
            tips.push_back(QStringLiteral("Simulated QEL-1 panel"));
        }
    }

    for (size_t i = 0; i < m_ports.size(); ++i)
    {
        const QString path = FromText(m_ports[i]);
        const int at = AddComboItem(m_portCombo, path, path);
        if (!tips[i].isEmpty())
            m_portCombo->setItemData(at, tips[i], Qt::ToolTipRole);
    }
    // Device paths are longer than the box; the open list shows them whole.
    m_portCombo->view()->setMinimumWidth(m_portCombo->view()->sizeHintForColumn(0) + 24);
    m_portCombo->setCurrentIndex(-1);
    m_portCombo->setEditText({});

    if (!options.preselect.isEmpty())
    {
        const int at = m_portCombo->findText(options.preselect);
        if (at >= 0)
            m_portCombo->setCurrentIndex(at);
        else
            m_portCombo->setEditText(options.preselect);
    }
}

std::optional<std::string> CMorvaneDlg::SelectedPort() const
{
    const QString text = m_portCombo->currentText().trimmed();
    const int index = m_portCombo->currentIndex();
    if (index >= 0 && m_portCombo->itemText(index) == text)
        return m_portCombo->itemData(index).toString().toStdString();
    if (!text.isEmpty())
        return text.toStdString();
    return std::nullopt;
}

void CMorvaneDlg::ShowMessage(const QString& text)
{
    m_log = text;
    QString shown = m_log;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    DlgItem<QPlainTextEdit>(this, kMessagePane)->setPlainText(shown);
}

void CMorvaneDlg::ShowMessage(const std::string& text)
{
    ShowMessage(FromText(text));
    // Connect shows the versions before its download; the window cannot wait
    // for the event loop to show them.
    repaint();
}

void CMorvaneDlg::PortOpened()
{
    SetConnectedState(true);
    DlgItem<QPushButton>(this, kUploadLayout)->setEnabled(false);
    repaint();
}

void CMorvaneDlg::SetConnectedState(bool connected)
{
    m_connected = connected;
    m_connectButton->setText(connected ? QStringLiteral("Disconnect") : QStringLiteral("Connect"));
    DlgItem<QPushButton>(this, kUpgradeFirmware)->setEnabled(connected);
    if (!connected)
        DlgItem<QPushButton>(this, kUploadLayout)->setEnabled(false);
}

void CMorvaneDlg::ReportSerialError(uint32_t error, const std::string& text)
{
    QString message = FromText(text);
    if (message.isEmpty())
    {
        switch (error)
        {
        case ENOENT:
        case ENODEV:
        case ENXIO:
        case EACCES:
        case EPERM:
        case EBUSY:
            message = FromText(DescribeOpenError(error));
            break;
        default:
            message = QStringLiteral("The serial port failed: %1").arg(FromText(CSerialException(error).GetErrorMessage()));
            break;
        }
    }
    message.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    message = message.trimmed();
    UiServices().MessageBox(this, message, QStringLiteral("QELMorvane"), EMsgButtons::Ok, EMsgIcon::Error);
}

void CMorvaneDlg::Guarded(const std::function<void()>& handler)
{
    try
    {
        handler();
    }
    catch (const CSerialException& e)
    {
        // Whatever the handler had reached stays: an open port keeps the
        // window connected so that Disconnect can close it.
        if (m_link.IsConnected() && !m_connected)
            SetConnectedState(true);
        ReportSerialError(e.m_error, {});
    }
    catch (const std::exception& e)
    {
        // Nothing else is expected to escape a handler; if it does, say so
        // and keep the window running rather than unwinding through Qt.
        UiServices().MessageBox(this, QString::fromLocal8Bit(e.what()), QStringLiteral("QELMorvane"),
                                EMsgButtons::Ok, EMsgIcon::Error);
    }
}

void CMorvaneDlg::ApplyResult(const TLinkResult& result)
{
    if (result.outcome == ELinkOutcome::SerialError)
        ReportSerialError(result.systemError, result.message);
    else if (!result.message.empty())
        ShowMessage(FromText(result.message));
}

void CMorvaneDlg::OnConnect()
{
    if (m_connected)
    {
        m_link.Disconnect();
        SetConnectedState(false);
        return;
    }

    const std::optional<std::string> port = SelectedPort();
    if (!port)
    {
        ShowMessage(QStringLiteral("No port selected\r\nChoose a port from the list or type its device path\r\n"));
        return;
    }
    m_portName = *port;

    CFirmwareUpgrade progress(this);
    const TLinkResult result = m_link.Connect(
        *port, progress,
        [this](const uint8_t* bytes, int32_t length)
        {
            // The panel's layout replaces the document; a damaged one leaves
            // it, and its history, as they were.
            const bool loaded = m_layout.LoadFromBuffer(bytes, length);
            if (loaded && m_history != nullptr)
                m_history->Clear();
            return loaded;
        },
        this);
    ApplyResult(result);
    SetConnectedState(result.connected && m_link.IsConnected());
    DlgItem<QPushButton>(this, kUploadLayout)->setEnabled(m_connected && result.uploadAllowed);
}

void CMorvaneDlg::OnUploadLayout()
{
    CFirmwareUpgrade progress(this);
    progress.Begin(false);
    const int32_t length = m_layout.SaveToBuffer(m_uploadBuffer.data(), kUploadCapacity);
    const TLinkResult result = m_link.UploadLayout(m_uploadBuffer.data(), length, progress);
    progress.End();
    ApplyResult(result);
    if (!m_link.IsConnected())
        SetConnectedState(false);
}

void CMorvaneDlg::OnUpgradeFirmware()
{
    if (!m_connected)
    {
        const std::optional<std::string> port = SelectedPort();
        if (!port)
            return;
        m_portName = *port;
        m_link.OpenSelectedPort(*port);
        m_connected = true;
    }

    const std::optional<QString> file = UiServices().GetOpenFileName(this, FirmwareFileDialog());
    if (!file)
        return;

    CFirmwareUpgrade progress(this);
    progress.Begin(false);
    std::vector<uint8_t> bytes;
    std::string refusal;
    if (!ReadFirmwareFile(file->toStdString(), bytes, refusal))
    {
        progress.End();
        ShowMessage(FromText(refusal));
        return;
    }
    const TLinkResult result = m_link.UpgradeFirmware(bytes.data(), static_cast<int64_t>(bytes.size()), progress);
    progress.End();
    ApplyResult(result);
    SetConnectedState(m_link.IsConnected());
}

void CMorvaneDlg::OnEditLayout()
{
    // The programming dialog edits the document in place; its result tells nothing.
    CQELProg dialog(m_layout, m_history, this);
    UiServices().ExecDialog(dialog);
}

void CMorvaneDlg::OnDefineUserEvents()
{
    // OK writes the events into the document itself; the step records what
    // they replaced.
    const CEventsCommand::TFields descriptions = m_layout.eventDescriptions;
    const CEventsCommand::TFields texts = m_layout.eventTexts;
    CEventDef dialog(m_layout, this);
    if (UiServices().ExecDialog(dialog) == QDialog::Accepted && m_history != nullptr &&
        (descriptions != m_layout.eventDescriptions || texts != m_layout.eventTexts))
        m_history->Push(std::make_unique<CEventsCommand>(m_layout, descriptions, texts));
}

void CMorvaneDlg::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    QAction* about = menu.addAction(QStringLiteral("&About QELMorvane..."));
    if (UiServices().PopupMenu(this, menu, event->globalPos()) == about)
    {
        CAboutDlg box(this);
        box.exec();
    }
}
