// CPakDataSource: pak items offered to other programs (the clipboard's Copy
// and Cut, a drag out of the views). Receivers on the desktop take files,
// not pak entries, so the items are extracted first into a transfer folder
// of their own and offered as file URLs.
#pragma once

#include "pak_progress.h"
#include "transfer_folder.h"

#include <QMimeData>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <memory>
#include <string>
#include <vector>

namespace vantor {

class CPakArchive;
class IPrompt;
class IShellServices;

class CPakDataSource : public QMimeData {
    Q_OBJECT

public:
    // The codes GetError() returns; any other value describes itself as
    // "An unspecified error occurred.", which is also the state after
    // construction (srcUnspecified) until SetItems succeeds.
    enum Error : int {
        srcNone = 0,
        srcOutOfMemory = 17,
        srcUnspecified = 19,
        srcNoPak = 100,
        srcItemFailed = 101,       // an item failed; the archive's text
        srcNoTempFolder = 102,
        srcClipboardAccess = 104,  // there is no clipboard to put it on
        srcClipboardMemory = 105,  // the offered lists could not be built
        srcFatalItem = 106,        // an item failed fatally; the archive's text
        srcNothingToOffer = 107,
    };

    CPakDataSource(CPakArchive& pak, IShellServices& shell, QObject* pParent = nullptr);
    ~CPakDataSource() override;

    int GetError() const { return m_nError; }
    QString DescribeError() const;
    bool IsFatal() const;

    // The items to offer, as pak paths: files without a trailing '/',
    // folders with one. Drops any earlier transfer and stops offering it.
    bool SetItems(std::vector<std::string> files, std::vector<std::string> folders);

    // Extracts the items into a new transfer folder, the files and then the
    // folders, each folder as a folder of its own name, and offers what
    // reached disk completely. progress sees items and bytes over the whole
    // transfer; returning false cancels, and what is left counts as failed.
    // True when no item failed. A fatal archive error stops at once.
    bool ExtractToTemp(const PakProgressFn& progress = {});

    // Pak paths extracted completely, in the order given. A folder with an
    // entry that failed is left out (and not offered): a receiver must
    // never take part of a folder for all of it.
    const std::vector<std::string>& ExtractedFiles() const { return m_extractedFiles; }
    const std::vector<std::string>& ExtractedFolders() const { return m_extractedFolders; }
    // The disk paths offered, files first, then folders.
    const std::vector<std::string>& OfferedPaths() const { return m_offeredPaths; }
    // Whether the last extraction was cancelled through its progress.
    bool WasCancelled() const { return m_bCancelled; }

    // A cut is offered as one, so that a file manager moves the files.
    void SetCut(bool bCut);
    bool IsCut() const { return m_bCut; }

    // The folder holding the offered files. A drag deletes its data when it
    // ends, but a receiver may still be reading the files: whoever starts
    // the drag keeps this until it no longer needs the files.
    std::shared_ptr<CTransferFolder> GetTransfer() const { return m_pTransfer; }
    // Stops offering anything and lets go of the transfer folder; it is
    // removed when no other owner holds it.
    void DeleteTempFiles();

    // The URL of a disk path, every byte kept (names need not be UTF-8).
    static QUrl FileUrl(const std::string& diskPath);

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    // Offers the extracted paths in every format (again, after SetCut).
    bool Offer();
    // Records a failed item with the archive's text; a worse code already
    // set stays, and so does the first failure's text.
    void Fail(bool bFatal);
    // The folders' entry and byte counts, and the whole transfer's totals.
    PakProgress Totals(std::vector<PakProgress>& folders) const;

    friend CPakDataSource* PutOnClipboard(std::unique_ptr<CPakDataSource>, IPrompt&, const QString&);

    CPakArchive& m_pak;
    IShellServices& m_shell;
    std::vector<std::string> m_files;
    std::vector<std::string> m_folders;
    std::vector<std::string> m_extractedFiles;
    std::vector<std::string> m_extractedFolders;
    std::vector<std::string> m_offeredPaths;
    QList<QUrl> m_urls;
    std::shared_ptr<CTransferFolder> m_pTransfer;
    bool m_bCut = false;
    bool m_bCancelled = false;
    // An item failed by itself, not because the extraction was cancelled.
    bool m_bItemFailed = false;
    // Set by retrieveData too, which Qt calls as const.
    mutable int m_nError = srcUnspecified;
    QString m_strArchiveError;
};

// Extracts the source's items at once, under the wait cursor and a progress
// window with Cancel that appears only when the work takes a while, and
// puts the source on the clipboard, which then owns it. It is placed also
// when some items failed, so that what reached disk is on offer; a failure
// is reported through prompt first. Returns the placed source, so that the
// caller can read ExtractedFiles() and ExtractedFolders() at once (for a
// Cut, only those may leave the pak); it stays valid only until the
// clipboard changes, so it must not be kept. Null when nothing was placed:
// nothing reached disk, or there is no clipboard.
CPakDataSource* PutOnClipboard(std::unique_ptr<CPakDataSource> pSource, IPrompt& prompt,
                               const QString& progressText = {});

}  // namespace vantor
