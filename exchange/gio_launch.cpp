// GLib's headers come first: Qt's keyword macros would break them.
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include "gio_launch.h"

#include <unistd.h>

#include <memory>

namespace vantor {

namespace {

struct GObjectUnref {
    void operator()(gpointer pObject) const { g_object_unref(pObject); }
};
using AppInfoPtr = std::unique_ptr<GAppInfo, GObjectUnref>;

AppInfoPtr DefaultAppInfo(const std::vector<std::string>& mimeTypes)
{
    for (const std::string& type : mimeTypes) {
        AppInfoPtr info(g_app_info_get_default_for_type(type.c_str(), FALSE));
        // A Hidden entry is one the user has deleted, though GIO still
        // hands it out.
        if (info && !(G_IS_DESKTOP_APP_INFO(info.get()) && g_desktop_app_info_get_is_hidden(G_DESKTOP_APP_INFO(info.get()))))
            return info;
    }
    return nullptr;
}

// Runs in the child between fork and exec, where only async-signal-safe
// calls are allowed.
void EnterWorkFolder(gpointer pData)
{
    // A folder that cannot be entered leaves the program where it started.
    [[maybe_unused]] const int nResult = chdir(static_cast<const char*>(pData));
}

struct CStartedProcesses {
    std::vector<GPid> pids;
};

void NoteProcess(GDesktopAppInfo* /*pInfo*/, GPid pid, gpointer pData)
{
    static_cast<CStartedProcesses*>(pData)->pids.push_back(pid);
}

using ProcessHolder = std::shared_ptr<CLaunchedProcess>;

void OnProcessEnded(GPid pid, gint /*nStatus*/, gpointer pData)
{
    (*static_cast<ProcessHolder*>(pData))->bEnded = true;
    g_spawn_close_pid(pid);
}

void DropHolder(gpointer pData)
{
    delete static_cast<ProcessHolder*>(pData);
}

}  // namespace

std::string FindDefaultApplication(const std::vector<std::string>& mimeTypes)
{
    const AppInfoPtr info = DefaultAppInfo(mimeTypes);
    if (!info || !G_IS_DESKTOP_APP_INFO(info.get()))
        return {};
    const char* pFile = g_desktop_app_info_get_filename(G_DESKTOP_APP_INFO(info.get()));
    return pFile ? std::string(pFile) : std::string();
}

CLaunchOutcome LaunchDefaultApplication(const std::string& filePath, const std::vector<std::string>& mimeTypes,
                                        const std::string& workFolder)
{
    CLaunchOutcome outcome;
    const AppInfoPtr info = DefaultAppInfo(mimeTypes);
    if (!info) {
        outcome.error = "No program is associated with this type of file.";
        return outcome;
    }

    GError* pError = nullptr;
    std::unique_ptr<gchar, decltype(&g_free)> uri(g_filename_to_uri(filePath.c_str(), nullptr, &pError), g_free);
    if (!uri) {
        outcome.error = pError->message;
        g_error_free(pError);
        return outcome;
    }
    GList uris{};
    uris.data = uri.get();

    auto process = std::make_shared<CLaunchedProcess>();
    if (!G_IS_DESKTOP_APP_INFO(info.get())) {
        // Not a desktop entry: the desktop starts it its own way and gives
        // no process to watch.
        if (!g_app_info_launch_uris(info.get(), &uris, nullptr, &pError)) {
            outcome.error = pError->message;
            g_error_free(pError);
            return outcome;
        }
        process->bHandOff = true;
        outcome.process = std::move(process);
        return outcome;
    }

    GDesktopAppInfo* pDesktopInfo = G_DESKTOP_APP_INFO(info.get());
    // An entry that names its own working folder keeps it.
    const bool bOwnFolder = g_desktop_app_info_has_key(pDesktopInfo, "Path");
    std::string folder = workFolder;
    CStartedProcesses started;
    const gboolean bLaunched = g_desktop_app_info_launch_uris_as_manager(
        pDesktopInfo, &uris, nullptr, G_SPAWN_DO_NOT_REAP_CHILD, bOwnFolder ? nullptr : EnterWorkFolder,
        bOwnFolder ? nullptr : folder.data(), NoteProcess, &started, &pError);
    if (!bLaunched) {
        outcome.error = pError ? pError->message : "The program could not be started.";
        if (pError)
            g_error_free(pError);
        return outcome;
    }
    if (started.pids.empty()) {
        // Activated over D-Bus: no process of ours.
        process->bHandOff = true;
    } else {
        process->nProcessId = started.pids.back();
        for (const GPid pid : started.pids)
            g_child_watch_add_full(G_PRIORITY_DEFAULT, pid, OnProcessEnded, new ProcessHolder(process), DropHolder);
    }
    outcome.process = std::move(process);
    return outcome;
}

}  // namespace vantor
