#include "pak_data_source.h"

#include "pak_archive.h"
#include "pak_names.h"
#include "shell_services.h"

#include <algorithm>
#include <new>

namespace vantor {

namespace {

const QString kGnomeFormat = QStringLiteral("x-special/gnome-copied-files");
const QString kKdeCutFormat = QStringLiteral("application/x-kde-cutselection");

// The name a folder is extracted under: its last level.
std::string FolderLeaf(const std::string& folder)
{
    std::string path = ToPakPath(folder);
    if (!path.empty() && path.back() == '/')
        path.pop_back();
    return GetNamePart(path);
}

}  // namespace

CPakDataSource::CPakDataSource(CPakArchive& pak, IShellServices& shell, QObject* pParent)
    : m_pak(pak), m_shell(shell)
{
    setParent(pParent);
}

CPakDataSource::~CPakDataSource() = default;

QString CPakDataSource::DescribeError() const
{
    switch (m_nError) {
    case srcOutOfMemory: return QStringLiteral("Out of memory.");
    case srcNoPak: return QStringLiteral("No pak file has been specified.");
    case srcItemFailed:
    case srcFatalItem: return m_strArchiveError;
    case srcNoTempFolder: return QStringLiteral("The temporary directory is invalid or not specified.");
    case srcClipboardAccess:
        return QStringLiteral("Can't obtain access to the memory allocated for clipboard operations.");
    case srcClipboardMemory: return QStringLiteral("Can't allocate memory for clipboard operations.");
    case srcNothingToOffer: return QStringLiteral("There is no data to paste.");
    default: return QStringLiteral("An unspecified error occurred.");
    }
}

bool CPakDataSource::IsFatal() const
{
    switch (m_nError) {
    case srcOutOfMemory:
    case srcNoPak:
    case srcNoTempFolder:
    case srcClipboardAccess:
    case srcClipboardMemory:
    case srcFatalItem:
    case srcNothingToOffer: return true;
    default: return false;
    }
}

bool CPakDataSource::SetItems(std::vector<std::string> files, std::vector<std::string> folders)
{
    DeleteTempFiles();
    m_files = std::move(files);
    m_folders = std::move(folders);
    try {
        // Room for the results now, so that recording them cannot fail
        // halfway through an extraction.
        m_extractedFiles.reserve(m_files.size());
        m_extractedFolders.reserve(m_folders.size());
        m_offeredPaths.reserve(m_files.size() + m_folders.size());
    } catch (const std::bad_alloc&) {
        m_files.clear();
        m_folders.clear();
        m_nError = srcOutOfMemory;
        return false;
    }
    m_nError = srcNone;
    return true;
}

void CPakDataSource::Fail(bool bFatal)
{
    if (bFatal) {
        m_nError = srcFatalItem;
        m_strArchiveError = QString::fromStdString(m_pak.GetErrorText());
    } else if (m_nError == srcNone) {
        m_nError = srcItemFailed;
        m_strArchiveError = QString::fromStdString(m_pak.GetErrorText());
    }
}

PakProgress CPakDataSource::Totals(std::vector<PakProgress>& folders) const
{
    PakProgress totals;
    for (const std::string& file : m_files) {
        totals.bytesTotal += static_cast<std::uint64_t>(std::max<std::int64_t>(m_pak.GetEntryLength(file), 0));
        ++totals.itemsTotal;
    }
    std::vector<std::uint32_t> indices;
    for (const std::string& folder : m_folders) {
        indices.clear();
        m_pak.ListFolderRecords(folder, indices);
        PakProgress one;
        one.itemsTotal = indices.size();
        for (const std::uint32_t i : indices)
            one.bytesTotal += m_pak.GetEntries()[i].length;
        totals.itemsTotal += one.itemsTotal;
        totals.bytesTotal += one.bytesTotal;
        folders.push_back(one);
    }
    return totals;
}

bool CPakDataSource::ExtractToTemp(const PakProgressFn& progress)
{
    DeleteTempFiles();
    m_nError = srcNone;
    m_strArchiveError.clear();
    m_bItemFailed = false;
    if (!m_pak.IsOpen()) {
        m_nError = srcNoPak;
        return false;
    }
    m_pTransfer = CTransferFolder::Create(m_shell.GetPrivateTempPath());
    if (!m_pTransfer) {
        m_nError = srcNoTempFolder;
        return false;
    }
    const std::string& disk = m_pTransfer->DiskPath();
    try {
        std::vector<PakProgress> folderTotals;
        PakProgress report = Totals(folderTotals);
        const auto goOn = [&](const PakProgress& now) {
            if (!m_bCancelled && progress && !progress(now))
                m_bCancelled = true;
            return !m_bCancelled;
        };
        bool bStop = false;
        for (const std::string& file : m_files) {
            if (!goOn(report))
                break;
            const std::int64_t length = m_pak.GetEntryLength(file);
            bool bDone = false;
            if (length < 0)
                m_pak.SetError(errFileNotFound);
            else
                bDone = m_pak.ExtractEntry(file, disk, true);
            if (bDone) {
                m_extractedFiles.push_back(file);
                m_offeredPaths.push_back(JoinDiskPath(disk, GetNamePart(file)));
            } else {
                m_bItemFailed = true;
                bStop = m_pak.IsFatalError();
                Fail(bStop);
            }
            ++report.itemsDone;
            report.bytesDone += static_cast<std::uint64_t>(std::max<std::int64_t>(length, 0));
            if (bStop)
                break;
        }
        for (std::size_t i = 0; !bStop && !m_bCancelled && i < m_folders.size(); ++i) {
            const PakProgress base = report;
            const auto folderProgress = [&](const PakProgress& inFolder) {
                report.itemsDone = base.itemsDone + inFolder.itemsDone;
                report.bytesDone = base.bytesDone + inFolder.bytesDone;
                return goOn(report);
            };
            // The engine reports the folder's end without asking; a folder
            // it finished is complete whatever was answered then.
            if (m_pak.ExtractFolderRelative(m_folders[i], disk, true, folderProgress)) {
                m_extractedFolders.push_back(m_folders[i]);
                m_offeredPaths.push_back(JoinDiskPath(disk, FolderLeaf(m_folders[i])));
            } else if (!m_bCancelled) {
                m_bItemFailed = true;
                bStop = m_pak.IsFatalError();
                Fail(bStop);
            }
            report.itemsDone = base.itemsDone + folderTotals[i].itemsTotal;
            report.bytesDone = base.bytesDone + folderTotals[i].bytesTotal;
        }
        if (m_bCancelled && m_nError == srcNone) {
            m_nError = srcItemFailed;
            m_strArchiveError = QStringLiteral("The extraction was cancelled.");
        }
        if (progress && !m_bCancelled && !bStop)
            progress(report);
    } catch (const std::bad_alloc&) {
        m_nError = srcOutOfMemory;
    }
    const bool bAll = m_extractedFiles.size() == m_files.size() && m_extractedFolders.size() == m_folders.size();
    if (!Offer())
        return false;
    return bAll && m_nError == srcNone;
}

void CPakDataSource::SetCut(bool bCut)
{
    m_bCut = bCut;
    if (!m_offeredPaths.empty())
        Offer();
}

void CPakDataSource::DeleteTempFiles()
{
    clear();
    m_urls.clear();
    m_offeredPaths.clear();
    m_extractedFiles.clear();
    m_extractedFolders.clear();
    m_bCancelled = false;
    m_pTransfer.reset();
}

QUrl CPakDataSource::FileUrl(const std::string& diskPath)
{
    // Percent-encoding the raw bytes keeps names that are not UTF-8 exactly
    // as the file system has them; decoding them as text would not.
    return QUrl::fromEncoded("file://" + QByteArray::fromStdString(diskPath).toPercentEncoding("/"),
                             QUrl::StrictMode);
}

bool CPakDataSource::Offer()
{
    clear();
    m_urls.clear();
    if (m_offeredPaths.empty())
        return true;
    try {
        m_urls.reserve(static_cast<qsizetype>(m_offeredPaths.size()));
        QByteArray gnome = m_bCut ? QByteArrayLiteral("cut") : QByteArrayLiteral("copy");
        for (const std::string& path : m_offeredPaths) {
            m_urls.append(FileUrl(path));
            gnome += '\n';
            gnome += m_urls.constLast().toEncoded();
        }
        // text/uri-list is written by Qt from these, CRLF after each.
        setUrls(m_urls);
        setData(kGnomeFormat, gnome);
        if (m_bCut)
            setData(kKdeCutFormat, QByteArrayLiteral("1"));
    } catch (const std::bad_alloc&) {
        clear();
        m_urls.clear();
        m_nError = srcClipboardMemory;
        return false;
    }
    return true;
}

QVariant CPakDataSource::retrieveData(const QString& mimeType, QMetaType type) const
{
    if (m_offeredPaths.empty()) {
        m_nError = srcNothingToOffer;
        return {};
    }
    return QMimeData::retrieveData(mimeType, type);
}

}  // namespace vantor
