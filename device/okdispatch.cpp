#include "okdispatch.h"

namespace oxa {

QList<OkAction> dispatchOk(const OkFlags &flags) {
    QList<OkAction> actions;
    if (flags.refreshAfterOk)
        actions.append(OkAction::StartRefreshRead);
    if (flags.uploadWaiting && !flags.asendPending)
        actions.append(OkAction::AdvanceUpload);
    else if (flags.ate0Sent && flags.lteModule)
        actions.append(OkAction::FinishLteStop);
    else if (flags.writeInProgress)
        actions.append(OkAction::AdvanceWrite);
    return actions;
}

} // namespace oxa
