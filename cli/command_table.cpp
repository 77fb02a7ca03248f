// The one table of vantor-pak's commands.
#include "commands.h"

namespace vantor::cli {

// The filter language, shared by every command that takes --match.
#define MATCH_HELP                                                                        \
    "\nQUERY: terms separated by spaces must all match; a | b matches either; !t must\n" \
    "not match; ^t at the start, t$ at the end; 't literally; * and ? are globs. A\n"   \
    "term with an upper-case letter is case-sensitive, others ignore case.\n"

const std::vector<Command>& Commands()
{
    static const std::vector<Command> commands = {
        {"list", "list [-l] [--json] [--match QUERY] PAK [FOLDER]", "list the entries beneath FOLDER (default: all)",
         "  -l              OFFSET LENGTH NAME a line\n"
         "  --json          one JSON document: entries with name, offset and length\n"
         "  --match QUERY   only entries whose full name matches QUERY\n"
         "\nEntries at any depth, in directory order. FOLDER may also name one entry.\n"
         MATCH_HELP,
         {{"-l", false}, {"--json", false}, {"--match", true}}, RunList},
        {"info", "info [--json] PAK", "summarise the pak",
         "  --json    one JSON document\n"
         "\nPrints entries, directory (offset and length), size and unused bytes.\n",
         {{"--json", false}}, RunInfo},
        {"cat", "cat PAK NAME", "write an entry's bytes to standard output", "", {}, RunCat},
        {"export", "export [--palette FILE] [--image N or NAME] PAK NAME OUT.png",
         "write a picture, texture, skin or sprite frame as an indexed PNG",
         "  --palette FILE   draw with this palette (768 bytes) instead of the game's\n"
         "  --image N|NAME   the picture of a WAD, map, model or sprite to write, by\n"
         "                   number from 0 or by name (default: the first that decodes)\n"
         "\nThe palette is gfx/palette.lmp of this pak, else of the game folder's\n"
         "other paks in load order, else of ../id1. The PNG keeps the palette\n"
         "indices as they are, the transparent index in tRNS. Half-Life's formats\n"
         "are named, not converted.\n",
         {{"--palette", true}, {"--image", true}}, RunExport},
        {"extract", "extract [-C DIR] [--no-overwrite] [--match QUERY] PAK [NAME or FOLDER/ ...]",
         "extract entries (default: all) beneath DIR",
         "  -C DIR           extract beneath DIR (default: the current folder; made when missing)\n"
         "  --no-overwrite   keep files that already exist\n"
         "  --match QUERY    only entries whose full name matches QUERY\n"
         "\nEntries keep their pak folders. A name ending in / is a folder.\n"
         MATCH_HELP,
         {{"-C", true}, {"--no-overwrite", false}, {"--match", true}}, RunExtract},
        {"new", "new [--force] PAK", "create an empty pak",
         "  --force   replace a file that is already there\n"
         "\nThe pak's file name must be a short name (at most 8.3 characters).\n",
         {{"--force", false}}, RunNew},
        {"add", "add [--to FOLDER] [--no-replace] PAK PATH...", "add files, and folders with everything below them",
         "  --to FOLDER     add into this pak folder (default: the root)\n"
         "  --no-replace    keep entries that already exist\n"
         "\nA disk folder becomes a pak folder of its own name. Every name must be\n"
         "a short name (at most 8.3 characters).\n",
         {{"--to", true}, {"--no-replace", false}}, RunAdd},
        {"rm", "rm [--match QUERY] PAK NAME or FOLDER/ ...", "remove entries and folders",
         "  --match QUERY   remove every entry whose full name matches QUERY (with\n"
         "                  names given: only the matching entries beneath them)\n"
         "\nA name ending in / is a folder: everything beneath it goes. The bytes\n"
         "stay in the pak as unused space until compact.\n"
         MATCH_HELP,
         {{"--match", true}}, RunRm},
        {"mv", "mv PAK OLD NEW", "rename or move an entry, or a folder when OLD ends in /",
         "An entry moved to NEW ending in / keeps its own name in that folder.\n"
         "A folder is never merged into one that exists.\n",
         {}, RunMv},
        {"mkdir", "mkdir PAK FOLDER...", "create folders (each holds an empty temp.tmp)", "", {}, RunMkdir},
        {"compact", "compact PAK", "recover unused space", "Prints recovered: BYTES.\n", {}, RunCompact},
        {"check", "check [--json] PAK", "validate the pak's bytes",
         "  --json    one JSON document\n"
         "\nOne line per problem (records are counted from 0 in directory order),\n"
         "then the unused bytes. Exit status 1 when a problem was found.\n",
         {{"--json", false}}, RunCheck},
        {"which", "which [--profile P] [--game MOD]... [--json] DIR PATH",
         "which copy of PATH a game in DIR loads, and what it shadows",
         "  --profile P   classic (pak0.pak, pak1.pak … over loose files; the default)\n"
         "                or darkplaces (every *.pak by name, under loose files)\n"
         "  --game MOD    a game folder over id1, later ones over earlier ones\n"
         "  --json        one JSON document\n"
         "\nDIR holds id1 and the mods. Exit status 1 when no game folder holds PATH.\n",
         {{"--profile", true}, {"--game", true}, {"--json", false}}, RunWhich},
        {"layers", "layers [--profile P] [--game MOD]... [--json] DIR",
         "the search path of a game in DIR, winning layer first, and its warnings",
         "  --profile P   classic or darkplaces, as for which\n"
         "  --game MOD    a game folder over id1, later ones over earlier ones\n"
         "  --json        one JSON document\n"
         "\nOne line a pak, a game folder's loose files as FOLDER/, then warnings:\n"
         "paks never loaded, paks the classic engines refuse, names twice in one\n"
         "pak, and names that differ only in letter case.\n",
         {{"--profile", true}, {"--game", true}, {"--json", false}}, RunLayers},
    };
    return commands;
}

}  // namespace vantor::cli
