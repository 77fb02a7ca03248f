// Shared by the fuzz targets: a private work folder per process, whole-file
// helpers, and the one way a target reports a broken promise (abort, so
// that libFuzzer keeps the input as a finding).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vantor::fuzz {

// A folder below $TMPDIR made once per process and removed at exit.
const std::string& WorkFolder();

// Removes everything inside folder but keeps the folder.
void EmptyFolder(const std::string& folder);

// Every path below folder (files, folders and links), relative to it, sorted.
std::vector<std::string> ListTree(const std::string& folder);

// False when the file cannot be read.
bool ReadWholeFile(const std::string& path, std::string& bytes);
void WriteWholeFile(const std::string& path, std::string_view bytes);

// Prints what went wrong and aborts.
[[noreturn]] void Fail(const std::string& what);

inline void Require(bool condition, const std::string& what)
{
    if (!condition) Fail(what);
}

// Data the edit target gives the pak: blob `id` of `length` bytes carries
// its id in the first four bytes and a pattern of the id after that, so any
// entry's bytes say which blob they must be, and a mix-up of two blobs, a
// shifted copy or a torn write cannot pass for a good one.
inline constexpr std::uint32_t kMinBlobLength = 8;
std::string BlobBytes(std::uint32_t id, std::uint32_t length);
// The id the bytes claim (0 for an empty entry); the caller checks them
// against BlobBytes(id, size).
std::uint32_t BlobId(std::string_view bytes);

}  // namespace vantor::fuzz
