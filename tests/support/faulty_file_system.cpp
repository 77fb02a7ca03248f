#include "faulty_file_system.h"

#include <algorithm>

namespace vantor::test {
namespace {

class CFaultyFile final : public IFile {
public:
    CFaultyFile(std::unique_ptr<IFile> real, CFaultyFileSystem& owner, std::uint64_t understate = 0)
        : m_real(std::move(real)), m_owner(owner), m_nUnderstate(understate)
    {
    }

    FileCause ReadAt(std::uint64_t offset, void* buffer, std::size_t count, std::size_t& got) override
    {
        return m_real->ReadAt(offset, buffer, count, got);
    }
    FileCause WriteAt(std::uint64_t offset, const void* buffer, std::size_t count) override
    {
        const FileCause cause = m_owner.BeforeWrite();
        return cause != FileCause::none ? cause : m_real->WriteAt(offset, buffer, count);
    }
    FileCause GetLength(std::uint64_t& length) override
    {
        const FileCause cause = m_real->GetLength(length);
        length -= std::min(length, m_nUnderstate);
        return cause;
    }
    FileCause SetLength(std::uint64_t length) override
    {
        const FileCause cause = m_owner.BeforeWrite();
        return cause != FileCause::none ? cause : m_real->SetLength(length);
    }
    FileCause Flush() override
    {
        // A dead process flushes nothing; a live one flushes what it wrote.
        return m_owner.Stopped() ? FileCause::hardIO : m_real->Flush();
    }
    FileCause GetIdentity(FileIdentity& identity) override { return m_real->GetIdentity(identity); }
    FileCause GetStatus(FileStatus& status) override { return m_real->GetStatus(status); }

private:
    std::unique_ptr<IFile> m_real;
    CFaultyFileSystem& m_owner;
    std::uint64_t m_nUnderstate;
};

}  // namespace

void CFaultyFileSystem::Reset()
{
    m_nStopAfter = -1;
    m_nFailOnce = -1;
    m_bDenyReadWrite = false;
    m_nUnderstate = 0;
    m_nWrites = 0;
}

FileCause CFaultyFileSystem::BeforeWrite()
{
    const int index = m_nWrites++;
    if (m_nStopAfter >= 0 && index >= m_nStopAfter) return FileCause::hardIO;
    if (index == m_nFailOnce) return m_failCause;
    return FileCause::none;
}

FileCause CFaultyFileSystem::Open(const std::string& path, OpenMode mode, bool lock, std::unique_ptr<IFile>& file)
{
    if (mode == OpenMode::readWrite && m_bDenyReadWrite) return FileCause::accessDenied;
    if (mode == OpenMode::createTruncate || mode == OpenMode::createExclusive) {
        const FileCause cause = BeforeWrite();
        if (cause != FileCause::none) return cause;
    }
    std::unique_ptr<IFile> real;
    const FileCause cause = m_real.Open(path, mode, lock, real);
    if (cause == FileCause::none)
        file = std::make_unique<CFaultyFile>(std::move(real), *this, mode == OpenMode::read && !lock ? m_nUnderstate : 0);
    return cause;
}

FileCause CFaultyFileSystem::Status(const std::string& path, FileStatus& status, bool followLinks)
{
    return m_real.Status(path, status, followLinks);
}

FileCause CFaultyFileSystem::CreateFolder(const std::string& path)
{
    const FileCause cause = BeforeWrite();
    return cause != FileCause::none ? cause : m_real.CreateFolder(path);
}

FileCause CFaultyFileSystem::ListFolder(const std::string& path, std::vector<FolderItem>& items)
{
    return m_real.ListFolder(path, items);
}

FileCause CFaultyFileSystem::Rename(const std::string& from, const std::string& to)
{
    const FileCause cause = BeforeWrite();
    return cause != FileCause::none ? cause : m_real.Rename(from, to);
}

FileCause CFaultyFileSystem::Remove(const std::string& path)
{
    const FileCause cause = BeforeWrite();
    return cause != FileCause::none ? cause : m_real.Remove(path);
}

FileCause CFaultyFileSystem::CreateTemporary(const std::string& folder, std::unique_ptr<IFile>& file, std::string& path)
{
    const FileCause cause = BeforeWrite();
    if (cause != FileCause::none) return cause;
    std::unique_ptr<IFile> real;
    const FileCause created = m_real.CreateTemporary(folder, real, path);
    if (created == FileCause::none) file = std::make_unique<CFaultyFile>(std::move(real), *this);
    return created;
}

}  // namespace vantor::test
