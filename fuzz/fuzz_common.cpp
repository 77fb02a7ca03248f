#include "fuzz_common.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace vantor::fuzz {

namespace fs = std::filesystem;

const std::string& WorkFolder()
{
    // Never destroyed: the exit handler below still needs the name.
    static const std::string* folder = [] {
        std::string pattern = fs::temp_directory_path().string() + "/vantor-fuzz-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::fprintf(stderr, "cannot make a work folder below %s\n", fs::temp_directory_path().c_str());
            std::abort();
        }
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(WorkFolder(), ignored);
        });
        return new std::string(pattern);
    }();
    return *folder;
}

void EmptyFolder(const std::string& folder)
{
    std::error_code ignored;
    for (const auto& item : fs::directory_iterator(folder, ignored)) fs::remove_all(item.path(), ignored);
}

std::vector<std::string> ListTree(const std::string& folder)
{
    std::vector<std::string> paths;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(folder, error); !error && it != fs::recursive_directory_iterator();
         it.increment(error))
        paths.push_back(fs::relative(it->path(), folder).string());
    std::sort(paths.begin(), paths.end());
    return paths;
}

bool ReadWholeFile(const std::string& path, std::string& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    bytes = buffer.str();
    return true;
}

void WriteWholeFile(const std::string& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) Fail("cannot write " + path);
}

void Fail(const std::string& what)
{
    std::fprintf(stderr, "\n== broken promise: %s\n", what.c_str());
    std::fflush(stderr);
    // abort() skips the exit handler; the input alone reproduces the state.
    std::error_code ignored;
    fs::remove_all(WorkFolder(), ignored);
    std::abort();
}

std::string BlobBytes(std::uint32_t id, std::uint32_t length)
{
    std::string bytes(length, '\0');
    for (std::uint32_t i = 0; i < length; ++i) {
        bytes[i] = i < 4 ? static_cast<char>((id >> (8 * i)) & 0xFF)
                         : static_cast<char>((id * 131u + i * 7u + (i >> 9)) & 0xFF);
    }
    return bytes;
}

std::uint32_t BlobId(std::string_view bytes)
{
    if (bytes.size() < 4) return 0;
    std::uint32_t id = 0;
    for (int i = 3; i >= 0; --i) id = (id << 8) | static_cast<unsigned char>(bytes[static_cast<std::size_t>(i)]);
    return id;
}

}  // namespace vantor::fuzz
