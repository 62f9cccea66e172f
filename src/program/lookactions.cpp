#include "program/lookactions.h"

#include "app/settings.h"
#include "kit/enterexitbutton.h"
#include "kit/oberform.h"
#include "kit/oberformmetal.h"
#include "kit/ozoroundrectpanel.h"

#include <QCoreApplication>
#include <QProcess>

namespace {

bool startAgainDefault()
{
    return QProcess::startDetached(QCoreApplication::applicationFilePath(), {});
}

} // namespace

std::function<bool()> StartProgramAgain = startAgainDefault;

static void applyLookAction(TLookAction a)
{
    switch (a) {
    case TLookAction::UseStandardFrames: UseStandardFrames(true); break;
    case TLookAction::FreeMetalSkins: FreeMetalSkins(); break;
    case TLookAction::NoRegions:
        TOzoNewButton::SetUseRegions(false);
        TOzoRoundRectPanel::SetUseRegions(false);
        break;
    case TLookAction::NoButtonBitmaps:
        TOzoNewButton::SetUseBitmaps(false);
        TOzoNewButton::SetUseRegions(false);
        break;
    case TLookAction::Restart: break;
    }
}
std::function<void(TLookAction)> ApplyLookActionHook;

void ApplyLookActions(const QList<TLookAction> &actions)
{
    for (TLookAction a : actions) {
        if (a == TLookAction::Restart) {
            if (StartProgramAgain)
                StartProgramAgain();
            AppTerminating = true;
            if (QCoreApplication::instance())
                QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                                          Qt::QueuedConnection);
        } else if (ApplyLookActionHook) {
            ApplyLookActionHook(a);
        } else {
            applyLookAction(a);
        }
    }
}

