#pragma once
// Work on the whole of the books (backups, the books check, the monthly
// reports, the size stock list, opening older books) runs off the window's
// thread, so the window keeps painting and its timers keep running. The
// progress window shows, and what the user clicks or types meanwhile is
// dropped until the work ends; the work reaches the books through a connection
// of its own, and its messages and questions are shown on the window's thread.

#include <functional>

namespace BackgroundWork {
using Progress = std::function<void(int)>;   // 0 to 100
constexpr int ProgressDelayMs = 400;         // the progress window shows after this

// Runs work on a thread of its own and waits for it with the events of the
// window's thread still handled. Gives what work gives; what work throws is
// thrown again here. Called off the window's thread, it simply runs work.
// A window closed meanwhile is closed once the work has ended.
bool Run(const std::function<bool(const Progress &)> &work);
// Whether such work is under way (what would touch the books meanwhile waits).
bool Running();
} // namespace BackgroundWork
