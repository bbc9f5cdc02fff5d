#pragma once

#include "FirmwareUpgrade.h"
#include "ProgressSink.h"

#include <QObject>
#include <QString>

#include <string>

// The pieces of CLinkWorker that need Qt's signals.

// The reports of an exchange, made on its thread and carried by queued
// connections to the window thread, where they arrive in the order made.
class CReports : public QObject, public IProgressSink, public IMessageSink
{
    Q_OBJECT

public:
    CReports(CFirmwareUpgrade& progress, IMessageSink& messages)
    {
        connect(this, &CReports::Began, &progress, &CFirmwareUpgrade::Begin, Qt::QueuedConnection);
        connect(this, &CReports::Moved, &progress, &CFirmwareUpgrade::SetPosition, Qt::QueuedConnection);
        connect(this, &CReports::Ended, &progress, &CFirmwareUpgrade::End, Qt::QueuedConnection);
        connect(
            this, &CReports::Said, &progress, [&messages](const QString& text) { messages.ShowMessage(text.toStdString()); },
            Qt::QueuedConnection);
        connect(this, &CReports::Opened, &progress, [&messages] { messages.PortOpened(); }, Qt::QueuedConnection);
    }

    void Begin(bool reading) override { emit Began(reading); }
    void SetPosition(int32_t position) override { emit Moved(position); }
    void End() override { emit Ended(); }
    void ShowMessage(const std::string& text) override { emit Said(QString::fromStdString(text)); }
    void PortOpened() override { emit Opened(); }

signals:
    void Began(bool reading);
    void Moved(int32_t position);
    void Ended();
    void Said(const QString& text);
    void Opened();
    void Finished();
};

// One call made from another thread on the thread of a context object.
class CCallAcross : public QObject
{
    Q_OBJECT

signals:
    void Call();
};
