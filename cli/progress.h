// A progress bar (items and bytes) on standard error, drawn only when
// standard error is a terminal, so that scripts and logs never see it.
#pragma once

#include "pak_progress.h"

#include <chrono>
#include <string>

namespace vantor::cli {

class CProgressBar {
public:
    explicit CProgressBar(std::string label);
    ~CProgressBar();
    CProgressBar(const CProgressBar&) = delete;
    CProgressBar& operator=(const CProgressBar&) = delete;

    bool Enabled() const { return m_bEnabled; }
    void Update(const PakProgress& progress);
    // A callback for the engine, or an empty one when nothing is drawn (the
    // engine then skips the work of counting what is to come).
    PakProgressFn Callback();
    // Clears the bar's line.
    void Finish();

private:
    void Draw(const PakProgress& progress);

    std::string m_strLabel;
    bool m_bEnabled = false;
    bool m_bDrawn = false;
    int m_nWidth = 0;  // the longest line drawn, to blank it
    std::chrono::steady_clock::time_point m_lastDraw;
};

}  // namespace vantor::cli
