#include "ui/main/caption_timer.h"

#include "app/caption.h"

namespace pellion::ui {

std::unique_ptr<QTimer> StartCaptionTimer(ProgramState& ps, Edit& window) {
    auto timer = std::make_unique<QTimer>();
    QObject::connect(timer.get(), &QTimer::timeout, &window, [&ps, &window] {
        std::string caption = MainCaption(DateTime::now());
        if (caption == ps.mainForm.form.window.caption) return;
        ps.mainForm.form.window.caption = std::move(caption);
        window.applyState();
    });
    timer->start(1000);
    return timer;
}

}  // namespace pellion::ui
