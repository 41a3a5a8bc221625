#pragma once
// The process-wide state, owned by start-up and passed by reference, so that a
// test can build a whole program in a temporary folder.
#include <string>

#include "app/settings_record.h"
#include "app/startup.h"
#include "capture/bulk_paste.h"
#include "capture/monitor_state.h"
#include "paste/paste_state.h"
#include "platform/platform.h"
#include "store/clip_file.h"
#include "store/list_model.h"
#include "ui/logic/clip_viewer.h"
#include "ui/logic/drop_matrix.h"
#include "ui/logic/edge_strip.h"
#include "ui/logic/keyboard_hooks.h"
#include "ui/logic/main_form.h"

namespace pellion {

struct ProgramState {
    explicit ProgramState(platform::Platform& p) : platform(p) {}

    platform::Platform& platform;
    SettingsRecord settings;
    std::string dataFolder;     // ends with "/"
    std::string libraryFolder;  // dataFolder + "lib" + number + "/"
    platform::WindowId mainWindow = 0;
    platform::WindowId pasteTarget = 0;  // last foreground window that is not ours

    // Later modules add their shared state here (the list model, the marker
    // id, the capture flags) as members of their own types.

    StartupState startup;   // program folder, help file, the data folder's lock
    ClipState clip;         // last snapshot's text, the marker id, the text-only switch
    ListModel lists;        // the four lists, bulk cache, hot key and library labels (store/)
    ui::MainForm mainForm;  // what the main window shows, its layout and highlight
    PasteState paste;        // key mode, pending paste, hot key switch, the engine's hooks (paste/)
    ui::KeyboardHooks keys;  // what the main window's key handlers ask of later modules
    MonitorState monitor;    // the clipboard monitor's timer, flags for the next capture, its hooks (capture/)
    ui::DragState drag;        // the drag armed or under way, its move or copy (ui/logic/drop_matrix)
    BulkPasteState bulkPaste;  // the spacer text kept while running (capture/bulk_paste)
    ui::EdgeState edge;        // the screen-edge strip: its timers, place and size (ui/logic/edge_strip)
    ui::ViewerState viewer;    // the clip viewer's refuse-paste and word-wrap flags (ui/logic/clip_viewer)
};

}  // namespace pellion
