// Commands over a game folder rather than one pak: which copy of a path the
// game loads (which), and the search path with its warnings (layers).
#include "commands.h"
#include "json.h"
#include "report.h"

#include "game_layers.h"

#include <cstdio>
#include <string>
#include <vector>

namespace vantor::cli {
namespace {

// The profile and game folders of the options; false after a usage error.
bool ReadGameOptions(const Invocation& call, GameProfile& profile, std::vector<std::string>& folders)
{
    const std::string name = call.args.Value("--profile", "classic");
    if (name != "classic" && name != "darkplaces")
        return false;
    profile = name == "classic" ? GameProfile::classic : GameProfile::darkplaces;
    folders = {"id1"};
    for (const std::string& game : call.args.Values("--game")) {
        if (game != "id1")
            folders.push_back(game);
    }
    return true;
}

// Where a copy lives on disk: the pak, or the loose file itself.
std::string CopyPath(const CGameView& view, const CGameFile& file, const CGameCopy& copy)
{
    const CGameLayer& layer = view.layers[static_cast<std::size_t>(copy.nLayer)];
    return layer.bPak ? layer.diskPath : layer.diskPath + "/" + file.path;
}

int Print(const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), stdout);
    return std::fflush(stdout) == 0 ? kExitOk : kExitItemFailed;
}

bool ResolveOrReport(const Invocation& call, const std::string& base, CGameView& view)
{
    GameProfile profile{};
    std::vector<std::string> folders;
    if (!ReadGameOptions(call, profile, folders)) {
        UsageError(call.command, "--profile is classic or darkplaces");
        return false;
    }
    CGameResolver resolver;
    if (!resolver.Resolve(base, folders, profile, view)) {
        ReportError(base, "not a folder");
        return false;
    }
    return true;
}

}  // namespace

int RunWhich(const Invocation& call)
{
    const auto& operands = call.args.Operands();
    if (operands.size() != 2) return UsageError(call.command, "expects DIR PATH");
    CGameView view;
    if (!ResolveOrReport(call, operands[0], view)) return kExitUsage;
    const CGameFile* pFile = view.Find(operands[1]);
    if (pFile == nullptr) {
        ReportError(Printable(operands[1]), "no game folder holds it");
        return kExitItemFailed;
    }
    std::string out;
    const bool bJson = call.args.Has("--json");
    out = bJson ? "{\"path\": " + JsonString(pFile->path) + ", \"copies\": [" : "";
    for (std::size_t i = 0; i < pFile->copies.size(); ++i) {
        const CGameCopy& copy = pFile->copies[i];
        const std::string where = CopyPath(view, *pFile, copy);
        if (bJson) {
            out += std::string(i ? ",\n  " : "\n  ") + "{\"source\": " + JsonString(where);
            if (copy.nRecord >= 0)
                out += ", \"record\": " + std::to_string(copy.nRecord) + ", \"length\": " + std::to_string(copy.nLength);
            out += ", \"loads\": " + std::string(i == 0 ? "true" : "false") + "}";
            continue;
        }
        out += std::string(i == 0 ? "loads    " : "shadows  ") + Printable(where);
        if (copy.nRecord >= 0)
            out += " record " + std::to_string(copy.nRecord) + " (" + std::to_string(copy.nLength) + " bytes)";
        out += "\n";
    }
    if (bJson) out += "\n]}\n";
    return Print(out);
}

int RunLayers(const Invocation& call)
{
    const auto& operands = call.args.Operands();
    if (operands.size() != 1) return UsageError(call.command, "expects DIR");
    CGameView view;
    if (!ResolveOrReport(call, operands[0], view)) return kExitUsage;
    std::string out;
    if (call.args.Has("--json")) {
        out = "{\"layers\": [";
        for (std::size_t i = 0; i < view.layers.size(); ++i) {
            const CGameLayer& layer = view.layers[i];
            out += std::string(i ? ",\n  " : "\n  ") + "{\"game\": " + JsonString(layer.gameFolder) +
                   ", \"path\": " + JsonString(layer.diskPath) + ", \"kind\": " + (layer.bPak ? "\"pak\"" : "\"folder\"") +
                   "}";
        }
        out += "\n], \"warnings\": [";
        for (std::size_t i = 0; i < view.warnings.size(); ++i) {
            const CGameWarning& warning = view.warnings[i];
            out += std::string(i ? ",\n  " : "\n  ") + "{\"kind\": " + JsonString(GameWarningName(warning.kind)) +
                   ", \"where\": " + JsonString(warning.where) + ", \"detail\": " + JsonString(warning.detail) + "}";
        }
        out += "\n]}\n";
        return Print(out);
    }
    for (const CGameLayer& layer : view.layers)
        out += Printable(layer.diskPath) + (layer.bPak ? "\n" : "/\n");
    for (const CGameWarning& warning : view.warnings)
        out += "warning: " + std::string(GameWarningName(warning.kind)) + ": " + Printable(warning.where) + ": " +
               Printable(warning.detail) + "\n";
    return Print(out);
}

}  // namespace vantor::cli
