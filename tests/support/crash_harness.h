// Proves that a change survives being killed between any two writes: the
// change runs once to learn how many writes it makes, then once for every
// k, with the file layer stopping dead after k writes. After each stop the
// pak must open with every entry readable, and show either exactly the
// contents before the change or exactly those after it.
#pragma once

#include "pak_archive.h"

#include <functional>
#include <string>

namespace vantor::test {

using PakStep = std::function<bool(CPakArchive&)>;

struct CrashOutcome {
    int writePoints = 0;   // the number of k tried
    int sawBefore = 0;     // stops that left the old contents
    int sawAfter = 0;      // stops that left the new contents
    std::string failure;   // empty when every stop kept the rule
};

// `prepare` runs first without any fault (for example to gib what a
// restore will bring back); `change` is the operation under test and must
// succeed when nothing fails. Extra disk files the change reads must exist
// before; the pak starts as `pakBytes`.
CrashOutcome RunCrashHarness(const std::string& pakBytes, const PakStep& prepare, const PakStep& change);

// The same change, with just one of its writes failing at a time as on a
// full disk (the change goes on as it can). Every time the pak must open
// with all entries readable, each entry must hold the name and bytes it has
// before or after the change, and nothing that both states keep may be lost.
CrashOutcome RunDiskFullHarness(const std::string& pakBytes, const PakStep& prepare, const PakStep& change);

}  // namespace vantor::test
