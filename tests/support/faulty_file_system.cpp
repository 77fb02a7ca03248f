#include "faulty_file_system.h"

#include <algorithm>
#include <filesystem>
#include <mutex>

namespace vantor::test {
namespace {

class CFaultyFile;

// Every file open through any faulty layer, oldest first, for ReadHeldFile.
struct HeldFiles {
    std::mutex lock;
    std::vector<CFaultyFile*> files;
};

HeldFiles& Held()
{
    static HeldFiles held;
    return held;
}

// One spelling per file: absolute, with redundant parts and separators
// made uniform, so the archive's path and the test's compare equal.
std::string SamePathForm(const std::string& path)
{
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return (error ? std::filesystem::path(path) : absolute).lexically_normal().string();
}

class CFaultyFile final : public IFile {
public:
    CFaultyFile(std::unique_ptr<IFile> real, CFaultyFileSystem& owner, const std::string& path, std::uint64_t understate = 0)
        : m_real(std::move(real)), m_owner(owner), m_path(path), m_nUnderstate(understate)
    {
        const std::lock_guard guard(Held().lock);
        Held().files.push_back(this);
    }
    ~CFaultyFile() override
    {
        const std::lock_guard guard(Held().lock);
        std::erase(Held().files, this);
    }
    CFaultyFile(const CFaultyFile&) = delete;
    CFaultyFile& operator=(const CFaultyFile&) = delete;

    const std::string& Path() const { return m_path; }

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
    std::string m_path;
    std::uint64_t m_nUnderstate;
};

}  // namespace

bool ReadHeldFile(const std::string& path, std::string& bytes)
{
    const std::string wanted = SamePathForm(path);
    const std::lock_guard guard(Held().lock);
    const auto& files = Held().files;
    const auto it =
        std::find_if(files.rbegin(), files.rend(), [&](const CFaultyFile* f) { return SamePathForm(f->Path()) == wanted; });
    if (it == files.rend()) return false;
    // In pieces to the end, not by the length a layer may understate.
    bytes.clear();
    char piece[1 << 16];
    for (std::size_t got = sizeof piece; got == sizeof piece;) {
        if ((*it)->ReadAt(bytes.size(), piece, sizeof piece, got) != FileCause::none) return false;
        bytes.append(piece, got);
    }
    return true;
}

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
        file = std::make_unique<CFaultyFile>(std::move(real), *this, path, mode == OpenMode::read && !lock ? m_nUnderstate : 0);
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
    if (created == FileCause::none) file = std::make_unique<CFaultyFile>(std::move(real), *this, path);
    return created;
}

}  // namespace vantor::test
