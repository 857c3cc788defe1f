#pragma once
// The manifest of a keepset: what a save run put into it, with the
// SHA-256 and the size of each file as it stands in the keepset.
//
// "qzkeepset.sha256" holds one line per file in the format of the usual
// checksum tools, "<64 lower-case hex digits><two blanks><path>\n", the
// path relative to the keepset directory with backslashes, so an operator
// can check a keepset with tools of their own. "qzkeepset.size" holds the
// sizes in the same shape, "<decimal size><two blanks><path>\n", for the
// quick check before a restore. A save writes both under temporary names
// and moves the size list into place first and the manifest last: a
// keepset whose manifest is present has its sizes too.
#include <cstdint>
#include <string>
#include <vector>

constexpr const char* kManifestFileName = "qzkeepset.sha256";
constexpr const char* kSizeListFileName = "qzkeepset.size";

struct ManifestEntry {
    std::string path;       // relative to the keepset directory, backslashes
    std::string sha256;     // 64 lower-case hex digits
    std::uint64_t size = 0;
    bool sizeKnown = false;
};

std::string FormatManifest(const std::vector<ManifestEntry>& entries);
std::string FormatSizeList(const std::vector<ManifestEntry>& entries);

struct ParsedManifest {
    std::vector<ManifestEntry> entries;  // in manifest order, sizes joined in
    unsigned malformedLines = 0;         // lines of either text that were not understood
};

// Reads both texts (the size list may be empty). A size line whose path
// the manifest does not hold is ignored; paths are compared without regard
// to case, as the file system does.
ParsedManifest ParseManifest(const std::string& checksums, const std::string& sizes);

// The path of a file below the keepset directory, relative to it, in the
// manifest's form: ".\" and "\\" joins resolved, the trailing dots a path
// component loses on the file system dropped. Empty when the file does not
// lie below the directory.
std::string KeepsetRelativePath(const std::string& keepsetDirectory, const std::string& file);

// One line of the manifest, "<64 lower-case hex digits><two blanks><path>",
// or of the size list, "<decimal size><two blanks><path>", a CR before the
// line end dropped. False for a line that is neither.
bool ParseChecksumLine(const std::string& line, std::string& digest, std::string& path);
bool ParseSizeLine(const std::string& line, std::uint64_t& size, std::string& path);

// Case-insensitive (A-Z) comparison of two relative paths.
bool SameKeepsetPath(const std::string& a, const std::string& b);
