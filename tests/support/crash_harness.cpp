#include "crash_harness.h"

#include "faulty_file_system.h"
#include "pak_builder.h"
#include "pak_reader.h"

#include <algorithm>

namespace vantor::test {

namespace {

enum class FaultMode { stopDead, failOnce };

using Contents = std::vector<std::pair<std::string, std::string>>;

std::string CheckFailOnce(const Contents& result, const Contents& before, const Contents& after)
{
    const auto contains = [](const Contents& list, const std::pair<std::string, std::string>& item) {
        return std::find(list.begin(), list.end(), item) != list.end();
    };
    for (const auto& item : result)
        if (!contains(before, item) && !contains(after, item)) return "an entry holds bytes of neither state: " + item.first;
    for (const auto& item : before)
        if (contains(after, item) && !contains(result, item)) return "an entry both states keep was lost: " + item.first;
    return {};
}

CrashOutcome RunHarness(const std::string& pakBytes, const PakStep& prepare, const PakStep& change, FaultMode mode)
{
    CrashOutcome outcome;
    TempDir dir;
    const std::string path = dir / "crash.pak";

    // The reference run: the contents before and after, and the write count.
    WriteFileBytes(path, pakBytes);
    std::vector<std::pair<std::string, std::string>> before;
    std::vector<std::pair<std::string, std::string>> after;
    int writes = 0;
    // Each state is read once its archive is gone (a dropped archive writes
    // nothing): where sharing is mandatory, as on Windows, no one else may
    // read a pak an archive holds for writing.
    {
        CFaultyFileSystem fileSystem;
        CPakArchive pak(fileSystem);
        if (!pak.OpenPak(path)) return {0, 0, 0, "the pak does not open: " + pak.GetErrorText()};
        if (prepare && !prepare(pak)) return {0, 0, 0, "prepare failed: " + pak.GetErrorText()};
    }
    const auto prepared = ParsePakFile(path);
    if (!prepared) return {0, 0, 0, "the prepared pak is unreadable"};
    before = prepared->Contents();
    WriteFileBytes(path, pakBytes);
    {
        CFaultyFileSystem fileSystem;
        CPakArchive pak(fileSystem);
        if (!pak.OpenPak(path) || (prepare && !prepare(pak))) return {0, 0, 0, "prepare failed on the reference run"};
        const int start = fileSystem.WriteCount();
        if (!change(pak)) return {0, 0, 0, "the change failed without faults: " + pak.GetErrorText()};
        writes = fileSystem.WriteCount() - start;
    }
    const auto changed = ParsePakFile(path);
    if (!changed) return {0, 0, 0, "the changed pak is unreadable"};
    after = changed->Contents();

    for (int k = 0; k < writes; ++k) {
        WriteFileBytes(path, pakBytes);
        {
            CFaultyFileSystem fileSystem;
            CPakArchive pak(fileSystem);
            if (!pak.OpenPak(path) || (prepare && !prepare(pak))) return {k, 0, 0, "prepare failed on rerun"};
            if (mode == FaultMode::stopDead)
                fileSystem.StopAfterWrites(fileSystem.WriteCount() + k);
            else
                fileSystem.FailWriteOnce(fileSystem.WriteCount() + k, FileCause::diskFull);
            change(pak);
        }  // the dead process's archive goes; nothing more reaches the disk
        ++outcome.writePoints;
        const auto survived = ParsePakFile(path);
        if (!survived) {
            outcome.failure = "after " + std::to_string(k) + " writes the pak is unreadable";
            return outcome;
        }
        const auto contents = survived->Contents();
        if (mode == FaultMode::failOnce) {
            outcome.failure = CheckFailOnce(contents, before, after);
            if (!outcome.failure.empty()) {
                outcome.failure = "with write " + std::to_string(k) + " failing: " + outcome.failure + "\n" + Describe(contents);
                return outcome;
            }
            if (contents == before) ++outcome.sawBefore;
            if (contents == after) ++outcome.sawAfter;
        } else if (contents == before) {
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

}  // namespace

CrashOutcome RunCrashHarness(const std::string& pakBytes, const PakStep& prepare, const PakStep& change)
{
    return RunHarness(pakBytes, prepare, change, FaultMode::stopDead);
}

CrashOutcome RunDiskFullHarness(const std::string& pakBytes, const PakStep& prepare, const PakStep& change)
{
    return RunHarness(pakBytes, prepare, change, FaultMode::failOnce);
}

}  // namespace vantor::test
