// Writes the data sets of bench/run, deterministically from a seed, with
// names that pass the pak's rules (8.3 levels, at most 55 characters), so
// that the pak and the tar of one set hold exactly the same files.
//
//   vantor_bench_data tree DIR FILES BYTES DEPTH SEED
//       FILES files of 1 KiB to 1 MiB, BYTES in all (within 0.1 %), in
//       folders down to DEPTH levels below DIR (one character per level)
//   vantor_bench_data empty-tree DIR FOLDERS FILES
//       FILES empty files spread evenly over FOLDERS folders, two levels deep
//   vantor_bench_data file PATH BYTES
//       one file of BYTES pseudo-random bytes
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::uint64_t kKiB = 1024;
constexpr std::uint64_t kMiB = 1024 * kKiB;

class CRandom {
public:
    explicit CRandom(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t Next()  // splitmix64
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double Unit() { return static_cast<double>(Next() >> 11) / 9007199254740992.0; }

private:
    std::uint64_t m_state;
};

// Incompressible bytes to cut files from; each file starts elsewhere in it.
const std::vector<char>& Noise()
{
    static const std::vector<char> noise = [] {
        std::vector<char> bytes(2 * kMiB);
        CRandom random(12345);
        for (std::size_t i = 0; i < bytes.size(); i += 8) {
            const std::uint64_t v = random.Next();
            for (int k = 0; k < 8; ++k) bytes[i + static_cast<std::size_t>(k)] = static_cast<char>(v >> (8 * k));
        }
        return bytes;
    }();
    return noise;
}

bool WriteFile(const fs::path& path, std::uint64_t size, std::uint64_t salt)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const std::vector<char>& noise = Noise();
    std::uint64_t start = (salt * 40503u) % kMiB;
    for (std::uint64_t done = 0; done < size && out;) {
        const std::uint64_t count = std::min<std::uint64_t>(size - done, kMiB);
        out.write(noise.data() + start, static_cast<std::streamsize>(count));
        done += count;
        start = (start + 4099) % kMiB;
    }
    if (!out) std::fprintf(stderr, "vantor_bench_data: cannot write %s\n", path.c_str());
    return static_cast<bool>(out);
}

// Sizes between 1 KiB and 1 MiB, log-uniform bent by `power` so that they
// add up to the wanted total: s = 1 KiB * 1024^(u^power).
std::vector<std::uint64_t> Sizes(std::size_t files, std::uint64_t total, CRandom& random)
{
    std::vector<double> u(files);
    for (double& x : u) x = random.Unit();
    const auto sizes = [&](double power) {
        std::vector<std::uint64_t> s(files);
        for (std::size_t i = 0; i < files; ++i) s[i] = static_cast<std::uint64_t>(std::llround(kKiB * std::pow(1024.0, std::pow(u[i], power))));
        return s;
    };
    const auto sum = [](const std::vector<std::uint64_t>& s) {
        std::uint64_t t = 0;
        for (const std::uint64_t x : s) t += x;
        return t;
    };
    double low = 0.02;
    double high = 50.0;  // the sum falls as the power grows
    for (int i = 0; i < 100; ++i) {
        const double mid = std::sqrt(low * high);
        (sum(sizes(mid)) > total ? low : high) = mid;
    }
    return sizes(high);
}

int MakeTree(const fs::path& root, std::size_t files, std::uint64_t total, int depth, std::uint64_t seed)
{
    static constexpr char kNames[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    struct Folder {
        fs::path path;
        int depth = 0;
        int children = 0;
    };
    CRandom random(seed);
    std::vector<Folder> folders{{root, 0, 0}};
    const auto addChild = [&](std::size_t parent) {
        Folder& p = folders[parent];
        Folder child{p.path / std::string(1, kNames[p.children]), p.depth + 1, 0};
        ++p.children;
        folders.push_back(child);
    };
    // One chain to the deepest level, then folders hung anywhere above it.
    for (int d = 0; d < depth; ++d) addChild(folders.size() - 1);
    const std::size_t wanted = std::max<std::size_t>(files / 25, folders.size());
    while (folders.size() < wanted) {
        const std::size_t parent = random.Next() % folders.size();
        if (folders[parent].depth < depth && folders[parent].children < 36) addChild(parent);
    }
    for (const Folder& f : folders) fs::create_directories(f.path);

    const std::vector<std::uint64_t> sizes = Sizes(files, total, random);
    std::uint64_t written = 0;
    for (std::size_t i = 0; i < files; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "f%05zu.dat", i);
        if (!WriteFile(folders[random.Next() % folders.size()].path / name, sizes[i], i)) return 1;
        written += sizes[i];
    }
    std::printf("%zu files, %llu bytes, %zu folders, %d levels deep\n", files, static_cast<unsigned long long>(written),
                folders.size(), depth);
    return 0;
}

int MakeEmptyTree(const fs::path& root, std::size_t folders, std::size_t files)
{
    const std::size_t top = std::max<std::size_t>(1, static_cast<std::size_t>(std::sqrt(static_cast<double>(folders))));
    for (std::size_t i = 0; i < files; ++i) {
        const std::size_t folder = i % folders;
        char sub[48];
        std::snprintf(sub, sizeof sub, "g%03zu/h%04zu", folder % top, folder);
        const fs::path dir = root / sub;
        if (i < folders) fs::create_directories(dir);
        char name[32];
        std::snprintf(name, sizeof name, "e%06zu.dat", i);
        std::ofstream out(dir / name);
        if (!out) {
            std::fprintf(stderr, "vantor_bench_data: cannot write %s\n", (dir / name).c_str());
            return 1;
        }
    }
    std::printf("%zu empty files in %zu folders\n", files, folders);
    return 0;
}

std::uint64_t Number(const char* text) { return std::strtoull(text, nullptr, 10); }

}  // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "tree" && argc == 7)
        return MakeTree(argv[2], Number(argv[3]), Number(argv[4]), static_cast<int>(Number(argv[5])), Number(argv[6]));
    if (command == "empty-tree" && argc == 5) return MakeEmptyTree(argv[2], Number(argv[3]), Number(argv[4]));
    if (command == "file" && argc == 4) return WriteFile(argv[2], Number(argv[3]), 7) ? 0 : 1;
    std::fprintf(stderr,
                 "usage: vantor_bench_data tree DIR FILES BYTES DEPTH SEED\n"
                 "       vantor_bench_data empty-tree DIR FOLDERS FILES\n"
                 "       vantor_bench_data file PATH BYTES\n");
    return 2;
}
