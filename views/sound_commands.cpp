// Hearing the pak's wave entries without extracting them: the entry is read
// into memory once, decoded there, and its samples go to the desktop's sound
// player, which keeps them until the next sound, Stop sound, or the tree's
// end. A sound that starts stops the one playing.
#include "pak_tree.h"

#include "pak_list_model.h"
#include "wait_cursor.h"

#include <memory>
#include <new>
#include <span>

namespace vantor {

namespace {

const QString kCannotPlay = QStringLiteral("Cannot play wave file.  ");

}  // namespace

void CPakTree::PlayWave(const std::string& name)
{
    if (m_strPakPath.isEmpty() || m_bBusy)
        return;
    const std::string entryPath = ItemPath(name, kindFile);
    // No such entry, or an empty one: nothing to hear and nothing to say.
    const std::uint32_t nSize = m_archive.ReadEntryByName(entryPath, nullptr);
    if (nSize == 0)
        return;

    IWavePlayer& player = m_services.shell.GetWavePlayer();
    try {
        CDecodedWave wave;
        {
            CWaitCursor wait;
            // The one copy of the entry; libsndfile reads it in place.
            std::unique_ptr<std::byte[]> image;
            try {
                image = std::make_unique_for_overwrite<std::byte[]>(nSize);
            } catch (const std::bad_alloc&) {
                wait.Restore();
                ShowError(QStringLiteral("Unable to allocate memory for the wave file."));
                return;
            }
            if (m_archive.ReadEntryByName(entryPath, image.get()) == 0) {
                image.reset();
                wait.Restore();
                ShowArchiveFailure(QStringLiteral("Can't play sound:  "));
                return;
            }
            player.Stop();
            wave = DecodeWave(std::span<const std::byte>(image.get(), nSize));
        }
        // Whatever was wrong with this one, the last sound has stopped and
        // nothing plays.
        if (!wave.IsOk()) {
            ShowError(kCannotPlay + QString::fromStdString(wave.error));
            return;
        }
        if (!player.Play(std::move(wave)))
            ShowError(kCannotPlay + QStringLiteral("The device is in use by another program."));
    } catch (const std::bad_alloc&) {
        player.Stop();
        ShowError(QStringLiteral("Out of memory."));
    }
}

void CPakTree::OnStopSound()
{
    m_services.shell.GetWavePlayer().Stop();
}

}  // namespace vantor
