// Copy and Cut: the items are extracted when the command runs, not when a
// receiver pastes, because a paste may come after the pak has changed or
// closed, and X11 receivers wait only briefly for the data.
#include "pak_data_source.h"
#include "prompt.h"
#include "wait_cursor.h"

#include <QClipboard>
#include <QGuiApplication>

namespace vantor {

CPakDataSource* PutOnClipboard(std::unique_ptr<CPakDataSource> pSource, IPrompt& prompt, const QString& progressText)
{
    if (!pSource)
        return nullptr;
    const auto report = [&](const CPakDataSource& source) {
        prompt.ShowError((source.IsFatal() ? QStringLiteral("A fatal error occurred while extracting data from the "
                                                             "pak file:  ")
                                           : QStringLiteral("An error occurred extracting one or more items from the "
                                                            "pak:  ")) +
                         source.DescribeError());
    };
    QClipboard* pClipboard =
        qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr ? QGuiApplication::clipboard() : nullptr;
    if (pClipboard == nullptr) {
        pSource->m_nError = CPakDataSource::srcClipboardAccess;
        report(*pSource);
        return nullptr;
    }

    bool bAll = false;
    {
        CWaitCursor wait;
        const std::unique_ptr<IProgress> pProgress = prompt.BeginProgress(
            progressText.isEmpty() ? QStringLiteral("Extracting items from the pak...") : progressText, true);
        bAll = pSource->ExtractToTemp([&](const PakProgress& now) {
            if (!pProgress)
                return true;
            if (now.bytesTotal != 0)
                pProgress->SetProgress(now.bytesDone, now.bytesTotal);
            else
                pProgress->SetProgress(now.itemsDone, now.itemsTotal);
            return !pProgress->IsCancelled();
        });
    }
    // The user who cancelled knows the rest is missing; anything else that
    // went wrong is said.
    const bool bOnlyCancelled = pSource->WasCancelled() && !pSource->m_bItemFailed && !pSource->IsFatal();
    if (!bAll && !bOnlyCancelled)
        report(*pSource);
    if (pSource->OfferedPaths().empty()) {
        if (bAll) {
            pSource->m_nError = CPakDataSource::srcNothingToOffer;
            report(*pSource);
        }
        return nullptr;
    }
    CPakDataSource* pPlaced = pSource.release();
    pClipboard->setMimeData(pPlaced);
    return pPlaced;
}

}  // namespace vantor
