#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// A simulated panel running as "qelctl simulate" in a child process, so the
// program itself stays on one thread. The child is stopped with this object,
// and by the system should the program end without it.
class CSimulatorProcess
{
public:
    CSimulatorProcess() = default;
    ~CSimulatorProcess();
    CSimulatorProcess(const CSimulatorProcess&) = delete;
    CSimulatorProcess& operator=(const CSimulatorProcess&) = delete;

    // Starts the program (normally qelctl next to this executable) with
    // "simulate" and the extra arguments, and waits up to timeoutMs for the
    // pseudo-terminal path it prints first. False with Error() set on failure.
    bool Start(const QString& qelctl, const QStringList& extraArgs, int timeoutMs = 10000);
    void Stop();

    const QString& DevicePath() const { return m_path; }
    const QString& Error() const { return m_error; }

    // qelctl in the folder of the running executable.
    static QString DefaultProgram();

private:
    QProcess m_process;
    QString m_path;
    QString m_error;
};
