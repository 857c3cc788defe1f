// Test tool of scripts/test-package.sh: prints the VERSIONINFO of each file
// named on the command line, one line each:
//   <file> <fixed file version a.b.c.d> <FileVersion text> <ProductVersion text>
// "-" stands for a part that is missing; the exit status is 1 when any
// file has no VERSIONINFO at all.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string StringValue(const std::vector<char>& block, const char* name)
{
    // The first translation the resource lists names its string block.
    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translation = nullptr;
    UINT size = 0;
    if (!VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &size) ||
        size < sizeof(Translation))
        return "-";
    char path[96];
    std::snprintf(path, sizeof path, "\\StringFileInfo\\%04x%04x\\%s", translation->language, translation->codePage,
                  name);
    char* text = nullptr;
    if (!VerQueryValueA(block.data(), path, reinterpret_cast<void**>(&text), &size) || size == 0)
        return "-";
    return text;
}

}  // namespace

int main(int argc, char** argv)
{
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeA(argv[i], &ignored);
        std::vector<char> block(size);
        if (size == 0 || !GetFileVersionInfoA(argv[i], 0, size, block.data())) {
            std::printf("%s - - -\n", argv[i]);
            status = 1;
            continue;
        }
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT fixedSize = 0;
        std::string fixedText = "-";
        if (VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize) &&
            fixedSize >= sizeof(VS_FIXEDFILEINFO)) {
            char text[64];
            std::snprintf(text, sizeof text, "%u.%u.%u.%u", unsigned(HIWORD(fixed->dwFileVersionMS)),
                          unsigned(LOWORD(fixed->dwFileVersionMS)), unsigned(HIWORD(fixed->dwFileVersionLS)),
                          unsigned(LOWORD(fixed->dwFileVersionLS)));
            fixedText = text;
        }
        std::printf("%s %s %s %s\n", argv[i], fixedText.c_str(), StringValue(block, "FileVersion").c_str(),
                    StringValue(block, "ProductVersion").c_str());
    }
    return status;
}
