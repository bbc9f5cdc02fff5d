#include "LinkWorker.h"

#include "FirmwareUpgrade.h"
#include "LinkReports.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPushButton>
#include <QThread>

#include <atomic>
#include <exception>
#include <thread>


TLinkResult CLinkWorker::Run(CPanelLink& link, CFirmwareUpgrade& progress, IMessageSink& messages,
                             bool cancellable, const TWork& work)
{
    std::atomic<bool> cancel{false};
    QPushButton* cancelButton = progress.CancelButton();
    cancelButton->setEnabled(cancellable);
    cancelButton->setToolTip(cancellable ? QString()
                                         : QCoreApplication::translate("CLinkWorker", kFirmwareCancelTip));
    const QMetaObject::Connection pressed =
        QObject::connect(cancelButton, &QPushButton::clicked, cancelButton,
                         [&cancel, cancelButton]
                         {
                             cancel = true;
                             cancelButton->setEnabled(false);
                         });
    link.SetCancelFlag(cancellable ? &cancel : nullptr);

    CReports reports(progress, messages);
    QEventLoop loop;
    // After every report the exchange made, so they all arrive first.
    QObject::connect(&reports, &CReports::Finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    TLinkResult result;
    std::exception_ptr failure;
    std::thread worker(
        [&]
        {
            try
            {
                result = work(reports, reports);
            }
            catch (...)
            {
                failure = std::current_exception();
            }
            emit reports.Finished();
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
    CCallAcross call;
    QObject::connect(&call, &CCallAcross::Call, context, [&answer, &fn] { answer = fn(); },
                     Qt::BlockingQueuedConnection);
    emit call.Call();
    return answer;
}
