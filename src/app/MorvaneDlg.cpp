#include "MorvaneDlg.h"

#include "AboutDlg.h"
#include "DialogTemplate.h"
#include "EventDef.h"
#include "HistoryShortcuts.h"
#include "LayoutEdits.h"
#include "LayoutHistory.h"
#include "QELProg.h"
#include "FirmwareFile.h"
#include "FirmwareUpgrade.h"
#include "Layout.h"
#include "LayoutVerify.h"
#include "OpenFile.h"
#include "PanelBackup.h"
#include "PortList.h"
#include "ReportText.h"
#include "SerialPort.h"
#include "SeveralPanelsDlg.h"
#include "TransferTime.h"
#include "UiServices.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <chrono>

namespace
{

using enum CMorvaneDlg::EControl;

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
            {kStaticId, EControlKind::Static, QT_TRANSLATE_NOOP("Dialog", "Port:"), 213, 8, 17, 8},
            {kPortList, EControlKind::ComboBox, {}, 237, 6, 48, 30, kStyleEditable | kStyleSorted | kStyleVScroll},
            {kConnect, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Connect"), 206, 28, 79, 14},
            {kEditLayout, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Edit Layout"), 206, 48, 79, 14},
            {kDefineUserEvents, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Define User Events"),
             206, 68, 79, 14},
            {kUploadLayout, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Upload Layout"),
             206, 88, 79, 14},
            {kUpgradeFirmware, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Upgrade Firmware"),
             206, 108, 79, 14},
            {kExit, EControlKind::DefButton, QT_TRANSLATE_NOOP("Dialog", "Exit"), 206, 128, 79, 14},
        },
    };
    return tmpl;
}

TFileDialogSpec FirmwareFileDialog()
{
    return {
        QCoreApplication::translate("FileDialog", "QEL-1 Firmware File") + QStringLiteral(" (*.qfw)|*.qfw|") +
            QCoreApplication::translate("FileDialog", "All Files") + QStringLiteral(" (*.*)|*.*||"),
        QStringLiteral(".qfw"),
        {},
    };
}

QString FromText(const std::string& text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

} // namespace

void BuildMainWindowTemplate(QWidget* dialog) { BuildDialog(dialog, MainTemplate()); }

CMorvaneDlg::CMorvaneDlg(TLayout& layout, const TMainOptions& options, QWidget* parent)
    : CMorvaneDlg(layout, *new CLayoutHistory(layout), options, parent)
{
    // A child, it outlives the child windows that use it.
    m_history.setParent(this);
}

CMorvaneDlg::CMorvaneDlg(TLayout& layout, CLayoutHistory& history, const TMainOptions& options,
                         QWidget* parent)
    : QDialog(parent), m_layout(layout), m_history(history),
      m_link(options.makeLink ? options.makeLink() : std::make_unique<CPanelLink>()),
      m_makePortLink(options.makePortLink),
      m_hIcon(QStringLiteral(":/app/qelmorvane.png")), m_uploadBuffer(static_cast<size_t>(kUploadCapacity))
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

    AddHistoryShortcuts(*this, history, [this] { return m_busy; });
    EnumeratePorts(options);
    SetConnectedState(false);

    m_extraPort = options.extraPort.toStdString();
    if (!options.ports)
    {
        // Device nodes come and go with the adapters; a rescan reads only /sys.
        m_devWatcher = new QFileSystemWatcher({QStringLiteral("/dev")}, this);
        connect(m_devWatcher, &QFileSystemWatcher::directoryChanged, this, [this] { RescanPorts(); });
    }
    m_probeTimer = new QTimer(this);
    m_probeTimer->setInterval(100);
    connect(m_probeTimer, &QTimer::timeout, this, [this] { FinishFindPanel(); });
    SetUpOpenFile(options);
    // Enter in the port box connects; it never reaches Exit, the default button.
    if (m_portCombo->lineEdit() != nullptr)
        m_portCombo->lineEdit()->installEventFilter(this);
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
            tips.push_back(tr("Simulated QEL-1 panel"));
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
}

void CMorvaneDlg::PortOpened()
{
    m_uploadAllowed = false;
    SetConnectedState(true);
}

void CMorvaneDlg::SetConnectedState(bool connected)
{
    m_connected = connected;
    if (!connected)
        m_uploadAllowed = false;
    m_connectButton->setText(connected ? tr("Disconnect") : tr("Connect"));
    UpdateButtons();
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
            message =
                tr("The serial port failed: %1").arg(FromText(CSerialException(error).GetErrorMessage()));
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
        if (m_link->IsConnected() && !m_connected)
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
        m_link->Disconnect();
        SetConnectedState(false);
        return;
    }

    const std::optional<std::string> port = SelectedPort();
    if (!port)
    {
        ShowMessage(tr("No port selected\r\nChoose a port from the list or type its device path\r\n"));
        return;
    }
    m_portName = *port;
    // The panel's layout will replace the document: its changes are saved or
    // given up first. Whether the panel sends one is known only once the
    // transfer runs, and it is not held up for a question then.
    if (!m_file->MayDropChanges(this))
        return;

    CFirmwareUpgrade progress(this);
    m_panelLayout.clear();
    const TLinkResult result = RunTransfer(
        progress, true,
        [this, &port](IProgressSink& sink, IMessageSink& messages)
        {
            return m_link->Connect(
                *port, sink,
                [this](const uint8_t* bytes, int32_t length)
                {
                    // On the window's thread: the panel's layout replaces the
                    // document; a damaged one leaves it, and its history, as
                    // they were. What the panel held is kept for the backup
                    // an upload makes.
                    return CLinkWorker::OnThreadOf(this,
                                                   [this, bytes, length]
                                                   {
                                                       const bool loaded = m_layout.LoadFromBuffer(bytes, length);
                                                       if (loaded)
                                                       {
                                                           m_file->Replaced();
                                                           m_panelLayout.assign(bytes, bytes + length);
                                                       }
                                                       return loaded;
                                                   });
                },
                &messages);
        });
    ApplyResult(result);
    m_firmwareVersion = result.firmwareVersion;
    SetConnectedState(result.connected && m_link->IsConnected());
    m_uploadAllowed = m_connected && result.uploadAllowed;
    UpdateButtons();
}

void CMorvaneDlg::OnUploadLayout()
{
    const int32_t length = m_layout.SaveToBuffer(m_uploadBuffer.data(), kUploadCapacity);
    // What will happen, before it does: the size against the panel's buffer
    // and the time the upload and its read-back will take.
    QString report = UploadSizeLine(length);
    ShowMessage(report);
    if (length < 0)
    {
        CFirmwareUpgrade progress(this);
        ApplyResult(m_link->UploadLayout(m_uploadBuffer.data(), length, progress));
        return;
    }
    // The layout the panel holds is kept before it is replaced.
    if (!m_panelLayout.empty())
    {
        std::string saved;
        TLayout held;
        const bool read = held.LoadFromBuffer(m_panelLayout.data(), static_cast<int32_t>(m_panelLayout.size()));
        const TFileResult kept =
            read ? SavePanelBackup(held, saved)
                 : TFileResult::Failure(EFileError::Damaged,
                                        tr("the panel's layout is damaged").toStdString());
        if (!kept)
        {
            ShowMessage(report + tr("The panel's layout could not be kept: %1\r\nLayout not uploaded\r\n")
                                     .arg(FromText(kept.reason)));
            return;
        }
        report += tr("Backup of the panel's layout: %1\r\n").arg(FromText(saved));
        ShowMessage(report);
    }

    CFirmwareUpgrade progress(this);
    const int32_t firmware = m_firmwareVersion.value_or(0);
    const TLinkResult result = RunTransfer(
        progress, true,
        [this, length, firmware](IProgressSink& sink, IMessageSink&)
        {
            TLinkResult sent = m_link->UploadLayout(m_uploadBuffer.data(), length, sink);
            if (sent.outcome != ELinkOutcome::Ok || !sent.endConfirmed || !m_link->IsConnected())
                return sent;
            TLinkResult checked = VerifyLayout(*m_link, firmware, m_uploadBuffer.data(), length, sink);
            if (checked.outcome == ELinkOutcome::Ok)
                checked.message = tr("Layout uploaded and verified\r\n").toStdString();
            return checked;
        });
    if (result.outcome == ELinkOutcome::SerialError)
        ReportSerialError(result.systemError, result.message);
    else
        ShowMessage(report + FromText(result.message));
    // The panel now holds what was sent: the next upload keeps that.
    if (result.outcome == ELinkOutcome::Ok)
        m_panelLayout.assign(m_uploadBuffer.begin(), m_uploadBuffer.begin() + length);
    if (!m_link->IsConnected())
        SetConnectedState(false);
}

QString CMorvaneDlg::UploadSizeLine(int32_t length) const
{
    if (length < 0)
        return {};
    const double seconds = static_cast<double>(ExpectedUploadMs(length) + ExpectedDownloadMs(length)) / 1000.0;
    return tr("Layout: %1 of the panel's %2 bytes (%3%), %4 blocks: about %5 s to send and read back\r\n")
        .arg(FromText(GroupedDigits(length)), FromText(GroupedDigits(kUploadCapacity)))
        .arg(100.0 * length / kUploadCapacity, 0, 'f', 1)
        .arg(length / 1000 + 1)
        .arg(seconds, 0, 'f', 1);
}

TLinkResult CMorvaneDlg::RunTransfer(CFirmwareUpgrade& progress, bool cancellable, const CLinkWorker::TWork& work)
{
    m_busy = true;
    UpdateButtons();
    struct TDone
    {
        CMorvaneDlg& dlg;
        ~TDone()
        {
            dlg.m_busy = false;
            dlg.UpdateButtons();
        }
    } done{*this};
    return CLinkWorker::Run(*m_link, progress, *this, cancellable, work);
}

void CMorvaneDlg::UpdateButtons()
{
    const bool idle = !m_busy;
    m_connectButton->setEnabled(idle && !IsFindingPanel());
    m_portCombo->setEnabled(idle);
    for (const int id : {kEditLayout, kDefineUserEvents, kExit})
        DlgItem<QPushButton>(this, id)->setEnabled(idle);
    DlgItem<QPushButton>(this, kUpgradeFirmware)->setEnabled(idle && m_connected);
    DlgItem<QPushButton>(this, kUploadLayout)->setEnabled(idle && m_connected && m_uploadAllowed);
}

void CMorvaneDlg::OnUpgradeFirmware()
{
    if (!m_connected)
    {
        const std::optional<std::string> port = SelectedPort();
        if (!port)
            return;
        m_portName = *port;
        m_link->OpenSelectedPort(*port);
        m_connected = true;
    }

    const std::optional<QString> file = UiServices().GetOpenFileName(this, FirmwareFileDialog());
    if (!file)
        return;

    std::vector<uint8_t> bytes;
    std::string refusal;
    if (!ReadFirmwareFile(file->toStdString(), bytes, refusal))
    {
        ShowMessage(FromText(refusal));
        return;
    }
    CFirmwareUpgrade progress(this);
    const TLinkResult result =
        RunTransfer(progress, false, [this, &bytes](IProgressSink& sink, IMessageSink&)
                    { return m_link->UpgradeFirmware(bytes.data(), static_cast<int64_t>(bytes.size()), sink); });
    ApplyResult(result);
    SetConnectedState(m_link->IsConnected());
}

void CMorvaneDlg::OnEditLayout()
{
    // The programming dialog edits the document in place; its result tells nothing.
    CQELProg dialog(m_layout, m_history, this);
    dialog.SetTemplateFile(m_file.get());
    UiServices().ExecDialog(dialog);
}

void CMorvaneDlg::OnDefineUserEvents()
{
    // OK writes the events into the document itself; the step records what
    // they replaced.
    const CLayoutEdits::TEventTexts descriptions = m_layout.eventDescriptions;
    const CLayoutEdits::TEventTexts texts = m_layout.eventTexts;
    CEventDef dialog(m_layout, this);
    if (UiServices().ExecDialog(dialog) == QDialog::Accepted)
        m_history.Edits().EventsWritten(descriptions, texts);
}

void CMorvaneDlg::RescanPorts()
{
    std::vector<std::string> ports;
    std::vector<QString> tips;
    for (const TPortInfo& port : ::EnumeratePorts())
    {
        ports.push_back(port.path);
        tips.push_back(FromText(port.description));
    }
    if (!m_extraPort.empty() && std::find(ports.begin(), ports.end(), m_extraPort) == ports.end())
    {
        ports.push_back(m_extraPort);
        tips.push_back(tr("Simulated QEL-1 panel"));
    }
    if (ports == m_ports)
        return;
    const QString shown = m_portCombo->currentText();
    m_ports = ports;
    m_portCombo->clear();
    for (size_t i = 0; i < m_ports.size(); ++i)
    {
        const QString path = FromText(m_ports[i]);
        const int at = AddComboItem(m_portCombo, path, path);
        if (!tips[i].isEmpty())
            m_portCombo->setItemData(at, tips[i], Qt::ToolTipRole);
    }
    const int at = m_portCombo->findText(shown);
    m_portCombo->setCurrentIndex(at);
    if (at < 0)
        m_portCombo->setEditText(shown);
}

void CMorvaneDlg::OnFindPanel()
{
    if (m_probe.valid() || m_connected)
        return;
    std::vector<std::string> ports = m_ports;
    const std::optional<std::string> typed = SelectedPort();
    if (typed && std::find(ports.begin(), ports.end(), *typed) == ports.end())
        ports.push_back(*typed);
    if (ports.empty())
    {
        ShowMessage(tr("No panel found\r\nNo ports to search\r\n"));
        return;
    }
    m_connectButton->setEnabled(false);
    ShowMessage(tr("Looking for a panel on %1 ports...\r\n").arg(ports.size()));
    m_probe = std::async(std::launch::async, [ports] { return ProbePorts(ports); });
    m_probeTimer->start();
}

void CMorvaneDlg::FinishFindPanel()
{
    if (!m_probe.valid() || m_probe.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        return;
    m_probeTimer->stop();
    const std::vector<TProbeResult> results = m_probe.get();
    m_connectButton->setEnabled(true);
    QString message;
    QString searched;
    const TProbeResult* first = nullptr;
    for (const TProbeResult& r : results)
    {
        searched += (searched.isEmpty() ? QString() : QStringLiteral(", ")) + FromText(r.port);
        if (!r.answered)
            continue;
        if (first == nullptr)
            first = &r;
        message += tr("Found a QEL-1 on %1 (firmware %2)\r\n")
                       .arg(FromText(r.port),
                            r.firmwareVersion ? QString::number(*r.firmwareVersion) : tr("unknown"));
    }
    if (first == nullptr)
    {
        ShowMessage(tr("No panel found\r\nPorts searched: %1\r\n").arg(searched));
        return;
    }
    const QString port = FromText(first->port);
    const int at = m_portCombo->findText(port);
    m_portCombo->setCurrentIndex(at);
    if (at < 0)
        m_portCombo->setEditText(port);
    ShowMessage(message);
}

void CMorvaneDlg::contextMenuEvent(QContextMenuEvent* event)
{
    if (m_busy)
        return;
    QMenu menu(this);
    AddFileEntries(menu);
    QAction* find = menu.addAction(tr("&Find Panel"));
    find->setEnabled(!m_connected && !m_probe.valid());
    QAction* several = menu.addAction(tr("&Upload to Several Panels..."));
    menu.addSeparator();
    QAction* about = menu.addAction(tr("&About QELMorvane..."));
    QAction* chosen = UiServices().PopupMenu(this, menu, event->globalPos());
    if (chosen == find)
        OnFindPanel();
    else if (chosen == several)
        OnUploadToSeveralPanels();
    else if (chosen == about)
    {
        CAboutDlg box(this);
        box.exec();
    }
    else
    {
        RunFileEntry(chosen);
    }
}

void CMorvaneDlg::OnUploadToSeveralPanels()
{
    std::vector<uint8_t> image = m_layout.SaveToBytes();
    if (image.size() > static_cast<size_t>(kUploadCapacity))
    {
        ShowMessage(
            tr("The layout is larger than the panel takes (512,000 bytes)\r\nLayout not uploaded\r\n"));
        return;
    }
    std::vector<std::string> ports = m_ports;
    if (!m_extraPort.empty() && std::find(ports.begin(), ports.end(), m_extraPort) == ports.end())
        ports.push_back(m_extraPort);
    CSeveralPanelsDlg dialog(std::move(image), ports, m_makePortLink, this);
    UiServices().ExecDialog(dialog);
}

void CMorvaneDlg::SetUpOpenFile(const TMainOptions& options)
{
    m_file = std::make_unique<COpenFile>(m_layout, m_history, options.settingsFile);
    connect(m_file.get(), &COpenFile::Changed, this, [this] { setWindowTitle(m_file->WindowTitle()); });
    setWindowTitle(m_file->WindowTitle());
    const std::pair<QKeySequence, std::function<void()>> keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_O), [this] { m_file->Load(this); }},
        {QKeySequence(Qt::CTRL | Qt::Key_S), [this] { m_file->Save(this); }},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), [this] { m_file->SaveAs(this); }},
    };
    for (const auto& entry : keys)
    {
        const std::function<void()> run = entry.second;
        connect(new QShortcut(entry.first, this), &QShortcut::activated, this,
                [this, run]
                {
                    if (!m_busy)
                        run();
                });
    }
}

namespace
{

// What a file entry of the context menu does; a recent one names its file.
enum class EFileEntry
{
    Open,
    Save,
    SaveAs,
    Recent,
    Restore,
};

QAction* AddEntry(QMenu& menu, const QString& text, EFileEntry entry, const QKeySequence& keys = {},
                  const QString& path = {})
{
    QAction* action = menu.addAction(text);
    action->setShortcut(keys);
    action->setData(QVariantList{static_cast<int>(entry), path});
    return action;
}

} // namespace

void CMorvaneDlg::AddFileEntries(QMenu& menu)
{
    AddEntry(menu, tr("&Open Template..."), EFileEntry::Open, QKeySequence(Qt::CTRL | Qt::Key_O));
    AddEntry(menu, tr("&Save Template"), EFileEntry::Save, QKeySequence(Qt::CTRL | Qt::Key_S));
    AddEntry(menu, tr("Save Template &As..."), EFileEntry::SaveAs,
             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    QMenu* recent = menu.addMenu(tr("&Recent Templates"));
    const QStringList paths = m_file->Recent().Entries();
    for (qsizetype i = 0; i < paths.size(); ++i)
        AddEntry(*recent, QStringLiteral("&%1 %2").arg(i + 1).arg(paths[i]), EFileEntry::Recent, {}, paths[i]);
    recent->setEnabled(!paths.isEmpty());
    AddEntry(menu, tr("Restore &Previous Layout..."), EFileEntry::Restore);
    menu.addSeparator();
}

bool CMorvaneDlg::RunFileEntry(const QAction* chosen)
{
    if (chosen == nullptr)
        return false;
    const QVariantList data = chosen->data().toList();
    if (data.size() != 2)
        return false;
    switch (static_cast<EFileEntry>(data[0].toInt()))
    {
    case EFileEntry::Open:
        m_file->Load(this);
        break;
    case EFileEntry::Save:
        m_file->Save(this);
        break;
    case EFileEntry::SaveAs:
        m_file->SaveAs(this);
        break;
    case EFileEntry::Recent:
        m_file->LoadRecent(this, data[1].toString());
        break;
    case EFileEntry::Restore:
        RestorePreviousLayout();
        break;
    }
    return true;
}

void CMorvaneDlg::RestorePreviousLayout()
{
    // The connected panel's own backups when it has some, otherwise all of them.
    const QString root = QString::fromStdString(PanelBackupRoot());
    QString folder = root;
    if (m_connected)
    {
        const QString own =
            root + u'/' + QString::fromStdString(BackupFolderName(m_layout.controlName));
        if (QFileInfo(own).isDir())
            folder = own;
    }
    TFileDialogSpec spec = CQELProg::TemplateFileDialog();
    spec.initialName = folder + u'/';
    const std::optional<QString> path = UiServices().GetOpenFileName(this, spec);
    if (path)
        m_file->LoadCopy(this, *path);
}

void CMorvaneDlg::done(int result)
{
    // A transfer ends only through its own Cancel.
    if (m_busy || !m_file->MayDropChanges(this))
        return;
    QDialog::done(result);
}

bool CMorvaneDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_portCombo->lineEdit() && event->type() == QEvent::KeyPress)
    {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
        {
            if (m_connectButton->isEnabled())
                m_connectButton->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
