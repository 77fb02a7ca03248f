#include "crash_harness.h"

#include "faulty_file_system.h"
#include "pak_builder.h"
#include "pak_reader.h"

namespace vantor::test {

CrashOutcome RunCrashHarness(const std::string& pakBytes, const PakStep& prepare, const PakStep& change)
{
    CrashOutcome outcome;
    TempDir dir;
    const std::string path = dir / "crash.pak";

    // The reference run: the contents before and after, and the write count.
    WriteFileBytes(path, pakBytes);
    std::vector<std::pair<std::string, std::string>> before;
    std::vector<std::pair<std::string, std::string>> after;
    int writes = 0;
    {
        CFaultyFileSystem fileSystem;
        CPakArchive pak(fileSystem);
        if (!pak.OpenPak(path)) return {0, 0, 0, "the pak does not open: " + pak.GetErrorText()};
        if (prepare && !prepare(pak)) return {0, 0, 0, "prepare failed: " + pak.GetErrorText()};
        const auto prepared = ParsePakFile(path);
        if (!prepared) return {0, 0, 0, "the prepared pak is unreadable"};
        before = prepared->Contents();
        const int start = fileSystem.WriteCount();
        if (!change(pak)) return {0, 0, 0, "the change failed without faults: " + pak.GetErrorText()};
        writes = fileSystem.WriteCount() - start;
        const auto changed = ParsePakFile(path);
        if (!changed) return {0, 0, 0, "the changed pak is unreadable"};
        after = changed->Contents();
    }

    for (int k = 0; k < writes; ++k) {
        WriteFileBytes(path, pakBytes);
        {
            CFaultyFileSystem fileSystem;
            CPakArchive pak(fileSystem);
            if (!pak.OpenPak(path) || (prepare && !prepare(pak))) return {k, 0, 0, "prepare failed on rerun"};
            fileSystem.StopAfterWrites(fileSystem.WriteCount() + k);
            change(pak);
        }  // the dead process's archive goes; nothing more reaches the disk
        ++outcome.writePoints;
        const auto survived = ParsePakFile(path);
        if (!survived) {
            outcome.failure = "after " + std::to_string(k) + " writes the pak is unreadable";
            return outcome;
        }
        const auto contents = survived->Contents();
        if (contents == before) {
            ++outcome.sawBefore;
        } else if (contents == after) {
            ++outcome.sawAfter;
        } else {
            outcome.failure = "after " + std::to_string(k) + " writes the pak shows neither state:\n" + Describe(contents) +
                              "-- before:\n" + Describe(before) + "-- after:\n" + Describe(after);
            return outcome;
        }
        CPakArchive reopened;
        if (!reopened.OpenPak(path)) {
            outcome.failure = "after " + std::to_string(k) + " writes the engine cannot open it: " + reopened.GetErrorText();
            return outcome;
        }
    }
    return outcome;
}

}  // namespace vantor::test
