#include "SeveralPanelsDlg.h"

#include "PanelLink.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>

namespace
{

// A deployment's stages and progress, sent to the dialog as signals.
class CRowWatcher : public IDeployWatcher
{
public:
    CRowWatcher(CSeveralPanelsDlg& dlg, int index) : m_dlg(dlg), m_index(index) {}
    void Stage(const std::string& stage) override { emit m_dlg.StageReached(m_index, QString::fromStdString(stage)); }
    void Position(int32_t position) override { emit m_dlg.Moved(m_index, position); }

private:
    CSeveralPanelsDlg& m_dlg;
    int m_index;
};

QString Row(const TPanelRun& run)
{
    const QString port = QString::fromStdString(run.port);
    if (!run.finished)
    {
        QString row = port + QStringLiteral(": ") + QString::fromStdString(run.stage);
        if (run.position >= 0)
            row += QStringLiteral(" %1%").arg(run.position / 10);
        return row;
    }
    QString row = port + QStringLiteral(": ") +
                  (run.ok ? QCoreApplication::translate("CSeveralPanelsDlg", "ok: %1")
                          : QCoreApplication::translate("CSeveralPanelsDlg", "FAILED: %1"))
                      .arg(
QString::fromStdString(run.result));
    QStringList about;
    if (!run.controlName.empty())
        about << QString::fromStdString(run.controlName);
    if (run.firmware)
        about << QCoreApplication::translate("CSeveralPanelsDlg", "firmware %1").arg(*run.firmware);
    about << QCoreApplication::translate("CSeveralPanelsDlg", "%1 s").arg(run.seconds, 0, 'f', 1);
    return row + QStringLiteral(" (") + about.join(QStringLiteral(", ")) + u')';
}

} // namespace

const TDlgTemplate& CSeveralPanelsDlg::Template()
{
    static const TDlgTemplate tmpl{
        140,
        QT_TRANSLATE_NOOP("Dialog", "Upload to Several Panels"),
        300,
        196,
        {
            {kStaticId, EControlKind::Static, QT_TRANSLATE_NOOP("Dialog", "Panels to upload to:"),
             7, 7, 150, 8},
            {kPorts, EControlKind::ListBox, {}, 7, 18, 286, 62, kStyleBorder | kStyleVScroll},
            {kStaticId, EControlKind::Static, QT_TRANSLATE_NOOP("Dialog", "Other port:"), 7, 87, 40, 8},
            {kPortEdit, EControlKind::Edit, {}, 50, 85, 190, 12, kStyleBorder | kStyleAutoHScroll},
            {kAddPort, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Add"), 243, 84, 50, 14},
            {kResults, EControlKind::ListBox, {}, 7, 104, 286, 66, kStyleBorder | kStyleVScroll},
            {kUpload, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Upload"), 189, 176, 50, 14},
            {kClose, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Close"), 243, 176, 50, 14},
        },
    };
    return tmpl;
}

CSeveralPanelsDlg::CSeveralPanelsDlg(std::vector<uint8_t> image, const std::vector<std::string>& ports,
                                     TLinkMaker makeLink, QWidget* parent)
    : QDialog(parent), m_image(std::move(image)), m_makeLink(std::move(makeLink))
{
    BuildDialog(this, Template());
    m_ports = DlgItem<QListWidget>(this, kPorts);
    m_results = DlgItem<QListWidget>(this, kResults);
    m_portEdit = DlgItem<QLineEdit>(this, kPortEdit);
    m_portEdit->setPlaceholderText(tr("/dev/ttyUSB1 or rfc2217://host:port"));
    for (const std::string& port : ports)
    {
        auto* item = new QListWidgetItem(QString::fromStdString(port), m_ports);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    // Enter in the port field adds the port, never starts the uploads.
    for (const int id : {kUpload, kClose})
        DlgItem<QPushButton>(this, id)->setAutoDefault(false);
    connect(DlgItem<QPushButton>(this, kAddPort), &QPushButton::clicked, this, [this] { AddPort(); });
    connect(m_portEdit, &QLineEdit::returnPressed, this, [this] { AddPort(); });
    connect(DlgItem<QPushButton>(this, kUpload), &QPushButton::clicked, this, [this] { Start(); });
    connect(DlgItem<QPushButton>(this, kClose), &QPushButton::clicked, this, &CSeveralPanelsDlg::reject);
    connect(this, &CSeveralPanelsDlg::StageReached, this,
            [this](int index, const QString& stage)
            {
                m_runs[static_cast<size_t>(index)].stage = stage.toStdString();
                m_runs[static_cast<size_t>(index)].position = -1;
                Show(static_cast<size_t>(index));
            },
            Qt::QueuedConnection);
    connect(this, &CSeveralPanelsDlg::Moved, this,
            [this](int index, int position)
            {
                m_runs[static_cast<size_t>(index)].position = std::clamp(position, 0, 1000);
                Show(static_cast<size_t>(index));
            },
            Qt::QueuedConnection);
    connect(this, &CSeveralPanelsDlg::PanelDone, this, &CSeveralPanelsDlg::OnDone, Qt::QueuedConnection);
}

CSeveralPanelsDlg::~CSeveralPanelsDlg()
{
    for (std::thread& worker : m_workers)
        if (worker.joinable())
            worker.join();
}

void CSeveralPanelsDlg::AddPort()
{
    const QString port = m_portEdit->text().trimmed();
    if (port.isEmpty())
        return;
    TickPort(port);
    m_portEdit->clear();
}

void CSeveralPanelsDlg::TickPort(const QString& port)
{
    const QList<QListWidgetItem*> found = m_ports->findItems(port, Qt::MatchExactly);
    QListWidgetItem* item = found.isEmpty() ? new QListWidgetItem(port, m_ports) : found.front();
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Checked);
}

void CSeveralPanelsDlg::Start()
{
    if (IsRunning())
        return;
    for (std::thread& worker : m_workers)
        worker.join();
    m_workers.clear();
    m_runs.clear();
    m_results->clear();
    for (int i = 0; i < m_ports->count(); ++i)
        if (m_ports->item(i)->checkState() == Qt::Checked)
        {
            TPanelRun run;
            run.port = m_ports->item(i)->text().toStdString();
            m_runs.push_back(run);
        }
    if (m_runs.empty())
        return;
    for (QPushButton* button : {DlgItem<QPushButton>(this, kUpload), DlgItem<QPushButton>(this, kClose),
                                DlgItem<QPushButton>(this, kAddPort)})
        button->setEnabled(false);
    m_ports->setEnabled(false);
    m_portEdit->setEnabled(false);
    m_running = static_cast<int>(m_runs.size());
    m_done.assign(m_runs.size(), TPanelRun{});
    for (size_t i = 0; i < m_runs.size(); ++i)
    {
        m_results->addItem(Row(m_runs[i]));
        const std::string port = m_runs[i].port;
        std::unique_ptr<CPanelLink> link = m_makeLink ? m_makeLink(port) : std::make_unique<CPanelLink>();
        m_workers.emplace_back(
            [this, i, port, link = std::move(link)]() mutable
            {
                CRowWatcher watcher(*this, static_cast<int>(i));
                // Only this thread touches its slot of m_done, until PanelDone.
                TPanelRun run = DeployToPanel(*link, port, m_image, watcher);
                link.reset();
                run.finished = true;
                m_done[i] = std::move(run);
                emit PanelDone(static_cast<int>(i));
            });
    }
}

void CSeveralPanelsDlg::Show(size_t index)
{
    if (QListWidgetItem* item = m_results->item(static_cast<int>(index)))
        item->setText(Row(m_runs[index]));
}

void CSeveralPanelsDlg::OnDone(int index)
{
    m_runs[static_cast<size_t>(index)] = m_done[static_cast<size_t>(index)];
    Show(static_cast<size_t>(index));
    if (--m_running > 0)
        return;
    for (QPushButton* button : {DlgItem<QPushButton>(this, kUpload), DlgItem<QPushButton>(this, kClose),
                                DlgItem<QPushButton>(this, kAddPort)})
        button->setEnabled(true);
    m_ports->setEnabled(true);
    m_portEdit->setEnabled(true);
    emit Finished();
}

void CSeveralPanelsDlg::reject()
{
    // The uploads end by themselves; the window waits for them.
    if (!IsRunning())
        QDialog::reject();
}
