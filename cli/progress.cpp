#include "progress.h"

#include <cstdio>

#ifdef _WIN32
#include <io.h>
#define VANTOR_ISATTY(fd) _isatty(fd)
#define VANTOR_FILENO(f) _fileno(f)
#else
#include <unistd.h>
#define VANTOR_ISATTY(fd) isatty(fd)
#define VANTOR_FILENO(f) fileno(f)
#endif

namespace vantor::cli {
namespace {

constexpr int kBarWidth = 24;
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

std::string Mebibytes(std::uint64_t bytes)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", static_cast<double>(bytes) / (1024.0 * 1024.0));
    return text;
}

}  // namespace

CProgressBar::CProgressBar(std::string label)
    : m_strLabel(std::move(label)), m_bEnabled(VANTOR_ISATTY(VANTOR_FILENO(stderr)) != 0)
{
}

CProgressBar::~CProgressBar() { Finish(); }

PakProgressFn CProgressBar::Callback()
{
    if (!m_bEnabled) return {};
    return [this](const PakProgress& progress) {
        Update(progress);
        return true;
    };
}

void CProgressBar::Update(const PakProgress& progress)
{
    if (!m_bEnabled) return;
    const auto now = std::chrono::steady_clock::now();
    const bool complete = progress.itemsDone >= progress.itemsTotal;
    // Redrawing on every item would cost more than small items take.
    if (m_bDrawn && !complete && now - m_lastDraw < kRedrawInterval) return;
    m_lastDraw = now;
    Draw(progress);
}

void CProgressBar::Draw(const PakProgress& progress)
{
    // By bytes when there are any, so one big item does not sit at 0%.
    double fraction = 1.0;
    if (progress.bytesTotal != 0)
        fraction = static_cast<double>(progress.bytesDone) / static_cast<double>(progress.bytesTotal);
    else if (progress.itemsTotal != 0)
        fraction = static_cast<double>(progress.itemsDone) / static_cast<double>(progress.itemsTotal);
    if (fraction > 1.0) fraction = 1.0;
    const int filled = static_cast<int>(fraction * kBarWidth);
    std::string bar(static_cast<std::size_t>(filled), '#');
    bar.append(static_cast<std::size_t>(kBarWidth - filled), '.');
    const int written = std::fprintf(stderr, "\r%s [%s] %3d%%  %llu/%llu items  %s/%s MiB ", m_strLabel.c_str(), bar.c_str(),
                 static_cast<int>(fraction * 100.0), static_cast<unsigned long long>(progress.itemsDone),
                 static_cast<unsigned long long>(progress.itemsTotal), Mebibytes(progress.bytesDone).c_str(),
                 Mebibytes(progress.bytesTotal).c_str());
    std::fflush(stderr);
    if (written > m_nWidth) m_nWidth = written;
    m_bDrawn = true;
}

void CProgressBar::Finish()
{
    if (!m_bDrawn) return;
    // Blank the line so that an error message or the prompt starts clean.
    std::fprintf(stderr, "\r%*s\r", m_nWidth, "");
    std::fflush(stderr);
    m_bDrawn = false;
}

}  // namespace vantor::cli
