#include "pak_check.h"

#include "file_layer.h"
#include "pak_error.h"
#include "pak_names.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <unordered_map>
#include <utility>

namespace vantor::cli {
namespace {

struct Span {
    std::uint64_t begin = 0;
    std::uint64_t end = 0;
};

std::string Range(std::uint64_t offset, std::uint64_t length)
{
    return "at " + std::to_string(offset) + ", " + std::to_string(length) + " bytes,";
}

class CChecker {
public:
    CChecker(IFile& file, PakCheck& result) : m_file(file), m_result(result) {}

    // False with a code when reading fails.
    bool Run(int& code)
    {
        FileCause cause = m_file.GetLength(m_result.fileLength);
        if (cause != FileCause::none) return Fail(cause, code);
        const std::uint64_t length = m_result.fileLength;
        if (length < kPakHeaderSize) {
            Add("short-header", "the file is " + std::to_string(length) + " bytes long, too short for the " +
                                    std::to_string(kPakHeaderSize) + "-byte header");
            return true;
        }
        PakHeaderBytes bytes{};
        std::size_t got = 0;
        cause = m_file.ReadAt(0, bytes.data(), bytes.size(), got);
        if (cause != FileCause::none) return Fail(cause, code);
        if (got < bytes.size()) return Fail(FileCause::endOfFile, code);
        m_header = DecodeHeader(bytes);
        if (!m_header.HasMagic()) {
            Add("bad-magic", "the file does not begin with \"PACK\"");
            return true;
        }
        m_result.hasHeader = true;
        CheckDirectory();
        if (!ReadRecords(code)) return false;
        CheckRecords();
        m_result.unused = CountUnusedBytes(length, m_header.dirOffset, m_header.dirLength, m_records);
        return true;
    }

private:
    bool Fail(FileCause cause, int& code)
    {
        code = cause == FileCause::endOfFile ? static_cast<int>(errReadFailed) : CodeFromCause(cause);
        return false;
    }

    void Add(std::string kind, std::string text, long long record = -1, std::string place = "header")
    {
        PakProblem problem{std::move(kind), record, record < 0 ? std::move(place) : std::string(), {}, std::move(text)};
        if (record >= 0) problem.name = std::string(m_records[static_cast<std::size_t>(record)].Name());
        m_result.problems.push_back(std::move(problem));
    }

    void CheckDirectory()
    {
        const std::uint64_t offset = m_header.dirOffset;
        const std::uint64_t length = m_header.dirLength;
        if (offset == 0 && length == 0) Add("empty-header", "the directory offset and length are both 0");
        if (length % kPakEntrySize != 0)
            Add("directory-size", "the directory length " + std::to_string(length) + " is not a multiple of " +
                                      std::to_string(kPakEntrySize));
        if (length == 0) return;
        const std::string where = Range(offset, length);
        if (offset < kPakHeaderSize) Add("directory-overlaps-header", where + " overlaps the header", -1, "directory");
        if (offset + length > m_result.fileLength)
            Add("directory-past-end",
                where + " runs past the end of the file (" + std::to_string(m_result.fileLength) + " bytes)", -1,
                "directory");
    }

    // The whole records that lie inside the file; the rest cannot be read.
    bool ReadRecords(int& code)
    {
        const std::uint64_t offset = m_header.dirOffset;
        std::uint64_t count = m_header.dirLength / kPakEntrySize;
        if (offset >= m_result.fileLength)
            count = 0;
        else
            count = std::min<std::uint64_t>(count, (m_result.fileLength - offset) / kPakEntrySize);
        try {
            m_records.reserve(static_cast<std::size_t>(count));
            constexpr std::size_t kSlice = 16384;
            std::vector<unsigned char> bytes(std::min<std::uint64_t>(count, kSlice) * kPakEntrySize);
            for (std::uint64_t first = 0; first < count; first += kSlice) {
                const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(count - first, kSlice));
                std::size_t got = 0;
                const FileCause cause = m_file.ReadAt(offset + first * kPakEntrySize, bytes.data(), n * kPakEntrySize, got);
                if (cause != FileCause::none) return Fail(cause, code);
                if (got < n * kPakEntrySize) return Fail(FileCause::endOfFile, code);
                for (std::size_t i = 0; i < n; ++i) m_records.push_back(DecodeEntry(bytes.data() + i * kPakEntrySize));
            }
        } catch (const std::bad_alloc&) {
            code = errOutOfMemory;
            return false;
        }
        return true;
    }

    // For each record with data, an earlier-placed record whose bytes it
    // shares (-1 when none): one finding per overlapping record, not one
    // per pair, so a pile of overlaps stays readable.
    std::vector<long long> FindOverlaps() const
    {
        std::vector<long long> partner(m_records.size(), -1);
        std::vector<std::size_t> order;
        for (std::size_t i = 0; i < m_records.size(); ++i)
            if (m_records[i].length != 0) order.push_back(i);
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return m_records[a].offset < m_records[b].offset; });
        std::size_t furthest = 0;
        bool any = false;
        for (const std::size_t i : order) {
            if (any && m_records[i].offset < m_records[furthest].End()) partner[i] = static_cast<long long>(furthest);
            if (!any || m_records[i].End() > m_records[furthest].End()) furthest = i;
            any = true;
        }
        return partner;
    }

    // For each record, a record that has its name as a folder (a.txt beside
    // a.txt/b.txt), or -1: an extraction could make only one of the two.
    // '\' separates levels as '/' does. One hash lookup per level.
    std::vector<long long> FindFolderClashes() const
    {
        const auto levelled = [](std::string_view name) {
            std::string out(name);
            std::replace(out.begin(), out.end(), '\\', '/');
            return out;
        };
        std::unordered_map<std::string, std::size_t> folderUser;
        for (std::size_t i = 0; i < m_records.size(); ++i) {
            const std::string name = levelled(m_records[i].Name());
            for (std::size_t slash = name.find('/'); slash != std::string::npos; slash = name.find('/', slash + 1))
                if (slash != 0) folderUser.emplace(name.substr(0, slash), i);
        }
        std::vector<long long> clash(m_records.size(), -1);
        if (folderUser.empty()) return clash;
        for (std::size_t i = 0; i < m_records.size(); ++i)
            if (const auto it = folderUser.find(levelled(m_records[i].Name())); it != folderUser.end())
                clash[i] = static_cast<long long>(it->second);
        return clash;
    }

    void CheckRecords()
    {
        const std::vector<long long> overlaps = FindOverlaps();
        const std::vector<long long> clashes = FindFolderClashes();
        std::unordered_map<std::string_view, std::size_t> firstOfName;
        const Span directory{m_header.dirOffset, std::uint64_t{m_header.dirOffset} + m_header.dirLength};
        for (std::size_t i = 0; i < m_records.size(); ++i) {
            const PakEntry& entry = m_records[i];
            const auto record = static_cast<long long>(i);
            const std::string_view name = entry.Name();
            if (std::memchr(entry.name.data(), 0, entry.name.size()) == nullptr) {
                Add("unterminated-name", "the name has no terminating zero", record);
            } else if (const int rule = CheckPakPath(name); rule != 0) {
                Add("bad-path", std::string("the name breaks the path rule: ") + PakErrorText(rule), record);
            }
            if (!IsSafeRelativeName(name)) Add("unsafe-name", "the name could escape a folder when extracted", record);
            if (entry.length != 0) {
                const std::string where = "the data " + Range(entry.offset, entry.length);
                if (entry.End() > m_result.fileLength)
                    Add("past-end", where + " runs past the end of the file (" + std::to_string(m_result.fileLength) + " bytes)", record);
                if (entry.offset < kPakHeaderSize) Add("overlaps-header", where + " overlaps the header", record);
                if (directory.end > directory.begin && entry.offset < directory.end && directory.begin < entry.End())
                    Add("overlaps-directory", where + " overlaps the directory", record);
                if (overlaps[i] >= 0) {
                    const std::size_t other = static_cast<std::size_t>(overlaps[i]);
                    Add("overlap", where + " overlaps record " + std::to_string(other), record);
                }
            }
            const auto [first, inserted] = firstOfName.emplace(name, i);
            if (!inserted) Add("duplicate-name", "the same name as record " + std::to_string(first->second), record);
            if (clashes[i] >= 0)
                Add("file-folder-clash", "the name is also a folder of record " + std::to_string(clashes[i]), record);
        }
    }

    IFile& m_file;
    PakCheck& m_result;
    PakHeader m_header;
    std::vector<PakEntry> m_records;
};

}  // namespace

bool CheckPakFile(const std::string& path, PakCheck& result, int& code)
{
    result = {};
    IFileSystem& fs = PlatformFileSystem();
    FileStatus status;
    FileCause cause = fs.Status(path, status, true);
    // A folder, FIFO or device is not a pak, as the engine says on opening.
    if (cause == FileCause::none && status.kind != FileKind::file) {
        code = errNotPak;
        return false;
    }
    std::unique_ptr<IFile> file;
    if (cause == FileCause::none) cause = fs.Open(path, OpenMode::read, false, file);
    if (cause != FileCause::none) {
        code = CodeFromCause(cause);
        return false;
    }
    return CChecker(*file, result).Run(code);
}

}  // namespace vantor::cli
