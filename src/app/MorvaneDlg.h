#pragma once

#include "LinkWorker.h"
#include "PanelLink.h"
#include "PanelProbe.h"
#include "ProgressSink.h"

#include <QDialog>
#include <QIcon>
#include <QString>

#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CLayoutHistory;
class COpenFile;
class QAction;
class QComboBox;
class QFileSystemWatcher;
class QMenu;
class QPushButton;
class QTimer;
class TLayout;

// What the main window starts with besides the ports it finds.
struct TMainOptions
{
    // The ports to list instead of those found on the machine.
    std::optional<std::vector<std::string>> ports;
    // A further device (the simulated panel) added to the list.
    QString extraPort;
    // The device selected at start (a listed one, or a typed path).
    QString preselect;
    // Where the recent templates are kept; empty for the user's settings.
    QString settingsFile;
    // Makes the link the window reaches panels through: the line it opens and
    // the clock its pauses are taken on. Unset: a line for whatever port
    // Connect names (a serial device or an rfc2217:// network port) on the
    // steady clock. Tests give a panel on a virtual clock instead.
    std::function<std::unique_ptr<CPanelLink>()> makeLink;
    // The link Upload to Several Panels reaches one port through. Unset: the
    // port's own line on the steady clock.
    std::function<std::unique_ptr<CPanelLink>(const std::string& port)> makePortLink;
};

// The main window: the port list, Connect/Disconnect, the layout and firmware
// transfers, the editors' entry points and the message pane.
class CMorvaneDlg : public QDialog, public IMessageSink
{
    Q_OBJECT

public:
    // The controls of the main window's template (dialog 102).
    enum EControl : int
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

    // With a history of the window's own.
    CMorvaneDlg(TLayout& layout, const TMainOptions& options = {}, QWidget* parent = nullptr);
    // The editors' changes become steps of the history; Ctrl+Z and Ctrl+Y
    // undo and redo here too.
    CMorvaneDlg(TLayout& layout, CLayoutHistory& history, const TMainOptions& options = {},
                QWidget* parent = nullptr);
    ~CMorvaneDlg() override;

    // Replaces the message pane's one message; lines end in "\r\n".
    void ShowMessage(const QString& text);
    void ShowMessage(const std::string& text) override;
    // Connect has opened the port: the window reads "Disconnect" from here
    // on, through the version request and the download.
    void PortOpened() override;
    const QString& Log() const { return m_log; }

    bool IsConnected() const { return m_connected; }
    // The device Connect would open: the chosen entry's path or a typed one.
    std::optional<std::string> SelectedPort() const;

    // Button handlers; each runs its whole exchange before returning.
    void OnConnect();
    void OnUpgradeFirmware();
    void OnUploadLayout();
    void OnEditLayout();
    void OnDefineUserEvents();
    // Context menu "Find Panel": asks every listed port (and a typed one) for
    // a panel's versions in the background and selects the port that answers.
    // Connect waits meanwhile.
    void OnFindPanel();
    // Context menu "Upload to Several Panels...": the layout to many panels at once.
    void OnUploadToSeveralPanels();
    bool IsFindingPanel() const { return m_probe.valid(); }
    // Lists the serial devices again (an adapter plugged in or out), keeping
    // what the port box shows.
    void RescanPorts();

    // Runs a handler; a serial failure that escapes it is shown in a message
    // box and the window carries on in whatever state the handler reached.
    void Guarded(const std::function<void()>& handler);

    // The template the layout belongs to; null without a history, which
    // alone can tell unsaved changes.
    COpenFile* OpenFile() const { return m_file.get(); }

    std::vector<std::string> m_ports;
    bool m_connected = false;
    std::string m_portName;

    // Exit, Esc and the close box end the window only once unsaved changes
    // are saved or given up.
    void done(int result) override;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void EnumeratePorts(const TMainOptions& options);
    void ReportSerialError(uint32_t error, const std::string& text);
    void SetConnectedState(bool connected);
    void ApplyResult(const TLinkResult& result);
    void FinishFindPanel();
    // Runs an exchange with the panel on the link's worker thread; the
    // window's buttons wait meanwhile and clicks on them are not kept.
    TLinkResult RunTransfer(CFirmwareUpgrade& progress, bool cancellable, const CLinkWorker::TWork& work);
    void UpdateButtons();
    // "Layout: N of the panel's 512,000 bytes (P%), B blocks: about S s to
    // send and read back"; empty for a layout too large to hold.
    QString UploadSizeLine(int32_t length) const;
    // Context menu "Restore Previous Layout...": a backup of a panel's
    // layout, opened as a template.
    void RestorePreviousLayout();
    void SetUpOpenFile(const TMainOptions& options);
    // The open file's entries of the context menu; runs the one chosen and
    // tells whether it was one of them.
    void AddFileEntries(QMenu& menu);
    bool RunFileEntry(const QAction* chosen);

    TLayout& m_layout;
    CLayoutHistory& m_history;
    std::unique_ptr<CPanelLink> m_link;
    std::function<std::unique_ptr<CPanelLink>(const std::string& port)> m_makePortLink;
    // A transfer is running on the link's thread.
    bool m_busy = false;
    bool m_uploadAllowed = false;
    std::optional<int32_t> m_firmwareVersion;
    // The layout the panel holds, as Connect downloaded it or the last upload
    // sent it: the backup an upload keeps before replacing it.
    std::vector<uint8_t> m_panelLayout;
    QIcon m_hIcon;
    QComboBox* m_portCombo = nullptr;
    QPushButton* m_connectButton = nullptr;
    QString m_log;
    // One upload buffer for the whole run; an upload makes no other allocation.
    std::vector<uint8_t> m_uploadBuffer;
    // Hot-plugging: the ports found follow /dev unless the caller fixed the list.
    std::string m_extraPort;
    QFileSystemWatcher* m_devWatcher = nullptr;
    std::future<std::vector<TProbeResult>> m_probe;
    QTimer* m_probeTimer = nullptr;
    std::unique_ptr<COpenFile> m_file;
};

// Builds the main window's controls into a widget (template 102).
void BuildMainWindowTemplate(QWidget* dialog);
