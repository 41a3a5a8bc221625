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

int X11Shell::run(const std::string& commandLine, const std::string& startFolder) {
    gint argc = 0;
    gchar** rawArgv = nullptr;
    GError* rawError = nullptr;
    if (!g_shell_parse_argv(commandLine.c_str(), &argc, &rawArgv, &rawError)) {
        ErrorPtr error(rawError);
        return error->domain == G_SHELL_ERROR && error->code == G_SHELL_ERROR_EMPTY_STRING ? kShellMissing
                                                                                          : kShellBadCommandLine;
    }
    StrvPtr argv(rawArgv);
    const std::string program = argv.get()[0];
    // A relative path is taken from the start folder, so that folder comes first.
    const bool relative = program.find('/') != std::string::npos && program[0] != '/';
    if (relative && checkStartFolder(startFolder) != kShellOk) return kShellNoStartFolder;
    std::string resolved;
    if (const int code = checkProgram(program, startFolder, &resolved); code != kShellOk) return code;
    if (const int code = checkStartFolder(startFolder); code != kShellOk) return code;

    g_free(argv.get()[0]);
    argv.get()[0] = g_strdup(resolved.c_str());
    if (!g_spawn_async(startFolder.empty() ? nullptr : startFolder.c_str(), argv.get(), nullptr,
                       G_SPAWN_STDIN_FROM_DEV_NULL, nullptr, nullptr, nullptr, &rawError)) {
        ErrorPtr error(rawError);
        return spawnErrorCode(error.get());
    }
    return kShellOk;
}

int X11Shell::open(const std::string& path, const std::string& startFolder) {
    if (!exists(path)) return kShellMissing;
    if (checkStartFolder(startFolder) != kShellOk) return kShellNoStartFolder;
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

}  // namespace pellion::platform::x11
