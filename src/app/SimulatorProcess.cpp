#include "SimulatorProcess.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>

#include <csignal>
#include <sys/prctl.h>

CSimulatorProcess::~CSimulatorProcess() { Stop(); }

QString CSimulatorProcess::DefaultProgram()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("qelctl"));
}

bool CSimulatorProcess::Start(const QString& qelctl, const QStringList& extraArgs, int timeoutMs)
{
    Stop();
    m_path.clear();
    m_error.clear();
    m_process.setProgram(qelctl);
    m_process.setArguments(QStringList{QStringLiteral("simulate")} + extraArgs);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    m_process.start(QIODevice::ReadOnly);
    if (!m_process.waitForStarted(timeoutMs))
    {
        m_error =
            QCoreApplication::translate("CSimulatorProcess", "Cannot start the simulated panel (%1): %2")
                .arg(qelctl, m_process.errorString());
        return false;
    }
    const QDeadlineTimer deadline(timeoutMs);
    while (!m_process.canReadLine())
    {
        if (m_process.state() != QProcess::Running || deadline.hasExpired() ||
            !m_process.waitForReadyRead(static_cast<int>(std::max<qint64>(1, deadline.remainingTime()))))
        {
            if (m_process.canReadLine())
                break;
            m_error =
                QCoreApplication::translate("CSimulatorProcess", "The simulated panel did not start (%1)")
                    .arg(qelctl);
            Stop();
            return false;
        }
    }
    m_path = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    // Whatever the panel prints later is not needed, but must not fill the pipe.
    QObject::connect(&m_process, &QProcess::readyReadStandardOutput, &m_process,
                     [this] { m_process.readAllStandardOutput(); });
    if (m_path.isEmpty())
    {
        m_error = QCoreApplication::translate("CSimulatorProcess", "The simulated panel named no device");
        Stop();
        return false;
    }
    return true;
}

void CSimulatorProcess::Stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(2000))
    {
        m_process.kill();
        m_process.waitForFinished(2000);
    }
}
