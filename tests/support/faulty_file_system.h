// A file layer over the real one that fails on purpose: it can stop dead
// after its k-th write (as a killed process would: nothing later reaches
// the disk), fail just the k-th write with a chosen cause (a full disk),
// or refuse read-write opens (a file we may only read).
#pragma once

#include "file_layer.h"

#include <string>

namespace vantor::test {

// The whole file at `path`, read through a file that a faulty layer holds
// open there (the latest such). Where sharing is mandatory, as on Windows,
// nothing else may open a pak an archive holds for writing; its own handle
// still sees exactly what is on disk. False when no faulty layer holds it.
bool ReadHeldFile(const std::string& path, std::string& bytes);

class CFaultyFileSystem : public IFileSystem {
public:
    explicit CFaultyFileSystem(IFileSystem& real = PlatformFileSystem()) : m_real(real) {}

    // After `count` more writes every write fails with hardIO and is not done.
    void StopAfterWrites(int count) { m_nStopAfter = count; }
    // Only the write numbered `index` (0-based, counted from now) fails.
    void FailWriteOnce(int index, FileCause cause)
    {
        m_nFailOnce = index;
        m_failCause = cause;
    }
    void DenyReadWrite(bool deny) { m_bDenyReadWrite = deny; }
    // Files opened for reading report a length this much shorter than they
    // are, as if they grew right after their size was taken.
    void UnderstateLengths(std::uint64_t bytes) { m_nUnderstate = bytes; }
    std::uint64_t Understatement() const { return m_nUnderstate; }
    void Reset();

    // Writes seen (done or refused) since construction or Reset().
    int WriteCount() const { return m_nWrites; }
    bool Stopped() const { return m_nStopAfter >= 0 && m_nWrites >= m_nStopAfter; }

    // The file layer.
    FileCause Open(const std::string& path, OpenMode mode, bool lock, std::unique_ptr<IFile>& file) override;
    FileCause Status(const std::string& path, FileStatus& status, bool followLinks) override;
    FileCause CreateFolder(const std::string& path) override;
    FileCause ListFolder(const std::string& path, std::vector<FolderItem>& items) override;
    FileCause Rename(const std::string& from, const std::string& to) override;
    FileCause Remove(const std::string& path) override;
    FileCause CreateTemporary(const std::string& folder, std::unique_ptr<IFile>& file, std::string& path) override;

    // Every change to the disk asks here first; none means it may happen.
    FileCause BeforeWrite();

private:
    IFileSystem& m_real;
    int m_nStopAfter = -1;
    int m_nFailOnce = -1;
    FileCause m_failCause = FileCause::diskFull;
    bool m_bDenyReadWrite = false;
    std::uint64_t m_nUnderstate = 0;
    int m_nWrites = 0;
};

}  // namespace vantor::test
