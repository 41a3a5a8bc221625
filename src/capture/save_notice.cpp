#include "capture/save_notice.h"

#include <cstdio>

#include "app/caption.h"
#include "app/program_state.h"
#include "platform/files.h"

namespace pellion {

namespace {

void ShowCaption(ProgramState& ps) {
    const MonitorHooks& h = ps.monitor.hooks;
    if (h.setCaption) h.setCaption(ShownCaption(ps, h.now ? h.now() : DateTime::now()));
}

}  // namespace

void CaptureNotSaved(ProgramState& ps) {
    if (ps.monitor.notSaved) return;
    ps.monitor.notSaved = true;
    std::fprintf(stderr, "pellion: copies are not saved: cannot write in %s (%lld bytes free)\n",
                 ps.dataFolder.c_str(), static_cast<long long>(files::freeBytes(ps.dataFolder)));
    ShowCaption(ps);
}

void CaptureSaved(ProgramState& ps) {
    if (!ps.monitor.notSaved) return;
    ps.monitor.notSaved = false;
    std::fprintf(stderr, "pellion: copies are saved again\n");
    ShowCaption(ps);
}

std::string ShownCaption(const ProgramState& ps, const DateTime& now) {
    return MainCaption(now) + (ps.monitor.notSaved ? kNotSavedNotice : "");
}

}  // namespace pellion
