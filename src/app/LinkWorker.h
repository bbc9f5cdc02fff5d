#pragma once

#include "PanelLink.h"
#include "ProgressSink.h"

#include <QtGlobal>

#include <functional>

class CFirmwareUpgrade;
class QObject;

// Runs one exchange with the panel on a thread of its own while the window's
// event loop goes on: windows repaint and move, the progress window shows its
// bar, and its Cancel asks the link to stop. What the exchange reports
// (progress, messages) reaches the windows on their own thread, in order.
// The wire timing is the link's alone: nothing here waits on the wire.
class CLinkWorker
{
public:
    using TWork = std::function<TLinkResult(IProgressSink& progress, IMessageSink& messages)>;

    // cancellable: Cancel stops the exchange (an upload or a download);
    // otherwise Cancel stays disabled and its tooltip says why (a firmware
    // upgrade stopped half way could leave the panel without working firmware).
    // Returns the exchange's result; an exception it threw is thrown again here.
    static TLinkResult Run(CPanelLink& link, CFirmwareUpgrade& progress, IMessageSink& messages, bool cancellable,
                           const TWork& work);

    // Calls fn on context's thread and waits for its answer: a layout handed
    // back by a download is loaded there, where the windows read it.
    static bool OnThreadOf(QObject* context, const std::function<bool()>& fn);
};

// The tooltip of Cancel during a firmware upgrade, before its translation.
constexpr const char* kFirmwareCancelTip = QT_TRANSLATE_NOOP(
    "CLinkWorker",
    "A firmware upgrade cannot be stopped: stopping it could leave the control without working firmware");
