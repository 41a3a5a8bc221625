#include "platform/x11/x11_shell.h"

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#include <unistd.h>

#include <memory>

#include "platform/launch_checks.h"

namespace pellion::platform::x11 {

namespace {

template <typename T>
struct GObjectDeleter {
    void operator()(T* p) const { g_object_unref(p); }
};
template <typename T>
using GPtr = std::unique_ptr<T, GObjectDeleter<T>>;

struct GErrorDeleter {
    void operator()(GError* e) const { g_error_free(e); }
};
using ErrorPtr = std::unique_ptr<GError, GErrorDeleter>;

struct StrvDeleter {
    void operator()(gchar** v) const { g_strfreev(v); }
};
using StrvPtr = std::unique_ptr<gchar*, StrvDeleter>;

bool exists(const std::string& path) { return !path.empty() && ::access(path.c_str(), F_OK) == 0; }

int spawnErrorCode(const GError* error) {
    if (error->domain != G_SPAWN_ERROR) return kShellCannotRun;
    switch (error->code) {
        case G_SPAWN_ERROR_CHDIR: return kShellNoStartFolder;
        case G_SPAWN_ERROR_NOENT: return kShellMissing;
        default: return kShellCannotRun;
    }
}

// The default application for a file, by its content type.
GPtr<GAppInfo> defaultAppFor(const std::string& path) {
    GPtr<GFile> file(g_file_new_for_path(path.c_str()));
    GPtr<GFileInfo> info(g_file_query_info(file.get(), G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE,
                                           G_FILE_QUERY_INFO_NONE, nullptr, nullptr));
    if (!info) return nullptr;
    const char* type = g_file_info_get_content_type(info.get());
    return GPtr<GAppInfo>(type ? g_app_info_get_default_for_type(type, FALSE) : nullptr);
}

void enterFolder(gpointer folder) {
    // In the child, between fork and exec: chdir is async-signal-safe.
    if (::chdir(static_cast<const char*>(folder)) != 0) _exit(127);
}

bool isDesktopEntry(const std::string& path) {
    const std::string suffix = ".desktop";
    if (path.size() <= suffix.size()) return false;
    return g_ascii_strcasecmp(path.c_str() + path.size() - suffix.size(), suffix.c_str()) == 0;
}

// As the desktop starts it: its own command, in its own folder ("Path") or
// else the start folder.
int launchEntry(const std::string& path, const std::string& startFolder) {
    GPtr<GDesktopAppInfo> entry(g_desktop_app_info_new_from_filename(path.c_str()));
    if (!entry) return kShellCannotRun;
    const bool ownFolder = g_desktop_app_info_has_key(entry.get(), "Path");
    const bool enter = !ownFolder && !startFolder.empty();
    GError* rawError = nullptr;
    if (!g_desktop_app_info_launch_uris_as_manager(entry.get(), nullptr, nullptr, G_SPAWN_SEARCH_PATH,
                                                   enter ? enterFolder : nullptr,
                                                   const_cast<char*>(startFolder.c_str()), nullptr, nullptr,
                                                   &rawError)) {
        ErrorPtr error(rawError);
        return error && error->domain == G_SPAWN_ERROR && error->code == G_SPAWN_ERROR_NOENT ? kShellMissing
                                                                                              : kShellCannotRun;
    }
    return kShellOk;
}

}  // namespace

FindResult X11Shell::findExecutable(const std::string& document) {
    if (!exists(document)) return {kShellMissing, {}};
    auto app = defaultAppFor(document);
    if (!app) return {kShellNoAssociation, {}};
    const char* executable = g_app_info_get_executable(app.get());
    if (!executable || !*executable) return {kShellNoAssociation, {}};
    gchar* full = g_find_program_in_path(executable);
    FindResult result{kShellOk, full ? full : executable};
    g_free(full);
    return result;
}

std::optional<std::vector<std::string>> SplitArguments(const std::string& line) {
    if (line.find_first_not_of(" \t\n") == std::string::npos) return std::vector<std::string>{};
    gint argc = 0;
    gchar** rawArgv = nullptr;
    GError* rawError = nullptr;
    if (!g_shell_parse_argv(line.c_str(), &argc, &rawArgv, &rawError)) {
        ErrorPtr error(rawError);
        // A line of nothing but a comment holds no arguments.
        if (error->domain == G_SHELL_ERROR && error->code == G_SHELL_ERROR_EMPTY_STRING)
            return std::vector<std::string>{};
        return std::nullopt;
    }
    StrvPtr argv(rawArgv);
    return std::vector<std::string>(argv.get(), argv.get() + argc);
}

int X11Shell::run(const std::string& program, const std::string& arguments, const std::string& startFolder) {
    if (program.find_first_not_of(' ') == std::string::npos) return kShellMissing;
    // A relative path is taken from the start folder, so that folder comes first.
    const bool relative = program.find('/') != std::string::npos && program[0] != '/';
    if (relative && checkStartFolder(startFolder) != kShellOk) return kShellNoStartFolder;
    std::string resolved;
    if (const int code = checkProgram(program, startFolder, &resolved); code != kShellOk) return code;
    if (const int code = checkStartFolder(startFolder); code != kShellOk) return code;
    const auto split = SplitArguments(arguments);
    if (!split) return kShellBadCommandLine;

    std::vector<gchar*> argv{const_cast<gchar*>(resolved.c_str())};
    for (const std::string& a : *split) argv.push_back(const_cast<gchar*>(a.c_str()));
    argv.push_back(nullptr);
    GError* rawError = nullptr;
    if (!g_spawn_async(startFolder.empty() ? nullptr : startFolder.c_str(), argv.data(), nullptr,
                       G_SPAWN_STDIN_FROM_DEV_NULL, nullptr, nullptr, nullptr, &rawError)) {
        ErrorPtr error(rawError);
        return spawnErrorCode(error.get());
    }
    return kShellOk;
}

int X11Shell::open(const std::string& path, const std::string& startFolder) {
    if (!exists(path)) return kShellMissing;
    if (checkStartFolder(startFolder) != kShellOk) return kShellNoStartFolder;
    if (isDesktopEntry(path)) return launchEntry(path, startFolder);
    auto app = defaultAppFor(path);
    if (!app) return kShellNoAssociation;

    GPtr<GFile> file(g_file_new_for_path(path.c_str()));
    gchar* uri = g_file_get_uri(file.get());
    GList uris{uri, nullptr, nullptr};
    // The application starts in the start folder, else in the document's own.
    std::string folder = startFolder;
    if (folder.empty()) {
        GPtr<GFile> parent(g_file_get_parent(file.get()));
        gchar* parentPath = parent ? g_file_get_path(parent.get()) : nullptr;
        folder = parentPath ? parentPath : "/";
        g_free(parentPath);
    }
    GError* rawError = nullptr;
    gboolean launched = FALSE;
    if (G_IS_DESKTOP_APP_INFO(app.get())) {
        auto* desktop = G_DESKTOP_APP_INFO(app.get());
        // An entry that names its own working folder ("Path") keeps it.
        const bool ownFolder = g_desktop_app_info_has_key(desktop, "Path");
        launched = g_desktop_app_info_launch_uris_as_manager(
            desktop, &uris, nullptr, G_SPAWN_SEARCH_PATH, ownFolder ? nullptr : enterFolder,
            const_cast<char*>(folder.c_str()), nullptr, nullptr, &rawError);
    } else {
        launched = g_app_info_launch_uris(app.get(), &uris, nullptr, &rawError);
    }
    g_free(uri);
    if (!launched) {
        ErrorPtr error(rawError);
        return kShellCannotRun;
    }
    return kShellOk;
}

int X11Shell::openUrl(const std::string& url) {
    std::string uri = url;
    if (!g_uri_peek_scheme(url.c_str())) {
        // A help page given as a path.
        if (!exists(url)) return kShellMissing;
        gchar* absolute = g_canonicalize_filename(url.c_str(), nullptr);
        gchar* fileUri = g_filename_to_uri(absolute, nullptr, nullptr);
        g_free(absolute);
        if (!fileUri) return kShellMissing;
        uri = fileUri;
        g_free(fileUri);
    } else if (gchar* local = g_filename_from_uri(url.c_str(), nullptr, nullptr)) {
        const bool found = exists(local);
        g_free(local);
        if (!found) return kShellMissing;
    }
    GError* rawError = nullptr;
    if (!g_app_info_launch_default_for_uri(uri.c_str(), nullptr, &rawError)) {
        ErrorPtr error(rawError);
        const bool unhandled = error && error->domain == G_IO_ERROR &&
                               (error->code == G_IO_ERROR_NOT_SUPPORTED || error->code == G_IO_ERROR_NOT_FOUND);
        return unhandled ? kShellNoAssociation : kShellCannotRun;
    }
    return kShellOk;
}

std::vector<Drive> X11Shell::drives() {
    std::vector<Drive> result{{"/", "/"}};
    if (const char* home = g_get_home_dir(); home && *home) result.push_back({home, home});
    GPtr<GVolumeMonitor> monitor(g_volume_monitor_get());
    GList* mounts = g_volume_monitor_get_mounts(monitor.get());
    for (GList* m = mounts; m; m = m->next) {
        auto* mount = G_MOUNT(m->data);
        if (g_mount_is_shadowed(mount)) continue;
        GPtr<GFile> root(g_mount_get_root(mount));
        gchar* rootPath = g_file_get_path(root.get());
        gchar* name = g_mount_get_name(mount);
        if (rootPath) result.push_back({name ? name : rootPath, rootPath});
        g_free(rootPath);
        g_free(name);
    }
    g_list_free_full(mounts, g_object_unref);
    return result;
}

}  // namespace pellion::platform::x11
