#pragma once

#include "DialogTemplate.h"
#include "PanelDeployment.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class CPanelLink;
class QListWidget;
class QLineEdit;

// "Upload to Several Panels": the open layout to every panel ticked (ports
// found and network ports typed), all at once. Each panel goes through the
// handshake, the backup of the layout it holds, the upload and the
// read-back; one row per panel shows its stage and progress, then its
// result. A panel that fails never stops the others.
class CSeveralPanelsDlg : public QDialog
{
    Q_OBJECT

public:
    enum EControl : int
    {
        kPorts = 1100,
        kPortEdit = 1101,
        kAddPort = 1102,
        kResults = 1103,
        // Not OK and Cancel: Upload keeps the dialog open, and Close waits
        // for the uploads under way.
        kUpload = 1104,
        kClose = 1105,
    };
    static const TDlgTemplate& Template();

    using TLinkMaker = std::function<std::unique_ptr<CPanelLink>(const std::string& port)>;

    // image: the layout's bytes; ports: those listed, none ticked at first.
    // makeLink gives the link for a port (unset: the port's own line on the
    // steady clock).
    CSeveralPanelsDlg(std::vector<uint8_t> image, const std::vector<std::string>& ports, TLinkMaker makeLink = {},
                      QWidget* parent = nullptr);
    ~CSeveralPanelsDlg() override;

    // Ticks a listed port, or lists and ticks a typed one.
    void TickPort(const QString& port);
    // Starts the uploads to the ticked ports.
    void Start();
    bool IsRunning() const { return m_running > 0; }
    // Every panel's run as it stands.
    const std::vector<TPanelRun>& Runs() const { return m_runs; }

    void reject() override;
    // Enter adds a typed port; nothing else ends the dialog but Close.
    void accept() override {}

signals:
    // Every upload has ended.
    void Finished();
    // From the uploads' threads, carried to the dialog's.
    void StageReached(int index, const QString& stage);
    void Moved(int index, int position);
    void PanelDone(int index);

private:
    void AddPort();
    void Show(size_t index);
    void OnDone(int index);

    std::vector<uint8_t> m_image;
    TLinkMaker m_makeLink;
    QListWidget* m_ports;
    QListWidget* m_results;
    QLineEdit* m_portEdit;
    std::vector<TPanelRun> m_runs;
    // What each upload's thread came to, read once it says it is done.
    std::vector<TPanelRun> m_done;
    std::vector<std::thread> m_workers;
    int m_running = 0;
};
