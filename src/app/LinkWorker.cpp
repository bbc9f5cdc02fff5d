#include "LinkWorker.h"

#include "FirmwareUpgrade.h"

#include <QEventLoop>
#include <QPushButton>
#include <QThread>

#include <atomic>
#include <exception>
#include <thread>

namespace
{

// Calls made on the worker thread, carried out on the window thread in the
// order they were made.
void Post(QObject* context, std::function<void()> call)
{
    QMetaObject::invokeMethod(context, std::move(call), Qt::QueuedConnection);
}

class CQueuedProgress : public IProgressSink
{
public:
    explicit CQueuedProgress(CFirmwareUpgrade& target) : m_target(target) {}

    void Begin(bool reading) override
    {
        Post(&m_target, [t = &m_target, reading] { t->Begin(reading); });
    }
    void SetPosition(int32_t position) override
    {
        Post(&m_target, [t = &m_target, position] { t->SetPosition(position); });
    }
    void End() override
    {
        Post(&m_target, [t = &m_target] { t->End(); });
    }

private:
    CFirmwareUpgrade& m_target;
};

class CQueuedMessages : public IMessageSink
{
public:
    CQueuedMessages(IMessageSink& target, QObject* context) : m_target(target), m_context(context) {}

    void ShowMessage(const std::string& text) override
    {
        Post(m_context, [t = &m_target, text] { t->ShowMessage(text); });
    }
    void PortOpened() override
    {
        Post(m_context, [t = &m_target] { t->PortOpened(); });
    }

private:
    IMessageSink& m_target;
    QObject* m_context;
};

} // namespace

TLinkResult CLinkWorker::Run(CPanelLink& link, CFirmwareUpgrade& progress, IMessageSink& messages,
                             bool cancellable, const TWork& work)
{
    std::atomic<bool> cancel{false};
    QPushButton* cancelButton = progress.CancelButton();
    cancelButton->setEnabled(cancellable);
    cancelButton->setToolTip(cancellable ? QString() : QString::fromUtf8(kFirmwareCancelTip));
    const QMetaObject::Connection pressed =
        QObject::connect(cancelButton, &QPushButton::clicked, cancelButton,
                         [&cancel, cancelButton]
                         {
                             cancel = true;
                             cancelButton->setEnabled(false);
                         });
    link.SetCancelFlag(cancellable ? &cancel : nullptr);

    CQueuedProgress queuedProgress(progress);
    CQueuedMessages queuedMessages(messages, &progress);
    QEventLoop loop;
    TLinkResult result;
    std::exception_ptr failure;
    std::thread worker(
        [&]
        {
            try
            {
                result = work(queuedProgress, queuedMessages);
            }
            catch (...)
            {
                failure = std::current_exception();
            }
            // After every report the exchange made, so they all arrive first.
            QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
        });
    loop.exec();
    worker.join();

    link.SetCancelFlag(nullptr);
    QObject::disconnect(pressed);
    cancelButton->setEnabled(true);
    cancelButton->setToolTip({});
    if (failure)
        std::rethrow_exception(failure);
    return result;
}

bool CLinkWorker::OnThreadOf(QObject* context, const std::function<bool()>& fn)
{
    if (QThread::currentThread() == context->thread())
        return fn();
    bool answer = false;
    QMetaObject::invokeMethod(context, [&answer, &fn] { answer = fn(); }, Qt::BlockingQueuedConnection);
    return answer;
}
