// What is known of a program started on an extracted entry. The desktop
// shell fills it in when the program starts and again when its process
// ends; the launch tracker reads it.
#pragma once

#include <memory>
#include <string>

namespace vantor {

struct CLaunchedProcess {
    // No process to watch: the desktop handed the file to a program some
    // other way (D-Bus activation). Such a launch never ends by itself.
    bool bHandOff = false;
    // The process has ended. Many programs end at once after passing the
    // file to a copy of themselves already running, so an ended process
    // does not mean the file is no longer open.
    bool bEnded = false;
    long long nProcessId = 0;
};

// The result of asking the desktop to open a file: the process on success,
// else null and what went wrong, in the desktop's words.
struct CLaunchOutcome {
    std::shared_ptr<CLaunchedProcess> process;
    std::string error;
};

}  // namespace vantor
